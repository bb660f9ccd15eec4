// Writes the seed corpus for the metafile fuzzer into a directory: small files covering the
// record kinds the player handles, laid out by libuemf's writer. Usage: wmf_make_seeds DIR
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../tests/gui/wmf/UemfWriter.hpp"

using krv::wmf::test::Colour;
using krv::wmf::test::Pt;
using krv::wmf::test::UemfWriter;

namespace {

void save(const std::string& dir, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> shapes() {
    UemfWriter w(2.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(2000, 1000);
    const auto red = w.pen(0, 20, {200, 0, 0});
    const auto dashed = w.pen(1, 0, {0, 0, 200});
    const auto solid = w.brush(0, {0, 160, 0});
    const auto hatched = w.brush(2, {0, 0, 0}, 5);
    w.select(red);
    w.select(solid);
    w.rectangle(50, 50, 400, 300);
    w.roundRect(450, 50, 800, 300, 60, 40);
    w.select(hatched);
    w.ellipse(850, 50, 1200, 300);
    w.pie(1250, 50, 1600, 300, {1600, 175}, {1425, 50});
    w.chord(50, 350, 400, 600, {400, 475}, {50, 475});
    w.select(dashed);
    w.arc(450, 350, 800, 600, {800, 475}, {450, 475});
    w.moveTo(850, 350);
    w.lineTo(1200, 600);
    w.polyline({{1250, 350}, {1400, 600}, {1600, 350}});
    w.remove(hatched);
    const auto nullBrush = w.brush(1, {0, 0, 0});
    w.select(nullBrush);
    w.polyFillMode(2);
    w.polyPolygon({{{50, 650}, {400, 650}, {400, 950}, {50, 950}}, {{100, 700}, {350, 700}, {350, 900}, {100, 900}}});
    w.saveDC();
    w.select(solid);
    w.polygon({{450, 950}, {625, 650}, {800, 950}});
    w.restoreDC(-1);
    w.polygon({{850, 950}, {1025, 650}, {1200, 950}});
    return w.finish();
}

std::vector<std::uint8_t> text() {
    UemfWriter w(2.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(2000, 1000);
    const auto sans = w.font(-120, 700, false, 0, "Arial");
    const auto serif = w.font(150, 400, true, 450, "Times New Roman");
    w.select(sans);
    w.textColour({0, 0, 128});
    w.bkMode(1);
    w.textAlign(6 | 24);
    w.textOut(1000, 200, "Centred on the baseline");
    w.select(serif);
    w.bkMode(2);
    w.bkColour({255, 255, 0});
    w.textAlign(0);
    w.textOut(100, 800, "Rotated \xC4\xD6\xDC");
    w.extTextOut(100, 500, 2 | 4, "Clipped and opaque", {60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60},
                 100, 400, 900, 600);
    w.textAlign(1);
    w.moveTo(1100, 600);
    w.textOut(0, 0, "A");
    w.textOut(0, 0, "B");
    return w.finish();
}

std::vector<std::uint8_t> bitmaps() {
    UemfWriter w(1.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(1000, 1000);
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) rgb.push_back(static_cast<std::uint32_t>((x * 60) << 16 | (y * 60) << 8 | 0x40));
    w.stretchDib(0, 0, 500, 500, 4, 4, rgb);
    w.dibStretchBlt8(500, 0, 500, 500, 3, 2, {0, 1, 2, 2, 1, 0}, {0xFF0000, 0x00FF00, 0x0000FF});
    w.dibBitBlt1(0, 500, 9, 3, {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1},
                 {255, 255, 255}, {0, 0, 0});
    const auto pattern = w.dibPatternBrush(2, 2, {0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000});
    w.select(pattern);
    w.rectangle(500, 500, 1000, 1000);
    w.raw(0x061D, {0x0021, 0x00F0, 100, 100, 900, 900});  // PatBlt PATCOPY
    return w.finish();
}

std::vector<std::uint8_t> clipping() {
    UemfWriter w(1.0, 1.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(1000, 1000);
    const auto blue = w.brush(0, {0, 0, 255});
    w.select(blue);
    w.saveDC();
    w.intersectClip(100, 100, 900, 900);
    w.excludeClip(400, 400, 600, 600);
    w.rectangle(0, 0, 1000, 1000);
    w.restoreDC(1);
    // A region of two scans, selected, filled and painted; then the clip offset.
    const auto region = w.rawObject(
        0x06FF, {0, 6, 0, 0, 0, 2, 1, 100, 100, 300, 300, 2, 100, 200, 100, 150, 2, 2, 200, 300, 200, 300, 2});
    const auto r = static_cast<std::uint16_t>(region);
    w.raw(0x012C, {r});
    w.raw(0x0228, {r, static_cast<std::uint16_t>(blue)});
    w.raw(0x012B, {r});
    w.raw(0x0220, {50, 50});
    w.ellipse(0, 0, 1000, 1000);
    w.raw(0x012C, {9});
    return w.finish();
}

std::vector<std::uint8_t> headerless() {
    UemfWriter w(0, 0, 1440);
    w.mapMode(8);
    w.windowOrg(0, 1000);
    w.windowExt(1000, -1000);
    w.viewportOrg(0, 0);
    w.viewportExt(500, 500);
    w.raw(0x0410, {1, 2, 1, 1});  // ScaleWindowExt
    w.raw(0x020F, {10, 10});      // OffsetWindowOrg
    const auto pen = w.pen(0, 5, {0, 0, 0});
    w.select(pen);
    w.rectangle(100, 100, 900, 900);
    w.mapMode(7);
    w.ellipse(100, 100, 900, 900);
    w.mapMode(2);
    w.rectangle(0, 0, 254, -254);
    w.raw(0x0201, {0x00FF, 0x0000});         // SetBkColor
    w.raw(0x041F, {0x00FF, 0x0000, 50, 50});  // SetPixel
    const auto palette = w.rawObject(0x00F7, {0x0300, 2, 0, 0xFF00, 0xFF00, 0});  // CreatePalette
    w.raw(0x0234, {static_cast<std::uint16_t>(palette)});  // SelectPalette
    w.raw(0x0035, {});                        // RealizePalette
    w.raw(0x0626, {15, 0});                   // Escape
    return w.finish();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wmf_make_seeds DIR\n");
        return 1;
    }
    const std::string dir = argv[1];
    save(dir, "valid-shapes.wmf", shapes());
    save(dir, "valid-text.wmf", text());
    save(dir, "valid-bitmaps.wmf", bitmaps());
    save(dir, "valid-clipping.wmf", clipping());
    save(dir, "valid-headerless.wmf", headerless());
    return 0;
}
