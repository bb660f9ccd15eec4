// The player drawn with QPainter, pixel by pixel against a reference painted directly with
// QPainter from the same geometry, at pixel ratios 1 and 2; and the stored metafiles.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <filesystem>
#include <functional>

#include "core/device/wmf/WmfFile.hpp"
#include "core/device/wmf/WmfParser.hpp"
#include "gui/wmf/FontMapping.hpp"
#include "gui/wmf/MetafilePainter.hpp"
#include "support/WmfBytes.hpp"

namespace krv::wmf::test {
namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kWhite(255, 255, 255);

// Without a header: a null pen in slot 0 and a red brush in slot 1 selected.
WmfBytes red() { return WmfBytes().pen(5, 0, 0, 0, 0).select(0).brush(255, 0, 0).select(1); }
// The same in a 1000 x 1000 picture: 100 pixels of the test image.
WmfBytes square() { return red().placeable(1000, 1000); }

struct Case {
    const char* what;
    Bytes file;
    std::vector<std::pair<QRectF, QColor>> fills;  // the reference: rectangles in pixels of 100 x 100
    std::function<void(QPainter&)> shape = {};      // or anything else, red brush, no pen
};

std::vector<Case> cases() {
    const Bytes bitmap = dib(2, 2, 24, {}, {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0});
    const Bytes region = words({0, 6, 0, 0, 0, 1, 4, 0, 0, 300, 100, 4, 0, 100, 0, 100, 200, 300, 4});
    const char* name = "DejaVu Sans";
    const Bytes face(name, name + 12), symbol{'S', 'y', 'm', 'b', 'o', 'l'};
    return {
        {"polygon", square().rec(fn::Polygon, {3, 700, 100, 900, 100, 700, 300}).bytes(), {},
         [](QPainter& p) { p.drawPolygon(QPolygonF({{70, 10}, {90, 10}, {70, 30}})); }},
        {"scaled pen", square().pen(0, 100, 0, 0, 255).select(2).rect(300, 200, 700, 800).bytes(), {},
         [](QPainter& p) {
             p.setPen(QPen(kBlue, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawRect(QRectF(30, 20, 40, 60));
         }},
        {"ellipse", square().rec(fn::Ellipse, {600, 900, 100, 100}).bytes(), {},
         [](QPainter& p) { p.drawEllipse(QRectF(10, 10, 80, 50)); }},
        {"pie from 3 to 12 o'clock", square().rec(fn::Pie, {0, 500, 500, 1000, 1000, 1000, 0, 0}).bytes(), {},
         [](QPainter& p) { p.drawPie(QRectF(0, 0, 100, 100), 0, 90 * 16); }},
        {"text on its baseline",
         square().raw(fn::CreateFontIndirect, words({-300, 0, 0, 0, 400, 0, 0, 0, 0}) + face).select(2)
             .rec(fn::SetBkMode, {1}).rec(fn::SetTextAlign, {TA_CENTER | TA_BASELINE})
             .raw(fn::TextOut, {2, 0, 'H', 'H', 0xF4, 1, 0xF4, 1}).bytes(), {},
         [](QPainter& p) {
             QFont font("DejaVu Sans");
             font.setPixelSize(30);
             p.setFont(font);
             p.setPen(Qt::black);
             p.drawText(QPointF(50 - QFontMetricsF(font).horizontalAdvance("HH") / 2, 50), "HH");
         }},
        // Symbol-encoded bytes: a formula's Delta, rho, almost equal, pi, not equal, plus-minus.
        {"symbol text as its characters",
         square().raw(fn::CreateFontIndirect, words({-200, 0, 0, 0, 400, 0, 0x0200, 0, 0}) + symbol)
             .select(2).rec(fn::SetBkMode, {1}).rec(fn::SetTextAlign, {TA_BASELINE})
             .raw(fn::TextOut, Bytes{6, 0, 'D', 'r', 0xBB, 'p', 0xB9, 0xB1} + words({600, 50})).bytes(), {},
         [](QPainter& p) {
             QFont font;
             font.setFamilies(fontFamiliesFor("Symbol", 0));
             font.setPixelSize(20), font.setHintingPreference(QFont::PreferNoHinting);
             p.setFont(font), p.setPen(Qt::black), p.drawText(QPointF(5, 60), QString::fromUtf8("Δρ≈π≠±"));
         }},
        {"window twice the box", square().rec(fn::SetWindowExt, {2000, 2000}).rect(0, 0, 1000, 1000).bytes(),
         {{{0, 0, 50, 50}, kRed}}},
        {"nothing outside the box", square().placeable(1000, 500).rect(-500, -500, 1500, 1500).bytes(),
         {{{0, 25, 100, 50}, kRed}}},
        {"viewport", square().rec(fn::SetViewportOrg, {100, 200}).rec(fn::SetViewportExt, {500, 500})
             .rect(0, 0, 1000, 1000).bytes(), {{{20, 10, 50, 50}, kRed}}},
        {"headerless, y up", red().rec(fn::SetMapMode, {8}).rec(fn::SetWindowOrg, {1000, 0})
             .rec(fn::SetWindowExt, {-1000, 1000}).rec(fn::Polygon, {3, 0, 0, 1000, 0, 0, 1000}).bytes(), {},
         [](QPainter& p) { p.drawPolygon(QPolygonF({{0, 100}, {100, 100}, {0, 0}})); }},
        {"no header, no window: the drawn extent", red().rect(100, 100, 300, 200).bytes(),
         {{{0, 25, 100, 50}, kRed}}},
        {"metric units, y up", square().placeable(2000, 2000).rec(fn::SetMapMode, {2})
             .rec(fn::SetViewportOrg, {2000, 0}).rect(0, 254, 254, 0).bytes(), {{{0, 50, 50, 50}, kRed}}},
        {"deleted slot reused", square().brush(0, 0, 255).rec(fn::DeleteObject, {1}).brush(0, 255, 0)
             .select(1).rect(0, 0, 500, 1000).select(2).rect(500, 0, 1000, 1000).bytes(),
         {{{0, 0, 50, 100}, kGreen}, {{50, 0, 50, 100}, kBlue}}},
        {"objects beyond the table are lost", square().objects(2).brush(0, 0, 255).select(2).select(65535)
             .rec(fn::DeleteObject, {40000}).rect(0, 0, 1000, 1000).bytes(), {{{0, 0, 100, 100}, kRed}}},
        {"saved states", square().brush(0, 0, 255).brush(0, 255, 0).rec(fn::SaveDC).select(2).rec(fn::SaveDC)
             .select(3).rec(fn::SaveDC).select(1).rec(fn::RestoreDC, {-1}).rect(0, 0, 300, 1000)
             .rec(fn::RestoreDC, {1}).rect(300, 0, 600, 1000).rec(fn::RestoreDC, {-1})
             .rect(600, 0, 1000, 1000).bytes(),
         {{{0, 0, 30, 100}, kGreen}, {{30, 0, 70, 100}, kRed}}},
        {"clipping until restored", square().rec(fn::SaveDC).rec(fn::IntersectClipRect, {900, 900, 100, 100})
             .rec(fn::ExcludeClipRect, {600, 600, 400, 400}).rect(0, 0, 1000, 1000).rec(fn::RestoreDC, {-1})
             .brush(0, 0, 255).select(2).rect(0, 0, 1000, 60).bytes(),
         {{{10, 10, 80, 80}, kRed}, {{40, 40, 20, 20}, kWhite}, {{0, 0, 100, 6}, kBlue}}},
        {"region filled, then clipping", square().raw(fn::CreateRegion, region).brush(0, 255, 0)
             .rec(fn::FillRegion, {2, 3}).rec(fn::SelectClipRegion, {2}).rect(0, 0, 1000, 50).bytes(),
         {{{0, 0, 10, 10}, kGreen}, {{20, 0, 10, 10}, kGreen}, {{0, 0, 10, 5}, kRed},
          {{20, 0, 10, 5}, kRed}}},
        {"pattern fill", square().rec(fn::PatBlt, {0x0021, 0x00F0, 100, 200, 300, 400}).bytes(),
         {{{40, 30, 20, 10}, kRed}}},
        {"bitmap, sharp", square().raw(fn::StretchDib, stretchDib(0, 0, 1000, 1000, 2, 2, bitmap)).bytes(),
         {{{0, 0, 50, 50}, kRed}, {{50, 0, 50, 50}, kGreen}, {{0, 50, 50, 50}, kBlue}}},
    };
}

// Pixels of `a` that differ from `b` (or from white) by more than antialiasing makes them.
int differing(const QImage& a, const QImage* b = nullptr) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b ? b->pixelColor(x, y) : kWhite;
            n += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue())
                 > 120;
        }
    return n;
}

