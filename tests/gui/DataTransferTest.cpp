// The data transfer through the real serial port, the event loop's watch and the core: a
// pseudo-terminal played by the test or by the simulator stands in for the device.
#include <fcntl.h>

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTimer>

#include "GuiTestSupport.hpp"
#include "core/app/StringTable.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "gui/DemoSimulator.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PanelLabel.hpp"
#include "gui/SerialNotifier.hpp"

#ifdef KRVDIAG_HAVE_SIM
#include "sim/Scenario.hpp"
#endif

namespace krv::gui::test {
namespace {

const QColor kGruen(0, 255, 0);
const QColor kRot(255, 0, 0);

std::string portsAbschnitt(const std::string& com1) { return "[Ports]\nCOM1=" + com1 + "\n"; }

link::StatusBlock block(std::uint8_t modell, std::uint8_t b2) {
    link::StatusBlock s{};
    s[0] = modell;
    s[2] = b2;
    return s;
}

Bytes alsBytes(const link::StatusBlock& s) { return Bytes(s.begin(), s.end()); }

// A session whose COM1 is the test's own pseudo-terminal, with the data transfer started.
struct OffeneSitzung {
    Geraet geraet;
    TestSitzung t{portsAbschnitt(geraet.pfad())};
    std::vector<Bytes> angezeigt;

    OffeneSitzung() {
        EXPECT_TRUE(t.start());
        t.form().onAnzeige = [this](const link::ReceiveState& s) { angezeigt.push_back(statusBlock(s)); };
        angezeigt.clear();
        t.window().action(t.c().mnuDatenuebertragungStart)->trigger();
        EXPECT_TRUE(t.session().serial().isOpen());
    }
};

TEST(DataTransferTest, StartOnTheSimulatorTurnsThePanelGreenAndTelegramsArriveInOrder) {
#ifndef KRVDIAG_HAVE_SIM
    GTEST_SKIP() << "krvdiag-sim is not part of this build";
#else
    DemoSimulator sim;
    ASSERT_TRUE(sim.starte(QStringLiteral(KRVDIAG_SIM_PATH), {"--fast", "--seed", "7"})) << sim.fehler().toStdString();
    TestSitzung t(portsAbschnitt(sim.geraet().toStdString()));
    ASSERT_TRUE(t.start());
    std::vector<Bytes> angezeigt;
    t.form().onAnzeige = [&](const link::ReceiveState& s) { angezeigt.push_back(statusBlock(s)); };
    angezeigt.clear();
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();

    w.action(c.mnuDatenuebertragungStart)->trigger();
    EXPECT_TRUE(t.session().serial().isOpen());
    EXPECT_EQ(w.panel(1)->text(), QStringLiteral("COM1"));
    EXPECT_EQ(w.panel(1)->hintergrund(), kGruen);
    EXPECT_FALSE(w.list1()->isVisible());
    // The model list was the view, so the status window takes its place.
    EXPECT_TRUE(w.widget(c.fraStatus)->isVisible());
    EXPECT_TRUE(w.action(c.mnuStatusFenster)->isChecked());
    EXPECT_FALSE(w.action(c.mnuHardwareAuswahl)->isChecked());
    EXPECT_FALSE(w.action(c.mnuDatenuebertragungStart)->isEnabled());
    EXPECT_TRUE(w.action(c.mnuDatenuebertragungStop)->isEnabled());
    EXPECT_TRUE(w.timer(c.Timer1)->isActive());

    ASSERT_TRUE(warteBis([&] { return angezeigt.size() >= 40; }, 15000)) << angezeigt.size();
    w.action(c.mnuDatenuebertragungStop)->trigger();
    EXPECT_EQ(w.panel(1)->hintergrund(), kRot);
    EXPECT_TRUE(w.list1()->isVisible());
    EXPECT_FALSE(w.timer(c.Timer1)->isActive());

    // What was shown is the simulator's sequence with gaps (the display skips while it falls
    // behind) but never out of order.
    sim::Scenario szenario({13, 7, false, false, false});
    std::size_t gesucht = 0;
    for (long schritt = 0; schritt < 5'000'000 && gesucht < angezeigt.size(); ++schritt) {
        szenario.next();
        if (alsBytes(szenario.status()) == angezeigt[gesucht]) ++gesucht;
    }
    EXPECT_EQ(gesucht, angezeigt.size());
    // Unpaced, the simulator can outrun the port's receive queue; that is the only complaint allowed.
    for (const auto& b : t.dialogs().boxes) EXPECT_EQ(b.text, app::LoadResString(1008, 0));
#endif
}

TEST(DataTransferTest, TelegramsReachAnzeigeOneByOneInTheirOrder) {
    OffeneSitzung s;
    for (std::uint8_t k = 0; k < 6; ++k) {
        s.geraet.sende(link::kurzTelegramm(block(13, static_cast<std::uint8_t>(0x10 + k))));
        ASSERT_TRUE(warteBis([&] { return s.angezeigt.size() == k + 1u; })) << int(k);
    }
    for (std::uint8_t k = 0; k < 6; ++k) EXPECT_EQ(s.angezeigt[k], alsBytes(block(13, static_cast<std::uint8_t>(0x10 + k))));

    // A long telegram's status block sits at data bytes 224..239.
    const link::StatusBlock lang = block(9, 0xA5);
    s.geraet.sende(link::langTelegramm(link::langeNutzdaten(lang, 1234)));
    ASSERT_TRUE(warteBis([&] { return s.angezeigt.size() == 7u; }));
    EXPECT_EQ(s.angezeigt.back(), alsBytes(lang));
}

TEST(DataTransferTest, CrcErrorShowsInTheStatusLineUntilTimer2BringsTheLegendBack) {
    OffeneSitzung s;
    MainWindow& w = s.t.window();
    Bytes kaputt = link::kurzTelegramm(block(13, 0x33));
    kaputt.back() ^= 0x5A;
    s.geraet.sende(kaputt);

    ASSERT_TRUE(warteBis([&] { return w.panel(2)->text() == QStringLiteral("CRC Fehler"); }));
    EXPECT_TRUE(s.angezeigt.empty());
    QTimer* timer2 = w.timer(s.t.c().Timer2);
    ASSERT_TRUE(timer2->isActive());
    EXPECT_EQ(timer2->interval(), 5000);

    // Let the real timer fire soon instead of after five seconds.
    timer2->setInterval(20);
    ASSERT_TRUE(warteBis([&] { return w.panel(2)->text().toStdString() == app::LoadResString(3002, 0); }));
    EXPECT_FALSE(timer2->isActive());  // a one-shot: it stopped itself
    // The port stayed open and good telegrams still arrive.
    s.geraet.sende(link::kurzTelegramm(block(13, 0x44)));
    EXPECT_TRUE(warteBis([&] { return s.angezeigt.size() == 1u; }));
}

TEST(DataTransferTest, DoubleClickOnThePortPanelStartsAndStops) {
    Geraet geraet;
    TestSitzung t(portsAbschnitt(geraet.pfad()));
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();

    QTest::mouseDClick(w.panel(1), Qt::LeftButton);
    EXPECT_TRUE(t.session().serial().isOpen());
    EXPECT_EQ(w.panel(1)->hintergrund(), kGruen);
    EXPECT_FALSE(w.list1()->isVisible());

    QTest::mouseDClick(w.panel(1), Qt::LeftButton);
    EXPECT_FALSE(t.session().serial().isOpen());
    EXPECT_EQ(w.panel(1)->hintergrund(), kRot);
    EXPECT_TRUE(w.list1()->isVisible());

    // During a playback the panel does nothing.
    t.state().playback.SimulationsStatus = 2;
    QTest::mouseDClick(w.panel(1), Qt::LeftButton);
    EXPECT_FALSE(t.session().serial().isOpen());
    EXPECT_TRUE(t.dialogs().boxes.empty());
}

TEST(DataTransferTest, ClosingTheWindowWhileTheTransferRunsReleasesThePort) {
    OffeneSitzung s;
    MainWindow& w = s.t.window();
    const int fd = s.t.session().serial().fd();
    ASSERT_GE(fd, 0);
    bool geschlossen = false;
    QObject::connect(&w, &MainWindow::geschlossen, [&] { geschlossen = true; });

    EXPECT_TRUE(w.close());
    EXPECT_TRUE(geschlossen);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(s.t.session().serial().isOpen());
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);  // the descriptor is really closed
    for (const app::TimerControl* timer : {&s.t.c().Timer1, &s.t.c().Timer2}) EXPECT_FALSE(w.timer(*timer)->isActive());

