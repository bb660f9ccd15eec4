// The main window, its language switch and the service access, through the whole program.
#include <gtest/gtest.h>

#include "support/AppRig.hpp"

namespace krv::app {
namespace {

using test::AppRig;

const std::string kLegendeDe = " Klemmen- und LED-Farben: rot=0V/offen, grün=24V/geschlossen, gelb=hochohmig";
const std::string kLegendeEn =
    " Connector and LED-colors: red=0V/open, green=24V/closed, yellow=high impedance";

TEST(ProgrammStart, StoredSettingsChooseLanguagePortAndModeAndASecondCopyIsRefused) {
    // {settings, no other copy runs, caption or the refusal, checked port, hex dump and language items}
    for (const auto& [ini, frei, titel, haken] :
         {std::tuple{"", true, "KRV Diagnoseprogramm", "100"},
          {"[Einstellungen]\nSprache=10000\nComPort=2\nHexDump=2\n", true, "KRV Diagnosis Software", "221"},
          {"[Einstellungen]\nSprache=10000\n", false, "Another Instance is already running", ""}}) {
        AppRig rig(ini);
        rig.lock.frei = frei;
        ASSERT_EQ(rig.start(), frei);
        const MainFormState& c = rig.c;
        EXPECT_EQ(frei ? c.frmKrvDiag.caption() : rig.dialogs.boxes.at(0).text, titel);
        if (!frei) continue;
        std::string gesetzt;
        for (unsigned i = 0; i < 5; ++i) gesetzt += c.mnuCom[i].checked() ? std::to_string(i) : "";
        for (unsigned i = 0; i < 3; ++i) gesetzt += c.mnuHexDumpAuswahl[i].checked() ? std::to_string(i) : "";
        for (unsigned i = 0; i < 2; ++i) gesetzt += c.mnuSprache[i].checked() ? std::to_string(i) : "";
        EXPECT_EQ(gesetzt, haken);
        EXPECT_EQ(c.SSPanel1.caption(), std::string("COM") + haken[0]);
        EXPECT_EQ(rig.port.nr, haken[0] - '0');
        EXPECT_EQ(rig.gemeldet.count(std::string("mnuCom(") + haken[0] + ")"), 1u) << "the window hears";
        // The port closed, the model list shown, service items hidden, recorder and playback offered.
        EXPECT_FALSE(rig.port.offen || c.mnuDatenuebertragungStop.enabled() || c.fraStatus.visible() ||
                     c.mnuHexDump.visible() || c.mnuOpenCpuDatenAbspeichern.visible() ||
                     c.mnuCloseLog.enabled());
        EXPECT_TRUE(c.mnuDatenuebertragungStart.enabled() && c.mnuHardwareAuswahl.checked() &&
                    c.List1.visible() && c.mnuOpenLog.enabled() && c.mnuStartSimulation.enabled());
        // The model list, and model 13 shown through the display path as the first picture.
        EXPECT_EQ(c.List1.items().size(), 16u);
        ASSERT_EQ(rig.angezeigt.size(), 1u);
        EXPECT_EQ(rig.angezeigt[0], Bytes({13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(rig.profile.text(), ini) << "reading never writes";
    }
}

TEST(ProgrammPort, MenuAndPanelOpenAndCloseThePortButNotDuringPlayback) {
    AppRig rig("[Einstellungen]\nComPort=2\n");
    ASSERT_TRUE(rig.start());
    const MainFormState& c = rig.c;
    const auto panel = [&rig](int simulation) {
        rig.state.playback.SimulationsStatus = simulation;
        rig.p.form.SSPanel1_DblClick();
        rig.state.playback.SimulationsStatus = 0;
    };
    for (const auto& [schritt, offen] :  // {step, the port is open afterwards}
         {std::pair<std::function<void()>, bool>{[&] { rig.p.form.mnuDatenuebertragungStart_Click(); }, true},
          {[&] { rig.p.form.mnuDatenuebertragungStop_Click(); }, false}, {[&] { panel(0); }, true},
          {[&] { panel(0); }, false}, {[&] { panel(2); }, false}}) {
        rig.c.shpLed[5].setColour(kRot);
        schritt();
        EXPECT_TRUE(rig.port.offen == offen && rig.state.PortOffen == offen && c.Timer1.enabled() == offen);
        EXPECT_EQ(c.SSPanel1.caption(), "COM2");
        EXPECT_EQ(c.SSPanel1.colour(), offen ? 0x00FF00u : kRot);
        EXPECT_EQ(c.mnuDatenuebertragungStart.enabled(), !offen);
        EXPECT_EQ(c.mnuDatenuebertragungStop.enabled(), offen);
        EXPECT_EQ(c.List1.visible(), !offen);
        // Telegrams arrive: the status window shows and the LEDs start from white.
        EXPECT_TRUE(!offen || (c.fraStatus.visible() && c.mnuStatusFenster.checked() &&
                               c.shpLed[5].colour() == kWeiss));
    }
    // The views, from each other one: each checks its item and shows only its pane.
    void (MainForm::*const klicks[])() = {&MainForm::mnuStatusFenster_Click,
                                          &MainForm::mnuTimingDiagramm_Click,
                                          &MainForm::mnuHardwareAuswahl_Click};
    const std::vector<bool> sichten[] = {{1, 0, 1, 0, 0, 0}, {0, 1, 0, 1, 0, 0}, {0, 0, 0, 0, 1, 1}};
    for (const int sicht : {1, 0, 2, 1, 2, 0}) {
        (rig.p.form.*klicks[sicht])();
        EXPECT_EQ(rig.state.AnsichtModus, sicht);
        EXPECT_EQ((std::vector<bool>{c.mnuStatusFenster.checked(), c.mnuTimingDiagramm.checked(),
                                     c.fraStatus.visible(), c.fraTimingDiagram.visible(),
                                     c.mnuHardwareAuswahl.checked(), c.List1.visible()}),
                  sichten[sicht]) << sicht;
    }
    // While a recording runs, stopping the transfer offers neither playback nor a restart.
    rig.p.form.mnuDatenuebertragungStart_Click();
    rig.c.mnuOpenLog.setEnabled(false);
    rig.c.mnuStartSimulation.setEnabled(false);
    rig.p.form.mnuDatenuebertragungStop_Click();
    EXPECT_FALSE(c.mnuStartSimulation.enabled() || c.mnuDatenuebertragungStart.enabled());
}

TEST(ProgrammPort, TelegramsReachTheDisplayInOrderAndTheUnloadFinishesTheRecording) {
    AppRig rig("[Einstellungen]\nHexDump=1\n");
    ASSERT_TRUE(rig.start());
    rig.c.List1.setListIndex(4);
    rig.p.form.List1_Click();
    rig.p.form.List1_LostFocus();
    EXPECT_EQ(rig.c.List1.listIndex(), -1);
    rig.p.form.List1_GotFocus();  // selects and shows the model again
    EXPECT_EQ(rig.c.List1.listIndex(), 4);
    rig.p.form.mnuDatenuebertragungStart_Click();
    rig.c.List1.setListIndex(7);
    rig.p.form.List1_Click();  // while the port is open the model comes from the device
    ASSERT_EQ(rig.angezeigt.size(), 3u);
    EXPECT_TRUE(rig.angezeigt[1][0] == 4 && rig.angezeigt[2][0] == 4);
    ASSERT_TRUE(rig.p.form.recorder().starteAufzeichnung("/a.log", ports::OpenMode::Replace));
    // {ms since the last telegram, LED 23}: the first one redraws the picture, then one change a second.
    rig.clock.setMonotonicMs(5'000);
    std::uint8_t n = 0;
    for (const auto& [ms, led] : {std::pair{0, kWeiss}, {1'500, kCyan}, {400, kCyan}, {1'700, kBlau}}) {
        rig.clock.advanceMs(ms);
        rig.kurz(0x0D, ++n);
        EXPECT_TRUE(rig.c.shpLed[23].colour() == led && rig.angezeigt.back()[2] == n) << int(n);
    }
    EXPECT_EQ(rig.angezeigt.size(), 7u);
    Bytes kaputt = link::kurzTelegramm({0x0D});
    kaputt.back() ^= 0x55;
    rig.sende(kaputt);  // shows in the status line until Timer2 puts the legend back
    EXPECT_TRUE(rig.c.SSPanel2.caption() == "CRC Fehler" && rig.c.Timer2.enabled());
    rig.p.form.Timer2_Timer();
    EXPECT_TRUE(rig.c.SSPanel2.caption() == kLegendeDe && !rig.c.Timer2.enabled());

    // Unloading closes the other windows and the port, then the recording.
    rig.p.mnuHilfe_Click();
    rig.p.form.Form_Unload();
    EXPECT_FALSE(rig.p.hexDump.geladen() || rig.p.hilfe.geladen() || rig.port.offen || rig.datei.isOpen());
    const Bytes& inhalt = rig.datei.files["/a.log"];  // the pending run: its last record is a telegram
    ASSERT_GE(inhalt.size(), 19u);
    EXPECT_EQ(std::string(inhalt.end() - 19, inhalt.end() - 17), "L3");
    // Only the help window stores its place.
    EXPECT_EQ(rig.profile.text().rfind("[Einstellungen]\nHexDump=1\n\n[HilfeFenster]\n", 0), 0u);
}

TEST(Sprache, SwitchingRewritesTheWindowsInUseAndStoresTheChoice) {
    // {hex dump mode chosen, -1: 2 and then closed with the close box; a CPU error shown; windows repainted}
    for (const auto& [modus, cpuFehler, neuGezeichnet] :
         {std::tuple{-1, false, std::vector<std::string>{"frmKrvDiag"}},
          {1, false, {"frmKrvDiag", "frmHexDump"}},
          {2, true, {"frmKrvDiag", "frmHexDump", "frmCpuFehlermeldung"}}}) {
        SCOPED_TRACE(modus);
        AppRig rig;
        ASSERT_TRUE(rig.start());
        const std::vector<std::string> modelle = rig.c.List1.items();
        rig.p.mnuHilfe_Click();
        rig.p.mnuHexDumpAuswahl_Click(modus < 0 ? 2 : modus);
        if (modus < 0) rig.p.hexDump.Schliessfeld();
        if (cpuFehler) rig.p.form.mnuDatenuebertragungStart_Click();
        if (cpuFehler) rig.kurz(0x1D, 0, 5);
        rig.gemeldet.clear();
        for (int keine : {2, -1}) rig.p.mnuSprache_Click(keine);  // no such language: nothing

        rig.p.mnuSprache_Click(1);
        EXPECT_EQ(rig.wert("Einstellungen", "Sprache"), "10000");
        EXPECT_EQ(rig.neuGezeichnet, neuGezeichnet);
        EXPECT_TRUE(!rig.c.mnuSprache[0].checked() && rig.c.mnuSprache[1].checked());
        // One sample from each part: menus, playback buttons, status window, status bar.
        EXPECT_EQ(rig.c.mnuAnsicht.caption() + "|" + rig.c.cmdWiedergabeStart.caption() + "|" +
                      rig.c.lblDiagStatusText[19].caption() + "|" + rig.c.SSPanel2.caption(),
                  "&View|playback start|restart-interlock:  |" + kLegendeEn);
        EXPECT_EQ(rig.c.SSPanel1.colour(), cpuFehler ? 0x00FF00u : kRot) << "the port stays as it was";
        // Filled at start-up, the model list keeps its texts; the help window keeps its language.
        EXPECT_TRUE(rig.c.List1.items() == modelle && rig.p.hilfe.controls().frmHilfe.caption() == "Hilfe");
        EXPECT_EQ(rig.p.hexDump.controls().optHexDumpDisplay[1].caption(), modus > 0 ? " Display HEX" : "");
        const diag::CpuFehlerFenster& fehler = rig.p.form.cpuFehlerFenster();
        EXPECT_EQ(fehler.controls().frmCpuFehlermeldung.caption() == "Error", cpuFehler);
        // The Qt windows hear of what changed, each control by its own name.
        for (const char* name : {"mnuFile", "mnuSprache(0)", "mnuSprache(1)", "lblDiagStatusText(0)",
                                 "SSPanel2", "optHexDumpDisplay(0)"}) {
            EXPECT_EQ(rig.gemeldet.count(name), modus > 0 || name[0] != 'o' ? 1u : 0u) << name;
        }
        if (cpuFehler) rig.p.form.mnuDatenuebertragungStop_Click();
        if (cpuFehler) rig.p.form.mnuDatenuebertragungStart_Click();  // a new start clears the CPU error
        EXPECT_FALSE(rig.state.CpuFehlerAktiv || fehler.geladen());
        rig.p.mnuSprache_Click(0);
        EXPECT_EQ(rig.wert("Einstellungen", "Sprache") + rig.c.lblDiagStatusText[0].caption(),
                  "0Programm Version:  ");
    }
}

TEST(ServiceZugang, OnlyCtrlLInThePictureOpensTheDialogAndEachCodeUnlocksItsItems) {
    // {typed, status values and hex dump menu, CPU data items}
    for (const auto& [code, erster, zweiter] : {std::tuple{"Tovk", true, false}, {"Hesto", false, true},
                                                {"tovk", false, false}, {"Tovk ", false, false},
                                                {"", false, false}}) {
        SCOPED_TRACE(code);
        AppRig rig("[Einstellungen]\nHexDump=1\n");
        ASSERT_TRUE(rig.start());
        const MainFormState& c = rig.c;
        for (std::size_t i = 1; i <= 3; ++i) rig.c.lblDiagStatusWert[i].setCaption("7");  // as shown
        const auto pruefe = [&](bool e, bool z) {  // hex dump mode 1 opens its window with the first code
            const ProgramState& s = rig.state;
            EXPECT_EQ((std::vector<bool>{c.lblDiagStatusText[1].visible(), c.lblDiagStatusText[3].visible(),
                                         c.mnuHexDump.visible(), rig.p.hexDump.sichtbar(), s.ServiceModus1,
                                         s.ServiceModus2, s.ServiceModus3,
                                         c.mnuOpenCpuDatenAbspeichern.visible(),
                                         c.mnuCloseCpuDatenAbspeichern.visible(),
                                         c.mnuStartCpuDatenWiedergabe.visible(),
                                         c.mnuStopCpuDatenWiedergabe.visible()}),
                      (std::vector<bool>{e, e, e, e, e, e, e, z, z, z, z}));
        };
        // Ctrl+Shift+L and Ctrl+L without the focus do nothing; Ctrl+L again only raises the dialog.
        EXPECT_FALSE(rig.p.picContainer_KeyDown(76, 3, true) || rig.p.picContainer_KeyDown(76, 2, false));
        const Control& dialog = rig.p.service.controls().frmPassword;
        EXPECT_FALSE(rig.p.picContainer_KeyDown(75, 2, true) || dialog.visible());
        EXPECT_TRUE(rig.p.picContainer_KeyDown(76, 2, true) && dialog.visible());
        rig.p.service.txtPassword_Change(code);
        EXPECT_TRUE(rig.p.picContainer_KeyDown(76, 2, true) && rig.p.service.nachVorne() == 1);
        EXPECT_EQ(rig.p.service.controls().txtPassword.caption(), code);
        rig.gemeldet.clear();
        rig.p.service.cmdOK_Click();
        pruefe(erster, zweiter);
        EXPECT_EQ(rig.gemeldet.count("mnuHexDump"), erster ? 1u : 0u) << "the window hears of the menu";
        EXPECT_TRUE(!dialog.visible() && rig.dialogs.boxes.empty());
        // Opening the dialog locks everything at once, and Cancel leaves it locked.
        rig.p.picContainer_KeyDown(76, 2, true);
        EXPECT_EQ(rig.p.service.controls().txtPassword.caption(), "") << "a new dialog, the typing is gone";
        EXPECT_EQ(c.lblDiagStatusWert[1].caption() + c.lblDiagStatusWert[3].caption(), "");
        rig.p.service.cmdAbbrechen_Click();
        EXPECT_FALSE(rig.p.service.geladen());
        pruefe(false, false);
        EXPECT_EQ(rig.wert("Einstellungen", "HexDump"), "1") << "closing the hex dump here is no user close";
    }
}

}  // namespace
}  // namespace krv::app
