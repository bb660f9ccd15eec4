// Telegrams on the serial line paint the LEDs of the real window: the module lamps from status
// bytes 0 and 1, the terminal LEDs from the terminal bits through the model's LED table, yellow
// for a high-impedance terminal whatever its bit says.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <sstream>

#include "GuiTestSupport.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "gui/DemoSimulator.hpp"
#include "gui/MainWindow.hpp"
#include "gui/ShapeWidget.hpp"

namespace krv::gui::test {
namespace {

const QColor kRot(255, 0, 0);
const QColor kGruen(0, 255, 0);
const QColor kGelb(255, 255, 0);
const QColor kWeiss(255, 255, 255);

std::string portsAbschnitt(const std::string& com1) { return "[Ports]\nCOM1=" + com1 + "\n"; }

// The LED that each terminal bit 0..35 lights on model 13 (KRV-cbx/Rx), -1 for none; read off
// the device's LED table by hand.
constexpr std::array<int, 36> kLedModell13 = {42, -1, 43, 0,  37, 39, 38, -1, 22, 41, -1, 40,
                                              15, 16, 1,  5,  6,  25, 26, 13, 14, 3,  4,  2,
                                              7,  8,  27, 34, 35, 32, 11, 12, 29, 9,  10, 28};

// A session whose COM1 is the test's pseudo-terminal, with the data transfer running.
struct LeitungsSitzung {
    Geraet geraet;
    TestSitzung t{portsAbschnitt(geraet.pfad())};
    int angezeigt = 0;

    LeitungsSitzung() {
        EXPECT_TRUE(t.start());
        t.form().onAnzeige = [this](const link::ReceiveState&) { ++angezeigt; };
        t.window().action(t.c().mnuDatenuebertragungStart)->trigger();
        EXPECT_TRUE(t.session().serial().isOpen());
    }

    void sende(const link::StatusBlock& block) {
        const int vorher = angezeigt;
        geraet.sende(link::kurzTelegramm(block));
        ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
    }

