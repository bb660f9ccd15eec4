// The player drawn with QPainter, checked on the pixels: small files written with libuemf.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>

#include "RenderSupport.hpp"
#include "UemfWriter.hpp"
#include "core/device/wmf/Canvas.hpp"
#include "gui/wmf/FontMapping.hpp"
#include "gui/wmf/QtCanvas.hpp"

namespace krv::wmf::test {
namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);
constexpr int kNullPen = 5;
constexpr int kNullBrush = 1;
constexpr int kHatched = 2;

// A one-inch square picture of 1000 units with its window set, a null pen and `fill` selected.
void squareFrame(UemfWriter& w, Colour fill) {
    w.windowOrg(0, 0);
    w.windowExt(1000, 1000);
    w.select(w.pen(kNullPen, 0, {}));
    w.select(w.brush(0, fill));
}

TEST(WmfRenderer, FilledPolygonLandsOnTheExpectedPixels) {
    UemfWriter w(1.0, 1.0, 1000);
    squareFrame(w, {255, 0, 0});
    w.polygon({{200, 200}, {600, 200}, {600, 800}, {200, 800}});
    w.select(w.brush(0, {0, 0, 255}));
    w.polygon({{700, 100}, {900, 100}, {700, 300}});  // triangle, slanted edge from (90,10) to (70,30)
    const QImage img = render(w.finish(), 100, 100);
    EXPECT_TRUE(near(pixel(img, 21, 21), kRed));
    EXPECT_TRUE(near(pixel(img, 59, 79), kRed));
    EXPECT_TRUE(near(pixel(img, 18, 50), kWhite));
    EXPECT_TRUE(near(pixel(img, 62, 50), kWhite));
    EXPECT_TRUE(near(pixel(img, 40, 18), kWhite));
    EXPECT_TRUE(near(pixel(img, 40, 82), kWhite));
    EXPECT_TRUE(near(pixel(img, 72, 12), kBlue));
    EXPECT_TRUE(near(pixel(img, 87, 27), kWhite));  // beyond the slanted edge
}

