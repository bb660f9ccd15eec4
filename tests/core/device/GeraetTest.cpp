// The device picture: model switch and pictures, module LEDs, terminal LEDs and what they hand
// to the timing diagram, and the LED tables behind them.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "core/device/DeviceSnapshot.hpp"
#include "core/device/LedPlaces.hpp"
#include "core/device/ModelCatalogue.hpp"
#include "support/DeviceRig.hpp"

namespace krv::device {
namespace {

using test::DeviceRig;
constexpr std::uint8_t N = kKeineLed;

std::vector<std::string> bilder(const DeviceRig& rig) {
    const app::MainFormState& c = rig.controls;
    return {c.Image1.caption(), c.Image2.caption(), c.Image3.caption(), c.imgStrom.caption()};
}

TEST(GeraetModellwechsel, PicturesLedsAndTheFailureRule) {
    const struct {
        int vorher;
        std::uint8_t byte0;
        const char* fehlt;  // picture that cannot be loaded
        int sprache;
        std::vector<std::string> bilder;  // file names after /opt/krv/
        std::set<int> leds;               // visible terminal LEDs
        int ledsOutput;                   // output module LED count
        const char* box;
    } tabelle[] = {
        {0, 0x3D, "", 0, {"RX", "CBX", "IO-CX", "ST-CBXRX"}, {}, 4, nullptr},  // the low nibble only
        {9, 0x01, "", 0, {"RX", "AX", "", "ST-AXRX"}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 22, 23, 25, 29, 30, 31, 32, 33, 34, 35},
         4, nullptr},
        {13, 0x00, "", 0, {"R", "A", "", "ST-AR"}, {0, 1, 2, 3, 4, 6, 7, 22, 23, 28, 29, 31, 32}, 3, nullptr},
        {13, 0x06, "", 0, {"T", "B", "", "ST-BT"}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 22, 23, 25, 29, 30, 32, 33}, 3, nullptr},
        // A missing picture ends the switch: the ones before it are the new model's, it and the
        // ones after it stay, no terminal LED but the activity LED, the old LED counts.
        {13, 0x0F, "ST-CBXTX.WMF", 0, {"TX", "CBX", "IO-CX", "ST-CBXRX"}, {23}, 4, ".WMF-Datei nicht gefunden."},
        {8, 0x02, "T.WMF", 10000, {"R", "C", "IO-C", "ST-CR"}, {23}, 3, ".WMF-file not found"},
    };
    for (const auto& w : tabelle) {
        SCOPED_TRACE(std::to_string(w.vorher) + " -> " + std::to_string(w.byte0));
        DeviceRig rig({w.fehlt});
        rig.state.einstellungen.SprachOffset = w.sprache;
        rig.zeige({static_cast<std::uint8_t>(w.vorher)});
        rig.zeige({w.byte0});
        std::vector<std::string> erwartet;
        for (const std::string& b : w.bilder) erwartet.push_back(b.empty() ? "" : "/opt/krv/" + b + ".WMF");
        EXPECT_EQ(bilder(rig), erwartet);
        if (!w.leds.empty()) EXPECT_EQ(rig.sichtbareKlemmenLeds(), w.leds);
        EXPECT_EQ(rig.state.HardwareIndex, w.byte0 & 0x0F);
        EXPECT_EQ(rig.display.LedAnzahlOutput(), w.ledsOutput);
        ASSERT_EQ(rig.dialogs.boxes.size(), w.box ? 1u : 0u);
        if (w.box) EXPECT_EQ(rig.dialogs.boxes[0].text, w.box);

        // The display marked itself valid: the same model is not tried again.
        const auto versuche = rig.pictures.ladeVersuche();
        rig.zeige({w.byte0});
        EXPECT_EQ(rig.pictures.ladeVersuche(), versuche);
    }
}

