#include "core/device/wmf/WmfParser.hpp"

#include <gtest/gtest.h>

#include "core/device/wmf/WmfFormat.hpp"
#include "core/device/wmf/WmfRecords.hpp"
#include "WmfBytes.hpp"

namespace krv::wmf {
namespace {

using test::WmfBytes;

ParseResult parse(const std::vector<std::uint8_t>& bytes, ParseLimits limits = {}) {
    return WmfParser(limits).parse(bytes);
}

// A small complete picture: window, pen, brush, polygon, text.
std::vector<std::uint8_t> picture() {
    return WmfBytes()
        .placeable(0, 0, 1000, 500, 1000)
        .objects(2)
        .record(fn::SetWindowOrg, {0, 0})
        .record(fn::SetWindowExt, {500, 1000})
        .record(fn::CreatePenIndirect, {0, 10, 0, 0x00FF, 0})
        .record(fn::CreateBrushIndirect, {0, 0xFF00, 0, 0})
        .record(fn::SelectObject, {0})
        .record(fn::SelectObject, {1})
        .record(fn::Polygon, {3, 0, 0, 1000, 0, 500, 500})
        .bytesRecord(fn::TextOut, {3, 0, 'A', 'B', 'C', 0, 100, 0, 200, 0})
        .bytes();
}

TEST(WmfParser, ReadsPlaceableHeaderRecordsAndFirstWindow) {
    const ParseResult r = parse(picture());
    ASSERT_TRUE(r.ok()) << r.error;
    const Metafile& mf = *r.metafile;
    ASSERT_TRUE(mf.placeable);
    EXPECT_EQ(mf.placeable->bbox.right, 1000);
    EXPECT_EQ(mf.placeable->bbox.bottom, 500);
    EXPECT_EQ(mf.placeable->inch, 1000);
    EXPECT_TRUE(mf.placeable->checksumValid);
    EXPECT_EQ(mf.header.numberOfObjects, 2);
    ASSERT_EQ(mf.records.size(), 8u);  // the end record is not listed
    EXPECT_EQ(mf.records[6].function, fn::Polygon);
    EXPECT_EQ(mf.records[6].length, 14u);
    ASSERT_TRUE(mf.firstWindowExt);
    EXPECT_EQ(mf.firstWindowExt->x, 1000);
    EXPECT_EQ(mf.firstWindowExt->y, 500);
}

TEST(WmfParser, AcceptsAWrongPlaceableChecksumAndHeaderlessFiles) {
    const ParseResult wrongSum = parse(WmfBytes().placeable(0, 0, 10, 10, 1440, false).bytes());
    ASSERT_TRUE(wrongSum.ok()) << wrongSum.error;
    EXPECT_FALSE(wrongSum.metafile->placeable->checksumValid);

    const ParseResult headerless = parse(WmfBytes().record(fn::SetWindowExt, {20, 30}).bytes());
    ASSERT_TRUE(headerless.ok()) << headerless.error;
    EXPECT_FALSE(headerless.metafile->placeable);
    EXPECT_FALSE(headerless.metafile->firstWindowOrg);
    EXPECT_EQ(headerless.metafile->firstWindowExt->x, 30);
}

TEST(WmfParser, EveryTruncationOfAValidFileIsRejected) {
    const std::vector<std::uint8_t> full = picture();
    for (std::size_t n = 0; n < full.size(); ++n) {
        const std::vector<std::uint8_t> part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        const ParseResult r = parse(part);
        EXPECT_FALSE(r.ok()) << "prefix of " << n << " bytes";
        EXPECT_FALSE(r.error.empty());
    }
}

TEST(WmfParser, RejectsWhatIsNotAMetafile) {
    EXPECT_EQ(parse({}).error, "metafile header truncated");
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(parse(png).ok());

    std::vector<std::uint8_t> badType = WmfBytes().bytes();
    badType[0] = 3;
    EXPECT_EQ(parse(badType).error, "not a Windows metafile (header type)");
    std::vector<std::uint8_t> badHeaderSize = WmfBytes().bytes();
    badHeaderSize[2] = 12;
    EXPECT_EQ(parse(badHeaderSize).error, "not a Windows metafile (header size)");
    std::vector<std::uint8_t> badVersion = WmfBytes().bytes();
    badVersion[5] = 0x07;
    EXPECT_EQ(parse(badVersion).error, "not a Windows metafile (version 0x0700)");

    std::vector<std::uint8_t> placeableOnly = WmfBytes().placeable(0, 0, 1, 1).bytes();
    placeableOnly.resize(12);
    EXPECT_EQ(parse(placeableOnly).error, "placeable header truncated");
}

TEST(WmfParser, RecordSizesAreCheckedBeforeUse) {
    const ParseResult tooSmall = parse(WmfBytes().rawRecord(2, fn::SaveDC, {}).bytes());
    EXPECT_EQ(tooSmall.error, "record 1 (0x001E): size below the record header");

    const ParseResult zero = parse(WmfBytes().rawRecord(0, fn::SaveDC, {}).bytes());
    EXPECT_FALSE(zero.ok());

    // A size far beyond the file, including one whose byte count overflows 32 bits.
    const ParseResult beyond = parse(WmfBytes().rawRecord(100, fn::LineTo, {1, 0, 2, 0}).bytes());
    EXPECT_EQ(beyond.error, "record 1 (0x0213): size beyond the end of the file");
    const ParseResult huge = parse(WmfBytes().rawRecord(0x80000001u, fn::LineTo, {1, 0, 2, 0}).bytes());
    EXPECT_EQ(huge.error, "record 1 (0x0213): size beyond the end of the file");
}

TEST(WmfParser, AFileWithoutEndRecordIsTruncated) {
    const ParseResult r = parse(WmfBytes().record(fn::SaveDC).bytes(false));
    EXPECT_EQ(r.error, "no end-of-file record: the file is truncated");
}

TEST(WmfParser, BytesAfterTheEndRecordAreIgnored) {
    std::vector<std::uint8_t> bytes = WmfBytes().record(fn::SaveDC).bytes();
    bytes.insert(bytes.end(), {1, 2, 3});
    const ParseResult r = parse(bytes);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.metafile->records.size(), 1u);
}

TEST(WmfParser, LimitsFileSizeAndRecordCount) {
    ParseLimits small;
    small.maxFileBytes = 30;
    EXPECT_EQ(parse(picture(), small).error, "file too large");

    WmfBytes many;
    for (int i = 0; i < 11; ++i) many.record(fn::SaveDC);
    ParseLimits ten;
    ten.maxRecords = 10;
    EXPECT_EQ(parse(many.bytes(), ten).error, "too many records");
    ten.maxRecords = 11;
    EXPECT_TRUE(parse(many.bytes(), ten).ok());
}

TEST(WmfParser, UnknownRecordsAreKeptButNotDecoded) {
    const ParseResult r = parse(WmfBytes().record(0x0777, {1, 2, 3}).bytes());
    ASSERT_TRUE(r.ok()) << r.error;
    Record rec;
    std::string error;
    ASSERT_TRUE(decodeRecord(*r.metafile, r.metafile->records[0], rec, error));
    EXPECT_TRUE(std::holds_alternative<args::None>(rec.args));
}

// Records whose own counts do not fit them make the whole file fail, with the record named.
TEST(WmfParser, InconsistentRecordParametersRejectTheFile) {
    struct Case {
        const char* what;
        WmfBytes file;
        const char* error;
    };
    std::vector<Case> cases;
    cases.push_back({"polygon count", WmfBytes().record(fn::Polygon, {3, 0, 0, 1, 1}),
                     "record 1 (0x0324): point count beyond the record"});
    cases.push_back({"negative count", WmfBytes().record(fn::Polyline, {-1}), "record 1 (0x0325): negative point count"});
    cases.push_back({"polypolygon counts", WmfBytes().record(fn::PolyPolygon, {2, 3}),
                     "record 1 (0x0538): polygon count beyond the record"});
    cases.push_back({"polypolygon points", WmfBytes().record(fn::PolyPolygon, {1, 4, 0, 0, 1, 1}),
                     "record 1 (0x0538): point count beyond the record"});
    cases.push_back({"text length", WmfBytes().record(fn::TextOut, {40, 0x4141, 0, 0}),
                     "record 1 (0x0521): string beyond the record"});
    cases.push_back({"ext text length", WmfBytes().record(fn::ExtTextOut, {0, 0, 9, 0, 0x4141}),
                     "record 1 (0x0A32): string beyond the record"});
    cases.push_back({"rectangle", WmfBytes().record(fn::Rectangle, {1, 2, 3}), "record 1 (0x041B): parameters truncated"});
    cases.push_back({"font", WmfBytes().record(fn::CreateFontIndirect, {12, 0, 0}), "record 1 (0x02FB): font truncated"});
    cases.push_back({"region scan", WmfBytes().record(fn::CreateRegion, {0, 6, 0, 0, 0, 1, 1, 0, 0, 9, 9, 40, 0, 9}),
                     "record 1 (0x06FF): region scan beyond the record"});
    cases.push_back({"bitmap header", WmfBytes().record(fn::StretchDib, {0x20, 0xCC, 0, 1, 1, 0, 0, 1, 1, 0, 0, 40, 0}),
                     "record 1 (0x0F43): bitmap header truncated"});
    for (Case& c : cases) {
        const ParseResult r = parse(c.file.bytes());
        EXPECT_EQ(r.error, c.error) << c.what;
    }
}

TEST(WmfParser, DecodesRecordParametersInFileOrder) {
    const ParseResult r = parse(WmfBytes()
                                    .record(fn::Rectangle, {40, 30, 20, 10})
                                    .record(fn::Arc, {8, 7, 6, 5, 4, 3, 2, 1})
                                    .bytesRecord(fn::ExtTextOut, {20, 0, 10, 0, 2, 0, 6, 0, 1, 0, 2, 0, 3, 0, 4, 0,
                                                                  'h', 'i', 5, 0, 6, 0})
                                    .record(fn::CreateFontIndirect, {-24, 0, 900, 0, 700, 0x0001, 0, 0, 0, 'A' | 'r' << 8,
                                                                      'i' | 'a' << 8, 'l'})
                                    .bytes());
    ASSERT_TRUE(r.ok()) << r.error;
    Record rec;
    std::string error;
    ASSERT_TRUE(decodeRecord(*r.metafile, r.metafile->records[0], rec, error));
    const Rect16 rect = std::get<args::Rect>(rec.args).r;
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 30);
    EXPECT_EQ(rect.bottom, 40);

