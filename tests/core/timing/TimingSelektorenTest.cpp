// The channel and trigger selectors: their lists in both languages, the settings written on a
// change and read back at the next start, header records of a played-back file, and the
// language switch.
#include <gtest/gtest.h>

#include "TimingTestRig.hpp"
#include "core/app/StartupSettings.hpp"

namespace krv::timing::test {
namespace {

std::vector<std::string> klemmen(std::vector<std::string> anfang) {
    for (int i = 1; i <= 36; ++i) anfang.push_back(std::to_string(i));
    return anfang;
}

TEST(TimingSelektoren, ListTheTerminalsAndTheTriggerModesInTheLanguage) {
    TimingRig rig;
    rig.laden();
    for (int i = 0; i < kAnzahlKanaele; ++i) {
        EXPECT_EQ(rig.controls.cboKlemmen[static_cast<std::size_t>(i)].items(), klemmen({"----"})) << i;
        EXPECT_EQ(rig.controls.cboKlemmen[static_cast<std::size_t>(i)].listIndex(), 0) << i;
    }
    EXPECT_EQ(rig.controls.cboKlemmen[9].items(), klemmen({"--------", "Fehler"}));
    EXPECT_EQ(rig.controls.lblTimingStatusStart.caption(), "Start");
    EXPECT_EQ(rig.controls.lblTimingStatusAktuell.caption(), "Aktuell");
    EXPECT_EQ(rig.form.cmdRecorderStartStop.caption(), "Recorder start");
    EXPECT_EQ(rig.form.cmdWiedergabeStop.caption(), "Wiedergabe stop");
}

TEST(TimingSelektoren, AChoiceIsStoredAtOnceAndSelectedAgainAtTheNextStart) {
    TimingRig rig(40, 16);
    rig.laden();
    int triggerMeldungen = 0;
    rig.timing.onTriggerModusGeaendert = [&] { ++triggerMeldungen; };
    rig.timing.ZeichneSpur(3, 2, 0);

    rig.timing.cboKlemmenAuswahl(3, 12);
    EXPECT_EQ(rig.state.einstellungen.KanalTab[3], 12);
    EXPECT_EQ(rig.spur(3).bild(), RasterSpur(40, 16).bild());  // that strip cleared
    rig.timing.cboKlemmenAuswahl(9, 5);
    EXPECT_EQ(rig.state.einstellungen.TriggerModus, 5);
    EXPECT_EQ(triggerMeldungen, 1);
    rig.timing.cboKlemmenAuswahl(8, -1);  // nothing selected counts as "none"
    EXPECT_EQ(rig.state.einstellungen.KanalTab[8], 0);

    const std::string ini = rig.profile.text();
    EXPECT_NE(ini.find("TimingKanal3=12"), std::string::npos) << ini;
    EXPECT_NE(ini.find("TimingKanal9=5"), std::string::npos) << ini;
    EXPECT_NE(ini.find("TimingKanal8=0"), std::string::npos) << ini;

    TimingRig neu(40, 16, ini);
    app::readStartupSettings(neu.profile, neu.state.einstellungen);
    neu.laden();
    EXPECT_EQ(neu.controls.cboKlemmen[3].listIndex(), 12);
    EXPECT_EQ(neu.controls.cboKlemmen[9].listIndex(), 5);
    EXPECT_EQ(neu.controls.cboKlemmen[0].listIndex(), 0);
    EXPECT_EQ(neu.profile.text(), ini);  // starting writes nothing
}

TEST(TimingSelektoren, LanguageSwitchRefillsTheListsAndKeepsSelectionAndTraces) {
    TimingRig rig;
    rig.state.einstellungen.KanalTab[2] = 7;
    rig.state.einstellungen.TriggerModus = 1;
    rig.laden();
    int triggerMeldungen = 0;
    rig.timing.onTriggerModusGeaendert = [&] { ++triggerMeldungen; };
    rig.timing.ZeichneSpur(2, 2, 0);
    const std::string spur = rig.spur(2).bild();
    const std::string ini = rig.profile.text();

    rig.state.einstellungen.SprachOffset = 10000;
    rig.timing.Init_SpracheTiming();

    EXPECT_EQ(rig.controls.cboKlemmen[9].items(), klemmen({"--------", "error"}));
    EXPECT_EQ(rig.controls.cboKlemmen[9].listIndex(), 1);
    EXPECT_EQ(rig.controls.cboKlemmen[2].listIndex(), 7);
    EXPECT_EQ(triggerMeldungen, 1);  // the trigger test is derived again
    EXPECT_EQ(rig.spur(2).bild(), spur);
    EXPECT_EQ(rig.profile.text(), ini);
    EXPECT_EQ(rig.form.cmdTimingDiagrammStartStop.caption(), "Display stop");
    EXPECT_EQ(rig.controls.lblTimingStatusStop.caption(), "stop");
    EXPECT_EQ(rig.controls.lblTimingStatusAktuell.caption(), "current");

    rig.timing.TimingStop();
    rig.form.mnuOpenLog.setEnabled(false);  // recording
    rig.state.einstellungen.SprachOffset = 0;
    rig.timing.Init_SpracheTiming();
    EXPECT_EQ(rig.form.cmdTimingDiagrammStartStop.caption(), "Anzeige start");
    EXPECT_EQ(rig.form.cmdRecorderStartStop.caption(), "Recorder stop");
}

TEST(TimingSelektoren, HeaderRecordsOfAFileBeingLoadedOnlyShowInTheSelectors) {
    TimingRig rig;
    rig.laden();
    int triggerMeldungen = 0;
    rig.timing.onTriggerModusGeaendert = [&] { ++triggerMeldungen; };
    rig.timing.ZeichneSpur(0, 2, 0);
    const std::string spur = rig.spur(0).bild();

    rig.state.playback.SimulationsStatus = 1;
    rig.feed(kopfsatz('V', {1}) + kopfsatz('K', {4, 0, 9, 50, 0, 0, 0, 0, 36}) + kopfsatz('T', {3, 20, 0}));

    EXPECT_EQ(rig.controls.cboKlemmen[0].listIndex(), 4);
    EXPECT_EQ(rig.controls.cboKlemmen[2].listIndex(), 9);
    EXPECT_EQ(rig.controls.cboKlemmen[3].listIndex(), -1);  // 50 is no entry
    EXPECT_EQ(rig.controls.cboKlemmen[8].listIndex(), 36);
    EXPECT_EQ(rig.controls.cboKlemmen[9].listIndex(), 3);
    EXPECT_EQ(rig.state.einstellungen.KanalTab[3], 50);  // the click handling ignored itself
    EXPECT_EQ(triggerMeldungen, 0);
    EXPECT_EQ(rig.spur(0).bild(), spur);
    EXPECT_EQ(rig.state.playback.TriggerSatzNr, 20);

    rig.timing.cboKlemmenAuswahl(1, 6);  // a user's click meanwhile is ignored as well
    EXPECT_EQ(rig.state.einstellungen.KanalTab[1], 0);
    EXPECT_EQ(rig.profile.text().find("TimingKanal1=6"), std::string::npos);
}

}  // namespace
}  // namespace krv::timing::test
