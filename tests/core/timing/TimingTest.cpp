// The timing diagram: trace pixels and the 5-pixel scroll, live traces from telegrams, the
// sample store filled by loading protocol file records, playback redraws, clicks, selectors.
#include <gtest/gtest.h>

#include <optional>

#include "support/TimingRig.hpp"

namespace krv::timing {
namespace {

using test::TimingRig;

TEST(TimingSpur, LevelsEdgesDottedRunsAndTheScroll) {
    using Z = std::vector<std::pair<int, int>>;  // level, repeat count per sample
    const struct {
        int breite, simulation;
        Z samples;
        int x;
        std::array<std::string, 5> zeilen;  // y = 5 (green), 7, 9 (yellow), 11, 14 (red); dots follow
    } tabelle[] = {
        {20, 0, {{2, 0}, {0, 0}, {1, 0}, {2, 0}}, 8,  // edges join the levels; none at x = 0
         {"###...##....", "..#...#.....", "..#.###.....", "..#.#.......", "..###......."}},
        {20, 0, {{2, 4}, {2, 4}, {2, 5}, {2, 5}, {0, 5}, {0, 5}}, 12,  // above four: one pixel wide
         {"#####.#.#...", "........#...", "........#...", "........#...", "........#.#."}},
        {24, 0, {{2, 0}, {2, 0}, {2, 0}, {2, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}, 15,
         {"####....", "...#....", "...#....", "...#....", "...############........."}},  // scrolled
        {24, 2, Z(10, {0, 0}), 20, {"", "", "", "", "####################...."}},  // playback never scrolls
    };
    for (const auto& t : tabelle) {
        SCOPED_TRACE(t.zeilen[0]);
        TimingRig rig(t.breite);
        rig.state.playback.SimulationsStatus = t.simulation;
        for (const auto& [pegel, anzahl] : t.samples) {
            rig.timing().ZeichneSpur(0, static_cast<std::uint8_t>(pegel), static_cast<std::uint8_t>(anzahl));
            rig.timing().SpurVorschub();
        }
        const int ys[] = {5, 7, 9, 11, 14};
        for (std::size_t i = 0; i < 5; ++i) {
            const std::string& z = t.zeilen[i];
            EXPECT_EQ(rig.spur(0).zeile(ys[i]), z + std::string(t.breite - z.size(), '.')) << "y " << ys[i];
        }
        for (int y : {0, 4, 15}) EXPECT_EQ(rig.spur(0).zeile(y).find('#'), std::string::npos) << y;
        EXPECT_EQ(std::make_pair(rig.timing().SpurX[0], rig.timing().SpurX[5]), std::make_pair(t.x, t.x));
        EXPECT_EQ(rig.spur(5).bild(), rig.leer());  // every channel advances, drawn or not
    }
}

// Model 9: terminal bit 0 (byte 2, 0x80) and bit 12 (byte 3, 0x08; high impedance with byte 6,
// 0x08) have LEDs, bit 1 (byte 2, 0x40) has none.
TEST(TimingSpur, LiveTelegramsDrawTheSelectedTerminalsUntilStopped) {
    TimingRig rig(20);
    rig.form().mnuDatenuebertragungStart_Click();
    rig.state.einstellungen.KanalTab = {1, 13, 2, 1, 0, 0, 0, 0, 0};
    for (const Bytes& t : {test::live(9, 0x80, 8), test::live(9, 0, 8, 8), test::live(9, 0)}) rig.feed(t);
    EXPECT_EQ(rig.spur(0).zeile(5), "###.................");
    EXPECT_EQ(rig.spur(0).zeile(14), "..####..............");
    EXPECT_EQ(rig.spur(1).zeile(9), "..###...............");
    EXPECT_EQ(rig.spur(1).zeile(14), "....##..............");
    EXPECT_EQ(rig.spur(3).bild(), rig.spur(0).bild());
    EXPECT_EQ(rig.spur(2).bild(), rig.leer());
    EXPECT_EQ(rig.samples().AnzahlSamples, 0);  // live telegrams store nothing
    const std::string gezeichnet = rig.spur(0).bild();
    const int falsch[][2] = {{0, 3}, {9, 2}, {-1, 2}};  // channel, level
    for (const auto& f : falsch) rig.timing().ZeichneSpur(f[0], static_cast<std::uint8_t>(f[1]), 0);
    EXPECT_EQ(rig.spur(0).bild(), gezeichnet);

    rig.timing().cmdTimingDiagrammStartStop_Click();  // stop: the traces stay, nothing moves
    EXPECT_EQ(rig.controls.cmdTimingDiagrammStartStop.caption(), "Anzeige start");
    rig.feed(test::live(0x09, 0x80));
    EXPECT_EQ(rig.spur(0).bild(), gezeichnet);
    EXPECT_EQ(rig.timing().SpurX[8], 6);
    rig.timing().cmdTimingDiagrammStartStop_Click();  // start: cleared
    EXPECT_EQ(rig.controls.cmdTimingDiagrammStartStop.caption(), "Anzeige stop");
    EXPECT_EQ(rig.spur(0).bild(), rig.leer());
    EXPECT_EQ(std::make_pair(rig.timing().SpurX[0], rig.timing().SpurY[0]), std::make_pair(0, 8));
}

TEST(TimingSamples, LoadedRecordsGiveSamplesAndTheStoreGrows) {
    TimingRig rig;
    rig.state.einstellungen.KanalTab[0] = 1;
    // Model 9: terminal bit 0 on, bit 3 (byte 2, 0x10) off; 7 telegrams give four samples, 0 none;
    // without the error flag there is no error number. 24 more records of four make 103 samples.
    std::vector<Bytes> saetze{test::datensatz(0x19, 7, 0x80, 45000.25, 42), test::datensatz(0x09, 0, 0, 1.0),
                              test::datensatz(0x09, 3, 0x10, 45002.0, 42)};
    for (int i = 0; i < 24; ++i) saetze.push_back(test::datensatz(0x09, 5, 0x10, 2.0 + i));
    rig.lade(5, saetze);
    const SampleStore& s = rig.samples();
    EXPECT_EQ(rig.spur(0).bild(), rig.leer());  // loading draws nothing
    EXPECT_EQ(s.AnzahlSamples, 103);
    const struct {
        int sample;
        double zeit;
        int anzahl, nr, fehler, bit0, bit3;
    } tabelle[] = {{1, 45000.25, 7, 5, 42, 2, 0}, {4, 45000.25, 7, 5, 42, 2, 0}, {5, 45002.0, 3, 7, 0, 0, 2},
                   {7, 45002.0, 3, 7, 0, 0, 2}, {103, 25.0, 5, 31, 0, 0, 2}, {104, 0.0, 0, 0, 0, 0, 0}};
    for (const auto& t : tabelle) {
        SCOPED_TRACE(t.sample);
        EXPECT_DOUBLE_EQ(s.SampleZeit(t.sample), t.zeit);
        EXPECT_EQ(std::vector<int>({s.SampleAnzahl(t.sample), s.SampleDatensatzNr(t.sample),
                                    s.SampleCpuFehler(t.sample), s.SampleKlemmen(1, t.sample),
                                    s.SampleKlemmen(4, t.sample), s.SampleKlemmen(45, t.sample - 1)}),
                  std::vector<int>({t.anzahl, t.nr, t.fehler, t.bit0, t.bit3, 0}));  // column = bit + 1
    }
    // Room for the record's samples plus 100, arrays to the capacity plus those samples: the last
    // record's 100 + 4 fitted exactly.
    EXPECT_EQ(std::make_pair(s.SampleKapazitaet, s.obereGrenze()), std::make_pair(104, 108));
    EXPECT_EQ(std::make_pair(s.sampleZuDatensatz(7), s.sampleZuDatensatz(6)), std::make_pair(5, 0));
    rig.feed(test::datensatz(0x09, 3, 0));  // a loaded window takes no more samples
    EXPECT_EQ(s.AnzahlSamples, 103);
    // The window loader marks every allocated sample, so stale numbers are never found.
    rig.samples().leeren();
    rig.samples().alleDatensatzNrSetzen(99);
    EXPECT_EQ(std::make_pair(s.sampleZuDatensatz(7), s.sampleZuDatensatz(99)), std::make_pair(0, 1));
    EXPECT_EQ(s.SampleDatensatzNr(s.obereGrenze()), 99);
}

TEST(TimingWiedergabe, RedrawTriggerMarkerClicksAndChannelChanges) {
    TimingRig rig;
    std::optional<std::int32_t> scrollWert;
    int fokus = 0;
    rig.timing().onScrollWertSetzen = [&](std::int32_t v) { scrollWert = v; };
    rig.timing().onScrollFokus = [&] { ++fokus; };
    // Records 0 | 1 | 2 give samples 1 | 2..5 | 6: terminal bit 0 on once, off in a run of seven
    // telegrams, on once. Bit 1 has no LED in model 9; 36, the last terminal, is off.
    rig.state.einstellungen.KanalTab = {1, 2, 0, 0, 0, 0, 0, 0, 36};
    rig.lade(0, {test::datensatz(9, 1, 0x80), test::datensatz(9, 7, 0), test::datensatz(9, 1, 0x80)});
    rig.timing().ZeichneSpur(4, 2, 0);  // whatever was there before goes
    rig.timing().ZeichneAusSpeicher();
    EXPECT_EQ(rig.spur(0).zeile(5), "###.......##............................");
    EXPECT_EQ(rig.spur(0).zeile(9), "..#.......#.............................");
    EXPECT_EQ(rig.spur(0).zeile(14), "..#.#.#.#.#.............................");
    EXPECT_EQ(rig.spur(8).zeile(14), "###.#.#.#.##............................");
    for (int k : {1, 2, 4}) EXPECT_EQ(rig.spur(k).bild(), rig.leer()) << k;
    EXPECT_EQ(rig.timing().SpurX[0], 12);

    const std::tuple<int, int, bool, int> trigger[] = {{0, 2, false, 0}, {3, 10, false, 0}, {3, 1, true, 0},
                                                       {3, 2, true, 8}};  // mode, record count, marker, x
    for (const auto& [modus, satz, sichtbar, x] : trigger) {
        rig.state.einstellungen.TriggerModus = modus;
        rig.state.playback.TriggerSatzNr = satz;
        rig.timing().ZeichneAusSpeicher();
        for (const LinienControl& l : rig.selektoren().LineTrigger) {
            EXPECT_EQ(std::make_pair(l.visible(), l.visible() ? l.x() : x), std::make_pair(sichtbar, x));
        }
    }
    // Clicks: the column under the pointer (x / 2, halves to even), the record of its sample.
    const std::tuple<double, int, int> k[] = {{5, 2, 1}, {1.5, 1, 1}, {.4, 0, 0}, {10, 5, 2}, {99, 16, 2}};
    for (const auto& [x, spalte, satz] : k) {
        rig.timing().picTimingSpur_MouseDown(3, 1, 0, x, 7.0);
        EXPECT_EQ(std::pair(rig.timing().CursorSpalte, scrollWert.value_or(-1)), std::pair(spalte, satz));
    }
    rig.timing().cboKlemmenAuswahl(2, 1);  // redrawn once, not on top
    EXPECT_EQ(rig.spur(2).bild(), rig.spur(0).bild());
    EXPECT_EQ(rig.timing().SpurX[0], 12);
    EXPECT_EQ(fokus, 6);
    EXPECT_NE(rig.profile.text().find("TimingKanal2=1"), std::string::npos);
    rig.state.playback.SimulationsStatus = 0;  // no window loaded: a click does nothing
    rig.timing().picTimingSpur_MouseDown(0, 1, 0, 5.0, 5.0);
    EXPECT_EQ(rig.timing().CursorSpalte, 16);
    rig.timing().TimingLoeschen();  // cleared for live traces: no marker
    EXPECT_FALSE(rig.selektoren().LineTrigger[0].visible());

    rig.state.playback.SimulationsStatus = 2;
    for (auto& spur : rig.spuren) spur->resize(14, 16);  // SpurMaxX 7: three samples
    rig.timing().SpurGroesseGeaendert();
    EXPECT_EQ(rig.spur(0).zeile(14), "..#.#.........");
    EXPECT_EQ(rig.timing().SpurX[0], 6);
    rig.timing().setzeCursorLinien(30);
    for (auto& spur : rig.spuren) spur->resize(60, 18);  // keeps what it shows
    EXPECT_EQ(rig.spur(0).zeile(14), "..#.#......." + std::string(48, '.'));
    rig.timing().Init_TimingWiedergabe();  // a new playback
    EXPECT_EQ(std::make_pair(rig.timing().CursorSpalte, rig.state.playback.TriggerSatzNr),
              std::make_pair(0, kKeinTrigger));
    EXPECT_EQ(std::make_pair(rig.selektoren().Line1[4].x(), rig.timing().SpurMaxX), std::make_pair(0, 53));
    EXPECT_EQ(rig.spur(0).bild(), rig.leer());
    EXPECT_EQ(rig.timing().SpurY[0], 9);  // half the new height
}

std::vector<std::string> klemmen(std::vector<std::string> anfang) {
    for (int i = 1; i <= kAnzahlKlemmen; ++i) anfang.push_back(std::to_string(i));
    return anfang;
}

TEST(TimingSelektoren, ChoicesAreStoredAndReadAtTheNextStartAndSurviveTheLanguage) {
    std::string ini;
    {
        TimingRig rig;
        EXPECT_EQ(rig.selektoren().cboKlemmen[0].items(), klemmen({"----"}));
        EXPECT_EQ(rig.selektoren().cboKlemmen[9].items(), klemmen({"--------", "Fehler"}));
        int trigger = 0;
        rig.timing().onTriggerModusGeaendert = [&] { ++trigger; };
        rig.timing().ZeichneSpur(3, 2, 0);
        rig.timing().ZeichneSpur(0, 2, 0);
        rig.timing().cboKlemmenAuswahl(0, 12);
        EXPECT_EQ(rig.spur(0).bild(), rig.leer());  // that strip cleared, live the others keep theirs
        EXPECT_NE(rig.spur(3).bild(), rig.leer());
        rig.timing().cboKlemmenAuswahl(9, 1);
        rig.timing().cboKlemmenAuswahl(8, -1);  // nothing selected counts as "none"
        EXPECT_EQ(std::vector<int>({rig.state.einstellungen.KanalTab[0], rig.state.einstellungen.KanalTab[8],
                                    rig.state.einstellungen.TriggerModus, trigger}),
                  std::vector<int>({12, 0, 1, 1}));
        ini = rig.profile.text();
    }
    TimingRig rig(40, ini);
    const auto& cbo = rig.selektoren().cboKlemmen;
    const auto wahl = [&cbo] { return cbo[0].listIndex() * 100 + cbo[9].listIndex(); };
    EXPECT_EQ(wahl(), 1201);
    int trigger = 0;
    rig.timing().onTriggerModusGeaendert = [&] { ++trigger; };
    rig.timing().ZeichneSpur(3, 2, 0);
    const std::string spur = rig.spur(3).bild();
    ini = rig.profile.text();
    rig.state.einstellungen.SprachOffset = 10000;
    rig.timing().Init_SpracheTiming();
    EXPECT_EQ(rig.selektoren().cboKlemmen[9].items(), klemmen({"--------", "error"}));
    EXPECT_EQ(wahl(), 1201);
    EXPECT_EQ(rig.spur(3).bild(), spur);
    EXPECT_EQ(rig.profile.text(), ini);  // no value changed, nothing written
    EXPECT_EQ(trigger, 1);  // the recorder derives its trigger test again
    EXPECT_EQ(rig.controls.cmdTimingDiagrammStartStop.caption(), "Display stop");

    // Header records of a file being loaded only show in the selectors: "L0", type, length, values.
    rig.state.playback.SimulationsStatus = 1;
    rig.feed(Bytes{'L', '0', 'K', 9, 4, 0, 9, 50, 0, 0, 0, 0, 36});
    rig.feed(Bytes{'L', '0', 'T', 3, 3, 20, 0});
    const int kanal3 = rig.state.einstellungen.KanalTab[3];
    EXPECT_EQ(std::vector<int>({cbo[0].listIndex(), cbo[2].listIndex(), cbo[3].listIndex(), cbo[8].listIndex(),
                                cbo[9].listIndex(), kanal3, trigger}),
              std::vector<int>({4, 9, -1, 36, 3, 50, 1}));  // 50 is no entry
}

}  // namespace
}  // namespace krv::timing