TEST(GeraetModellwechsel, AnInvalidDisplayReloadsRepaintsWhiteAndResetsTheWindowFlags) {
    DeviceRig rig;
    rig.state.PortOffen = true;
    rig.zeige({0x05, 0x00, 0xFF});
    rig.state.CpuFehlerAktiv = rig.state.StatusInitialisiert = true;
    rig.zeige({0x05, 0x00, 0xFF});
    EXPECT_TRUE(rig.state.CpuFehlerAktiv && rig.state.StatusInitialisiert);
    rig.state.AnzeigeGueltig = 0;  // as the port status display leaves it
    rig.display.HardwareDarstellung(0x05);
    EXPECT_EQ(rig.pictures.ladeVersuche(), 6u);  // model 5 has no extension picture to load
    EXPECT_FALSE(rig.state.CpuFehlerAktiv || rig.state.StatusInitialisiert);
    for (std::size_t i = 0; i < app::kAnzahlKlemmenLeds; ++i) {
        EXPECT_EQ(rig.controls.shpLed[i].colour() + rig.display.LedFarbe()[i], 2 * app::kWeiss) << i;
    }
    rig.display.BildLeeren();  // the main window's load
    EXPECT_EQ(bilder(rig), (std::vector<std::string>(4, "")));
    EXPECT_EQ(rig.display.LedAnzahlOutput() + rig.display.LedAnzahlCpu() + rig.display.LedAnzahlErweiterung(), 0);
    EXPECT_TRUE(rig.sichtbareKlemmenLeds().empty());
}

TEST(GeraetModulLeds, WhichExistAndTheirColoursFromBytes0And1) {
    const std::pair<GeraeteBytes, const char*> tabelle[] = {
        {{0x79, 0xFA}, "modules OutputFault=white OutputLocked=yellow OutputState=red OutputWarn=red CpuFault=red "
                       "CpuS1S2=green CpuS3S4=green ErwFault=red ErwIndicat=red ErwSwitch2=green ErwSwitch1=green"},
        {{0x40, 0x88}, "modules OutputFault=white OutputLocked=white OutputState=red CpuFault=white CpuS1S2=white"},
        {{0x63, 0x0F}, "modules OutputFault=red OutputLocked=yellow OutputState=green CpuFault=white CpuS1S2=green "
                       "CpuS3S4=green"},
        {{0x1E, 0x30}, "modules OutputFault=white OutputLocked=white OutputState=red CpuFault=red CpuS1S2=white "
                       "ErwFault=red ErwIndicat=red"},
    };
    for (const auto& [bytes, zeile] : tabelle) {
        SCOPED_TRACE(zeile);
        DeviceRig rig;
        rig.zeige(bytes);
        EXPECT_EQ(modulesZeile(rig.controls), zeile);
        for (const ModulLed& led : kModulLeds) {  // LEDs a model lacks are not coloured either
            const app::Control& shape = rig.controls.*led.shape;
            if (!shape.visible()) EXPECT_EQ(shape.colour(), app::kWeiss) << led.name;
        }
    }
}

// R(ed), G(reen), Y(ellow), W(hite) per LED.
std::string farben(const DeviceRig& rig, const std::vector<int>& leds) {
    std::string s;
    for (int led : leds) {
        const app::Colour f = rig.klemme(led);
        EXPECT_EQ(rig.display.LedFarbe()[static_cast<std::size_t>(led)], f) << led;
        s += f == app::kRot ? 'R' : f == app::kGruen ? 'G' : f == app::kGelb ? 'Y' : f == app::kWeiss ? 'W' : '?';
    }
    return s;
}

enum Quelle { Port, KeineDaten, CpuWiedergabe, GeladenesFenster };