    // The device can be opened again, by this program or another one.
    platform::LinuxSerialPort wieder(s.t.session().profile());
    wieder.setCommPort(1);
    EXPECT_EQ(wieder.open(), std::nullopt);
    EXPECT_EQ(s.t.settingsText(), portsAbschnitt(s.geraet.pfad()));  // nothing written at exit
}

TEST(DataTransferTest, HangUpClosesThePortOnceAndStopsWatchingIt) {
    OffeneSitzung s;
    MainWindow& w = s.t.window();
    s.geraet.auflegen();

    ASSERT_TRUE(warteBis([&] { return !s.t.dialogs().boxes.empty(); }));
    EXPECT_FALSE(s.t.session().serial().isOpen());
    EXPECT_EQ(w.panel(1)->hintergrund(), kRot);
    EXPECT_NE(s.t.dialogs().boxes[0].text.find(s.geraet.pfad()), std::string::npos);
    // A gone descriptor is no longer watched, so nothing else is reported.
    QTest::qWait(200);
    EXPECT_EQ(s.t.dialogs().boxes.size(), 1u);
    EXPECT_FALSE(w.timer(s.t.c().Timer1)->isActive());
}

TEST(DataTransferTest, PortMenuSwitchesThePortAndStoresIt) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();

    w.action(c.mnuCom[3])->trigger();
    EXPECT_EQ(w.panel(1)->text(), QStringLiteral("COM3"));
    EXPECT_TRUE(w.action(c.mnuCom[3])->isChecked());
    EXPECT_FALSE(w.action(c.mnuCom[1])->isChecked());
    EXPECT_NE(t.settingsText().find("ComPort=3"), std::string::npos);

    // Choosing the checked port again leaves its check mark (Qt alone would toggle it off).
    w.action(c.mnuCom[3])->trigger();
    EXPECT_TRUE(w.action(c.mnuCom[3])->isChecked());
}

}  // namespace
}  // namespace krv::gui::test