TEST(WmfRender, DrawingRecordsMatchDirectQPainterReferences) {
    for (const Case& c : cases())
        for (double ratio : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << c.what << " at ratio " << ratio);
            const ParseResult r = WmfParser().parse(c.file);
            ASSERT_TRUE(r.ok()) << r.error;
            QImage ref(QSize(100, 100) * ratio, QImage::Format_RGB32);
            const QImage ours = renderMetafile(*r.metafile, {100, 100}, ratio).convertToFormat(ref.format());
            ref.setDevicePixelRatio(ratio);
            ref.fill(Qt::white);
            QPainter p(&ref);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(kRed);
            for (const auto& [area, colour] : c.fills) p.fillRect(area, colour);
            if (c.shape) c.shape(p);
            p.end();
            ASSERT_EQ(ours.size(), ref.size());
            const int ink = differing(ref), wrong = differing(ours, &ref);
            EXPECT_GT(ink, 150 * ratio * ratio);  // never a comparison of two blank images
            EXPECT_LE(wrong, ink / 100) << wrong << " of " << ink << " pixels differ";
        }
}

// valid-* were written by another program's metafile writer and must draw; damaged-* have a
// record the player leaves out and must draw the rest and list it; invalid-* once crashed or
// misled the parser and must be refused with a reason.
TEST(WmfRender, StoredMetafilesDrawOrAreRefused) {
    const std::filesystem::path dir = std::filesystem::path(KRVDIAG_TEST_DATA_DIR) / "wmf";
    int valid = 0, invalid = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const ParseResult r = readMetafileFile(entry.path().string());
        if (name.starts_with("invalid-")) {
            EXPECT_FALSE(r.ok() || r.error.empty());
            ++invalid;
            continue;
        }
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.metafile->skipped.empty(), !name.starts_with("damaged-"));
        EXPECT_GT(differing(renderMetafile(*r.metafile, {200, 200})), 400);
        ++valid;
    }
    EXPECT_GE(valid, 7);
    EXPECT_GE(invalid, 3);
    ParseLimits tiny;
    tiny.maxFileBytes = 10;
    EXPECT_EQ(readMetafileFile((dir / "valid-shapes.wmf").string(), tiny).error, "file too large");
    EXPECT_EQ(readMetafileFile((dir / "missing.wmf").string()).error, "No such file or directory");
    EXPECT_FALSE(readMetafileFile(dir.string()).ok());
}

}  // namespace
}  // namespace krv::wmf::test

// One application object for all metafile tests: fonts and views need it. Headless.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
