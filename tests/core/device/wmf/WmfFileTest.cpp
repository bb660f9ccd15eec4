// Metafiles come from service departments and old drawing programs: every size and count in
// them is checked against the bytes there are, a damaged file is refused with the reason, and
// what is read decodes as those programs meant it.
#include <gtest/gtest.h>

#include <tuple>

#include "core/device/wmf/Dib.hpp"
#include "core/device/wmf/TextCodec.hpp"
#include "core/device/wmf/WmfParser.hpp"
#include "support/WmfBytes.hpp"

namespace krv::wmf {
namespace {

using namespace test;

constexpr std::uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, K = 0xFF000000, W = 0xFFFFFFFF;

Bytes one(std::uint16_t f, std::initializer_list<int> ws) { return WmfBytes().rec(f, ws).bytes(); }
Bytes sized(std::uint16_t f, std::uint32_t words) { return WmfBytes().raw(f, Bytes(4), words).bytes(); }
Bytes withDib(const Bytes& bitmap) {
    return WmfBytes().raw(fn::StretchDib, stretchDib(0, 0, 1, 1, 1, 1, bitmap)).bytes();
}
Bytes patched(Bytes b, std::size_t at, std::uint8_t value) { b.at(at) = value; return b; }
Bytes cut(Bytes b, std::size_t n) { b.resize(n); return b; }
Bytes saveDCs(int n) {
    WmfBytes w;
    while (n--) w.rec(fn::SaveDC);
    return w.bytes();
}

// Each row: the bytes and the end of the reason they are refused, or "" when they must be read.
// A damaged record is a reason only when no record can be played (see WmfForeignTest).
TEST(WmfBounds, FilesAreReadExactlyWhenTheirSizesFit) {
    const Bytes ok = WmfBytes().bytes(), four(4);
    const std::vector<std::tuple<const char*, Bytes, std::string>> cases = {
        {"empty", {}, "metafile header truncated"},
        {"header type", patched(ok, 0, 3), "not a Windows metafile (header type)"},
        {"header size", patched(ok, 2, 12), "not a Windows metafile (header size)"},
        {"version", patched(ok, 5, 7), "not a Windows metafile (version 0x0700)"},
        {"placeable cut", cut(WmfBytes().placeable(1, 1).bytes(), 12), "placeable header truncated"},
        {"no end record", WmfBytes().bytes(false), "no end-of-file record: the file is truncated"},
        {"record header cut", cut(ok, 21), "record 1: record header truncated"},
        {"as many records as allowed", saveDCs(11), ""},
        {"one record more", saveDCs(12), "too many records"},
        {"at the size limit", WmfBytes().raw(0x0777, Bytes(2048 - 30)).bytes(), ""},
        {"past the size limit", WmfBytes().raw(0x0777, Bytes(2050 - 30)).bytes(), "file too large"},
        {"wrong placeable checksum", WmfBytes().placeable(10, 10, 1440, false).bytes(), ""},
        {"bytes after the end record", one(fn::SaveDC, {}) + Bytes{1, 2, 3}, ""},
        {"size 2", sized(fn::SaveDC, 2), "record 1 (0x001E): size below the record header"},
        {"size past the end", sized(fn::LineTo, 100), "record 1 (0x0213): size beyond the end of the file"},
        {"size past 32 bits", sized(fn::LineTo, 0x80000001u), "beyond the end of the file"},
        {"polygon", one(fn::Polygon, {3, 0, 0, 1, 1}), "record 1 (0x0324): point count beyond the record"},
        {"negative count", one(fn::Polyline, {-1}), "record 1 (0x0325): negative point count"},
        {"polygons", one(fn::PolyPolygon, {2, 3}), "polygon count beyond the record"},
        {"polygon points", one(fn::PolyPolygon, {1, 4, 0, 0, 1, 1}), "point count beyond the record"},
        {"text", one(fn::TextOut, {40, 0x4141, 0, 0}), "record 1 (0x0521): string beyond the record"},
        {"ext text", one(fn::ExtTextOut, {0, 0, 9, 0, 0x4141}), "string beyond the record"},
        {"rectangle", one(fn::Rectangle, {1, 2, 3}), "record 1 (0x041B): parameters truncated"},
        {"font", one(fn::CreateFontIndirect, {12, 0, 0}), "font truncated"},
        {"region", one(fn::CreateRegion, {0, 6, 0, 0, 0, 1, 1, 0, 0, 9, 9, 40, 0, 9}), "beyond the record"},
        {"unknown record", one(0x0777, {1, 2, 3}), ""},
        {"bitmap header", withDib(words({40, 0})), "record 1 (0x0F43): bitmap header truncated"},
        {"bitmap pixels", withDib(dib(4, 4, 24, {}, Bytes(46))), "bitmap pixel data truncated"},
        {"bitmap pixels complete", withDib(dib(4, 4, 24, {}, Bytes(48))), ""},
        {"colour table", withDib(dib(2, 2, 8, {0x112233}, four, 0, 200)), "bitmap colour table truncated"},
        {"bitmap width", withDib(dib(0, 1, 24, {}, four)), "bitmap size invalid"},
        {"bit count", withDib(dib(1, 1, 7, {}, four)), "bitmap bit count invalid"},
        {"top-down runs", withDib(dib(1, -1, 8, {0}, four, 1, 1)), "does not fit its bit count"},
        {"bitmap header size", withDib(patched(dib(1, 1, 24, {}, four), 0, 20)), "header size invalid"},
        {"huge bitmap: read, not drawn", withDib(dib(65536, 65536, 1, {0, 0}, four)), ""},
    };
    ParseLimits limits;
    limits.maxRecords = 11;
    limits.maxFileBytes = 2048;
    for (const auto& [what, bytes, error] : cases) {
        SCOPED_TRACE(what);
        const ParseResult r = WmfParser(limits).parse(bytes);
        EXPECT_EQ(r.ok(), error.empty()) << r.error;
        EXPECT_TRUE(r.error.ends_with(error) && r.error.empty() == error.empty()) << r.error;
    }
}

// A cut anywhere is either refused or read with the cut listed, and never read past.
TEST(WmfBounds, EveryTruncationOfAValidFileIsRefusedOrListed) {
    const Bytes full = WmfBytes().placeable(1000, 500).rec(fn::SetWindowExt, {500, 1000}).brush(0, 255, 0)
        .rec(fn::Polygon, {3, 0, 0, 1000, 0, 500, 500}).raw(fn::TextOut, {1, 0, 'A', 0, 1, 0, 2, 0})
        .raw(fn::StretchDib, stretchDib(0, 0, 9, 9, 1, 1, dib(1, 1, 24, {}, Bytes(4)))).bytes();
    ASSERT_TRUE(WmfParser().parse(full).ok());
    for (std::size_t n = 0; n < full.size(); ++n) {
        const ParseResult r = WmfParser().parse(cut(full, n));
        EXPECT_TRUE(r.ok() ? !r.metafile->skipped.empty() : !r.error.empty()) << "first " << n << " bytes";
        // Refused only while no record is whole: the headers and the first record take 50 bytes.
        EXPECT_EQ(r.ok(), n >= 50) << "first " << n << " bytes: " << r.error;
    }
}

// Every pixel format the drawing programs write. A bitmap claiming 65536 x 65536 pixels in a
// few bytes is never allocated; run-length data past a line or outside the bitmap is dropped.
TEST(WmfDecode, BitmapsOfEveryPixelFormatStayInsideTheirPixels) {
    const Bytes masks565 = words({0xF800, 0, 0x07E0, 0, 0x001F, 0});
    // RLE8, 4 x 2: red, green, blue as they are; one blue; end of line; nine green (four fit);
    // a jump by (200, 200) and a run there; end of bitmap.
    const Bytes rle8 = {0, 3, 0, 1, 2, 0, 1, 2, 0, 0, 9, 1, 0, 2, 200, 200, 1, 2, 0, 1};
    // What, bitmap, colour usage, pixels top line first.
    const std::vector<std::tuple<const char*, Bytes, std::uint16_t, std::vector<std::uint32_t>>> cases = {
        {"1 bit", dib(10, 1, 1, {0, 0xFFFFFF}, {0xA0, 0x40, 0, 0}), 0, {W, K, W, K, K, K, K, K, K, W}},
        {"4 bits", dib(3, 1, 4, {0xFF0000, 0x00FF00, 0x0000FF}, {0x01, 0x20, 0, 0}, 0, 3), 0, {R, G, B}},
        {"8 bits, index past the table", dib(2, 1, 8, {0x0000FF}, {0, 7, 0, 0}, 0, 1), 0, {B, K}},
        {"24 bits bottom line first", dib(1, 2, 24, {}, {0, 0, 0xFF, 0, 0xFF, 0, 0, 0}), 0, {B, R}},
        {"24 bits top-down", dib(1, -2, 24, {}, {0, 0, 0xFF, 0, 0xFF, 0, 0, 0}), 0, {R, B}},
        {"32 bits: no alpha", dib(1, 1, 32, {}, {0, 0xFF, 0, 0}), 0, {G}},
        {"16 bits 5-5-5", dib(2, 1, 16, {}, {0x00, 0x7C, 0x1F, 0x00}), 0, {R, B}},
        {"16 bits with masks", dib(2, 1, 16, {}, masks565 + Bytes{0xE0, 0x07, 0x00, 0xF8}, 3), 0, {G, R}},
        {"RLE8", dib(4, 2, 8, {0xFF0000, 0x00FF00, 0x0000FF}, rle8, 1, 3), 0, {G, G, G, G, R, G, B, B}},
        {"RLE4", dib(3, 1, 4, {0xFF0000, 0x0000FF}, {3, 0x01, 0, 1}, 2, 2), 0, {R, B, R}},
        {"standard colour index", dib(1, 1, 8, {}, words({12, 0}) + Bytes(4), 0, 2), DIB_PAL_COLORS, {B}},
        {"core header", words({12, 0, 2, 1, 1, 1}) + Bytes{0, 0, 0xFF, 0xFF, 0, 0, 0x40, 0, 0, 0}, 0, {R, B}},
        {"too large", dib(65536, 65536, 1, {0, 0}, Bytes(4)), 0, {}},
    };
    for (const auto& [what, bitmap, usage, pixels] : cases) {
        SCOPED_TRACE(what);
        EXPECT_EQ(decodeDib(bitmap, usage).pixels, pixels);
    }
}

TEST(WmfDecode, TextByTheFontsCharacterSet) {
    const std::vector<std::tuple<Bytes, std::uint8_t, const char*, std::u16string>> cases = {
        {{'A', 0x80, 0xC4, 0x96}, 0, "Arial", u"A\u20AC\u00C4\u2013"},  // Western
        {{0x81}, 1, "", u"\uFFFD"},                                // default set: Western, unassigned
        {{0xE9}, 128, "", u"\u00E9"},                              // a double-byte set: Western
        {{0xC0, 0xFF}, 204, "", u"\u0410\u044F"},                  // Cyrillic
        {{0xB9}, 238, "", u"\u0105"},                              // Central European
        // The symbol encoding: by the character set, or by a face that says so.
        {{'D', 'r', ' ', '=', '2', 'p', 'a', 0xB9, 0xA5}, 2, "Symbol", u"\u0394\u03C1 =2\u03C0\u03B1\u2260\u221E"},
        {{0xE5, 0xF2, 0xAE, 0xB1, 0xE6, 0xF0, 0x90}, 2, "Wingdings", u"\u2211\u222B\u2192\u00B1\u239B\uFFFD\uFFFD"},
        {{'W', 0xD6, 0xC6}, 0, "Symbol Regular", u"\u03A9\u221A\u2205"},
    };
    for (const auto& [bytes, charSet, face, text] : cases)
        EXPECT_EQ(decodeText(bytes, charSet, face), text) << +charSet << face;
}

}  // namespace
}  // namespace krv::wmf
