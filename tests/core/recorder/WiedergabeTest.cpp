// Playback through the main window: the start and its refusals, the window loader's choices, LEDs
// and the CPU error window following the record, files that fail meanwhile.
#include "core/state/StringTable.hpp"
#include "support/RecorderRig.hpp"

namespace krv::recorder::test {
namespace {

TEST(ProtokollWiedergabe, StartLoadsTheFirstWindowAndSwitchesTheWindowToPlaybackAndBack) {
    Fenster r;
    r.form.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(r.spiele(protokoll(100)));
    const app::MainFormState& c = r.controls;
    EXPECT_EQ(std::pair(r.state.PortOffen, r.fenster()), std::pair(false, std::pair(0, 9)));  // port closed
    EXPECT_EQ(std::tuple(r.form.timing().samples().AnzahlSamples, r.hsb().max(), c.SSPanel3.caption()),
              std::tuple(11, 99, "1/100"));  // the eleventh sample ended the window
    EXPECT_EQ(std::tuple(r.state.einstellungen.KanalTab[8], r.state.einstellungen.TriggerModus,
                         r.state.playback.TriggerSatzNr), std::tuple(36, 3, 12));  // from the header area
    EXPECT_EQ(c.SSPanel2.caption(), app::LoadResString(3002, 0));  // the legend again, not "loading"
    const timing::TimingFormState& tc = r.tc();
    EXPECT_EQ(std::tuple(tc.lblDateiname.caption(), tc.lblStartDatum.caption(), tc.lblEndeDatum.caption(),
                         tc.lblAktuelleZeit.caption()),
              std::tuple("a.log", "2026-03-01 10:00:00", "2026-03-01 10:01:39", "2026-03-01 10:00:00"));
    EXPECT_TRUE(c.mnuTimingDiagramm.checked() && r.hsb().focusRequests() >= 1);

    // Visible (v) or enabled (e) during playback; the stop switches them back.
    const std::tuple<const app::Control*, char, bool> schalter[] = {
        {&r.hsb(), 'v', true}, {&tc.fraTimingStatus, 'v', true}, {&tc.Line1[4], 'v', true},
        {&c.cmdWiedergabeStop, 'v', true}, {&c.cmdTimingDiagrammStartStop, 'v', false},
        {&c.cmdRecorderStartStop, 'v', false}, {&c.cmdWiedergabeStart, 'v', false},
        {&tc.cboKlemmen[timing::kTriggerSelektor], 'e', false}, {&c.mnuStatusFenster, 'e', false},
        {&c.mnuHardwareAuswahl, 'e', false}, {&c.mnuStartSimulation, 'e', false}, {&c.mnuOpenLog, 'e', false},
        {&c.mnuEndSimulation, 'e', true}, {&c.mnuDatenuebertragungStart, 'e', false}};
    for (const bool danach : {false, true}) {
        if (danach) r.form.cmdWiedergabeStop_Click();
        for (const auto& [e, art, an] : schalter) {
            EXPECT_EQ(art == 'v' ? e->visible() : e->enabled(), an != danach) << e->name() << danach;
        }
        EXPECT_EQ(c.cmdRecorderStartStop.caption(), danach ? "Recorder start" : "Recorder stop");
    }
    EXPECT_EQ(std::pair(r.state.playback.SimulationsStatus, r.quelle.openFiles), std::pair(0, 0));
    EXPECT_EQ(r.spuren[0]->bild(), timing::RasterSpur(27, 16).bild());  // the traces are cleared
    r.controls.mnuStartSimulation.setEnabled(false);  // the button starts only while the menu item may
    r.form.cmdWiedergabeStart_Click();
    EXPECT_EQ(r.dialogs.fileDialogs.size(), 1u);
}

TEST(ProtokollWiedergabe, FilesThatCannotBePlayedAreRefusedWithTheReason) {
    Bytes kaputt = protokoll(3);
    for (std::size_t i = 25 + 18; i < kaputt.size(); i += 19) kaputt[i] ^= 0xFF;
    Bytes teil = protokoll(1);
    teil.resize(25 + 12);
    const char* v = "Unbekannte Version der Log-Datei";
    const char* k = "Dies ist keine gültige .log Datei.";
    const char* p = "Permission denied";
    const std::tuple<const char*, Bytes, const char*> faelle[] = {
        {"empty", {}, v}, {"version 0", Bytes{'L', '0', 'V', 1, 0} + satz(block(0), 1, 1.0), v},
        {"header only", protokoll(0), k}, {"partial record only", teil, k}, {"check bytes wrong", kaputt, k},
        {"exists fails", protokoll(3), p}, {"open fails", protokoll(3), p}, {"missing, then cancel", {}, 0}};
    for (const auto& [name, inhalt, meldung] : faelle) {
        SCOPED_TRACE(name);
        const std::string fall = name;
        Fenster r;
        // A valid file played before does not lend its version to the next one.
        ASSERT_TRUE(r.spiele(protokoll(3), "/log/gut.log"));
        r.form.mnuEndSimulation_Click();
        if (fall.ends_with("fails")) (fall[0] == 'o' ? r.quelle.openError : r.quelle.existsError) = meldung;
        if (fall.starts_with("missing")) {
            r.dialogs.fileAnswers.push_back(std::string("/log/weg.log"));
            r.form.mnuStartSimulation_Click();
        }
        EXPECT_FALSE(meldung ? r.spiele(inhalt) : r.form.wiedergabe().laeuft());
        EXPECT_EQ(r.dialogs.texte().at(0), meldung ? meldung : "/log/weg.log nicht gefunden!");
        const bool info = meldung && meldung[0] != 'P';
        EXPECT_EQ(r.dialogs.boxes[0].icon, info ? ports::MsgIcon::Information : ports::MsgIcon::Exclamation);
        EXPECT_EQ(std::tuple(r.state.playback.SimulationsStatus, r.quelle.openFiles,
                             r.controls.mnuStartSimulation.enabled(), r.controls.mnuEndSimulation.enabled()),
                  std::tuple(0, 0, true, false));
    }
}

// 10 samples fit, one sample per record: the window that a series of scroll positions leads to.
TEST(ProtokollWiedergabe, TheWindowMovesByAQuarterOnSingleStepsByPagesAndCentredWhenDragged) {
    const auto reihe = [](int von, int bis, std::vector<int> v = {}) {
        for (int i = von; i != bis; i += von < bis ? 1 : -1) v.push_back(i);
        v.push_back(bis);
        return v;
    };
    const std::tuple<const char*, int, std::vector<int>, std::pair<int, int>> faelle[] = {
        {"steps inside", 100, reihe(1, 9), {0, 9}},         // nothing is read
        {"a step leaves it", 100, reihe(1, 10), {2, 11}},   // start + round(4 / 2)
        {"two steps out", 100, reihe(1, 12), {4, 13}},
        {"steps back out", 100, reihe(11, 3, reihe(1, 12)), {1, 10}},  // pos - round(4 / 2)
        {"page right", 100, {10}, {10, 19}},
        {"page left", 100, {10, 15, 5}, {1, 10}},  // start - (end - start)
        {"page left to 0", 100, {10, 15, 5, 0}, {0, 9}},
        {"dragged", 100, {-70}, {66, 75}},  // negative: dragged there; centred: 70 - 4
        {"dragged inside", 100, {-70, -72}, {66, 75}},
        {"the last record", 100, {99}, {95, 99}},
        {"beyond 16-bit positions", 50000, {49999, -40000}, {39998, 40007}}};  // half of the end window
    for (const auto& [name, n, werte, fenster] : faelle) {
        SCOPED_TRACE(name);
        Fenster r;
        ASSERT_TRUE(r.spiele(protokoll(n)));
        const int lesen = r.quelle.reads;
        for (const int w : werte) {
            if (w < 0) r.hsb().ziehen();
            r.hsb().setValue(std::abs(w));
        }
        const int pos = std::abs(werte.back());
        EXPECT_EQ(std::pair(r.fenster(), r.form.wiedergabe().zustand().ScrollGezogen), std::pair(fenster, 0));
        EXPECT_EQ(std::tuple(r.hsb().largeChange(), r.tc().Line1[8].x(), r.controls.SSPanel3.caption(),
                             r.tc().lblAktuelleZeit.caption()),
                  std::tuple(fenster.second - fenster.first + 1, 2 * (pos - fenster.first),
                             std::to_string(pos + 1) + "/" + std::to_string(n), allgemeinesDatum(zeit(pos))));
        EXPECT_LE(r.quelle.largestRead, 64u * 19u);  // a window is read in bounded pieces
        if (werte.size() == 9) { EXPECT_EQ(r.quelle.reads, lesen); }
    }
}

TEST(ProtokollWiedergabe, LedsAndTheCpuErrorWindowShowTheRecordUnderTheCursor) {
    Fenster r;
    ASSERT_TRUE(r.spiele(protokoll(30, 3)));  // record 3 carries a CPU error
    const diag::CpuFehlerFenster& fenster = r.form.cpuFehlerFenster();
    app::Control& led0 = r.controls.shpLed[static_cast<std::size_t>(r.form.device().KonvertBitToLed(0))];
    EXPECT_EQ(led0.colour(), app::kRot);
    const std::tuple<int, bool, app::Colour> schritte[] = {{1, false, app::kGruen}, {3, true, app::kGruen},
        {4, false, app::kRot}, {3, true, app::kGruen}, {6, false, app::kRot}, {23, false, app::kGruen}};
    for (const auto& [pos, fehler, farbe] : schritte) {
        SCOPED_TRACE(pos);
        const unsigned fokus = r.hsb().focusRequests();
        if (pos > 20) r.hsb().ziehen();
        r.hsb().setValue(pos);
        EXPECT_EQ(std::pair(fenster.sichtbar(), fenster.geladen()), std::pair(fehler, fehler));  // none stale
        // In front, and the focus goes back to the scroll bar.
        if (fehler) { EXPECT_TRUE(fenster.imVordergrund() && r.hsb().focusRequests() == fokus + 1); }
        EXPECT_EQ(led0.colour(), farbe);
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
        r.hsb().setValue(50);  // closed with the reason; the failed move showed nothing
        EXPECT_EQ(std::tuple(r.dialogs.texte().at(0), r.dialogs.boxes[0].icon, r.quelle.openFiles,
                             r.hsb().visible(), r.controls.SSPanel3.caption()),
                  std::tuple(grund, ports::MsgIcon::Exclamation, 0, false, "6/100"));
    }
    Fenster r;  // a data area without records is passed over in bounded steps
    Bytes inhalt = protokoll(1);
    inhalt.resize(inhalt.size() + 19 * 70000, 0x33);
    ASSERT_TRUE(r.spiele(inhalt));
    EXPECT_EQ(r.fenster(), std::make_pair(0, kMaxSaetzeProFenster - 1));
}

}  // namespace
}  // namespace krv::recorder::test
