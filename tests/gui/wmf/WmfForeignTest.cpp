// Pictures from other writers: laid out by libuemf's writer, then cut or damaged as files in the
// field are: the good records are drawn, the bad one is listed. Labels keep their planned width.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <array>
#include <cstring>
#include <functional>

#include "core/device/wmf/WmfParser.hpp"
#include "gui/wmf/FontMapping.hpp"
#include "gui/wmf/MetafilePainter.hpp"
#include "support/TempVerzeichnis.hpp"
#include "support/WmfBytes.hpp"

#include <uwmf.h>  // last: it defines short lowercase macros

namespace krv::wmf::test {
namespace {

// Red on the left, blue on the right; in the middle green: a polygon, a bitmap, a filled region.
std::array<std::size_t, 4> writeWithLibuemf(const std::string& path) {  // the three, and the end
    WMFTRACK* track = nullptr;
    WMFHANDLES* handles = nullptr;
    if (wmf_start(path.c_str(), 4096, 4096, &track) || wmf_htable_create(16, 16, &handles)) std::abort();
    U_PAIRF* scale = U_PAIRF_set(1, 1);  // allocated; the header record copies it
    wmf_header_append(reinterpret_cast<U_METARECORD*>(U_WMRHEADER_set(scale, 1000)), track, 1);
    std::free(scale);
    const auto add = [&](char* record) {
        const std::size_t at = track->used;
        wmf_append(reinterpret_cast<U_METARECORD*>(record), track, 1);
        return at;
    };
    std::uint32_t ih = 0;
    const auto brush = [&](int r, int g, int b) {
        add(wcreatebrushindirect_set(&ih, handles, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(r, g, b), 0)));
        return add(wselectobject_set(ih, handles)), ih;
    };
    add(wcreatepenindirect_set(&ih, handles, U_PEN_set(U_PS_NULL, 1, colorref3_set(0, 0, 0))));
    add(wselectobject_set(ih, handles));
    brush(255, 0, 0);
    add(U_WMRRECTANGLE_set({0, 0, 300, 1000}));
    const std::uint16_t green = brush(0, 255, 0);
    const U_POINT16 points[] = {{400, 0}, {600, 0}, {600, 300}, {400, 300}};
    std::array<std::size_t, 4> at{add(U_WMRPOLYGON_set(4, points))};
    U_RGBQUAD colour = rgbquad_set(0, 255, 0, 0);
    U_BITMAPINFO* info = bitmapinfo_set(bitmapinfoheader_set(2, 2, 1, 8, 0, 8, 0, 0, 1, 0), &colour);
    const char pixels[8] = {};
    at[1] = add(U_WMRSTRETCHDIB_set({400, 350}, {200, 300}, {0, 0}, {2, 2}, 0, U_SRCCOPY, info, 8, pixels));
    std::free(info);
    // libuemf's region record has no object count, so it is laid out here; its table counts from 1.
    const Bytes region =
        words({20, 0, fn::CreateRegion, 0, 6, 0, 0, 0, 1, 2, 400, 700, 600, 1000, 2, 700, 1000, 400, 600, 2});
    at[2] = add(static_cast<char*>(std::memcpy(std::malloc(region.size()), region.data(), region.size())));
    wmf_htable_insert(&ih, handles);
    add(U_WMRFILLREGION_set(static_cast<std::uint16_t>(ih - 1), green));
    brush(0, 0, 255);
    add(U_WMRRECTANGLE_set({700, 0, 1000, 1000}));
    at[3] = add(U_WMREOF_set());
    wmf_finish(track);
    wmf_free(&track);
    wmf_htable_free(&handles);
    return at;
}

TEST(WmfForeign, DamagedRecordIsLeftOutAndTheRestDrawn) {
    krv::test::TempVerzeichnis dir;
    const auto [polygon, bitmap, region, end] = writeWithLibuemf(dir.pfad("a.wmf"));
    std::ifstream in(dir.pfad("a.wmf"), std::ios::binary);
    const Bytes written{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(written.size(), end + 6);
    const auto set = [](std::size_t at, int v) { return [=](Bytes& b) { b.at(at) = std::uint8_t(v); }; };
    // What, the damage, the end of the one listed line, what is drawn: left, the three, right.
    const std::vector<std::tuple<const char*, std::function<void(Bytes&)>, std::string, std::string>> rows = {
        {"as written", [](Bytes&) {}, "", "LPBRR"},
        {"file cut in the polygon", [&](Bytes& b) { b.resize(polygon + 10); },
         "(0x0324): size beyond the end of the file, the rest is not drawn", "L----"},
        {"point count", set(polygon + 6, 200), "(0x0324): point count beyond the record, skipped", "L-BRR"},
        {"colour table", set(bitmap + 60, 200), "(0x0F43): bitmap colour table truncated, skipped", "LP-RR"},
        {"region scans", set(region + 16, 30), "(0x06FF): region scan truncated, skipped", "LPB-R"},
    };
    const QPoint spots[] = {{15, 50}, {50, 15}, {50, 50}, {50, 85}, {85, 50}};
    const QColor colours[] = {Qt::red, Qt::green, Qt::green, Qt::green, Qt::blue};
    for (const auto& [what, damage, skipped, drawn] : rows) {
        SCOPED_TRACE(what);
        Bytes bytes = written;
        damage(bytes);
        const ParseResult r = WmfParser().parse(bytes);
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.metafile->skipped.size(), skipped.empty() ? 0u : 1u);
        for (const std::string& line : r.metafile->skipped) EXPECT_TRUE(line.ends_with(skipped)) << line;
        const QImage image = renderMetafile(*r.metafile, {100, 100});
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(image.pixelColor(spots[i]), drawn[i] == '-' ? QColor(Qt::white) : colours[i]) << i;
    }
}

// From the first to the last column with ink.
int inkWidth(const QImage& image) {
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) left = std::min(left, x), right = std::max(right, x);
    return right - left + 1;
}