    ShapeWidget* form(const app::Control& control) { return qobject_cast<ShapeWidget*>(t.window().widget(control)); }
    ShapeWidget* led(int i) { return form(t.c().shpLed[static_cast<std::size_t>(i)]); }
};

link::StatusBlock block(std::initializer_list<std::uint8_t> bytes) {
    link::StatusBlock s{};
    std::size_t i = 0;
    for (std::uint8_t b : bytes) s[i++] = b;
    return s;
}

std::string farbe(const QColor& c) { return c.name().toStdString(); }

// What the window must show for a model 13 status block: the colour of each visible LED.
struct Erwartet {
    std::map<const app::Control*, QColor> modulLeds;
    std::map<int, QColor> klemmenLeds;
};

Erwartet erwartetModell13(const app::MainFormState& c, const link::StatusBlock& s) {
    Erwartet e;
    auto lampe = [](std::uint8_t byte, std::uint8_t maske, const QColor& an, const QColor& aus) {
        return (byte & maske) != 0 ? an : aus;
    };
    e.modulLeds = {
        {&c.shpOutputFault, lampe(s[1], 0x01, kRot, kWeiss)},  {&c.shpOutputLocked, lampe(s[1], 0x02, kGelb, kWeiss)},
        {&c.shpOutputState, lampe(s[1], 0x04, kGruen, kRot)},  {&c.shpOutputWarn, lampe(s[1], 0x08, kRot, kWeiss)},
        {&c.shpCpuFault, lampe(s[0], 0x10, kRot, kWeiss)},     {&c.shpCpuS1S2, lampe(s[0], 0x20, kGruen, kWeiss)},
        {&c.shpCpuS3S4, lampe(s[0], 0x40, kGruen, kWeiss)},    {&c.shpErwFault, lampe(s[1], 0x10, kRot, kWeiss)},
        {&c.shpErwIndicat, lampe(s[1], 0x20, kRot, kWeiss)},   {&c.shpErwSwitch2, lampe(s[1], 0x40, kGruen, kWeiss)},
        {&c.shpErwSwitch1, lampe(s[1], 0x80, kGruen, kWeiss)},
    };
    // Model 13 is no multiple of 4: its terminal 0x40 of byte 3 is the inverse of 0x10.
    std::array<std::uint8_t, 7> b{};
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = s[i];
    b[3] = static_cast<std::uint8_t>((b[3] & ~0x40) | ((b[3] & 0x10) != 0 ? 0 : 0x40));
    for (int n = 0; n < 36; ++n) {
        const int led = kLedModell13[static_cast<std::size_t>(n)];
        if (led < 0) continue;
        const bool gesetzt = (b[static_cast<std::size_t>(2 + n / 8)] & (0x80 >> (n % 8))) != 0;
        const bool hochohmig = (n == 12 && (b[6] & 0x08)) || (n == 13 && (b[6] & 0x04)) || (n == 20 && (b[6] & 0x02));
        e.klemmenLeds[led] = hochohmig ? kGelb : gesetzt ? kGruen : kRot;
    }
    return e;
}

// Every difference between the window and the expectation, as readable text; empty when none.
std::string abweichungen(LeitungsSitzung& s, const Erwartet& e) {
    std::ostringstream out;
    for (const auto& [control, soll] : e.modulLeds) {
        ShapeWidget* w = s.form(*control);
        if (!w->isVisible()) out << control->name() << " hidden; ";
        if (w->fuellFarbe() != soll) out << control->name() << " " << farbe(w->fuellFarbe()) << " not " << farbe(soll) << "; ";
    }
    for (int i = 0; i < 44; ++i) {
        if (i == 23) continue;  // the activity indicator belongs to the receive path
        ShapeWidget* w = s.led(i);
        const auto it = e.klemmenLeds.find(i);
        if (it == e.klemmenLeds.end()) {
            if (w->isVisible()) out << "LED " << i << " visible; ";
            continue;
        }
        if (!w->isVisible()) out << "LED " << i << " hidden; ";
        if (w->fuellFarbe() != it->second) out << "LED " << i << " " << farbe(w->fuellFarbe()) << " not " << farbe(it->second) << "; ";
    }
    return out.str();
}

TEST(LedPaintTest, AHandPickedBlockPaintsModuleLampsTerminalsAndHighImpedanceTerminals) {
    LeitungsSitzung s;
    const app::MainFormState& c = s.t.c();
    // Model 13 with CPU S1/S2; output fault and state, extension fault and switch 1; terminal
    // bits 0, 3, 11, 16, 20, 31, 32; bits 12 and 20 high impedance (byte 6: 0x08, 0x02).
    s.sende(block({0x2D, 0x95, 0x90, 0x10, 0x88, 0x01, 0x8A}));

    EXPECT_EQ(s.form(c.shpOutputFault)->fuellFarbe(), kRot);
    EXPECT_EQ(s.form(c.shpOutputLocked)->fuellFarbe(), kWeiss);
    EXPECT_EQ(s.form(c.shpOutputState)->fuellFarbe(), kGruen);
    EXPECT_EQ(s.form(c.shpOutputWarn)->fuellFarbe(), kWeiss);
    EXPECT_EQ(s.form(c.shpCpuFault)->fuellFarbe(), kWeiss);
    EXPECT_EQ(s.form(c.shpCpuS1S2)->fuellFarbe(), kGruen);
    EXPECT_EQ(s.form(c.shpCpuS3S4)->fuellFarbe(), kWeiss);
    EXPECT_EQ(s.form(c.shpErwFault)->fuellFarbe(), kRot);
    EXPECT_EQ(s.form(c.shpErwIndicat)->fuellFarbe(), kWeiss);
    EXPECT_EQ(s.form(c.shpErwSwitch2)->fuellFarbe(), kWeiss);
    EXPECT_EQ(s.form(c.shpErwSwitch1)->fuellFarbe(), kGruen);

    EXPECT_EQ(s.led(42)->fuellFarbe(), kGruen);  // bit 0
    EXPECT_EQ(s.led(0)->fuellFarbe(), kGruen);   // bit 3
    EXPECT_EQ(s.led(43)->fuellFarbe(), kRot);    // bit 2
    EXPECT_EQ(s.led(40)->fuellFarbe(), kGruen);  // bit 11
    EXPECT_EQ(s.led(41)->fuellFarbe(), kRot);    // bit 9: the inverse of bit 11 on this model
    EXPECT_EQ(s.led(15)->fuellFarbe(), kGelb);   // bit 12 clear, high impedance
    EXPECT_EQ(s.led(16)->fuellFarbe(), kRot);    // bit 13 clear, not high impedance
    EXPECT_EQ(s.led(14)->fuellFarbe(), kGelb);   // bit 20 set, high impedance
    EXPECT_EQ(s.led(6)->fuellFarbe(), kGruen);   // bit 16
    EXPECT_EQ(s.led(12)->fuellFarbe(), kGruen);  // bit 31
    EXPECT_EQ(s.led(29)->fuellFarbe(), kGruen);  // bit 32, byte 6's high nibble
    EXPECT_EQ(s.led(28)->fuellFarbe(), kRot);    // bit 35
    EXPECT_TRUE(s.led(42)->isVisible());
    EXPECT_FALSE(s.led(17)->isVisible());  // no bit of this model lights it
    EXPECT_TRUE(s.led(23)->isVisible());
    EXPECT_EQ(abweichungen(s, erwartetModell13(c, block({0x2D, 0x95, 0x90, 0x10, 0x88, 0x01, 0x8A}))), "");

    // High impedance off, bit 12 set, bit 11 clear: the yellow terminals show their bits, and
    // the corrected bit 9 turns green.
    s.sende(block({0x0D, 0x00, 0x90, 0x08, 0x88, 0x01, 0x80}));
    EXPECT_EQ(s.led(15)->fuellFarbe(), kGruen);
    EXPECT_EQ(s.led(14)->fuellFarbe(), kGruen);
    EXPECT_EQ(s.led(40)->fuellFarbe(), kRot);
    EXPECT_EQ(s.led(41)->fuellFarbe(), kGruen);
    EXPECT_EQ(s.form(c.shpOutputState)->fuellFarbe(), kRot);  // the state lamp's clear colour
    EXPECT_EQ(s.form(c.shpOutputFault)->fuellFarbe(), kWeiss);
    EXPECT_EQ(s.form(c.shpCpuS1S2)->fuellFarbe(), kWeiss);
    EXPECT_EQ(abweichungen(s, erwartetModell13(c, block({0x0D, 0x00, 0x90, 0x08, 0x88, 0x01, 0x80}))), "");

    // Model 2 (KRV-a/T): three output, two CPU and no extension lamps; bit 7 lights LED 32.
    s.sende(block({0x62, 0x0F, 0x01}));
    EXPECT_FALSE(s.form(c.shpOutputWarn)->isVisible());
    EXPECT_FALSE(s.form(c.shpCpuS3S4)->isVisible());
    for (const app::Control* erw : {&c.shpErwFault, &c.shpErwIndicat, &c.shpErwSwitch2, &c.shpErwSwitch1}) {
        EXPECT_FALSE(s.form(*erw)->isVisible()) << erw->name();
    }
    EXPECT_EQ(s.form(c.shpOutputLocked)->fuellFarbe(), kGelb);
    EXPECT_EQ(s.form(c.shpCpuS1S2)->fuellFarbe(), kGruen);
    EXPECT_EQ(s.led(32)->fuellFarbe(), kGruen);
    EXPECT_EQ(s.led(31)->fuellFarbe(), kRot);  // bit 4
    EXPECT_FALSE(s.led(42)->isVisible());
    EXPECT_TRUE(s.led(23)->isVisible());
}

TEST(LedPaintTest, WithThePortClosedTheModelListShowsTerminalsWhite) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    const app::MainFormState& c = t.c();
    MainWindow& w = t.window();
    t.form().AnzeigeHardwareAuswahl(9);
    auto led = [&](int i) { return qobject_cast<ShapeWidget*>(w.widget(c.shpLed[static_cast<std::size_t>(i)])); };
    for (int i : {0, 1, 7, 15, 42, 43}) {
        ASSERT_TRUE(led(i)->isVisible()) << i;
        EXPECT_EQ(led(i)->fuellFarbe(), kWeiss) << i;
    }
    EXPECT_EQ(qobject_cast<ShapeWidget*>(w.widget(c.shpOutputState))->fuellFarbe(), kRot);
    EXPECT_EQ(qobject_cast<ShapeWidget*>(w.widget(c.shpErwSwitch1))->fuellFarbe(), kWeiss);
}

TEST(LedPaintTest, EveryTelegramOfTheSimulatorPaintsTheColoursOfItsStatusBlock) {
#ifndef KRVDIAG_HAVE_SIM
    GTEST_SKIP() << "krvdiag-sim is not part of this build";
#else
    DemoSimulator sim;
    ASSERT_TRUE(sim.starte(QStringLiteral(KRVDIAG_SIM_PATH), {"--fast", "--seed", "11"})) << sim.fehler().toStdString();
    TestSitzung t(portsAbschnitt(sim.geraet().toStdString()));
    ASSERT_TRUE(t.start());
    int angezeigt = 0;
    std::vector<std::string> fehler;
    std::map<std::string, int> gesehen;  // colours of LED 22 and shpOutputState met on the way
    MainWindow& w = t.window();
    const app::MainFormState& c = t.c();

    // Checked right when the window has displayed the block, before the next one arrives.
    t.form().onAnzeige = [&](const link::ReceiveState& rs) {
        ++angezeigt;
        const Bytes b = statusBlock(rs);
        link::StatusBlock s{};
        std::copy(b.begin(), b.end(), s.begin());
        if ((s[0] & 0x0F) != 13) {
            fehler.push_back("model " + std::to_string(s[0] & 0x0F));
            return;
        }
        const Erwartet e = erwartetModell13(c, s);
        std::ostringstream out;
        for (const auto& [control, soll] : e.modulLeds) {
            auto* shape = qobject_cast<ShapeWidget*>(w.widget(*control));
            if (!shape->isVisible() || shape->fuellFarbe() != soll) out << control->name() << " ";
        }
        for (const auto& [led, soll] : e.klemmenLeds) {
            auto* shape = qobject_cast<ShapeWidget*>(w.widget(c.shpLed[static_cast<std::size_t>(led)]));
            if (!shape->isVisible() || shape->fuellFarbe() != soll) out << "LED" << led << " ";
        }
        if (!out.str().empty()) fehler.push_back("telegram " + std::to_string(angezeigt) + ": " + out.str());
        ++gesehen["LED13 " + farbe(e.klemmenLeds.at(13))];
        ++gesehen["state " + farbe(e.modulLeds.at(&c.shpOutputState))];
    };
    w.action(c.mnuDatenuebertragungStart)->trigger();
    ASSERT_TRUE(t.session().serial().isOpen());

    // The door (bit 19, LED 13) and the outputs change in the first seconds of line time.
    ASSERT_TRUE(warteBis([&] { return angezeigt >= 60 && gesehen.size() >= 4; }, 20000))
        << angezeigt << " telegrams, " << gesehen.size() << " colour states";
    w.action(c.mnuDatenuebertragungStop)->trigger();
    EXPECT_TRUE(fehler.empty()) << fehler.size() << " mismatches, first: " << fehler.front();
#endif
}

}  // namespace
}  // namespace krv::gui::test
