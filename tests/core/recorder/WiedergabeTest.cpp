// Playback of protocol files through the main window: the start and its refusals, the window
// loader's choices, the cursor, LEDs and CPU error window following the record, files that fail
// while they are played, and a recording played back.
#include <limits>

#include "core/app/StringTable.hpp"
#include "support/RecorderRig.hpp"

namespace krv::recorder::test {
namespace {

TEST(ProtokollWiedergabe, StartLoadsTheFirstWindowAndSwitchesTheWindowToPlaybackAndBack) {
    Fenster r;
    r.form.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(r.spiele(protokoll(100)));
    const app::MainFormState& c = r.controls;
    EXPECT_FALSE(r.state.PortOffen);  // data transfer was stopped first
    EXPECT_TRUE(r.dialogs.boxes.empty());
    EXPECT_EQ(r.state.playback.SimulationsStatus, 2);
    EXPECT_EQ(r.fenster(), std::make_pair(0, 9));
    EXPECT_EQ(r.form.timing().samples().AnzahlSamples, 11);  // the eleventh sample ended the window
    EXPECT_EQ(r.hsb().max(), 99);
    // The header area set channels and trigger.
    EXPECT_EQ(r.state.einstellungen.KanalTab[8], 36);
    EXPECT_EQ(r.state.einstellungen.TriggerModus, 3);
    EXPECT_EQ(r.state.playback.TriggerSatzNr, 12);
    EXPECT_EQ(c.SSPanel3.caption(), "1/100");
    EXPECT_EQ(c.SSPanel2.caption(), app::LoadResString(3002, 0));  // the legend again, not "loading"
    EXPECT_EQ(r.tc().lblDateiname.caption(), "a.log");
    EXPECT_EQ(r.tc().lblStartDatum.caption(), "2026-03-01 10:00:00");
    EXPECT_EQ(r.tc().lblEndeDatum.caption(), "2026-03-01 10:01:39");
    EXPECT_EQ(r.tc().lblAktuelleZeit.caption(), "2026-03-01 10:00:00");
    EXPECT_NE(r.spuren[0]->bild(), timing::RasterSpur(27, 16).bild());  // bit 0 alternates: edges
    EXPECT_TRUE(c.mnuTimingDiagramm.checked());
    EXPECT_GE(r.hsb().focusRequests(), 1u);

    // What playback switches, as it is during playback; the stop switches it back.
    const std::pair<const app::Control*, bool> sicht[] = {
        {&r.hsb(), true}, {&r.tc().fraTimingStatus, true}, {&r.tc().Line1[4], true},
        {&c.cmdTimingDiagrammStartStop, false}, {&c.cmdRecorderStartStop, false}, {&c.cmdWiedergabeStart, false},
        {&c.cmdWiedergabeStop, true}};
    const std::pair<const app::Control*, bool> bedienbar[] = {
        {&r.tc().cboKlemmen[timing::kTriggerSelektor], false}, {&c.mnuStatusFenster, false},
        {&c.mnuHardwareAuswahl, false}, {&c.mnuStartSimulation, false}, {&c.mnuOpenLog, false},
        {&c.mnuEndSimulation, true}, {&c.mnuDatenuebertragungStart, false}};
    for (const bool danach : {false, true}) {
        if (danach) r.form.cmdWiedergabeStop_Click();
        for (const auto& [e, an] : sicht) EXPECT_EQ(e->visible(), an != danach) << e->name() << danach;
        for (const auto& [e, an] : bedienbar) EXPECT_EQ(e->enabled(), an != danach) << e->name() << danach;
        EXPECT_EQ(c.cmdRecorderStartStop.caption(), danach ? "Recorder start" : "Recorder stop");
    }
    EXPECT_EQ(r.state.playback.SimulationsStatus, 0);
    EXPECT_EQ(r.quelle.openFiles, 0);
    EXPECT_EQ(r.spuren[0]->bild(), timing::RasterSpur(27, 16).bild());
    r.controls.mnuStartSimulation.setEnabled(false);  // the button starts only while the menu item may
    r.form.cmdWiedergabeStart_Click();
    EXPECT_EQ(r.dialogs.fileDialogs.size(), 1u);
}

TEST(ProtokollWiedergabe, FilesThatCannotBePlayedAreRefusedWithTheReason) {
    Bytes muell = protokoll(0) + Bytes{'L', '3'};
    muell.resize(muell.size() + 19 * 40, 0x5A);
    Bytes kaputt = protokoll(3);
    for (std::size_t i = 25 + 18; i < kaputt.size(); i += 19) kaputt[i] ^= 0xFF;
    Bytes teil = protokoll(1);
    teil.resize(25 + 12);
    const char* v = "Unbekannte Version der Log-Datei";
    const char* k = "Dies ist keine gültige .log Datei.";
    const std::tuple<const char*, Bytes, const char*> faelle[] = {
        {"empty", {}, v}, {"records without header", satz(block(0), 1, 1.0), v},
        {"version 0", Bytes{'L', '0', 'V', 1, 0} + satz(block(0), 1, 1.0), v}, {"header only", protokoll(0), k},
        {"L3 and garbage", muell, k}, {"partial record only", teil, k}, {"every check byte wrong", kaputt, k},
        {"exists fails", protokoll(3), "Permission denied"}, {"open fails", protokoll(3), "Permission denied"}};
    for (const auto& [name, inhalt, meldung] : faelle) {
        SCOPED_TRACE(name);
        Fenster r;
        // A valid file played before does not lend its version to the next one.
        ASSERT_TRUE(r.spiele(protokoll(3), "/log/gut.log"));
        r.form.mnuEndSimulation_Click();
        const std::string fall = name;
        if (fall.ends_with("fails")) (fall[0] == 'o' ? r.quelle.openError : r.quelle.existsError) = meldung;
        EXPECT_FALSE(r.spiele(inhalt));
        ASSERT_EQ(r.dialogs.texte(), std::vector<std::string>{meldung});
        EXPECT_EQ(r.dialogs.boxes[0].icon, fall.ends_with("fails") ? ports::MsgIcon::Exclamation : ports::MsgIcon::Information);
        EXPECT_EQ(r.state.playback.SimulationsStatus, 0);
        EXPECT_TRUE(r.controls.mnuStartSimulation.enabled());
        EXPECT_FALSE(r.controls.mnuEndSimulation.enabled());
        EXPECT_EQ(r.quelle.openFiles, 0);
    }
    Fenster r;  // a missing file: its path and the text, then the dialog again; a cancel ends the start
    r.quelle.files["/log/da.log"] = protokoll(3);
    r.dialogs.fileAnswers = {std::string("/log/weg.log"), std::string("/log/da.log")};
    r.form.mnuStartSimulation_Click();
    EXPECT_TRUE(r.form.wiedergabe().laeuft());
    EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>{"/log/weg.log nicht gefunden!"});
    r.form.mnuEndSimulation_Click();
    r.form.mnuStartSimulation_Click();
    EXPECT_FALSE(r.form.wiedergabe().laeuft());
    EXPECT_TRUE(r.controls.mnuStartSimulation.enabled());
}

// 10 samples fit, one sample per record: the window a series of scroll positions leads to.
TEST(ProtokollWiedergabe, TheWindowMovesByAQuarterOnSingleStepsByPagesAndCentredWhenDragged) {
    const auto reihe = [](int von, int bis, std::vector<int> v = {}) {
        for (int i = von; i != bis; i += von < bis ? 1 : -1) v.push_back(i);
        v.push_back(bis);
        return v;
    };
    const std::tuple<const char*, std::vector<int>, std::pair<int, int>> faelle[] = {
        {"steps inside", reihe(1, 9), {0, 9}},        // nothing is read
        {"a step leaves it", reihe(1, 10), {2, 11}},  // start + round(4 / 2)
        {"two steps out", reihe(1, 12), {4, 13}},
        {"steps back out", reihe(11, 3, reihe(1, 12)), {1, 10}},  // pos - round(4 / 2)
        {"page right", {10}, {10, 19}},
        {"page left", {10, 15, 5}, {1, 10}},  // start - (end - start)
        {"page left to 0", {10, 15, 5, 0}, {0, 9}},
        {"dragged", {-70}, {66, 75}},  // negative: dragged there; centred: 70 - 4
        {"dragged inside", {-70, -72}, {66, 75}},
        {"the last record", {99}, {95, 99}},
        {"dragged from the end", {99, -50}, {48, 57}},  // HalbesFenster of the end window
    };
    for (const auto& [name, werte, fenster] : faelle) {
        SCOPED_TRACE(name);
        Fenster r;
        ASSERT_TRUE(r.spiele(protokoll(100)));
        const int lesen = r.quelle.reads;
        for (const int w : werte) {
            if (w < 0) r.hsb().ziehen();
            r.hsb().setValue(std::abs(w));
        }
        const int pos = std::abs(werte.back());
        EXPECT_EQ(r.fenster(), fenster);
        EXPECT_EQ(r.z().ScrollGezogen, 0);
        EXPECT_EQ(r.hsb().largeChange(), fenster.second - fenster.first + 1);
        EXPECT_EQ(r.tc().Line1[8].x(), 2 * (pos - fenster.first));
        EXPECT_EQ(r.controls.SSPanel3.caption(), std::to_string(pos + 1) + "/100");
        EXPECT_EQ(r.tc().lblAktuelleZeit.caption(), "2026-03-01 10:0" + std::to_string(pos / 60) + ":" +
                                                        std::to_string(pos % 60 / 10) + std::to_string(pos % 10));
        if (werte.size() == 9) EXPECT_EQ(r.quelle.reads, lesen);
    }
}

TEST(ProtokollWiedergabe, CursorLedsAndTheCpuErrorWindowShowTheRecordUnderTheCursor) {
    Fenster r;
    ASSERT_TRUE(r.spiele(protokoll(30, 3)));  // record 3 carries a CPU error
    const diag::CpuFehlerFenster& fenster = r.form.cpuFehlerFenster();
    app::Control& led0 = r.led(0);
    EXPECT_EQ(led0.colour(), app::kRot);
    const std::tuple<int, bool, app::Colour> schritte[] = {{1, false, app::kGruen}, {3, true, app::kGruen},
                                                           {4, false, app::kRot},   {3, true, app::kGruen},
                                                           {6, false, app::kRot},   {23, false, app::kGruen}};
    for (const auto& [pos, fehler, farbe] : schritte) {
        SCOPED_TRACE(pos);
        const unsigned fokus = r.hsb().focusRequests();
        if (pos > 20) r.hsb().ziehen();
        r.hsb().setValue(pos);
        EXPECT_EQ(fenster.sichtbar(), fehler);
        EXPECT_EQ(fenster.geladen(), fehler);  // no stale error from another record
        if (fehler) EXPECT_TRUE(fenster.imVordergrund());
        if (fehler) EXPECT_EQ(r.hsb().focusRequests(), fokus + 1);  // the focus goes back to the scroll bar
        EXPECT_EQ(led0.colour(), farbe);
    }
    const unsigned aenderungen = led0.changes();
    r.hsb().setValue(25);  // the same colour: not repainted
    EXPECT_EQ(led0.changes(), aenderungen);
    r.form.timing().picTimingSpur_MouseDown(3, 1, 0, 10.0, 5.0);  // a click on column 5 of a strip
    EXPECT_EQ(r.controls.SSPanel3.caption(), "25/30");
}

TEST(ProtokollWiedergabe, RepeatCountsGiveAtMostFourSamplesAndAPartialLastRecordIsNotFed) {
    Fenster r;
    Bytes inhalt = protokoll(0);
    const int anzahl[] = {1, 7, 0, 1, 1, 1, 1, 1, 1, 1, 1};
    for (int i = 0; i < 11; ++i) inhalt = inhalt + satz(block(i), anzahl[i], zeit(i));
    ASSERT_TRUE(r.spiele(inhalt + Bytes(10, 'L')));
    EXPECT_EQ(r.z().AnzahlDatensaetze, 11);
    EXPECT_EQ(r.tc().lblEndeDatum.caption(), "2026-03-01 10:00:10");
    // Samples 1 | 2..5 | (none for count 0) | 6 7 8 9 10 | 11 ends the window.
    EXPECT_EQ(r.fenster(), std::make_pair(0, 7));
    for (const auto& [pos, x] : {std::pair{1, 2}, {3, 10}, {2, -2}}) {  // no sample: left of the strip
        r.hsb().setValue(pos);
        EXPECT_EQ(r.tc().Line1[0].x(), x) << pos;
    }
}

TEST(ProtokollWiedergabe, AFileThatFailsWhileItIsPlayedEndsPlaybackWithTheSystemsReason) {
    for (const std::string grund : {"No such file or directory", "No data available", "Input/output error"}) {
        SCOPED_TRACE(grund);
        Fenster r;
        ASSERT_TRUE(r.spiele(protokoll(100)));
        if (grund[3] == 's') r.quelle.files.erase("/log/a.log");
        if (grund[3] == 'd') r.quelle.files["/log/a.log"].resize(400);
        if (grund[3] == 'u') r.quelle.failingReads = 1;
        r.hsb().setValue(5);  // inside the window: nothing is read
        EXPECT_TRUE(r.form.wiedergabe().laeuft());
        r.hsb().setValue(50);
        EXPECT_FALSE(r.form.wiedergabe().laeuft());
        EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>{grund});
        EXPECT_EQ(r.dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
        EXPECT_EQ(r.quelle.openFiles, 0);
        EXPECT_FALSE(r.hsb().visible());
        EXPECT_EQ(r.controls.SSPanel3.caption(), "6/100");  // the failed move showed nothing
    }
}

TEST(ProtokollWiedergabe, MemoryStaysBoundedByTheWindowOnLargeFiles) {
    Fenster r;
    ASSERT_TRUE(r.spiele(protokoll(50000)));
    EXPECT_EQ(r.z().AnzahlDatensaetze, 50000);
    r.hsb().setValue(49999);
    r.hsb().ziehen();
    r.hsb().setValue(25000);
    EXPECT_EQ(r.fenster(), std::make_pair(24998, 25007));
    EXPECT_LE(r.quelle.largestRead, 64u * 19u);
    EXPECT_LT(r.quelle.bytesRead, 6000u);

    Fenster muell;  // a data area without records is passed over in bounded steps
    Bytes inhalt = protokoll(1);
    inhalt.resize(inhalt.size() + 19 * 70000, 0x33);
    ASSERT_TRUE(muell.spiele(inhalt));
    EXPECT_EQ(muell.fenster(), std::make_pair(0, kMaxSaetzeProFenster - 1));
    EXPECT_EQ(muell.form.timing().samples().AnzahlSamples, 1);
}

TEST(ProtokollWiedergabe, ARecordingMadeLiveIsPlayedBackRunByRun) {
    Fenster r;
    ASSERT_TRUE(r.starte());
    for (const int i : {1, 1, 1, 0, 1, 1}) r.sende(block(i));
    r.stoppe();
    ASSERT_TRUE(r.spiele(r.datei()));
    EXPECT_EQ(r.z().AnzahlDatensaetze, 3);
    EXPECT_EQ(r.form.timing().samples().AnzahlSamples, 6);  // runs of 3, 1 and 2 telegrams
    EXPECT_EQ(r.tc().lblEndeDatum.caption(), "2026-03-01 10:00:07");
    EXPECT_EQ(r.led(0).colour(), app::kGruen);
    r.hsb().setValue(1);
    EXPECT_EQ(r.tc().Line1[0].x(), 6);
    EXPECT_EQ(r.led(0).colour(), app::kRot);
    EXPECT_EQ(r.tc().lblAktuelleZeit.caption(), "2026-03-01 10:00:05");
}

TEST(ProtokollWiedergabe, DateValuesShowAsTheGeneralDateFormat) {
    const std::pair<double, const char*> faelle[] = {{zeit(65), "2026-03-01 10:01:05"}, {zeit(-36000), "2026-03-01"},
                                                     {datumswert({1899, 12, 30, 7, 8, 9, 0}), "07:08:09"},
                                                     {0.0, "00:00:00"}, {zeit(50399) + 0.6 / 86400, "2026-03-02"},
                                                     {-5.0, ""}, {std::numeric_limits<double>::quiet_NaN(), ""}};
    for (const auto& [wert, text] : faelle) EXPECT_EQ(allgemeinesDatum(wert), text) << wert;
    Fenster r;  // without a playback the scroll bar reads nothing
    r.hsb().setMax(100);
    r.hsb().setValue(40);
    EXPECT_EQ(r.quelle.reads, 0);
}

}  // namespace
}  // namespace krv::recorder::test
