// Switching the device picture between models: pictures, LED visibility, the failure rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "DeviceTestRig.hpp"
#include "core/device/ModelCatalogue.hpp"

namespace krv::device {
namespace {

using test::DeviceRig;

std::set<int> tabellenLeds(int modell) {
    std::set<int> leds;
    for (std::uint8_t l : ledTabellen()[static_cast<std::size_t>(modell)]) {
        if (l != kKeineLed) leds.insert(l);
    }
    return leds;
}

std::vector<std::string> bilder(const DeviceRig& rig) {
    return {rig.controls.Image1.caption(), rig.controls.Image2.caption(), rig.controls.Image3.caption(),
            rig.controls.imgStrom.caption()};
}

TEST(ModelCatalogue, PictureNamesAndLedCountsFollowTheFamilyPattern) {
    for (const Modell& m : modellKatalog()) {
        const bool x = m.basisCode.back() == 'x';
        const bool c = m.basisCode.front() == 'c';
        const std::string variante = std::string(m.index % 4 >= 2 ? "T" : "R") + (m.index % 2 ? "X" : "");
        std::string basis(m.basisCode);
        std::transform(basis.begin(), basis.end(), basis.begin(), ::toupper);

        EXPECT_EQ(m.bildOutput, variante + ".WMF") << m.index;
        EXPECT_EQ(m.bildCpu, basis + ".WMF") << m.index;
        EXPECT_EQ(m.bildErweiterung, c ? (x ? "IO-CX.WMF" : "IO-C.WMF") : "") << m.index;
        EXPECT_EQ(m.bildStrom, "ST-" + basis + variante + ".WMF") << m.index;
        EXPECT_EQ(m.ledAnzahlOutput, variante == "RX" ? 4 : 3) << m.index;
        EXPECT_EQ(m.ledAnzahlCpu, x ? 3 : 2) << m.index;
        EXPECT_EQ(m.ledAnzahlErweiterung, c ? (x ? 4 : 2) : 0) << m.index;
        EXPECT_EQ(m.tabellenName, basis + variante + "_TAB") << m.index;
    }
    EXPECT_EQ(modell(0).basisCode, "a");
    EXPECT_EQ(modell(13).basisCode, "cbx");
    EXPECT_EQ(modell(6).basisCode, "b");
    EXPECT_EQ(modellName(0, 0), "KRV-a/R");
    EXPECT_EQ(modellName(13, 10000), "KRV-cbx/Rx");
    EXPECT_EQ(modellName(15, 0), "KRV-cbx/Tx");
}

TEST(ModelSwitch, OnlyTheLowNibbleSelectsTheModel) {
    DeviceRig rig;
    rig.zeige({0x3D});
    EXPECT_EQ(rig.state.HardwareTyp, 13);
    EXPECT_EQ(rig.state.HardwareIndex, 13);
    EXPECT_EQ(bilder(rig), (std::vector<std::string>{"/opt/krv/RX.WMF", "/opt/krv/CBX.WMF", "/opt/krv/IO-CX.WMF",
                                                     "/opt/krv/ST-CBXRX.WMF"}));
    EXPECT_EQ(rig.display.LedAnzahlOutput(), 4);
    EXPECT_EQ(rig.display.LedAnzahlCpu(), 3);
    EXPECT_EQ(rig.display.LedAnzahlErweiterung(), 4);
}

TEST(ModelSwitch, ShowsExactlyTheTableLedsAndLed23) {
    DeviceRig rig;
    for (int m : {13, 0, 9, 1, 15, 2, 7, 10, 4, 12, 3, 14, 5, 11, 6, 8}) {
        rig.zeigeModell(m);
        std::set<int> erwartet = tabellenLeds(m);
        erwartet.insert(23);
        EXPECT_EQ(rig.sichtbareKlemmenLeds(), erwartet) << "model " << m;
    }
    // Two models written out by hand.
    rig.zeigeModell(0);
    EXPECT_EQ(rig.sichtbareKlemmenLeds(), (std::set<int>{0, 1, 2, 3, 4, 6, 7, 22, 23, 28, 29, 31, 32}));
    rig.zeigeModell(6);
    EXPECT_EQ(rig.sichtbareKlemmenLeds(), (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 22, 23, 25, 29, 30, 32, 33}));
}

TEST(ModelSwitch, FromModel9ToModel1EmptiesTheExtensionPicture) {
    DeviceRig rig;
    rig.zeigeModell(9);
    EXPECT_EQ(rig.controls.Image3.caption(), "/opt/krv/IO-CX.WMF");
    EXPECT_TRUE(rig.controls.shpErwSwitch1.visible());

    rig.zeigeModell(1);
    EXPECT_EQ(rig.controls.Image3.caption(), "");
    EXPECT_EQ(rig.controls.imgStrom.caption(), "/opt/krv/ST-AXRX.WMF");
    EXPECT_EQ(rig.sichtbareKlemmenLeds(),
              (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 22, 23, 25, 29, 30, 31, 32, 33, 34, 35}));
    for (const app::Control* erw : {&rig.controls.shpErwFault, &rig.controls.shpErwIndicat,
                                    &rig.controls.shpErwSwitch2, &rig.controls.shpErwSwitch1}) {
        EXPECT_FALSE(erw->visible()) << erw->name();
    }
}

TEST(ModelSwitch, ModelsWithoutExtensionHaveNoExtensionPicture) {
    for (int m = 0; m < 16; ++m) {
        DeviceRig rig;
        rig.zeigeModell(13);
        rig.zeigeModell(m);
        if (m < 8) {
            EXPECT_EQ(rig.controls.Image3.caption(), "") << m;
        } else {
            EXPECT_NE(rig.controls.Image3.caption(), "") << m;
        }
    }
}

