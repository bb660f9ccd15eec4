#include "core/device/wmf/PictureFrame.hpp"

#include <gtest/gtest.h>

#include "core/device/wmf/WmfFormat.hpp"
#include "core/device/wmf/WmfParser.hpp"
#include "WmfBytes.hpp"

namespace krv::wmf {
namespace {

using test::WmfBytes;

Metafile parsed(const WmfBytes& file) {
    ParseResult r = WmfParser().parse(file.bytes());
    EXPECT_TRUE(r.ok()) << r.error;
    return r.ok() ? std::move(*r.metafile) : Metafile{};
}

void expectRect(const std::optional<RectF>& r, double l, double t, double rt, double b) {
    ASSERT_TRUE(r.has_value());
    EXPECT_DOUBLE_EQ(r->left, l);
    EXPECT_DOUBLE_EQ(r->top, t);
    EXPECT_DOUBLE_EQ(r->right, rt);
    EXPECT_DOUBLE_EQ(r->bottom, b);
}

TEST(WmfPictureFrame, BoundingBoxThenFirstWindowThenDrawnExtent) {
    const WmfBytes window = WmfBytes().record(fn::SetWindowOrg, {20, 10}).record(fn::SetWindowExt, {200, 100})
                                .record(fn::SetWindowExt, {7, 7});
    expectRect(pictureRect(parsed(WmfBytes(window).placeable(-5, -6, 50, 60))), -5, -6, 50, 60);
    expectRect(pictureRect(parsed(window)), 10, 20, 110, 220);
    // Without either: the extent of what the records draw.
    expectRect(pictureRect(parsed(WmfBytes().record(fn::Rectangle, {40, 30, 20, 10}).record(fn::Polyline,
                                                                                            {2, -5, 0, 0, 0}))),
               -5, 0, 30, 40);
}

TEST(WmfPictureFrame, DegenerateBoxesFallBack) {
    expectRect(pictureRect(parsed(WmfBytes().placeable(0, 0, 0, 100).record(fn::SetWindowExt, {10, 10}))), 0, 0, 10,
               10);
    // A single horizontal line still gets a frame one unit high.
    expectRect(pictureRect(parsed(WmfBytes().record(fn::Polyline, {2, 0, 5, 10, 5}))), 0, 5, 10, 6);
    EXPECT_FALSE(pictureRect(parsed(WmfBytes().record(fn::SaveDC))).has_value());
    EXPECT_FALSE(frameFor(parsed(WmfBytes()), {0, 0, 10, 10}).has_value());
}

TEST(WmfPictureFrame, FitKeepsTheAspectAndCentres) {
    const RectF wide = fitInto({0, 0, 400, 100}, {10, 10, 110, 110});
    EXPECT_DOUBLE_EQ(wide.left, 10);
    EXPECT_DOUBLE_EQ(wide.right, 110);
    EXPECT_DOUBLE_EQ(wide.top, 47.5);
    EXPECT_DOUBLE_EQ(wide.bottom, 72.5);
    // A flipped picture fits by its size.
    const RectF flipped = fitInto({0, 100, 100, 0}, {0, 0, 50, 100});
    EXPECT_DOUBLE_EQ(flipped.top, 25);
    EXPECT_DOUBLE_EQ(flipped.bottom, 75);
}

}  // namespace
}  // namespace krv::wmf
