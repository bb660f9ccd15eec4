#include "core/app/ServiceZugang.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/MemoryProfile.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedDialogs.hpp"

namespace krv::app {
namespace {

// The main window's controls as the program starts (service items hidden) and the dialog.
struct ServiceRig {
    ServiceRig() {
        for (std::size_t i = 1; i <= 3; ++i) controls.lblDiagStatusText[i].setVisible(false);
    }

    MemoryProfile profile;
    ports::ScriptedDialogs dialogs;
    ports::RecordingPrinter printer;
    ProgramState state;
    link::ReceiveState receive;
    MainFormState controls;
    hexdump::HexDumpFenster hexDump{state, receive, profile, dialogs, printer};
    ServiceZugang zugang{state, controls, hexDump};

    void eingeben(const std::string& text) {
        zugang.Show();
        zugang.txtPassword_Change(text);
        zugang.cmdOK_Click();
    }

    bool cpuDatenSichtbar() const {
        return controls.mnuOpenCpuDatenAbspeichern.visible() && controls.mnuCloseCpuDatenAbspeichern.visible() &&
               controls.mnuStartCpuDatenWiedergabe.visible() && controls.mnuStopCpuDatenWiedergabe.visible();
    }
    bool cpuDatenVersteckt() const {
        return !controls.mnuOpenCpuDatenAbspeichern.visible() && !controls.mnuCloseCpuDatenAbspeichern.visible() &&
               !controls.mnuStartCpuDatenWiedergabe.visible() && !controls.mnuStopCpuDatenWiedergabe.visible();
    }
    bool ersterCodeAktiv() const {
        bool labels = true;
        for (std::size_t i = 1; i <= 3; ++i) labels = labels && controls.lblDiagStatusText[i].visible();
        return labels && controls.mnuHexDump.visible() && state.ServiceModus1 && state.ServiceModus2 &&
               state.ServiceModus3;
    }
    bool gesperrt() const {
        bool labels = true;
        for (std::size_t i = 1; i <= 3; ++i) {
            labels = labels && !controls.lblDiagStatusText[i].visible() && controls.lblDiagStatusWert[i].caption().empty();
        }
        return labels && !controls.mnuHexDump.visible() && !state.ServiceModus1 && !state.ServiceModus2 &&
               !state.ServiceModus3 && cpuDatenVersteckt() && !hexDump.geladen();
    }
};

TEST(ServiceZugang, OnlyCtrlLInThePictureOpensTheDialog) {
    ServiceRig rig;
    EXPECT_FALSE(rig.zugang.picContainer_KeyDown(76, 3, true)) << "Ctrl+Shift+L";
    EXPECT_FALSE(rig.zugang.picContainer_KeyDown(76, 0, true)) << "plain L";
    EXPECT_FALSE(rig.zugang.picContainer_KeyDown(76, 6, true)) << "Ctrl+Alt+L";
    EXPECT_FALSE(rig.zugang.picContainer_KeyDown(75, 2, true)) << "Ctrl+K";
    EXPECT_FALSE(rig.zugang.picContainer_KeyDown(76, 2, false)) << "picture area without focus";
    EXPECT_FALSE(rig.zugang.geladen());

    EXPECT_TRUE(rig.zugang.picContainer_KeyDown(76, 2, true));
    const PasswortDialogState& d = rig.zugang.controls();
    EXPECT_TRUE(d.frmPassword.visible());
    // The dialog speaks the same in both languages.
    EXPECT_EQ(d.frmPassword.caption(), "Insert password");
    EXPECT_EQ(d.lblPassword.caption(), "Password: ");
    EXPECT_EQ(d.cmdOK.caption(), "OK");
    EXPECT_EQ(d.cmdAbbrechen.caption(), "Abbrechen");
    EXPECT_EQ(kPasswortZeichen, '*');

    // Ctrl+L again only raises the open dialog; what was typed stays.
    rig.zugang.txtPassword_Change("To");
    EXPECT_TRUE(rig.zugang.picContainer_KeyDown(76, 2, true));
    EXPECT_EQ(rig.zugang.nachVorne(), 1u);
    EXPECT_EQ(d.txtPassword.caption(), "To");
}

TEST(ServiceZugang, FirstCodeUnlocksStatusValuesAndHexDumpMenu) {
    ServiceRig rig;
    rig.eingeben("Tovk");
    EXPECT_TRUE(rig.ersterCodeAktiv());
    EXPECT_TRUE(rig.cpuDatenVersteckt());
    // Mode "keine Anzeige": the menu shows, the window does not open.
    EXPECT_FALSE(rig.hexDump.geladen());
    EXPECT_FALSE(rig.zugang.geladen());
    EXPECT_FALSE(rig.zugang.controls().frmPassword.visible());
    EXPECT_EQ(rig.zugang.controls().txtPassword.caption(), "");
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

TEST(ServiceZugang, FirstCodeOpensTheHexDumpWindowWhenItsModeIsOn) {
    ServiceRig rig;
    rig.state.einstellungen.HexDumpModus = 2;
    rig.eingeben("Tovk");
    EXPECT_TRUE(rig.hexDump.sichtbar());
    EXPECT_TRUE(rig.hexDump.imVordergrund());
}

TEST(ServiceZugang, SecondCodeUnlocksOnlyTheCpuDataItems) {
    ServiceRig rig;
    rig.eingeben("Hesto");
    EXPECT_TRUE(rig.cpuDatenSichtbar());
    EXPECT_FALSE(rig.state.ServiceModus1);
    EXPECT_FALSE(rig.controls.mnuHexDump.visible());
}

TEST(ServiceZugang, CodesMustMatchExactly) {
    for (const char* falsch : {"tovk", "TOVK", "Tovk ", " Tovk", "Tov", "Tovkk", "hesto", "Hesto\n", ""}) {
        ServiceRig rig;
        rig.eingeben(falsch);
        EXPECT_TRUE(rig.gesperrt()) << '"' << falsch << '"';
        EXPECT_TRUE(rig.dialogs.boxes.empty()) << "a wrong code is not reported";
    }
}

TEST(ServiceZugang, OpeningLocksEverythingInOrderAndCancelKeepsItLocked) {
    ServiceRig rig;
    rig.state.einstellungen.HexDumpModus = 1;
    rig.eingeben("Tovk");
    // Every item open at once, so that each lock step shows: the CPU data items as the second
    // code opens them, the status values as the display fills them.
    for (Control* c : {&rig.controls.mnuOpenCpuDatenAbspeichern, &rig.controls.mnuCloseCpuDatenAbspeichern,
                       &rig.controls.mnuStartCpuDatenWiedergabe, &rig.controls.mnuStopCpuDatenWiedergabe}) {
        c->setVisible(true);
    }
    for (std::size_t i = 1; i <= 3; ++i) rig.controls.lblDiagStatusWert[i].setCaption(std::to_string(i * 7));
    ASSERT_TRUE(rig.ersterCodeAktiv() && rig.cpuDatenSichtbar() && rig.hexDump.sichtbar());

    std::vector<std::string> reihenfolge;
    const auto merke = [&](const Control& c) {
        if (std::find(reihenfolge.begin(), reihenfolge.end(), c.name()) == reihenfolge.end()) {
            reihenfolge.push_back(c.name());
        }
    };
    rig.controls.setListener(merke);
    rig.hexDump.controls().setListener(merke);

    EXPECT_TRUE(rig.zugang.picContainer_KeyDown(76, 2, true));
    EXPECT_TRUE(rig.gesperrt());
    const std::vector<std::string> erwartet = {
        "mnuHexDump", "frmHexDump", "lblDiagStatusText(1)", "lblDiagStatusText(2)", "lblDiagStatusText(3)",
        "lblDiagStatusWert(1)", "lblDiagStatusWert(2)", "lblDiagStatusWert(3)", "mnuOpenCpuDatenAbspeichern",
        "mnuCloseCpuDatenAbspeichern", "mnuStartCpuDatenWiedergabe", "mnuStopCpuDatenWiedergabe"};
    std::vector<std::string> ohneHexDumpDetails;
    for (const std::string& n : reihenfolge) {
        if (n == "Grid1" || n.starts_with("optHexDumpDisplay") || n == "cmdHexDumpDrucken" || n == "lblZellenInhalt") continue;
        ohneHexDumpDetails.push_back(n);
    }
    EXPECT_EQ(ohneHexDumpDetails, erwartet);
    // Closing the hex dump window from here is no user close: its mode and setting stay.
    EXPECT_EQ(rig.state.einstellungen.HexDumpModus, 1);
    EXPECT_EQ(rig.profile.text(), "");

    rig.zugang.cmdAbbrechen_Click();
    EXPECT_FALSE(rig.zugang.geladen());
    EXPECT_TRUE(rig.gesperrt());
}

TEST(ServiceZugang, TwoOpeningsLeaveOnlyTheLastCodesItems) {
    ServiceRig rig;
    rig.eingeben("Hesto");
    ASSERT_TRUE(rig.cpuDatenSichtbar());
    rig.eingeben("Tovk");
    EXPECT_TRUE(rig.ersterCodeAktiv());
    EXPECT_TRUE(rig.cpuDatenVersteckt());

    rig.eingeben("Hesto");
    EXPECT_TRUE(rig.cpuDatenSichtbar());
    EXPECT_FALSE(rig.controls.mnuHexDump.visible());
    EXPECT_FALSE(rig.state.ServiceModus1);
}

}  // namespace
}  // namespace krv::app