TEST(ModelSwitch, PicturesLoadOncePerModelUntilTheDisplayIsInvalidated) {
    DeviceRig rig;
    rig.zeigeModell(5);
    EXPECT_EQ(rig.pictures.ladeVersuche(), 3u);  // Image3 is emptied, not loaded
    rig.zeige({0x05, 0xFF, 0x12});
    rig.zeige({0x25});
    EXPECT_EQ(rig.pictures.ladeVersuche(), 3u);

    rig.state.AnzeigeGueltig = 0;  // as the port status display leaves it
    rig.zeigeModell(5);
    EXPECT_EQ(rig.pictures.ladeVersuche(), 6u);
    EXPECT_EQ(rig.pictures.anfragen.back().pfad, "/opt/krv/ST-BXRX.WMF");
    EXPECT_EQ(rig.pictures.anfragen.back().bereich, ports::Bildbereich::imgStrom);
}

TEST(ModelSwitch, ResetsTheErrorWindowAndStatusFlagsOnlyOnASwitch) {
    DeviceRig rig;
    rig.zeigeModell(3);
    rig.state.CpuFehlerAktiv = true;
    rig.state.StatusInitialisiert = true;
    rig.zeigeModell(3);
    EXPECT_TRUE(rig.state.CpuFehlerAktiv);
    EXPECT_TRUE(rig.state.StatusInitialisiert);

    rig.zeigeModell(4);
    EXPECT_FALSE(rig.state.CpuFehlerAktiv);
    EXPECT_FALSE(rig.state.StatusInitialisiert);
}

TEST(ModelSwitch, PaintsEveryTerminalLedWhite) {
    DeviceRig rig;
    rig.portOeffnen();
    rig.zeige({0x00, 0x00, 0xFF, 0x00, 0xFF});
    ASSERT_EQ(rig.klemme(0), app::kGruen);
    ASSERT_EQ(rig.display.LedFarbe()[22], app::kRot);
    rig.controls.shpLed[23].setColour(app::kCyan);  // activity indicator

    rig.display.HardwareDarstellung(0x08);
    for (std::size_t i = 0; i < app::kAnzahlKlemmenLeds; ++i) {
        EXPECT_EQ(rig.controls.shpLed[i].colour(), app::kWeiss) << i;
        EXPECT_EQ(rig.display.LedFarbe()[i], app::kWeiss) << i;
    }
}

TEST(PictureFailure, MissingWiringPictureKeepsTheModulePicturesAndShowsNoLeds) {
    DeviceRig rig({"ST-CBXTX.WMF"});
    rig.zeigeModell(13);
    rig.zeigeModell(15);

    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, ".WMF-Datei nicht gefunden.");
    EXPECT_EQ(rig.dialogs.boxes[0].title, "");
    EXPECT_EQ(rig.dialogs.boxes[0].buttons, ports::MsgButtons::Ok);
    EXPECT_EQ(bilder(rig), (std::vector<std::string>{"/opt/krv/TX.WMF", "/opt/krv/CBX.WMF", "/opt/krv/IO-CX.WMF",
                                                     "/opt/krv/ST-CBXRX.WMF"}));
    EXPECT_EQ(rig.sichtbareKlemmenLeds(), std::set<int>{23});
    EXPECT_EQ(rig.state.HardwareIndex, 15);
    // The counts and the module LEDs are still model 13's.
    EXPECT_EQ(rig.display.LedAnzahlOutput(), 4);
    EXPECT_TRUE(rig.controls.shpOutputWarn.visible());

    // The display marked itself valid, so the same model is not tried again.
    rig.zeigeModell(15);
    rig.zeigeModell(15);
    EXPECT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.sichtbareKlemmenLeds(), std::set<int>{23});

    rig.zeigeModell(11);  // another model with all its pictures
    EXPECT_EQ(rig.controls.imgStrom.caption(), "/opt/krv/ST-CXTX.WMF");
    EXPECT_EQ(rig.sichtbareKlemmenLeds().size(), tabellenLeds(11).size() + 1);
}

TEST(PictureFailure, FirstPictureMissingChangesNoPictureAndSaysSoInEnglish) {
    DeviceRig rig({"T.WMF"});
    rig.state.einstellungen.SprachOffset = 10000;
    rig.zeigeModell(8);
    const std::vector<std::string> vorher = bilder(rig);

    rig.zeigeModell(2);
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, ".WMF-file not found");
    EXPECT_EQ(bilder(rig), vorher);  // even Image3 keeps model 8's extension picture
    EXPECT_EQ(rig.pictures.anfragen.back().pfad, "/opt/krv/T.WMF");
}

TEST(PictureLoadSequence, EmptiesPicturesCountsAndTerminalLeds) {
    DeviceRig rig;
    rig.portOeffnen();
    rig.zeige({0x09, 0x00, 0xFF});
    rig.display.BildLeeren();

    EXPECT_EQ(bilder(rig), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(rig.display.LedAnzahlOutput(), 0);
    EXPECT_EQ(rig.display.LedAnzahlCpu(), 0);
    EXPECT_EQ(rig.display.LedAnzahlErweiterung(), 0);
    EXPECT_TRUE(rig.sichtbareKlemmenLeds().empty());
    for (const app::Control& led : rig.controls.shpLed) EXPECT_EQ(led.colour(), app::kWeiss) << led.name();
    const auto n = rig.pictures.anfragen.size();
    ASSERT_GE(n, 4u);
    for (std::size_t i = n - 4; i < n; ++i) EXPECT_EQ(rig.pictures.anfragen[i].pfad, "");
}

}  // namespace
}  // namespace krv::device
