#include "core/device/wmf/Player.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "core/device/wmf/PictureFrame.hpp"
#include "core/device/wmf/WmfFormat.hpp"
#include "core/device/wmf/WmfParser.hpp"
#include "DibBytes.hpp"
#include "RecordingCanvas.hpp"
#include "WmfBytes.hpp"

namespace krv::wmf {
namespace {

using test::Drawn;
using test::RecordingCanvas;
using test::WmfBytes;

// Plays the file into the area and returns what was drawn.
RecordingCanvas playInto(const WmfBytes& file, RectF area = {0, 0, 100, 100}) {
    const ParseResult r = WmfParser().parse(file.bytes());
    EXPECT_TRUE(r.ok()) << r.error;
    RecordingCanvas canvas;
    if (!r.ok()) return canvas;
    const auto frame = frameFor(*r.metafile, area);
    EXPECT_TRUE(frame.has_value());
    if (frame) play(*r.metafile, *frame, canvas);
    return canvas;
}

void expectPoint(const PointF& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
}

// A file with a 1000 x 1000 frame and one polygon through the given logical points.
WmfBytes square() { return WmfBytes().placeable(0, 0, 1000, 1000).objects(4); }

TEST(WmfPlayer, PlaceableBoxMapsOntoTheAreaWithItsAspectKept) {
    const auto c = playInto(WmfBytes().placeable(0, 0, 1000, 500).record(fn::Polygon, {3, 0, 0, 1000, 0, 1000, 500}),
                            {0, 0, 200, 200});
    ASSERT_EQ(c.drawn.size(), 1u);
    const auto& pts = c.drawn[0].points[0];
    expectPoint(pts[0], 0, 50);  // 200 x 100, centred vertically
    expectPoint(pts[1], 200, 50);
    expectPoint(pts[2], 200, 150);
}

TEST(WmfPlayer, FileWindowMapsOntoTheFrame) {
    // The window says 2000 units wide: the bounding box frame shows all of them.
    const auto c = playInto(square().record(fn::SetWindowOrg, {-1000, -1000}).record(fn::SetWindowExt, {2000, 2000})
                                .record(fn::LineTo, {0, 0}));
    ASSERT_EQ(c.drawn.size(), 1u);
    expectPoint(c.drawn[0].points[0][0], 50, 50);  // from the current position (0, 0)
    expectPoint(c.drawn[0].points[0][1], 50, 50);

    const auto moved = playInto(square().record(fn::SetWindowOrg, {-1000, -1000}).record(fn::SetWindowExt, {2000, 2000})
                                    .record(fn::MoveTo, {-1000, -1000}).record(fn::LineTo, {1000, 1000}));
    expectPoint(moved.drawn[0].points[0][0], 0, 0);
    expectPoint(moved.drawn[0].points[0][1], 100, 100);
}

TEST(WmfPlayer, HeaderlessFileUsesItsFirstWindowIncludingAFlippedAxis) {
    const auto c = playInto(WmfBytes()
                                .record(fn::SetMapMode, {MM_ANISOTROPIC})
                                .record(fn::SetWindowOrg, {1000, 0})
                                .record(fn::SetWindowExt, {-1000, 2000})
                                .record(fn::Polyline, {2, 0, 1000, 2000, 0}),
                            {0, 0, 200, 200});
    ASSERT_EQ(c.drawn.size(), 1u);
    expectPoint(c.drawn[0].points[0][0], 0, 50);  // y up: the window's top (1000) is the area's top
    expectPoint(c.drawn[0].points[0][1], 200, 150);
}

TEST(WmfPlayer, ViewportRecordsScaleAndMoveInFrameUnits) {
    const auto c = playInto(WmfBytes()
                                .record(fn::SetWindowExt, {100, 100})
                                .record(fn::SetViewportOrg, {10, 20})
                                .record(fn::SetViewportExt, {50, 50})
                                .record(fn::OffsetViewportOrg, {0, 5})
                                .record(fn::Polyline, {2, 0, 0, 100, 100}));
    expectPoint(c.drawn[0].points[0][0], 25, 10);
    expectPoint(c.drawn[0].points[0][1], 75, 60);
}

TEST(WmfPlayer, IsotropicModeKeepsUnitsSquare) {
    const auto c = playInto(WmfBytes()
                                .record(fn::SetWindowExt, {100, 100})
                                .record(fn::SetMapMode, {MM_ISOTROPIC})
                                .record(fn::SetWindowExt, {200, 100})
                                .record(fn::SetViewportExt, {100, 100})
                                .record(fn::Polyline, {2, 0, 0, 100, 100}));
    expectPoint(c.drawn[0].points[0][1], 50, 50);  // both axes take the smaller scale
}

TEST(WmfPlayer, MetricMapModeCountsFromTheInchAndPointsYUp) {
    // 1000 frame units per inch; 254 units of 0.1 mm are one inch.
    const auto c = playInto(WmfBytes()
                                .placeable(0, -2000, 2000, 0, 1000)
                                .record(fn::SetMapMode, {MM_LOMETRIC})
                                .record(fn::SetWindowOrg, {0, 0})
                                .record(fn::SetViewportOrg, {0, 0})
                                .record(fn::SetWindowExt, {1, 1})  // ignored in a fixed mode
                                .record(fn::Polyline, {2, 0, 0, 254, 254}));
    expectPoint(c.drawn[0].points[0][0], 0, 100);
    expectPoint(c.drawn[0].points[0][1], 50, 50);
}

TEST(WmfPlayer, ZeroExtentsAreRefusedAndScalingApplies) {
    const auto c = playInto(WmfBytes()
                                .record(fn::SetWindowExt, {100, 100})
                                .record(fn::SetWindowExt, {0, 50})
                                .record(fn::ScaleWindowExt, {1, 2, 1, 2})  // both extents doubled
                                .record(fn::ScaleViewportExt, {0, 1, 0, 1})  // zero denominator: ignored
                                .record(fn::Polyline, {2, 0, 0, 200, 200}));
    expectPoint(c.drawn[0].points[0][1], 100, 100);
}

TEST(WmfPlayer, PenWidthAndStyleFollowTheMapping) {
    const auto c = playInto(square()
                                .record(fn::CreatePenIndirect, {PS_ENDCAP_FLAT | PS_JOIN_MITER | 1, 50, 0, 0x0201, 0x0003})
                                .record(fn::SelectObject, {0})
                                .record(fn::LineTo, {10, 10}),
                            {0, 0, 200, 200});
    const PenStyle& pen = c.drawn[0].paint.pen;
    EXPECT_DOUBLE_EQ(pen.width, 10);
    EXPECT_EQ(pen.line, PenStyle::Line::Dash);
    EXPECT_EQ(pen.cap, PenStyle::Cap::Flat);
    EXPECT_EQ(pen.join, PenStyle::Join::Miter);
    EXPECT_EQ(pen.color, (Rgb{1, 2, 3}));
}

TEST(WmfPlayer, DefaultsAreBlackPenWhiteBrushOpaqueBackground) {
    const auto c = playInto(square().record(fn::Rectangle, {10, 10, 0, 0}));
    const Paint& p = c.drawn[0].paint;
    EXPECT_DOUBLE_EQ(p.pen.width, 0);
    EXPECT_EQ(p.pen.color, (Rgb{0, 0, 0}));
    EXPECT_EQ(p.brush.kind, BrushStyle::Kind::Solid);
    EXPECT_EQ(p.brush.color, (Rgb{255, 255, 255}));
    EXPECT_TRUE(p.opaqueBackground);
    EXPECT_FALSE(p.winding);
}

TEST(WmfPlayer, BrushesAndModes) {
    const auto c = playInto(square()
                                .record(fn::CreateBrushIndirect, {BS_HATCHED, 0x00FF, 0, HS_BDIAGONAL})
                                .record(fn::CreateBrushIndirect, {BS_NULL, 0, 0, 0})
                                .record(fn::SelectObject, {0})
                                .record(fn::SetBkMode, {BKMODE_TRANSPARENT})
                                .record(fn::SetPolyFillMode, {POLYFILL_WINDING})
                                .record(fn::Ellipse, {10, 10, 0, 0})
                                .record(fn::SelectObject, {1})
                                .record(fn::Ellipse, {10, 10, 0, 0}));
    ASSERT_EQ(c.drawn.size(), 2u);
    const Paint& hatched = c.drawn[0].paint;
    EXPECT_EQ(hatched.brush.kind, BrushStyle::Kind::Hatched);
    EXPECT_EQ(hatched.brush.hatch, BrushStyle::Hatch::BackwardDiagonal);
    EXPECT_EQ(hatched.brush.color, (Rgb{255, 0, 0}));
    EXPECT_FALSE(hatched.opaqueBackground);
    EXPECT_TRUE(hatched.winding);
    EXPECT_EQ(c.drawn[1].paint.brush.kind, BrushStyle::Kind::Null);
}

TEST(WmfPlayer, ObjectTableReusesTheLowestFreeSlot) {
    const auto c = playInto(square()
                                .record(fn::CreateBrushIndirect, {0, 0x00FF, 0, 0})  // slot 0 red
                                .record(fn::CreateBrushIndirect, {0, 0, 0x00FF, 0})  // slot 1 blue
                                .record(fn::DeleteObject, {0})
                                .record(fn::CreateBrushIndirect, {0, 0xFF00, 0, 0})  // green takes slot 0
                                .record(fn::SelectObject, {0})
                                .record(fn::Rectangle, {1, 1, 0, 0})
                                .record(fn::SelectObject, {1})
                                .record(fn::Rectangle, {1, 1, 0, 0}));
    ASSERT_EQ(c.drawn.size(), 2u);
    EXPECT_EQ(c.drawn[0].paint.brush.color, (Rgb{0, 255, 0}));
    EXPECT_EQ(c.drawn[1].paint.brush.color, (Rgb{0, 0, 255}));
}

TEST(WmfPlayer, ObjectTableBoundsAreTheHeaderCount) {
    const auto c = playInto(WmfBytes()
                                .placeable(0, 0, 100, 100)
                                .objects(1)
                                .record(fn::CreateBrushIndirect, {0, 0x00FF, 0, 0})  // slot 0
                                .record(fn::CreateBrushIndirect, {0, 0, 0x00FF, 0})  // no slot left: lost
                                .record(fn::SelectObject, {1})                       // beyond the table
                                .record(fn::SelectObject, {65535})
                                .record(fn::DeleteObject, {40000})
                                .record(fn::Rectangle, {1, 1, 0, 0})
                                .record(fn::SelectObject, {0})
                                .record(fn::Rectangle, {1, 1, 0, 0}));
    ASSERT_EQ(c.drawn.size(), 2u);
    EXPECT_EQ(c.drawn[0].paint.brush.color, (Rgb{255, 255, 255}));
    EXPECT_EQ(c.drawn[1].paint.brush.color, (Rgb{255, 0, 0}));
}

TEST(WmfPlayer, ASelectedObjectStaysInUseAfterItsDeletion) {
    const auto c = playInto(square()
                                .record(fn::CreateBrushIndirect, {0, 0x00FF, 0, 0})
                                .record(fn::SelectObject, {0})
                                .record(fn::DeleteObject, {0})
                                .record(fn::SelectObject, {0})  // the slot is empty now
                                .record(fn::Rectangle, {1, 1, 0, 0}));
    EXPECT_EQ(c.drawn[0].paint.brush.color, (Rgb{255, 0, 0}));
}

TEST(WmfPlayer, SaveAndRestoreRelativeAndAbsolute) {
    const auto c = playInto(square()
                                .record(fn::SetTextColor, {0x0001, 0})
                                .record(fn::SaveDC)                      // state 1: colour 1
                                .record(fn::SetTextColor, {0x0002, 0})
                                .record(fn::SaveDC)                      // state 2: colour 2
                                .record(fn::SetTextColor, {0x0003, 0})
                                .record(fn::SaveDC)                      // state 3: colour 3
                                .record(fn::SetTextColor, {0x0004, 0})
                                .record(fn::RestoreDC, {-1})             // back to 3
                                .bytesRecord(fn::TextOut, {1, 0, 'a', 0, 0, 0, 0, 0})
                                .record(fn::RestoreDC, {1})              // back to 1, 2 is gone
                                .bytesRecord(fn::TextOut, {1, 0, 'b', 0, 0, 0, 0, 0})
                                .record(fn::RestoreDC, {-1})             // nothing saved: ignored
                                .record(fn::RestoreDC, {0})
                                .bytesRecord(fn::TextOut, {1, 0, 'c', 0, 0, 0, 0, 0}));
    ASSERT_EQ(c.drawn.size(), 3u);
    EXPECT_EQ(c.drawn[0].text.color.r, 3);
    EXPECT_EQ(c.drawn[1].text.color.r, 1);
    EXPECT_EQ(c.drawn[2].text.color.r, 1);
}

TEST(WmfPlayer, ClipRectanglesCollapseAndRestore) {
    const auto c = playInto(square()
                                .record(fn::SaveDC)
                                .record(fn::IntersectClipRect, {800, 800, 100, 100})
                                .record(fn::IntersectClipRect, {900, 500, 200, 0})
                                .record(fn::ExcludeClipRect, {400, 400, 300, 300})
                                .record(fn::Rectangle, {1, 1, 0, 0})
                                .record(fn::RestoreDC, {-1})
                                .record(fn::Rectangle, {1, 1, 0, 0}));
    ASSERT_EQ(c.drawn.size(), 2u);
    const Clip& clip = c.drawn[0].clip;
    ASSERT_EQ(clip.size(), 2u);
    EXPECT_EQ(clip[0].kind, ClipOp::Kind::Intersect);
    const RectF r = clip[0].rects->front();
    EXPECT_DOUBLE_EQ(r.left, 10);  // (100..500) x (200..800) of 1000 in a 100-unit area
    EXPECT_DOUBLE_EQ(r.right, 50);
    EXPECT_DOUBLE_EQ(r.top, 20);
    EXPECT_DOUBLE_EQ(r.bottom, 80);
    EXPECT_EQ(clip[1].kind, ClipOp::Kind::Exclude);
    EXPECT_TRUE(c.drawn[1].clip.empty());
}

TEST(WmfPlayer, ClipListAndSavedStatesAreBounded) {
    WmfBytes file = square();
    for (std::size_t i = 0; i < kMaxClipOps + 10; ++i) {
        file.record(fn::ExcludeClipRect, {1, 1, 0, 0});
        file.record(fn::SaveDC);
    }
    for (std::size_t i = 0; i < kMaxSavedStates; ++i) file.record(fn::SaveDC);
    file.record(fn::Rectangle, {1, 1, 0, 0});
    const auto c = playInto(file);
    EXPECT_EQ(c.drawn[0].clip.size(), kMaxClipOps);
}

TEST(WmfPlayer, RegionsClipAndFill) {
    // Region of one scan with two intervals: (0..100) and (200..300), lines 0..100.
    const auto c = playInto(square()
                                .record(fn::CreateRegion, {0, 6, 0, 0, 0, 1, 4, 0, 0, 300, 100, 4, 0, 100, 0, 100, 200,
                                                           300, 4})
                                .record(fn::CreateBrushIndirect, {0, 0xFF00, 0, 0})
                                .record(fn::FillRegion, {0, 1})
                                .record(fn::SelectClipRegion, {0})
                                .record(fn::Rectangle, {1, 1, 0, 0})
                                .record(fn::SelectClipRegion, {1})  // not a region: clipping removed
                                .record(fn::Rectangle, {1, 1, 0, 0}));
    ASSERT_EQ(c.drawn.size(), 3u);
    EXPECT_EQ(c.drawn[0].kind, "fill");
    EXPECT_EQ(c.fillCounts[0], 2u);
    EXPECT_EQ(c.drawn[0].paint.brush.color, (Rgb{0, 255, 0}));
    ASSERT_EQ(c.drawn[1].clip.size(), 1u);
    EXPECT_EQ(c.drawn[1].clip[0].kind, ClipOp::Kind::Region);
    EXPECT_EQ(c.drawn[1].clip[0].rects->size(), 2u);
    EXPECT_DOUBLE_EQ((*c.drawn[1].clip[0].rects)[1].left, 20);
    EXPECT_TRUE(c.drawn[2].clip.empty());
}

TEST(WmfPlayer, ArcsRunCounterClockwiseFromStartToEnd) {
    // Circle filling the area; from 3 o'clock to 12 o'clock is the upper right quarter.
    const auto c = playInto(square()
                                .record(fn::Arc, {0, 500, 500, 1000, 1000, 1000, 0, 0})
                                .record(fn::Pie, {0, 500, 500, 1000, 1000, 1000, 0, 0})
                                .record(fn::Chord, {500, 1000, 500, 1000, 1000, 1000, 0, 0}));
    ASSERT_EQ(c.drawn.size(), 3u);
    const auto& arc = c.drawn[0].points[0];
    expectPoint(arc.front(), 100, 50);
    EXPECT_NEAR(arc.back().x, 50, 1e-9);
    EXPECT_NEAR(arc.back().y, 0, 1e-9);
    for (const PointF& p : arc) {
        EXPECT_GE(p.x, 50 - 1e-9);
        EXPECT_LE(p.y, 50 + 1e-9);
    }
    EXPECT_EQ(c.drawn[0].kind, "polyline");
    EXPECT_EQ(c.drawn[1].kind, "polygons");
    expectPoint(c.drawn[1].points[0].front(), 50, 50);  // a pie starts at the centre
    // Equal rays: the whole ellipse.
    const auto& chord = c.drawn[2].points[0];
    EXPECT_NEAR(chord.front().x, chord.back().x, 1e-9);
    double lowest = 0;
    for (const PointF& p : chord) lowest = std::max(lowest, p.y);
    EXPECT_NEAR(lowest, 100, 0.1);
}

TEST(WmfPlayer, TextTakesFontColoursAlignmentAndMapping) {
    const auto c = playInto(square()
                                .record(fn::CreateFontIndirect, {-100, 0, 450, 0, 700, 0, 0xCC00, 0, 0,
                                                                 'T' | 'i' << 8, 'm' | 'e' << 8, 's'})
                                .record(fn::SelectObject, {0})
                                .record(fn::SetTextColor, {0x2010, 0x30})
                                .record(fn::SetBkColor, {0x00FF, 0})
                                .record(fn::SetTextAlign, {TA_CENTER | TA_BASELINE})
                                .bytesRecord(fn::TextOut, {2, 0, 0xC0, 'b', 250, 0, 0xF4, 0x01}),
                            {0, 0, 200, 200});
    ASSERT_EQ(c.drawn.size(), 1u);
    const TextRun& t = c.drawn[0].text;
    expectPoint(t.origin, 100, 50);
    EXPECT_EQ(t.text, u"\u0410b");  // the font's character set (204) decides the code page
    EXPECT_EQ(t.align, TA_CENTER | TA_BASELINE);
    EXPECT_DOUBLE_EQ(t.font.height, 20);
    EXPECT_FALSE(t.font.cellHeight);
    EXPECT_DOUBLE_EQ(t.font.escapement, 45);
    EXPECT_EQ(t.font.weight, 700);
    EXPECT_EQ(t.font.face, "Times");
    EXPECT_EQ(t.color, (Rgb{0x10, 0x20, 0x30}));
    EXPECT_TRUE(t.opaqueBackground);
    EXPECT_EQ(t.background, (Rgb{255, 0, 0}));
}

TEST(WmfPlayer, CurrentPositionTextMovesAlong) {
    auto c = playInto(square()
                          .record(fn::SetTextAlign, {TA_UPDATECP})
                          .record(fn::MoveTo, {100, 200})
                          .bytesRecord(fn::TextOut, {3, 0, 'a', 'b', 'c', 0, 0, 0, 0, 0})
                          .bytesRecord(fn::TextOut, {1, 0, 'd', 0, 0, 0, 0, 0}));
    ASSERT_EQ(c.drawn.size(), 2u);
    expectPoint(c.drawn[0].text.origin, 20, 10);
    expectPoint(c.drawn[1].text.origin, 50, 10);  // three characters of 10 device units further
}

TEST(WmfPlayer, ExtTextOutOpaqueRectangleClipAndAdvances) {
    const auto c = playInto(square()
                                .record(fn::SetBkColor, {0xFF00, 0})
                                .bytesRecord(fn::ExtTextOut, {0, 0, 0, 0, 2, 0, 6, 0, 0, 0, 0, 0, 0xE8, 3, 100, 0,
                                                              'o', 'k', 100, 0, 50, 0}),
                            {0, 0, 200, 200});
    ASSERT_EQ(c.drawn.size(), 2u);
    EXPECT_EQ(c.drawn[0].kind, "fill");
    EXPECT_EQ(c.drawn[0].paint.brush.color, (Rgb{0, 255, 0}));
    EXPECT_DOUBLE_EQ(c.drawn[0].rect.right, 200);
    EXPECT_DOUBLE_EQ(c.drawn[0].rect.bottom, 20);
    const TextRun& t = c.drawn[1].text;
    EXPECT_TRUE(t.clipped);
    EXPECT_DOUBLE_EQ(t.clip.bottom, 20);
    EXPECT_EQ(t.advances, (std::vector<double>{20, 10}));
}

TEST(WmfPlayer, GlyphIndexTextIsNotDrawnButItsRectangleIs) {
    const auto c = playInto(square().bytesRecord(fn::ExtTextOut, {0, 0, 0, 0, 1, 0, 0x12, 0, 0, 0, 0, 0, 10, 0, 10, 0,
                                                                  7, 0}));
    ASSERT_EQ(c.drawn.size(), 1u);
    EXPECT_EQ(c.drawn[0].kind, "fill");
}

TEST(WmfPlayer, StretchDibCountsTheSourceFromTheBottomLine) {
    // 1 x 2 bitmap, bottom line red, top line blue; source line 0 of height 1 is the bottom one.
    const auto dib = test::dibBytes(1, 2, 24, {}, {0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
    const auto c = playInto(square().bytesRecord(fn::StretchDib, test::stretchDibParams(0, 0, 500, 500, 0, 0, 1, 1, dib)));
    ASSERT_EQ(c.drawn.size(), 1u);
    EXPECT_EQ(c.drawn[0].kind, "bitmap");
    EXPECT_DOUBLE_EQ(c.drawn[0].rect.right, 50);
    EXPECT_DOUBLE_EQ(c.drawn[0].source.top, 1);
    EXPECT_DOUBLE_EQ(c.drawn[0].source.bottom, 2);
    EXPECT_EQ(c.drawn[0].bitmap.pixels[1], 0xFFFF0000u);
}

TEST(WmfPlayer, PatternOperationsFillWithTheBrush) {
    const auto c = playInto(square()
                                .record(fn::CreateBrushIndirect, {0, 0, 0x00FF, 0})
                                .record(fn::SelectObject, {0})
                                .record(fn::PatBlt, {0x0021, 0x00F0, 100, 200, 300, 400})
                                .record(fn::PatBlt, {0x0042, 0x0000, 100, 200, 300, 400})
                                .record(fn::PatBlt, {0x0009, 0x0055, 100, 200, 300, 400})  // reads the screen
                                .record(fn::SetPixel, {0xFF00, 0, 500, 500}));
    ASSERT_EQ(c.drawn.size(), 3u);
    EXPECT_EQ(c.drawn[0].paint.brush.color, (Rgb{0, 0, 255}));
    EXPECT_DOUBLE_EQ(c.drawn[0].rect.left, 40);
    EXPECT_DOUBLE_EQ(c.drawn[0].rect.right, 60);
    EXPECT_DOUBLE_EQ(c.drawn[0].rect.top, 30);
    EXPECT_DOUBLE_EQ(c.drawn[0].rect.bottom, 40);
    EXPECT_EQ(c.drawn[1].paint.brush.color, (Rgb{0, 0, 0}));
    EXPECT_EQ(c.drawn[2].paint.brush.color, (Rgb{0, 255, 0}));
    EXPECT_DOUBLE_EQ(c.drawn[2].rect.right - c.drawn[2].rect.left, 1);
}

}  // namespace
}  // namespace krv::wmf