// Text 30 pixels high in 200 x 100 pixels, 10 units each, with the font width and advances given.
int labelWidth(const std::string& face, double fontWidth, const Bytes& text, std::vector<int> dx = {}) {
    Bytes params = words({700, 100, static_cast<int>(text.size()), 0}) + text;
    for (int d : dx) put16(params, static_cast<std::uint16_t>(d));
    const Bytes font = words({-300, static_cast<int>(std::lround(fontWidth)), 0, 0, 400, 0, 0, 0, 0}) +
                       Bytes(face.begin(), face.end());
    const Bytes file = WmfBytes().placeable(2000, 1000).raw(fn::CreateFontIndirect, font).select(0)
        .rec(fn::SetBkMode, {1}).rec(fn::SetTextAlign, {TA_BASELINE}).raw(fn::ExtTextOut, params).bytes();
    return inkWidth(renderMetafile(*WmfParser().parse(file).metafile, {200, 100}));
}

// With advances, with a font width (the font scaled horizontally), and in a face not installed
// here through a metric-compatible one.
TEST(WmfForeign, LabelsFitTheirPlannedExtent) {
    const Bytes hhhh{'H', 'H', 'H', 'H'};
    QFont arial;
    arial.setFamilies(fontFamiliesFor("Arial", 0));
    arial.setPixelSize(30);
    const double average = QFontMetricsF(arial).averageCharWidth() * 10;  // in units
    const int one = labelWidth("Arial", 0, {'H'}), four = labelWidth("Arial", 0, hhhh);
    const std::vector<std::tuple<const char*, int, double>> rows = {
        {"advances of 40 pixels", labelWidth("Arial", 0, hhhh, {400, 400, 400, 400}), 3 * 40 + one},
        {"advances of 8 pixels", labelWidth("Arial", 0, hhhh, {80, 80, 80, 80}), 3 * 8 + one},
        {"font half as wide", labelWidth("Arial", average / 2, hhhh), four / 2.0},
        {"font 1.6 times as wide", labelWidth("Arial", average * 1.6, hhhh), four * 1.6},
        {"Times New Roman", labelWidth("Times New Roman", 0, hhhh), labelWidth("Liberation Serif", 0, hhhh)},
    };
    for (const auto& [what, width, planned] : rows) EXPECT_NEAR(width, planned, 3) << what;
}

}  // namespace
}  // namespace krv::wmf::test
