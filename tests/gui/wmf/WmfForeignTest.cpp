// Pictures from other writers: laid out by libuemf's metafile writer, then cut or damaged as
// files in the field are. The good records are drawn, the bad one is left out and listed.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "core/device/wmf/WmfParser.hpp"
#include "gui/wmf/MetafilePainter.hpp"
#include "support/TempVerzeichnis.hpp"
#include "support/WmfBytes.hpp"

#include <uwmf.h>  // last: it defines short lowercase macros

namespace krv::wmf::test {
namespace {

// 1000 x 1000 units: red on the left, blue on the right, three green pieces in the middle
// column (a polygon at the top, a bitmap in the middle, a filled region at the bottom).
struct Written {
    Bytes bytes;
    std::size_t polygon = 0, bitmap = 0, region = 0;  // where these records start
};

Written writeWithLibuemf(const std::string& path) {
    WMFTRACK* track = nullptr;
    WMFHANDLES* handles = nullptr;
    if (wmf_start(path.c_str(), 4096, 4096, &track) || wmf_htable_create(16, 16, &handles)) std::abort();
    wmf_header_append(reinterpret_cast<U_METARECORD*>(U_WMRHEADER_set(U_PAIRF_set(1, 1), 1000)), track, 1);
    const auto add = [&](char* record) {
        const std::size_t at = track->used;
        wmf_append(reinterpret_cast<U_METARECORD*>(record), track, 1);
        return at;
    };
    const auto object = [&](auto create, auto what) {
        std::uint32_t ih = 0;
        add(create(&ih, handles, what));
        add(wselectobject_set(ih, handles));
        return ih;
    };
    const auto rect = [](int l, int t, int r, int b) { return U_RECT16{static_cast<int16_t>(l), static_cast<int16_t>(t),
                                                                       static_cast<int16_t>(r), static_cast<int16_t>(b)}; };
    Written w;
    object(wcreatepenindirect_set, U_PEN_set(U_PS_NULL, 1, colorref3_set(0, 0, 0)));
    object(wcreatebrushindirect_set, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(255, 0, 0), 0));
    add(U_WMRRECTANGLE_set(rect(0, 0, 300, 1000)));
    const std::uint32_t green = object(wcreatebrushindirect_set, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(0, 255, 0), 0));
    const U_POINT16 points[] = {{400, 0}, {600, 0}, {600, 300}, {400, 300}};
    w.polygon = add(U_WMRPOLYGON_set(4, points));
    U_RGBQUAD colour = rgbquad_set(0, 255, 0, 0);
    U_BITMAPINFO* info = bitmapinfo_set(bitmapinfoheader_set(2, 2, 1, 8, U_BI_RGB, 8, 0, 0, 1, 0), &colour);
    const char pixels[8] = {};
    w.bitmap = add(U_WMRSTRETCHDIB_set({400, 350}, {200, 300}, {0, 0}, {2, 2}, U_DIB_RGB_COLORS, U_SRCCOPY, info, 8,
                                       pixels));
    std::free(info);
    // libuemf's region record leaves out the object count, so this one record is laid out here;
    // its table counts from 1 where the create functions count from 0.
    std::uint32_t region = 0;
    wmf_htable_insert(&region, handles);
    --region;
    Bytes record = words({0, 0, fn::CreateRegion, 0, 6, 0, 0, 0, 1, 2, 400, 700, 600, 1000, 2, 700, 1000, 400, 600, 2});
    record[0] = static_cast<std::uint8_t>(record.size() / 2);
    char* raw = static_cast<char*>(std::malloc(record.size()));
    std::memcpy(raw, record.data(), record.size());
    w.region = add(raw);
    add(U_WMRFILLREGION_set(static_cast<uint16_t>(region), static_cast<uint16_t>(green)));
    object(wcreatebrushindirect_set, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(0, 0, 255), 0));
    add(U_WMRRECTANGLE_set(rect(700, 0, 1000, 1000)));
    add(U_WMREOF_set());
    wmf_finish(track);
    wmf_free(&track);
    wmf_htable_free(&handles);
    std::ifstream in(path, std::ios::binary);
    w.bytes.assign(std::istreambuf_iterator<char>(in), {});
    return w;
}

void put16At(Bytes& b, std::size_t at, int v) { b.at(at) = std::uint8_t(v), b.at(at + 1) = std::uint8_t(v >> 8); }

TEST(WmfForeign, DamagedRecordIsLeftOutAndTheRestDrawn) {
    krv::test::TempVerzeichnis dir;
    const Written w = writeWithLibuemf(dir.pfad("libuemf.wmf"));
    struct Row {
        const char* what;
        std::function<void(Bytes&)> damage;
        std::string skipped;             // the end of the one listed line, or "" for none
        std::array<bool, 5> drawn;  // left, polygon, bitmap, region, right
    };
    const std::vector<Row> rows = {
        {"as written", [](Bytes&) {}, "", {1, 1, 1, 1, 1}},
        {"file cut inside the polygon", [&](Bytes& b) { b.resize(w.polygon + 10); },
         "(0x0324): size beyond the end of the file, the rest is not drawn", {1, 0, 0, 0, 0}},
        {"point count beyond the polygon", [&](Bytes& b) { put16At(b, w.polygon + 6, 200); },
         "(0x0324): point count beyond the record, skipped", {1, 0, 1, 1, 1}},
        {"colour table truncated", [&](Bytes& b) { put16At(b, w.bitmap + 6 + 22 + 32, 200); },
         "(0x0F43): bitmap colour table truncated, skipped", {1, 1, 0, 1, 1}},
        {"region scans beyond the record", [&](Bytes& b) { put16At(b, w.region + 6 + 10, 30); },
         "(0x06FF): region scan truncated, skipped", {1, 1, 1, 0, 1}},
    };
    const std::array<QPoint, 5> spots = {QPoint(15, 50), {50, 15}, {50, 50}, {50, 85}, {85, 50}};
    const std::array<QColor, 5> colours = {QColor(255, 0, 0), {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 0, 255}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Bytes bytes = w.bytes;
        row.damage(bytes);
        const ParseResult r = WmfParser().parse(bytes);
        ASSERT_TRUE(r.ok()) << r.error;
        ASSERT_EQ(r.metafile->skipped.size(), row.skipped.empty() ? 0u : 1u);
        if (!row.skipped.empty()) EXPECT_TRUE(r.metafile->skipped[0].ends_with(row.skipped)) << r.metafile->skipped[0];
        const QImage image = renderMetafile(*r.metafile, {100, 100});
        for (std::size_t i = 0; i < spots.size(); ++i)
            EXPECT_EQ(image.pixelColor(spots[i]), row.drawn[i] ? colours[i] : QColor(Qt::white)) << "spot " << i;
    }
}

}  // namespace
}  // namespace krv::wmf::test
