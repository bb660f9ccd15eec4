// A drawing written by another library (libuemf's writer, as a drawing program's export would
// be) against a reference raster painted directly with QPainter from the same geometry: fills,
// line widths and text must land where the reference puts them, within a small tolerance.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "RenderSupport.hpp"
#include "UemfWriter.hpp"

namespace krv::wmf::test {
namespace {

// The drawing, in units of 1/1000 inch on a 4 x 3 inch sheet: a module front with a label.
struct Geometry {
    QRectF body{200, 200, 1600, 2600};        // grey, 40 wide black border
    QRectF window{500, 600, 1000, 800};       // dark blue inset, no border
    QRectF lens{700, 1700, 600, 600};         // green ellipse, 20 wide border
    QPolygonF wire{{{1800, 1500}, {2600, 1500}, {3000, 2500}, {3800, 2500}}};  // 60 wide red line
    QRectF terminal{2400, 400, 1200, 600};    // yellow, 10 wide border
    QPointF label{3000, 1200};                // centred on the baseline
    QString text = "KRV 24V";
    int textHeight = 300;                     // character height
};

std::vector<std::uint8_t> written(const Geometry& g) {
    UemfWriter w(4.0, 3.0, 1000);
    w.windowOrg(0, 0);
    w.windowExt(4000, 3000);
    const auto r = [](const QRectF& q) { return std::array<int, 4>{int(q.left()), int(q.top()), int(q.right()), int(q.bottom())}; };
    const auto body = r(g.body);
    w.select(w.pen(0, 40, {0, 0, 0}));
    w.select(w.brush(0, {160, 160, 160}));
    w.rectangle(body[0], body[1], body[2], body[3]);
    w.select(w.pen(5, 0, {}));
    w.select(w.brush(0, {0, 0, 128}));
    const auto win = r(g.window);
    w.rectangle(win[0], win[1], win[2], win[3]);
    w.select(w.pen(0, 20, {0, 0, 0}));
    w.select(w.brush(0, {0, 170, 0}));
    const auto lens = r(g.lens);
    w.ellipse(lens[0], lens[1], lens[2], lens[3]);
    w.select(w.pen(0, 60, {200, 0, 0}));
    std::vector<Pt> wire;
    for (const QPointF& p : g.wire) wire.push_back({int(p.x()), int(p.y())});
    w.polyline(wire);
    w.select(w.pen(0, 10, {0, 0, 0}));
    w.select(w.brush(0, {255, 220, 0}));
    const auto t = r(g.terminal);
    w.rectangle(t[0], t[1], t[2], t[3]);
    w.select(w.font(-g.textHeight, 700, false, 0, "DejaVu Sans"));
    w.textColour({0, 0, 0});
    w.bkMode(1);
    w.textAlign(6 | 24);
    w.textOut(int(g.label.x()), int(g.label.y()), g.text.toStdString());
    return w.finish();
}

QImage reference(const Geometry& g, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = size.width() / 4000.0;
    p.scale(scale, scale);
    p.setPen(QPen(Qt::black, 40));
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(g.body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(g.window);
    p.setPen(QPen(Qt::black, 20));
    p.setBrush(QColor(0, 170, 0));
    p.drawEllipse(g.lens);
    p.setPen(QPen(QColor(200, 0, 0), 60, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(g.wire);
    p.setPen(QPen(Qt::black, 10));
    p.setBrush(QColor(255, 220, 0));
    p.drawRect(g.terminal);
    p.resetTransform();
    QFont font("DejaVu Sans");
    font.setPixelSize(qRound(g.textHeight * scale));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    const double width = QFontMetricsF(font).horizontalAdvance(g.text);
    p.drawText(QPointF(g.label.x() * scale - width / 2, g.label.y() * scale), g.text);
    return img;
}

int difference(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

TEST(WmfThirdParty, OtherWritersDrawingMatchesAReferenceRaster) {
    const Geometry g;
    const QSize size(400, 300);
    const QImage ours = render(written(g), size.width(), size.height());
    const QImage ref = reference(g, size);
    ASSERT_EQ(ours.size(), ref.size());

    int drawn = 0, mismatched = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QColor r = ref.pixelColor(x, y);
            drawn += r != QColor(Qt::white);
            mismatched += difference(ours.pixelColor(x, y), r) > 150;
        }
    EXPECT_GT(drawn, size.width() * size.height() / 5);  // the comparison is not between blanks
    EXPECT_LT(mismatched, size.width() * size.height() / 100) << mismatched << " pixels differ";

    // Each part where the reference has it: fills and borders by colour, text by its ink.
    const auto box = [](const QImage& img, QRect area, auto ink) {
        QRect found;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (ink(img.pixelColor(x, y))) found = found.united(QRect(x, y, 1, 1));
        return found;
    };
    const auto isRed = [](const QColor& c) { return c.red() > 150 && c.green() < 80; };
    const auto isText = [](const QColor& c) { return isDark(c); };
    const QRect textArea(200, 60, 200, 70);
    for (const auto& [name, area, ink] : {std::tuple{"wire", QRect(0, 0, 400, 300), std::function<bool(const QColor&)>(isRed)},
                                          std::tuple{"label", textArea, std::function<bool(const QColor&)>(isText)}}) {
        const QRect a = box(ours, area, ink);
        const QRect b = box(ref, area, ink);
        ASSERT_FALSE(b.isEmpty()) << name;
        EXPECT_NEAR(a.left(), b.left(), 2) << name;
        EXPECT_NEAR(a.right(), b.right(), 2) << name;
        EXPECT_NEAR(a.top(), b.top(), 2) << name;
        EXPECT_NEAR(a.bottom(), b.bottom(), 2) << name;
    }
}

}  // namespace
}  // namespace krv::wmf::test
