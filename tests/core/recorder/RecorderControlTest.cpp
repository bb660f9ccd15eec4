// Starting and ending a recording: the file dialog, the replace question, menus, buttons and
// the trigger selector.
#include "RecorderTestSupport.hpp"

namespace krv::recorder::test {
namespace {

using RecorderControlTest = RecorderFixture;

TEST_F(RecorderControlTest, CancelledFileDialogChangesNothing) {
    rec.mnuOpenLog_Click();
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(dialogs.fileDialogs[0].title, "Protokolldatei öffnen");
    EXPECT_EQ(dialogs.fileDialogs[0].filter, "Protokolldateien (*.LOG)|*.log");
    EXPECT_EQ(dialogs.fileDialogs[0].initialName, "default.log");
    EXPECT_FALSE(rec.laeuft());
    EXPECT_TRUE(controls.mnuOpenLog.enabled());
    EXPECT_EQ(host.timingStarts, 0);
    EXPECT_TRUE(files.files.empty());
}

TEST_F(RecorderControlTest, NewFileIsStartedWithoutAQuestion) {
    dialogs.fileAnswers = {std::string("/rec/neu.log")};
    rec.mnuOpenLog_Click();
    EXPECT_TRUE(rec.laeuft());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(files.openPath, "/rec/neu.log");
    EXPECT_EQ(host.dateiname, "neu.log");
}

TEST_F(RecorderControlTest, ExistingFileAsksAndCancelShowsTheDialogAgain) {
    state.einstellungen.SprachOffset = 10000;
    files.files["/rec/alt.log"] = {'x'};
    dialogs.fileAnswers = {std::string("/rec/alt.log"), std::string("/rec/alt.log")};
    dialogs.answers = {ports::MsgResult::Cancel, ports::MsgResult::No};
    rec.mnuOpenLog_Click();

    EXPECT_EQ(dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(dialogs.fileDialogs[0].title, "Open protocol file");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "replace File - /rec/alt.log?");
    EXPECT_EQ(dialogs.boxes[0].buttons, ports::MsgButtons::YesNoCancel);
    // "No" keeps the old content: the recording is appended.
    EXPECT_TRUE(rec.laeuft());
    sende(block(1));
    EXPECT_EQ(datei("/rec/alt.log"), Bytes{'x'} + version1() + kanaele({}) + trigger(0, 200));
}

TEST_F(RecorderControlTest, YesReplacesTheExistingFile) {
    files.files["/rec/alt.log"] = {'x', 'y'};
    dialogs.fileAnswers = {std::string("/rec/alt.log")};
    dialogs.answers = {ports::MsgResult::Yes};
    rec.mnuOpenLog_Click();
    EXPECT_EQ(dialogs.boxes.at(0).text, "Bestehende Datei ersetzen - /rec/alt.log?");
    EXPECT_TRUE(datei("/rec/alt.log").empty());
}

TEST_F(RecorderControlTest, FileErrorsAreShownAndNoRecordingStarts) {
    files.existsError = "Permission denied";
    dialogs.fileAnswers = {std::string("/geheim/a.log")};
    rec.mnuOpenLog_Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Permission denied");
    EXPECT_EQ(dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
    EXPECT_FALSE(rec.laeuft());

    files.existsError.reset();
    files.openError = "Read-only file system";
    dialogs.fileAnswers = {std::string("/ro/a.log")};
    rec.mnuOpenLog_Click();
    EXPECT_EQ(dialogs.boxes.back().text, "Read-only file system");
    EXPECT_FALSE(rec.laeuft());
    EXPECT_TRUE(controls.mnuOpenLog.enabled());
    EXPECT_EQ(host.transferStarts, 0);
}

TEST_F(RecorderControlTest, StartSwitchesMenusButtonsTimingAndDataTransfer) {
    host.transferLaeuft = false;
    controls.mnuStartSimulation.setEnabled(true);
    controls.mnuTimingDiagramm.setChecked(false);
    starte();

    EXPECT_FALSE(controls.mnuOpenLog.enabled());
    EXPECT_TRUE(controls.mnuCloseLog.enabled());
    EXPECT_EQ(controls.cmdRecorderStartStop.caption(), "Recorder stop");
    EXPECT_FALSE(controls.cmdWiedergabeStart.visible());
    EXPECT_FALSE(controls.mnuStartSimulation.enabled());
    EXPECT_FALSE(host.triggerAuswahlEnabled);
    EXPECT_EQ(host.timingStarts, 1);
    EXPECT_EQ(host.timingAnsicht, 1);
    EXPECT_EQ(host.transferStarts, 1);
}

TEST_F(RecorderControlTest, StartLeavesAShownDiagramAndARunningTransferAlone) {
    controls.mnuTimingDiagramm.setChecked(true);
    starte();
    EXPECT_EQ(host.timingAnsicht, 0);
    EXPECT_EQ(host.transferStarts, 0);
}

TEST_F(RecorderControlTest, EndRestoresMenusButtonsAndStopsTimingAndTransfer) {
    starte();
    controls.mnuDatenuebertragungStart.setEnabled(false);
    rec.mnuCloseLog_Click();

    EXPECT_EQ(host.transferStops, 1);
    EXPECT_EQ(host.timingStops, 1);
    EXPECT_TRUE(host.triggerAuswahlEnabled);
    EXPECT_TRUE(controls.mnuOpenLog.enabled());
    EXPECT_FALSE(controls.mnuCloseLog.enabled());
    EXPECT_EQ(controls.cmdRecorderStartStop.caption(), "Recorder start");
    EXPECT_TRUE(controls.cmdWiedergabeStart.visible());
    EXPECT_TRUE(controls.mnuStartSimulation.enabled());
    EXPECT_TRUE(controls.mnuDatenuebertragungStart.enabled());
    EXPECT_EQ(files.closes, 1);

    // A second stop (shutdown after the user stopped) does nothing.
    rec.mnuCloseLog_Click();
    EXPECT_EQ(files.closes, 1);
    EXPECT_EQ(host.transferStops, 1);
}

TEST_F(RecorderControlTest, ButtonStartsWhenTheStartItemIsEnabledElseStops) {
    dialogs.fileAnswers = {std::string("/rec/a.log")};
    rec.cmdRecorderStartStop_Click();
    EXPECT_TRUE(rec.laeuft());
    rec.cmdRecorderStartStop_Click();
    EXPECT_FALSE(rec.laeuft());
    EXPECT_EQ(dialogs.fileDialogs.size(), 1u);
}

TEST_F(RecorderControlTest, TriggerSelectorTurnsYellowWhenArmedGreenWhenFiredAndBackWhenDone) {
    state.einstellungen.TriggerModus = 1;
    starte();
    EXPECT_TRUE(host.farben.empty());
    sende(block(1));
    sende(block(2, 0x15));
    EXPECT_EQ(host.farben, (std::vector<std::optional<app::Colour>>{app::kGelb}));
    sende(block(3));  // the record with the flag is built: the trigger fires
    EXPECT_EQ(host.farben.back(), std::optional<app::Colour>(app::kGruen));
    EXPECT_EQ(rec.zustand().RecNachTrigger, 1);
    rec.mnuCloseLog_Click();
    EXPECT_EQ(host.farben.back(), std::nullopt);
}

TEST_F(RecorderControlTest, TriggerModeIsTakenAtTheStart) {
    state.einstellungen.TriggerModus = 1;
    starte();
    // A "T" header record in the received stream must not change this recording's mode.
    state.einstellungen.TriggerModus = 0;
    sende(block(1));
    stoppe();
    EXPECT_EQ(datei(), version1() + kanaele({}) + trigger(1, 200) + satz(block(1), 1, zeit(2)));
}

TEST_F(RecorderControlTest, ButtonCaptionFollowsTheLanguage) {
    state.einstellungen.SprachOffset = 10000;
    rec.Init_SpracheRecorder();
    EXPECT_EQ(controls.cmdRecorderStartStop.caption(), "recording start");
    starte();
    rec.Init_SpracheRecorder();
    EXPECT_EQ(controls.cmdRecorderStartStop.caption(), "recording stop");
}

TEST_F(RecorderControlTest, NothingIsRecordedWhileIdle) {
    sende(block(1));
    EXPECT_EQ(hooks.angenommen, 1);
    EXPECT_TRUE(files.files.empty());
    EXPECT_EQ(files.writeAttempts, 0);
}

}  // namespace
}  // namespace krv::recorder::test
