#include "core/device/wmf/Dib.hpp"

#include <gtest/gtest.h>

#include "core/device/wmf/WmfFormat.hpp"
#include "DibBytes.hpp"

namespace krv::wmf {
namespace {

using test::dibBytes;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

std::uint32_t at(const Bitmap& b, int x, int y) { return b.pixels.at(static_cast<std::size_t>(y * b.width + x)); }

TEST(Dib, PaletteBitmapsOfOneFourAndEightBits) {
    // 1 bit: 10 pixels per row, rows padded to 4 bytes, bottom line first.
    const Bitmap one = decodeDib(dibBytes(10, 2, 1, {0x000000, 0xFFFFFF}, {0xA0, 0x40, 0, 0, 0xFF, 0xC0, 0, 0}),
                                 DIB_RGB_COLORS);
    ASSERT_EQ(one.width, 10);
    EXPECT_TRUE(one.bottomUp);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(at(one, x, 0), kWhite) << x;  // the second stored row is the top
    EXPECT_EQ(at(one, 0, 1), kWhite);
    EXPECT_EQ(at(one, 1, 1), kBlack);
    EXPECT_EQ(at(one, 2, 1), kWhite);
    EXPECT_EQ(at(one, 9, 1), kWhite);
    EXPECT_EQ(at(one, 8, 1), kBlack);

    const Bitmap four =
        decodeDib(dibBytes(3, 1, 4, {0xFF0000, 0x00FF00, 0x0000FF}, {0x01, 0x20, 0, 0}, 0, 3), DIB_RGB_COLORS);
    EXPECT_EQ(at(four, 0, 0), kRed);
    EXPECT_EQ(at(four, 1, 0), kGreen);
    EXPECT_EQ(at(four, 2, 0), kBlue);

    // Indices beyond the colour table are black.
    const Bitmap eight = decodeDib(dibBytes(2, 1, 8, {0x0000FF}, {0, 7, 0, 0}, 0, 1), DIB_RGB_COLORS);
    EXPECT_EQ(at(eight, 0, 0), kBlue);
    EXPECT_EQ(at(eight, 1, 0), kBlack);
}

TEST(Dib, TrueColourBitmapsAndTopDownOrder) {
    const Bitmap rgb24 = decodeDib(dibBytes(1, -2, 24, {}, {0x00, 0x00, 0xFF, 0, 0xFF, 0x00, 0x00, 0}), DIB_RGB_COLORS);
    ASSERT_EQ(rgb24.height, 2);
    EXPECT_FALSE(rgb24.bottomUp);
    EXPECT_EQ(at(rgb24, 0, 0), kRed);  // negative height: first stored row is the top
    EXPECT_EQ(at(rgb24, 0, 1), kBlue);

    const Bitmap rgb32 = decodeDib(dibBytes(1, 1, 32, {}, {0x00, 0xFF, 0x00, 0x00}), DIB_RGB_COLORS);
    EXPECT_EQ(at(rgb32, 0, 0), kGreen);  // the fourth byte is not alpha

    const Bitmap rgb16 = decodeDib(dibBytes(2, 1, 16, {}, {0x00, 0x7C, 0x1F, 0x00}), DIB_RGB_COLORS);
    EXPECT_EQ(at(rgb16, 0, 0), kRed);  // 5-5-5
    EXPECT_EQ(at(rgb16, 1, 0), kBlue);
}

TEST(Dib, ColourMasks) {
    // 5-6-5 masks after the header.
    std::vector<std::uint8_t> masks;
    test::WmfBytes::put32(masks, 0xF800);
    test::WmfBytes::put32(masks, 0x07E0);
    test::WmfBytes::put32(masks, 0x001F);
    std::vector<std::uint8_t> pixels = masks;
    pixels.insert(pixels.end(), {0xE0, 0x07, 0x00, 0xF8});
    const Bitmap b = decodeDib(dibBytes(2, 1, 16, {}, pixels, 3), DIB_RGB_COLORS);
    ASSERT_EQ(b.width, 2);
    EXPECT_EQ(at(b, 0, 0), kGreen);
    EXPECT_EQ(at(b, 1, 0), kRed);
}

TEST(Dib, RunLengthEncodedBitmapsStayInsideTheirPixels) {
    // RLE8, 4 x 2: an absolute run of three (red, green, blue, padded), a run of one blue,
    // end of line; a run that overshoots the row (dropped past the edge), a jump far outside
    // with a run there (dropped), end of bitmap.
    const std::vector<std::uint8_t> data = {0, 3, 0, 1, 2, 0, 1, 2, 0, 0, 9, 1, 0, 2, 200, 200, 1, 2, 0, 1};
    const Bitmap b = decodeDib(dibBytes(4, 2, 8, {0xFF0000, 0x00FF00, 0x0000FF}, data, 1, 3), DIB_RGB_COLORS);
    ASSERT_EQ(b.width, 4);
    EXPECT_EQ(at(b, 0, 1), kRed);  // the first line is the bottom one
    EXPECT_EQ(at(b, 1, 1), kGreen);
    EXPECT_EQ(at(b, 2, 1), kBlue);
    EXPECT_EQ(at(b, 3, 1), kBlue);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(at(b, x, 0), kGreen) << x;

    // RLE4: a run alternates the two nibbles.
    const Bitmap four = decodeDib(dibBytes(3, 1, 4, {0xFF0000, 0x0000FF}, {3, 0x01, 0, 1}, 2, 2), DIB_RGB_COLORS);
    EXPECT_EQ(at(four, 0, 0), kRed);
    EXPECT_EQ(at(four, 1, 0), kBlue);
    EXPECT_EQ(at(four, 2, 0), kRed);
}

TEST(Dib, PaletteIndexColoursUseTheStandardColours) {
    std::vector<std::uint8_t> d = dibBytes(1, 1, 8, {}, {}, 0, 2);
    test::WmfBytes::put16(d, 12);  // blue in the standard colours
    test::WmfBytes::put16(d, 0);
    d.insert(d.end(), {0, 0, 0, 0});
    const Bitmap b = decodeDib(d, DIB_PAL_COLORS);
    EXPECT_EQ(at(b, 0, 0), kBlue);
}

TEST(Dib, InspectionRejectsSizesThatDoNotFit) {
    DibInfo info;
    std::string error;
    EXPECT_EQ(inspectDib({}, 0, info, error), DibCheck::Malformed);
    EXPECT_EQ(error, "bitmap header truncated");

    std::vector<std::uint8_t> shortPixels = dibBytes(4, 4, 24, {}, std::vector<std::uint8_t>(47));
    EXPECT_EQ(inspectDib(shortPixels, 0, info, error), DibCheck::Malformed);
    EXPECT_EQ(error, "bitmap pixel data truncated");
    EXPECT_EQ(decodeDib(shortPixels, 0).width, 0);
    shortPixels.push_back(0);
    EXPECT_EQ(inspectDib(shortPixels, 0, info, error), DibCheck::Ok);

    const auto missingPalette = dibBytes(2, 2, 8, {0x112233}, {0, 0, 0, 0}, 0, 200);
    EXPECT_EQ(inspectDib(missingPalette, 0, info, error), DibCheck::Malformed);
    EXPECT_EQ(error, "bitmap colour table truncated");

    EXPECT_EQ(inspectDib(dibBytes(0, 1, 24, {}, {}), 0, info, error), DibCheck::Malformed);
    EXPECT_EQ(inspectDib(dibBytes(1, 1, 7, {}, {0, 0, 0, 0}), 0, info, error), DibCheck::Malformed);
    EXPECT_EQ(inspectDib(dibBytes(1, -1, 8, {}, {0, 0, 0, 0}, 1), 0, info, error), DibCheck::Malformed);

    std::vector<std::uint8_t> badHeader = dibBytes(1, 1, 24, {}, {0, 0, 0, 0});
    badHeader[0] = 20;
    EXPECT_EQ(inspectDib(badHeader, 0, info, error), DibCheck::Malformed);
}

TEST(Dib, HugeOrForeignBitmapsAreNotDrawnButDoNotDamageTheFile) {
    DibInfo info;
    std::string error;
    // Claims 65536 x 65536 pixels in a handful of bytes: never allocated, never read.
    EXPECT_EQ(inspectDib(dibBytes(65536, 65536, 1, {0, 0}, {0, 0, 0, 0}), 0, info, error), DibCheck::Unsupported);
    EXPECT_EQ(decodeDib(dibBytes(65536, 65536, 1, {0, 0}, {0, 0, 0, 0}), 0).pixels.size(), 0u);
    EXPECT_EQ(inspectDib(dibBytes(1, 1, 24, {}, {1, 2, 3}, 5), 0, info, error), DibCheck::Unsupported);  // PNG inside
}

TEST(Dib, CoreHeaderWithThreeByteColours) {
    std::vector<std::uint8_t> d;
    test::WmfBytes::put32(d, 12);
    test::WmfBytes::put16(d, 2);
    test::WmfBytes::put16(d, 1);
    test::WmfBytes::put16(d, 1);
    test::WmfBytes::put16(d, 1);
    d.insert(d.end(), {0, 0, 0xFF, 0xFF, 0, 0});  // red, blue
    d.insert(d.end(), {0x40, 0, 0, 0});
    const Bitmap b = decodeDib(d, DIB_RGB_COLORS);
    ASSERT_EQ(b.width, 2);
    EXPECT_EQ(at(b, 0, 0), kRed);
    EXPECT_EQ(at(b, 1, 0), kBlue);
}

}  // namespace
}  // namespace krv::wmf
