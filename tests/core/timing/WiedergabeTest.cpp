// The diagram during playback: strips redrawn from the sample store, the trigger marker, the
// cursor lines, clicks on a strip and channel changes.
#include <gtest/gtest.h>

#include <optional>

#include "TimingTestRig.hpp"

namespace krv::timing::test {
namespace {

// Three records of model 9 loaded as playback loads them: terminal bit 0 on once, off in a run
// of seven telegrams (four samples), on once. Samples 1 | 2..5 | 6, records 0 | 1 | 2.
class Wiedergabe : public ::testing::Test {
protected:
    explicit Wiedergabe(int breite = 40) : rig(breite) {}

    TimingRig rig;
    std::optional<std::int32_t> scrollWert;
    int fokus = 0;

    void SetUp() override {
        rig.laden();
        rig.timing.onScrollWertSetzen = [this](std::int32_t v) { scrollWert = v; };
        rig.timing.onScrollFokus = [this] { ++fokus; };
        rig.state.einstellungen.KanalTab = {1, 2, 0, 0, 0, 0, 0, 0, 0};  // bit 1 has no LED in model 9
        rig.state.playback.SimulationsStatus = 1;
        const std::uint8_t anzahl[] = {1, 7, 1};
        const std::uint8_t byte2[] = {0x80, 0x00, 0x80};
        for (int nr = 0; nr < 3; ++nr) {
            rig.state.playback.AktuellerDatensatz = nr;
            rig.feed(datensatz(0x09, anzahl[nr], byte2[nr], 45000.0 + nr));
        }
        rig.state.playback.SimulationsStatus = 2;
        ASSERT_EQ(rig.samples().AnzahlSamples, 6);
    }
};

TEST_F(Wiedergabe, StripsAreRedrawnFromTheStoreWithRunsDotted) {
    rig.timing.ZeichneSpur(4, 2, 0);  // whatever was there before goes
    rig.timing.ZeichneAusSpeicher();

    EXPECT_EQ(rig.spur(0).zeile(5), "###.......##............................");
    for (int y = 6; y <= 13; ++y) EXPECT_EQ(rig.spur(0).zeile(y), "..#.......#.............................") << y;
    EXPECT_EQ(rig.spur(0).zeile(14), "..#.#.#.#.#.............................");
    const std::string leer = RasterSpur(40, 16).bild();
    EXPECT_EQ(rig.spur(1).bild(), leer);  // a terminal the model lacks
    EXPECT_EQ(rig.spur(2).bild(), leer);  // "----"
    EXPECT_EQ(rig.spur(4).bild(), leer);
    EXPECT_EQ(rig.timing.SpurX[0], 12);
}

TEST_F(Wiedergabe, OnlyTheSamplesThatFitTheStripAreDrawn) {
    for (auto& spur : rig.spuren) spur->resize(14, 16);  // SpurMaxX 7: three samples
    rig.timing.SpurGroesseGeaendert();
    EXPECT_EQ(rig.timing.SpurMaxX, 7);
    EXPECT_EQ(rig.timing.MaxSamples(), 3);
    EXPECT_EQ(rig.spur(0).zeile(14), "..#.#.........");
    EXPECT_EQ(rig.timing.SpurX[0], 6);
}

TEST_F(Wiedergabe, TheTriggerMarkerStandsAtTheLastSampleOfTheTriggerRecord) {
    rig.state.einstellungen.TriggerModus = 3;
    rig.state.playback.TriggerSatzNr = 2;  // count 2: record index 1
    rig.timing.ZeichneAusSpeicher();
    for (const LinienControl& l : rig.controls.LineTrigger) {
        EXPECT_TRUE(l.visible());
        EXPECT_EQ(l.x(), 8);
    }

    rig.state.playback.TriggerSatzNr = 10;  // outside the loaded window
    rig.timing.ZeichneAusSpeicher();
    for (const LinienControl& l : rig.controls.LineTrigger) EXPECT_FALSE(l.visible());

    rig.state.playback.TriggerSatzNr = 1;
    rig.timing.ZeichneAusSpeicher();
    EXPECT_TRUE(rig.controls.LineTrigger[8].visible());
    EXPECT_EQ(rig.controls.LineTrigger[8].x(), 0);

    // Without a trigger mode the count marks no event.
    rig.state.einstellungen.TriggerModus = 0;
    rig.timing.ZeichneAusSpeicher();
    EXPECT_FALSE(rig.controls.LineTrigger[0].visible());

    // Clearing the strips for live traces takes the marker away.
    rig.state.einstellungen.TriggerModus = 3;
    rig.timing.ZeichneAusSpeicher();
    rig.timing.TimingLoeschen();
    EXPECT_FALSE(rig.controls.LineTrigger[0].visible());
}

TEST_F(Wiedergabe, AClickOnAStripMovesTheScrollBarToTheRecordUnderIt) {
    rig.timing.ZeichneAusSpeicher();
    rig.state.playback.SimulationsStatus = 0;  // no window loaded: a click does nothing
    rig.timing.picTimingSpur_MouseDown(0, 1, 0, 10.0, 5.0);
    EXPECT_FALSE(scrollWert.has_value());
    EXPECT_EQ(fokus, 0);

    rig.state.playback.SimulationsStatus = 2;
    rig.timing.picTimingSpur_MouseDown(3, 1, 0, 5.0, 7.0);
    EXPECT_EQ(rig.timing.CursorSpalte, 2);
    EXPECT_EQ(scrollWert, 1);
    EXPECT_EQ(fokus, 1);

    rig.timing.KlickAufSpur(1.5);  // rounds to 2 (halves to even), column 1
    EXPECT_EQ(rig.timing.CursorSpalte, 1);
    rig.timing.KlickAufSpur(0.4);
    EXPECT_EQ(scrollWert, 0);
    rig.timing.KlickAufSpur(10.0);
    EXPECT_EQ(scrollWert, 2);

    // Right of the last sample: column MaxSamples; the last sample stands for the empty ones.
    rig.timing.KlickAufSpur(100.0);
    EXPECT_EQ(rig.timing.CursorSpalte, rig.timing.MaxSamples());
    EXPECT_EQ(scrollWert, 2);
}

TEST_F(Wiedergabe, AChannelChangeRedrawsEverythingAndReturnsTheFocus) {
    rig.timing.ZeichneAusSpeicher();
    rig.timing.cboKlemmenAuswahl(2, 1);
    EXPECT_EQ(rig.spur(2).bild(), rig.spur(0).bild());
    EXPECT_EQ(rig.timing.SpurX[0], 12);  // redrawn once, not drawn on top
    EXPECT_EQ(fokus, 1);
    EXPECT_NE(rig.profile.text().find("TimingKanal2=1"), std::string::npos);
}

TEST_F(Wiedergabe, PreparingAPlaybackResetsCursorTriggerAndWidth) {
    rig.timing.ZeichneAusSpeicher();
    rig.timing.setzeCursorLinien(30);
    rig.timing.CursorSpalte = 15;
    rig.state.playback.TriggerSatzNr = 4;
    for (auto& spur : rig.spuren) spur->resize(60, 16);

    rig.timing.Init_TimingWiedergabe();
    EXPECT_EQ(rig.timing.CursorSpalte, 0);
    EXPECT_EQ(rig.state.playback.TriggerSatzNr, 65535);
    for (const LinienControl& l : rig.controls.Line1) EXPECT_EQ(l.x(), 0);
    EXPECT_EQ(rig.timing.SpurMaxX, 53);
    EXPECT_EQ(rig.timing.TimingAktiv, 1);
    EXPECT_EQ(rig.spur(0).bild(), RasterSpur(60, 16).bild());
}

}  // namespace
}  // namespace krv::timing::test