    ASSERT_TRUE(decodeRecord(*r.metafile, r.metafile->records[1], rec, error));
    const auto& arc = std::get<args::Arc>(rec.args);
    EXPECT_EQ(arc.r.left, 1);
    EXPECT_EQ(arc.start.x, 5);
    EXPECT_EQ(arc.start.y, 6);
    EXPECT_EQ(arc.end.x, 7);

    ASSERT_TRUE(decodeRecord(*r.metafile, r.metafile->records[2], rec, error));
    const auto& text = std::get<args::Text>(rec.args);
    EXPECT_EQ(text.p.x, 10);
    EXPECT_EQ(text.p.y, 20);
    ASSERT_TRUE(text.hasRect);
    EXPECT_EQ(text.rect.left, 1);
    EXPECT_EQ(text.rect.bottom, 4);
    EXPECT_EQ(std::string(text.text.begin(), text.text.end()), "hi");
    EXPECT_EQ(text.dx, (std::vector<std::int16_t>{5, 6}));

    ASSERT_TRUE(decodeRecord(*r.metafile, r.metafile->records[3], rec, error));
    const auto& font = std::get<args::Font>(rec.args);
    EXPECT_EQ(font.height, -24);
    EXPECT_EQ(font.escapement, 900);
    EXPECT_EQ(font.weight, 700);
    EXPECT_TRUE(font.italic);
    EXPECT_EQ(font.face, "Arial");
}

