// Pixels of the trace strips: levels, edges, the missing edge at the left border, dotted runs,
// the 5-pixel scroll, and the live traces fed by the terminal LED rendering.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TimingTestRig.hpp"
#include "core/timing/SpurGeometrie.hpp"

namespace krv::timing::test {
namespace {

// Rows 4..15 of a strip: everything the three levels and their edges can touch.
std::vector<std::string> spurZeilen(const RasterSpur& spur) {
    std::vector<std::string> zeilen;
    for (int y = 4; y <= 15; ++y) zeilen.push_back(spur.zeile(y));
    return zeilen;
}

void zeichneFolge(TimingRig& rig, int kanal, const std::vector<int>& pegel, std::uint8_t anzahl = 0) {
    for (int p : pegel) {
        rig.timing.ZeichneSpur(kanal, static_cast<std::uint8_t>(p), anzahl);
        rig.timing.SpurVorschub();
    }
}

TEST(SpurZeichnen, EdgesJoinTheLevelsAndTheFirstSampleHasNone) {
    TimingRig rig(20);
    rig.laden();
    ASSERT_EQ(rig.timing.SpurY[0], 8);  // half the height, no level: only x = 0 keeps it from an edge
    zeichneFolge(rig, 0, {2, 0, 1, 2});

    const std::vector<std::string> erwartet = {
        "....................",  // 4: nothing above the green level
        "###...##............",  // 5: green
        "..#...#.............",
        "..#...#.............",
        "..#...#.............",
        "..#.###.............",  // 9: yellow
        "..#.#...............",
        "..#.#...............",
        "..#.#...............",
        "..#.#...............",
        "..###...............",  // 14: red
        "....................",
    };
    EXPECT_EQ(spurZeilen(rig.spur(0)), erwartet);
    EXPECT_EQ(rig.timing.SpurX[0], 8);
    EXPECT_EQ(rig.timing.SpurY[0], kPegelGruenY);
    // The other channels advanced without drawing.
    EXPECT_EQ(rig.timing.SpurX[5], 8);
    EXPECT_EQ(rig.spur(5).bild(), RasterSpur(20, 16).bild());
}

TEST(SpurZeichnen, RepeatCountsAboveFourDrawOnePixelPerSample) {
    TimingRig rig(20);
    rig.laden();
    zeichneFolge(rig, 0, {2, 2}, 4);
    zeichneFolge(rig, 0, {2, 2, 0, 0}, 5);

    const std::vector<std::string> zeilen = spurZeilen(rig.spur(0));
    EXPECT_EQ(zeilen[1], "#####.#.#...........");  // y = 5: four full pixels, then dots
    for (int y = 6; y <= 13; ++y) EXPECT_EQ(zeilen[static_cast<std::size_t>(y - 4)], "........#...........") << y;
    EXPECT_EQ(zeilen[10], "........#.#.........");  // y = 14: the edge has no second pixel
}

TEST(SpurZeichnen, AFullStripMovesFivePixelsLeftAndGoesOnThere) {
    TimingRig rig(24);  // SpurMaxX = 17
    rig.laden();
    ASSERT_EQ(rig.timing.SpurMaxX, 17);
    zeichneFolge(rig, 0, {2, 2, 2, 2, 0, 0, 0, 0, 0});  // the last one at x = 16
    EXPECT_EQ(rig.timing.SpurX[0], 13);                 // 18 reached the edge: 18 - 5

    rig.timing.ZeichneSpur(0, 0, 0);  // continues at 13
    const std::vector<std::string> zeilen = spurZeilen(rig.spur(0));
    EXPECT_EQ(zeilen[1], "####....................");  // the edge moved from x = 8 to x = 3
    for (int y = 6; y <= 13; ++y) EXPECT_EQ(zeilen[static_cast<std::size_t>(y - 4)], "...#....................") << y;
    EXPECT_EQ(zeilen[10], "...############.........");  // old 8..17 now 3..12, new sample 13..14
}

TEST(SpurZeichnen, PlaybackNeverScrolls) {
    TimingRig rig(24);
    rig.laden();
    rig.state.playback.SimulationsStatus = 2;
    zeichneFolge(rig, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(rig.timing.SpurX[0], 20);
    EXPECT_EQ(rig.spur(0).zeile(14), "####################....");  // past SpurMaxX, nothing moved
}

TEST(SpurZeichnen, StoppedTracesAndInvalidArgumentsDrawNothing) {
    TimingRig rig(20);
    rig.laden();
    const std::string leer = rig.spur(0).bild();
    rig.timing.ZeichneSpur(0, 3, 0);  // no such level
    rig.timing.ZeichneSpur(9, 2, 0);  // no such channel
    rig.timing.ZeichneSpur(-1, 2, 0);
    EXPECT_EQ(rig.spur(0).bild(), leer);

    rig.timing.cmdTimingDiagrammStartStop_Click();  // stop
    EXPECT_EQ(rig.timing.TimingAktiv, 0);
    EXPECT_EQ(rig.form.cmdTimingDiagrammStartStop.caption(), "Anzeige start");
    zeichneFolge(rig, 0, {2, 2});
    EXPECT_EQ(rig.spur(0).bild(), leer);
    EXPECT_EQ(rig.timing.SpurX[0], 0);
}

TEST(SpurZeichnen, StopKeepsTheTracesAndStartClearsThem) {
    TimingRig rig(20);
    rig.laden();
    EXPECT_EQ(rig.form.cmdTimingDiagrammStartStop.caption(), "Anzeige stop");
    zeichneFolge(rig, 0, {2, 0});
    const std::string gezeichnet = rig.spur(0).bild();

    rig.timing.cmdTimingDiagrammStartStop_Click();
    EXPECT_EQ(rig.spur(0).bild(), gezeichnet);
    EXPECT_EQ(rig.timing.SpurX[0], 4);

    rig.timing.cmdTimingDiagrammStartStop_Click();
    EXPECT_EQ(rig.timing.TimingAktiv, 1);
    EXPECT_EQ(rig.form.cmdTimingDiagrammStartStop.caption(), "Anzeige stop");
    EXPECT_EQ(rig.spur(0).bild(), RasterSpur(20, 16).bild());
    EXPECT_EQ(rig.timing.SpurX[0], 0);
    EXPECT_EQ(rig.timing.SpurY[0], 8);
}

// Model 9: terminal bit 0 (byte 2, 0x80) and bit 12 (byte 3, 0x08; high impedance with byte 6,
// 0x08) have LEDs, bit 1 (byte 2, 0x40) has none.
TEST(SpurZeichnen, LiveTelegramsDrawTheSelectedTerminalsThroughTheLedRendering) {
    TimingRig rig(20);
    rig.laden();
    rig.state.PortOffen = true;
    rig.state.einstellungen.KanalTab[0] = 1;   // bit 0
    rig.state.einstellungen.KanalTab[1] = 13;  // bit 12
    rig.state.einstellungen.KanalTab[2] = 2;   // bit 1: not in this model
    rig.state.einstellungen.KanalTab[3] = 1;   // a second channel on the same terminal

    rig.feed(live(0x09, 0x80, 0x08, 0x00));  // bit 0 on, bit 12 on
    rig.feed(live(0x09, 0x00, 0x08, 0x08));  // bit 0 off, bit 12 high impedance
    rig.feed(live(0x09, 0x00, 0x00, 0x00));  // bit 12 off

    EXPECT_EQ(rig.spur(0).zeile(5), "###.................");
    EXPECT_EQ(rig.spur(0).zeile(14), "..####..............");
    EXPECT_EQ(rig.spur(3).bild(), rig.spur(0).bild());
    EXPECT_EQ(rig.spur(1).zeile(5), "###.................");
    EXPECT_EQ(rig.spur(1).zeile(9), "..###...............");
    EXPECT_EQ(rig.spur(1).zeile(14), "....##..............");
    EXPECT_EQ(rig.spur(2).bild(), RasterSpur(20, 16).bild());
    for (int kanal = 0; kanal < kAnzahlKanaele; ++kanal) EXPECT_EQ(rig.timing.SpurX[static_cast<std::size_t>(kanal)], 6);
}

TEST(RasterSpurTest, LinesLeaveOutTheirEndPointAndBlockCopiesMayOverlap) {
    RasterSpur spur(8, 3);
    spur.line(1, 0, 5, 0);
    spur.line(6, 2, 6, 0);
    spur.pset(9, 1);  // outside: clipped
    EXPECT_EQ(spur.bild(), ".####...\n......#.\n......#.\n");
    EXPECT_THROW(spur.line(0, 0, 2, 2), std::invalid_argument);

    spur.blockCopy(0, 2, 6, 3);  // overlapping, to the left
    EXPECT_EQ(spur.bild(), "###.....\n....#.#.\n....#.#.\n");  // the last two columns keep theirs

    spur.resize(4, 2);
    EXPECT_EQ(spur.bild(), "###.\n....\n");
    spur.clear();
    EXPECT_EQ(spur.bild(), "....\n....\n");
}

}  // namespace
}  // namespace krv::timing::test
