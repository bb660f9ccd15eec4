// The device picture: model switch and pictures, module LEDs, terminal LEDs, the LED tables.
#include <gtest/gtest.h>

#include <vector>

#include "core/device/DeviceSnapshot.hpp"
#include "core/device/LedPlaces.hpp"
#include "support/DeviceRig.hpp"

namespace krv::device {
namespace {

using test::DeviceRig;
constexpr std::uint8_t N = kKeineLed;

// The four pictures' file names without directory and extension.
std::string bilder(const DeviceRig& rig) {
    std::string s;
    for (const app::Control* c : {&rig.controls.Image1, &rig.controls.Image2, &rig.controls.Image3,
                                  &rig.controls.imgStrom}) {
        const std::string& pfad = c->caption();
        s += s.empty() ? "" : " ";
        s += pfad.size() < 13 ? "-" : pfad.substr(9, pfad.size() - 13);
        EXPECT_TRUE(pfad.empty() || (pfad.starts_with("/opt/krv/") && pfad.ends_with(".WMF"))) << pfad;
    }
    return s;
}

TEST(GeraetModellwechsel, PicturesLedsAndTheFailureRule) {
    const struct {
        int vorher;
        std::uint8_t byte0;
        const char* fehlt;  // a picture that cannot be loaded
        int sprache;
        const char* bilder;
        std::set<int> leds;  // visible terminal LEDs
        int ledsOutput;      // output module LED count
        const char* box;
    } tabelle[] = {
        {0, 0x3D, "", 0, "RX CBX IO-CX ST-CBXRX", {}, 4, nullptr},  // the low nibble only
        {9, 1, "", 0, "RX AX - ST-AXRX", {0, 1, 2, 3, 4, 5, 6, 7, 8, 22, 23, 25, 29, 30, 31, 32, 33, 34, 35},
         4, nullptr},
        {13, 0x00, "", 0, "R A - ST-AR", {0, 1, 2, 3, 4, 6, 7, 22, 23, 28, 29, 31, 32}, 3, nullptr},
        // A missing picture ends the switch: the ones before it are the new model's, it and the
        // ones after it stay, no terminal LED but the activity LED, the old LED counts.
        {13, 0x0F, "ST-CBXTX.WMF", 0, "TX CBX IO-CX ST-CBXRX", {23}, 4, ".WMF-Datei nicht gefunden."},
        {8, 0x02, "T.WMF", 10000, "R C IO-C ST-CR", {23}, 3, ".WMF-file not found"},
    };
    for (const auto& w : tabelle) {
        SCOPED_TRACE(w.bilder);
        DeviceRig rig({w.fehlt});
        rig.state.einstellungen.SprachOffset = w.sprache;
        rig.zeige({static_cast<std::uint8_t>(w.vorher)});
        rig.zeige({w.byte0});
        EXPECT_EQ(bilder(rig), w.bilder);
        EXPECT_EQ(w.leds.empty() ? w.leds : rig.sichtbareKlemmenLeds(), w.leds);
        EXPECT_EQ(std::make_pair(rig.state.HardwareIndex, rig.display.LedAnzahlOutput()),
                  std::make_pair(w.byte0 & 0x0F, w.ledsOutput));
        ASSERT_EQ(rig.dialogs.boxes.size(), w.box ? 1u : 0u);
        EXPECT_EQ(w.box ? rig.dialogs.boxes[0].text : "", w.box ? w.box : "");
        const auto versuche = rig.pictures.ladeVersuche();  // a valid display: not tried again
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
    rig.zeige({0x09, 0x00, 0xFF});
    rig.display.BildLeeren();  // the main window's load
    EXPECT_EQ(bilder(rig), "- - - -");
    const DeviceDisplay& d = rig.display;
    EXPECT_EQ(d.LedAnzahlOutput() + d.LedAnzahlCpu() + d.LedAnzahlErweiterung(), 0);
    for (const auto& led : rig.controls.shpLed) EXPECT_TRUE(!led.visible() && led.colour() == app::kWeiss);

    // The lines the command-line tool prints: the last LED is 43, the activity LED is no terminal.
    rig.state.PortOffen = false;
    rig.zeige({0x0D});
    EXPECT_EQ(modelZeile(rig.state), "model 13 KRV-cbx/Rx");
    const std::string klemmen = terminalsZeile(rig.controls);
    EXPECT_TRUE(klemmen.ends_with(" 41=white 42=white 43=white")) << klemmen;
    EXPECT_EQ(klemmen.find(" 23="), std::string::npos);
}

TEST(GeraetModulLeds, WhichExistAndTheirColoursFromBytes0And1) {
    const std::pair<GeraeteBytes, const char*> tabelle[] = {
        {{0x79, 0xFA}, "modules OutputFault=white OutputLocked=yellow OutputState=red OutputWarn=red "
                       "CpuFault=red CpuS1S2=green CpuS3S4=green ErwFault=red ErwIndicat=red "
                       "ErwSwitch2=green ErwSwitch1=green"},
        {{0x40, 0x88}, "modules OutputFault=white OutputLocked=white OutputState=red CpuFault=white "
                       "CpuS1S2=white"},
        {{0x63, 0x0F}, "modules OutputFault=red OutputLocked=yellow OutputState=green CpuFault=white "
                       "CpuS1S2=green CpuS3S4=green"},
        {{0x1E, 0x30}, "modules OutputFault=white OutputLocked=white OutputState=red CpuFault=red "
                       "CpuS1S2=white ErwFault=red ErwIndicat=red"},
    };
    for (const auto& [bytes, zeile] : tabelle) {
        DeviceRig rig;
        rig.zeige(bytes);
        EXPECT_EQ(modulesZeile(rig.controls), zeile);
        for (const ModulLed& led : kModulLeds) {  // LEDs a model lacks are not coloured either
            const app::Control& shape = rig.controls.*led.shape;
            EXPECT_EQ(shape.visible() ? app::kWeiss : shape.colour(), app::kWeiss) << zeile << led.name;
        }
    }
}

enum Quelle { Port, KeineDaten, CpuWiedergabe, GeladenesFenster };

TEST(GeraetKlemmenLeds, ColoursFromTheTerminalBits) {
    const struct {
        Quelle quelle;
        GeraeteBytes bytes;
        std::vector<int> leds;
        const char* farben;  // R(ed), G(reen), Y(ellow), W(hite) per LED
    } tabelle[] = {
        {Port, {0x00, 0, 0x80, 0, 0x01}, {32, 29, 0, 2, 3}, "GRRGR"},  // most significant bit first
        {Port, {0x0D, 0, 0, 0, 0, 0x01, 0x10}, {12, 28, 29}, "GGR"},    // bytes 5 and 6
        {Port, {0x0D, 0, 0, 0, 0, 0, 0x0F}, {29, 9, 10, 28}, "RRRR"},  // byte 6's flags are no terminals
        {Port, {0x08, 0, 0, 0x08, 0x08, 0, 0x08}, {11, 12, 7}, "YRG"},  // high impedance: terminal 12,
        {Port, {0x08, 0, 0, 0x08, 0, 0, 0x06}, {11, 12, 7}, "GYY"},     // 13 and 20
        {Port, {0x01, 0, 0, 0x10}, {32, 33}, "GR"},  // bit 9 shows bit 11 inverted for models 1, 2, 3 ...
        {Port, {0x01, 0, 0, 0x00}, {32, 33}, "RG"},
        {Port, {0x01, 0, 0, 0x50}, {33}, "R"},
        {Port, {0x04, 0, 0, 0x00}, {32}, "R"},  // ... model 4 as sent
        {KeineDaten, {0x09, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {42, 15}, "WW"},
        {CpuWiedergabe, {0x09, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {42, 15}, "GY"},
        {GeladenesFenster, {0x09, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {42}, "W"},
    };
    for (const auto& t : tabelle) {
        DeviceRig rig;
        rig.state.PortOffen = true;
        rig.zeige(t.bytes);
        rig.state.PortOffen = t.quelle == Port;
        rig.state.CpuWiedergabeAktiv = t.quelle == CpuWiedergabe;
        rig.state.playback.SimulationsStatus = t.quelle == GeladenesFenster ? 2 : 0;
        rig.zeige(t.bytes);
        std::string farben;
        for (int led : t.leds) {
            const app::Colour f = rig.klemme(led);
            EXPECT_EQ(rig.display.LedFarbe()[static_cast<std::size_t>(led)], f) << led;
            farben += f == app::kRot ? 'R' : f == app::kGruen ? 'G' : f == app::kGelb ? 'Y' : 'W';
            EXPECT_TRUE(f == app::kRot || f == app::kGruen || f == app::kGelb || f == app::kWeiss) << led;
        }
        EXPECT_EQ(farben, t.farben) << int(t.bytes[0]) << " " << int(t.bytes[3]) << " " << int(t.bytes[6]);
    }
}

TEST(GeraetKlemmenLeds, OnlyAChangedBitOrAnInvalidDisplayRedraws) {
    DeviceRig rig;
    rig.state.PortOffen = true;
    const GeraeteBytes block{0x3D, 0x15, 0xA5, 0x5A, 0xC3, 0x3C, 0x9E};
    rig.zeige(block);
    const unsigned vorher = rig.alleAenderungen();
    rig.zeige(block);
    EXPECT_EQ(rig.alleAenderungen(), vorher);
    rig.controls.shpLed[1].setColour(app::kBlau);  // painted over by someone else
    rig.controls.shpOutputState.setColour(app::kBlau);
    rig.zeige(block);
    EXPECT_EQ(rig.klemme(1) + rig.controls.shpOutputState.colour(), 2 * app::kBlau);
    rig.state.AnzeigeGueltig = 0;
    rig.display.AnzeigeLedAufOutputModul(0x05, 4);
    EXPECT_EQ(rig.controls.shpOutputState.colour(), app::kGruen);
    rig.state.playback.SimulationsStatus = 1;  // while a protocol file is loaded the module LEDs stay
    rig.zeige({0x0D, 0x04});
    EXPECT_EQ(rig.controls.shpOutputFault.colour(), app::kRot);
}

TEST(GeraetLedTabellen, OneDistinctiveCellPerModelTheFamilyRulesAndTheLimits) {
    const int zellen[16][2] = {{0, 32}, {0, 34}, {7, 32}, {2, 34}, {0, 33}, {0, 36}, {7, 33}, {2, 36},
                               {0, 37}, {19, 11}, {7, 37}, {2, 42}, {19, 9}, {19, 13}, {30, 6}, {31, 12}};
    ports::ScriptedDialogs dialogs;
    for (int m = 0; m < 16; ++m) {
        EXPECT_EQ(KonvertBitToLed(static_cast<std::int16_t>(zellen[m][0]), m, dialogs), zellen[m][1]) << m;
        std::set<int> benutzt;  // no LED twice, none beyond 43, never the activity LED
        for (std::int16_t bit = 0; bit <= MAX_BIT; ++bit) {
            const int l = KonvertBitToLed(bit, m, dialogs);
            EXPECT_TRUE(l == N || (l <= Max_LED && l != kAktivitaetsLed && benutzt.insert(l).second)) << bit;
        }
    }
    // Bit, model, LED, boxes so far: beyond the bits the internal error box, no model no LED.
    const int grenzen[][4] = {{39, 9, N, 0}, {40, 0, 0, 1}, {0, 16, 0, 1}, {0, -1, 0, 1}, {-1, 0, 0, 1}};
    for (const auto& g : grenzen) {
        EXPECT_EQ(KonvertBitToLed(static_cast<std::int16_t>(g[0]), g[1], dialogs), g[2]) << g[0] << g[1];
        EXPECT_EQ(dialogs.boxes.size(), static_cast<std::size_t>(g[3])) << g[0] << " " << g[1];
    }
    EXPECT_EQ(dialogs.boxes[0].text, kMaxBitFehler);

    LedTabellen kaputt = ledTabellen();
    kaputt[0][2] = 44;  // model 0, bit 2: a broken entry stops its group
    DeviceRig rig;
    DeviceDisplay display(rig.state, rig.controls, rig.pictures, rig.dialogs, kaputt);
    display.HardwareDarstellung(0x00);
    rig.state.PortOffen = true;
    display.AnzeigeKlemmenLed(0xFF, 0x00, 0, 8);
    EXPECT_EQ(rig.dialogs.boxes.at(0).text, kMaxLedFehler);
    EXPECT_EQ(rig.klemme(32) + rig.klemme(0), app::kGruen + app::kWeiss);  // bits 0 and 3
}

}  // namespace
}  // namespace krv::device