TEST(WmfRenderer, FileWindowExtentScalesOntoTheBoundingBox) {
    UemfWriter w(1.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(2000, 2000);  // twice the bounding box: everything at half size
    w.select(w.pen(kNullPen, 0, {}));
    w.select(w.brush(0, {255, 0, 0}));
    w.rectangle(0, 0, 1000, 1000);
    const QImage img = render(w.finish(), 100, 100);
    EXPECT_TRUE(near(pixel(img, 25, 25), kRed));
    EXPECT_TRUE(near(pixel(img, 55, 25), kWhite));
    EXPECT_TRUE(near(pixel(img, 75, 75), kWhite));
}

TEST(WmfRenderer, HeaderlessFileFitsItsFirstWindow) {
    UemfWriter w(0, 0, 1440);
    w.windowOrg(100, 100);
    w.windowExt(200, 100);
    w.select(w.pen(kNullPen, 0, {}));
    w.select(w.brush(0, {255, 0, 0}));
    w.rectangle(100, 100, 300, 200);
    const QImage img = render(w.finish(), 100, 100);
    EXPECT_TRUE(near(pixel(img, 50, 30), kRed));
    EXPECT_TRUE(near(pixel(img, 2, 70), kRed));
    EXPECT_TRUE(near(pixel(img, 50, 22), kWhite));  // 2:1 picture centred: rows 25..75
    EXPECT_TRUE(near(pixel(img, 50, 78), kWhite));
}

TEST(WmfRenderer, ObjectTableSlotIsReusedAfterDelete) {
    UemfWriter w(1.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(1000, 1000);
    const auto red = w.brush(0, {255, 0, 0});
    const auto blue = w.brush(0, {0, 0, 255});
    w.remove(red);
    const auto green = w.brush(0, {0, 255, 0});
    ASSERT_EQ(red, 0u);
    ASSERT_EQ(blue, 1u);
    ASSERT_EQ(green, 0u);  // the writer follows the same rule: the lowest free slot
    w.select(w.pen(kNullPen, 0, {}));
    w.raw(0x012D, {0});  // SelectObject 0 by number
    w.rectangle(0, 0, 500, 1000);
    w.raw(0x012D, {1});
    w.rectangle(500, 0, 1000, 1000);
    const QImage img = render(w.finish(), 100, 100);
    EXPECT_TRUE(near(pixel(img, 25, 50), kGreen));
    EXPECT_TRUE(near(pixel(img, 75, 50), kBlue));
}

TEST(WmfRenderer, NothingIsDrawnOutsideTheBoundingBox) {
    UemfWriter w(1.0, 1.0, 1000);
    squareFrame(w, {255, 0, 0});
    w.rectangle(-500, -500, 1500, 1500);
    const QImage img = render(w.finish(), 200, 100);  // the picture takes columns 50..150
    EXPECT_TRUE(near(pixel(img, 100, 50), kRed));
    EXPECT_TRUE(near(pixel(img, 52, 2), kRed));
    EXPECT_TRUE(near(pixel(img, 46, 50), kWhite));
    EXPECT_TRUE(near(pixel(img, 154, 50), kWhite));
}

TEST(WmfRenderer, ClipRecordsAndRestoredClipping) {
    UemfWriter w(1.0, 1.0, 1000);
    squareFrame(w, {255, 0, 0});
    w.saveDC();
    w.intersectClip(100, 100, 900, 900);
    w.excludeClip(400, 400, 600, 600);
    w.rectangle(0, 0, 1000, 1000);
    w.restoreDC(-1);
    w.select(w.brush(0, {0, 0, 255}));
    w.rectangle(0, 0, 1000, 60);
    const QImage img = render(w.finish(), 100, 100);
    EXPECT_TRUE(near(pixel(img, 5, 50), kWhite));
    EXPECT_TRUE(near(pixel(img, 20, 20), kRed));
    EXPECT_TRUE(near(pixel(img, 50, 50), kWhite));
    EXPECT_TRUE(near(pixel(img, 2, 2), kBlue));  // drawn after the clipping was restored
}

TEST(WmfRenderer, HatchGapsShowTheBackgroundOnlyWhenOpaque) {
    UemfWriter w(1.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(1000, 1000);
    w.select(w.pen(kNullPen, 0, {}));
    w.select(w.brush(kHatched, {0, 0, 0}, 4));
    w.bkColour({255, 255, 0});
    w.bkMode(2);
    w.rectangle(0, 0, 500, 1000);
    w.bkMode(1);
    w.rectangle(500, 0, 1000, 1000);
    const QImage img = render(w.finish(), 100, 100);
    int yellowLeft = 0, darkLeft = 0, yellowRight = 0, darkRight = 0;
    for (int y = 10; y < 90; ++y)
        for (int x = 5; x < 45; ++x) {
            yellowLeft += near(pixel(img, x, y), kYellow);
            darkLeft += isDark(pixel(img, x, y));
            yellowRight += near(pixel(img, x + 50, y), kYellow);
            darkRight += isDark(pixel(img, x + 50, y));
        }
    EXPECT_GT(yellowLeft, 1600);  // more than half of the 3200 pixels
    EXPECT_GT(darkLeft, 200);
    EXPECT_EQ(yellowRight, 0);
    EXPECT_GT(darkRight, 200);
}

TEST(WmfRenderer, PenWidthScalesAndTheThinnestPenStaysVisible) {
    UemfWriter w(1.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(1000, 1000);
    w.select(w.pen(0, 100, {255, 0, 0}));
    w.moveTo(300, 0);
    w.lineTo(300, 1000);
    w.select(w.pen(0, 0, {0, 0, 255}));
    w.moveTo(700, 0);
    w.lineTo(700, 1000);
    const QImage img = render(w.finish(), 100, 100);
    int wide = 0, thin = 0;
    for (int x = 0; x < 100; ++x) {
        wide += near(pixel(img, x, 50), kRed, 120);
        thin += pixel(img, x, 50).blue() > 200 && pixel(img, x, 50).red() < 200;
    }
    EXPECT_GE(wide, 9);  // 100 units of 1000 on 100 pixels
    EXPECT_LE(wide, 11);
    EXPECT_GE(thin, 1);
    EXPECT_LE(thin, 2);
}

TEST(WmfRenderer, VectorsAreDrawnAtThePixelRatio) {
    UemfWriter w(1.0, 1.0, 1000);
    squareFrame(w, {255, 0, 0});
    w.rectangle(205, 200, 600, 800);  // left edge at 20.5 logical pixels
    const auto bytes = w.finish();
    const QImage one = render(bytes, 100, 100, 1.0);
    const QImage two = render(bytes, 100, 100, 2.0);
    ASSERT_EQ(two.size(), QSize(200, 200));
    // At ratio 2 the edge falls on a physical pixel border: sharp, not an enlarged blur.
    EXPECT_TRUE(near(two.pixelColor(41, 100), kRed, 10));
    EXPECT_TRUE(near(two.pixelColor(40, 100), kWhite, 10));
    const QColor half = one.pixelColor(20, 50);
    EXPECT_FALSE(near(half, kRed, 60));
    EXPECT_FALSE(near(half, kWhite, 60));
}

TEST(WmfRenderer, BitmapsStretchWithSharpPixels) {
    UemfWriter w(1.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(1000, 1000);
    w.stretchDib(0, 0, 1000, 500, 2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    w.dibStretchBlt8(0, 500, 1000, 500, 2, 1, {1, 0}, {0xFF0000, 0x0000FF});
    const QImage img = render(w.finish(), 100, 100);
    EXPECT_TRUE(near(pixel(img, 25, 12), kRed));
    EXPECT_TRUE(near(pixel(img, 48, 12), kRed));
    EXPECT_TRUE(near(pixel(img, 52, 12), kGreen));
    EXPECT_TRUE(near(pixel(img, 25, 37), kBlue));
    EXPECT_TRUE(near(pixel(img, 75, 37), kWhite));
    EXPECT_TRUE(near(pixel(img, 25, 75), kBlue));  // palette index 1
    EXPECT_TRUE(near(pixel(img, 75, 75), kRed));
}

TEST(WmfRenderer, BitBltDrawsTheBitmapAtItsSizeInLogicalUnits) {
    UemfWriter w(1.0, 1.0, 10);
    w.windowOrg(0, 0);
    w.windowExt(10, 10);
    w.dibBitBlt1(0, 0, 2, 2, {1, 0, 0, 1}, {255, 255, 255}, {0, 0, 0});
    const QImage img = render(w.finish(), 100, 100);
    EXPECT_TRUE(isDark(pixel(img, 5, 5)));
    EXPECT_TRUE(near(pixel(img, 15, 5), kWhite));
    EXPECT_TRUE(near(pixel(img, 5, 15), kWhite));
    EXPECT_TRUE(isDark(pixel(img, 15, 15)));
    EXPECT_TRUE(near(pixel(img, 25, 25), kWhite));
}

// Text: "HH" has no descender and equal side bearings, so its ink shows the reference point.
QImage textImage(int align, int height, int escapement = 0, const std::string& text = "HH") {
    UemfWriter w(1.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(1000, 1000);
    w.select(w.font(height, 400, false, escapement, "DejaVu Sans"));
    w.bkMode(1);
    w.textAlign(align);
    w.textOut(500, 500, text);
    return render(w.finish(), 400, 400);
}

TEST(WmfRenderer, TextCentredOnTheBaseline) {
    const QRect ink = inkBox(textImage(6 | 24, -200), isDark);  // TA_CENTER | TA_BASELINE
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 200, 2);
    EXPECT_NEAR(ink.bottom() + 1, 200, 2);
    // Capital height of an 80-pixel font.
    EXPECT_GE(ink.height(), 50);
    EXPECT_LE(ink.height(), 66);
}

TEST(WmfRenderer, TextRightAlignedBelowItsTopPoint) {
    const QRect ink = inkBox(textImage(2, -200), isDark);  // TA_RIGHT | TA_TOP
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.right(), 200);
    EXPECT_GT(ink.right(), 185);
    EXPECT_GT(ink.top(), 203);  // the ascent lies above the capitals
    EXPECT_LT(ink.top(), 225);
}

TEST(WmfRenderer, PositiveFontHeightIsTheCellAndEscapementRotates) {
    const QRect character = inkBox(textImage(6 | 24, -200), isDark);
    const QRect cell = inkBox(textImage(6 | 24, 200), isDark);
    EXPECT_LT(cell.height(), character.height() * 0.95);
    const QRect rotated = inkBox(textImage(6 | 24, -100, 900, "HHHHHH"), isDark);
    EXPECT_GT(rotated.height(), rotated.width() * 2);
}

TEST(WmfFontMapping, FacesMapToInstalledFamiliesByKind) {
    const QStringList arial = fontFamiliesFor("Arial", 0);
    EXPECT_EQ(arial.front(), "Arial");
    EXPECT_EQ(arial.back(), "DejaVu Sans");
    EXPECT_TRUE(fontFamiliesFor("Times New Roman", 0).contains("DejaVu Serif"));
    EXPECT_TRUE(fontFamiliesFor("Courier New", 0).contains("DejaVu Sans Mono"));
    EXPECT_TRUE(fontFamiliesFor("Unknown Face", 0x12).contains("DejaVu Serif"));  // FF_ROMAN
    EXPECT_FALSE(fontFamiliesFor("DejaVu Sans", 0).contains("DejaVu Serif"));
    EXPECT_EQ(fontFamiliesFor("", 0).front(), "Liberation Sans");
}

TEST(WmfFontMapping, AMissingFaceResolvesToAnInstalledFont) {
    QImage device(10, 10, QImage::Format_RGB32);
    FontStyle style;
    style.face = "No Such Font Anywhere";
    style.height = 20;
    QFont font;
    ASSERT_TRUE(makeFont(style, &device, font));
    EXPECT_TRUE(QFontDatabase::families().contains(QFontInfo(font).family())) << QFontInfo(font).family().toStdString();
    style.height = 0.1;
    EXPECT_FALSE(makeFont(style, &device, font));
}

}  // namespace
}  // namespace krv::wmf::test