TEST(GeraetKlemmenLeds, ColoursFromTheTerminalBits) {
    const struct {
        const char* was;
        Quelle quelle;
        GeraeteBytes bytes;
        std::vector<int> leds;
        const char* farben;
    } tabelle[] = {
        {"most significant bit first", Port, {0x00, 0, 0x80, 0, 0x01}, {32, 29, 0, 2, 3}, "GRRGR"},
        {"bytes 5 and 6", Port, {0x0D, 0, 0, 0, 0, 0x01, 0x10}, {12, 28, 29}, "GGR"},
        {"the flags in byte 6 are no terminals", Port, {0x0D, 0, 0, 0, 0, 0, 0x0F}, {29, 9, 10, 28}, "RRRR"},
        {"high impedance 12", Port, {0x08, 0, 0, 0x08, 0x08, 0, 0x08}, {11, 12, 7}, "YRG"},
        {"high impedance 13, 20", Port, {0x08, 0, 0, 0x08, 0, 0, 0x06}, {11, 12, 7}, "GYY"},
        {"bit 9 shows bit 11 inverted", Port, {0x01, 0, 0, 0x10}, {32, 33}, "GR"},
        {"bit 9 alone", Port, {0x01, 0, 0, 0x40}, {32, 33}, "RG"},
        {"bit 9 with bit 11", Port, {0x01, 0, 0, 0x50}, {33}, "R"},
        {"model 4 as sent", Port, {0x04, 0, 0, 0x00}, {32}, "R"},
        {"no data", KeineDaten, {0x09, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {42, 15}, "WW"},
        {"CPU data replay", CpuWiedergabe, {0x09, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {42, 15}, "GY"},
        {"loaded window", GeladenesFenster, {0x09, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {42}, "W"},
    };
    for (const auto& t : tabelle) {
        SCOPED_TRACE(t.was);
        DeviceRig rig;
        rig.state.PortOffen = true;
        rig.zeige(t.bytes);
        rig.state.PortOffen = t.quelle == Port;
        rig.state.CpuWiedergabeAktiv = t.quelle == CpuWiedergabe;
        rig.state.playback.SimulationsStatus = t.quelle == GeladenesFenster ? 2 : 0;
        rig.zeige(t.bytes);
        EXPECT_EQ(farben(rig, t.leds), t.farben);
    }
}

TEST(GeraetKlemmenLeds, OnlyAChangedBitOrAnInvalidDisplayRedraws) {
    DeviceRig rig;
    rig.state.PortOffen = true;
    GeraeteBytes block{0x3D, 0x15, 0xA5, 0x5A, 0xC3, 0x3C, 0x9E};
    rig.zeige(block);
    const unsigned vorher = rig.alleAenderungen();
    rig.zeige(block);
    EXPECT_EQ(rig.alleAenderungen(), vorher);
    // Painted over by someone else: stays while the bit is unchanged.
    rig.controls.shpLed[1].setColour(app::kBlau);
    rig.controls.shpOutputState.setColour(app::kBlau);
    rig.zeige(block);
    EXPECT_EQ(rig.klemme(1), app::kBlau);
    EXPECT_EQ(rig.controls.shpOutputState.colour(), app::kBlau);
    block[2] ^= 0x10;  // bit 3 -> LED 0
    rig.zeige(block);
    EXPECT_EQ(rig.alleAenderungen(), vorher + 3);
    rig.state.AnzeigeGueltig = 0;
    rig.display.AnzeigeLedAufOutputModul(0x05, 4);
    EXPECT_EQ(rig.controls.shpOutputState.colour(), app::kGruen);
    // While a protocol file is loaded the module LEDs stay.
    rig.state.playback.SimulationsStatus = 1;
    rig.zeige({0x0D, 0x04});
    EXPECT_EQ(rig.controls.shpCpuFault.colour(), app::kRot);
    EXPECT_EQ(rig.controls.shpOutputFault.colour(), app::kRot);
}

struct Zeichnung {
    int kanal, zustand;
    bool operator==(const Zeichnung&) const = default;
};

TEST(GeraetKlemmenLeds, LiveTheyDrawTheSelectedChannelsWhileLoadingTheyOnlyStore) {
    DeviceRig rig;
    std::vector<Zeichnung> gezeichnet, gespeichert;
    rig.display.ZeichneSpur = [&](int k, std::uint8_t z, std::uint8_t) { gezeichnet.push_back({k, z}); };
    rig.display.SampleKlemmen = [&](int spalte, std::uint8_t z) { gespeichert.push_back({spalte, z}); };
    rig.state.einstellungen.KanalTab = {13, 0, 1, 0, 13, 2, 0, 0, 36};  // terminal bit n + 1; 0 none
    rig.state.PortOffen = true;
    // Bit 0 green (channel 2), bit 12 yellow (channels 0, 4); bit 35 and bit 1 have no LED in model 8.
    rig.zeige({0x08, 0x00, 0x80, 0x08, 0x00, 0x00, 0x18});
    rig.zeige({0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10});
    EXPECT_EQ(gezeichnet, (std::vector<Zeichnung>{{2, 2}, {0, 1}, {4, 1}, {2, 0}, {0, 0}, {4, 0}, {8, 2}}));
    EXPECT_TRUE(gespeichert.empty());

    gezeichnet.clear();
    rig.state.PortOffen = false;
    rig.state.playback.SimulationsStatus = 1;
    rig.zeige({0x00, 0x00, 0x90, 0x08, 0x02, 0x00, 0x08});
    EXPECT_TRUE(gezeichnet.empty());
    // Model 0 has LEDs for bits 0, 3, 5, 6, 8, 9, 12, 13, 14, 21, 22, 23: column = bit + 1.
    EXPECT_EQ(gespeichert, (std::vector<Zeichnung>{{1, 2}, {4, 2}, {6, 0}, {7, 0}, {9, 0}, {10, 0}, {13, 1}, {14, 0},
                                                   {15, 0}, {22, 0}, {23, 2}, {24, 0}}));
}

TEST(GeraetLedTabellen, OneDistinctiveCellPerModelAndTheFamilyRules) {
    const int zellen[16][2] = {{0, 32}, {0, 34}, {7, 32}, {2, 34}, {0, 33}, {0, 36}, {7, 33}, {2, 36},
                               {0, 37}, {19, 11}, {7, 37}, {2, 42}, {19, 9}, {19, 13}, {30, 6}, {31, 12}};
    ports::ScriptedDialogs dialogs;
    for (int m = 0; m < 16; ++m) {
        SCOPED_TRACE("model " + std::to_string(m));
        EXPECT_EQ(KonvertBitToLed(static_cast<std::int16_t>(zellen[m][0]), m, dialogs), zellen[m][1]);
        std::set<int> benutzt;
        for (int bit = 0; bit <= MAX_BIT; ++bit) {
            const int l = KonvertBitToLed(static_cast<std::int16_t>(bit), m, dialogs);
            EXPECT_TRUE(l == N || (l <= Max_LED && l != kAktivitaetsLed && benutzt.insert(l).second)) << bit;
        }
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(GeraetLedTabellen, LimitsGiveZeroAndABrokenTableStopsTheGroup) {
    ports::ScriptedDialogs dialogs;
    const int faelle[][4] = {{39, 9, N, 0}, {40, 0, 0, 1}, {0, 16, 0, 1}, {0, -1, 0, 1}, {-1, 0, 0, 1}};
    for (const auto& f : faelle) {
        EXPECT_EQ(KonvertBitToLed(static_cast<std::int16_t>(f[0]), f[1], dialogs), f[2]) << f[0] << " " << f[1];
        EXPECT_EQ(dialogs.boxes.size(), static_cast<std::size_t>(f[3])) << f[0] << " " << f[1];
    }
    EXPECT_EQ(dialogs.boxes[0].text, kMaxBitFehler);

    LedTabellen kaputt = ledTabellen();
    kaputt[0][2] = 44;  // model 0, bit 2
    DeviceRig rig;
    DeviceDisplay display(rig.state, rig.controls, rig.pictures, rig.dialogs, kaputt);
    display.HardwareDarstellung(0x00);
    rig.state.PortOffen = true;
    display.AnzeigeKlemmenLed(0xFF, 0x00, 0, 8);
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, kMaxLedFehler);
    EXPECT_EQ(rig.klemme(32), app::kGruen);  // bit 0, before the broken entry
    EXPECT_EQ(rig.klemme(0), app::kWeiss);   // bit 3, after it
}

}  // namespace
}  // namespace krv::device