TEST(WmfParser, ReadsAReversedExtTextOutRectangle) {
    // Stored as bottom, right, top, left: inverted both ways when read in the usual order.
    const ParseResult r = parse(WmfBytes().bytesRecord(fn::ExtTextOut, {0, 0, 0, 0, 1, 0, 4, 0, 40, 0, 30, 0, 20, 0,
                                                                        10, 0, 'x', 0}).bytes());
    ASSERT_TRUE(r.ok()) << r.error;
    Record rec;
    std::string error;
    ASSERT_TRUE(decodeRecord(*r.metafile, r.metafile->records[0], rec, error));
    const Rect16 rect = std::get<args::Text>(rec.args).rect;
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 30);
    EXPECT_EQ(rect.bottom, 40);
}

TEST(WmfParser, TellsBitmapRecordsWithAndWithoutBitmapApart) {
    // DIBBitBlt without a bitmap has a reserved word after the source position.
    const ParseResult r = parse(WmfBytes().record(fn::DibBitBlt, {0x21, 0xF0, 0, 0, 0, 5, 6, 7, 8}).bytes());
    ASSERT_TRUE(r.ok()) << r.error;
    Record rec;
    std::string error;
    ASSERT_TRUE(decodeRecord(*r.metafile, r.metafile->records[0], rec, error));
    const auto& b = std::get<args::Bitmap>(rec.args);
    EXPECT_FALSE(b.hasBitmap);
    EXPECT_EQ(b.rop, ROP_PATCOPY);
    EXPECT_EQ(b.hDest, 5);
    EXPECT_EQ(b.wDest, 6);
    EXPECT_EQ(b.yDest, 7);
    EXPECT_EQ(b.xDest, 8);
}

}  // namespace
}  // namespace krv::wmf
