#include "gui/wmf/QtCanvas.hpp"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/device/wmf/WmfFormat.hpp"
#include "gui/wmf/FontMapping.hpp"

namespace krv::wmf {

namespace {

constexpr std::uint32_t kNotSrcCopy = 0x00330008;
constexpr double kSmallestText = 0.25;  // device units; smaller text is not drawn

QColor toQ(Rgb c) { return QColor(c.r, c.g, c.b); }
QRectF toQ(const RectF& r) { return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized(); }

QPolygonF toQ(const std::vector<PointF>& points) {
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const PointF& p : points) poly << QPointF(p.x, p.y);
    return poly;
}

Qt::BrushStyle hatchStyle(BrushStyle::Hatch h) {
    switch (h) {
    case BrushStyle::Hatch::Horizontal: return Qt::HorPattern;
    case BrushStyle::Hatch::Vertical: return Qt::VerPattern;
    case BrushStyle::Hatch::ForwardDiagonal: return Qt::FDiagPattern;
    case BrushStyle::Hatch::BackwardDiagonal: return Qt::BDiagPattern;
    case BrushStyle::Hatch::Cross: return Qt::CrossPattern;
    case BrushStyle::Hatch::DiagonalCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

QImage toImage(const Bitmap& bmp) {
    // Wraps the pixels without copying; callers copy before the bitmap goes away.
    return QImage(reinterpret_cast<const uchar*>(bmp.pixels.data()), bmp.width, bmp.height, bmp.width * 4,
                  QImage::Format_ARGB32);
}

QBrush toBrush(const BrushStyle& b) {
    switch (b.kind) {
    case BrushStyle::Kind::Null: return Qt::NoBrush;
    case BrushStyle::Kind::Hatched: return QBrush(toQ(b.color), hatchStyle(b.hatch));
    case BrushStyle::Kind::Pattern:
        if (b.pattern && b.pattern->width > 0) return QBrush(toImage(*b.pattern).copy());
        return QBrush(QColor(128, 128, 128));
    case BrushStyle::Kind::Solid: break;
    }
    return QBrush(toQ(b.color));
}

QPen toPen(const PenStyle& s, double thinnest) {
    QPen pen(toQ(s.color));
    pen.setWidthF(std::max(s.width, thinnest));
    switch (s.cap) {
    case PenStyle::Cap::Round: pen.setCapStyle(Qt::RoundCap); break;
    case PenStyle::Cap::Square: pen.setCapStyle(Qt::SquareCap); break;
    case PenStyle::Cap::Flat: pen.setCapStyle(Qt::FlatCap); break;
    }
    switch (s.join) {
    case PenStyle::Join::Round: pen.setJoinStyle(Qt::RoundJoin); break;
    case PenStyle::Join::Bevel: pen.setJoinStyle(Qt::BevelJoin); break;
    case PenStyle::Join::Miter: pen.setJoinStyle(Qt::MiterJoin); break;
    }
    // Dash lengths in pen widths, close to what the drawing programs show.
    switch (s.line) {
    case PenStyle::Line::Dash: pen.setDashPattern({6, 2}); break;
    case PenStyle::Line::Dot: pen.setDashPattern({1, 1}); break;
    case PenStyle::Line::DashDot: pen.setDashPattern({4, 2, 1, 2}); break;
    case PenStyle::Line::DashDotDot: pen.setDashPattern({4, 1, 1, 1, 1, 1}); break;
    case PenStyle::Line::Null: pen.setStyle(Qt::NoPen); break;
    case PenStyle::Line::Solid: break;
    }
    if (s.line == PenStyle::Line::Dot || s.line == PenStyle::Line::DashDot || s.line == PenStyle::Line::DashDotDot)
        pen.setCapStyle(Qt::FlatCap);  // round caps would close the gaps of dots
    return pen;
}

}  // namespace

bool makeFont(const FontStyle& style, const QPaintDevice* device, QFont& font) {
    font = QFont();
    font.setFamilies(fontFamiliesFor(style.face, style.pitchAndFamily));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(style.weight, 1, 1000)));
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    // Outlines as designed: the picture is scaled, hinting would shift the widths.
    font.setHintingPreference(QFont::PreferNoHinting);
    const double dpi = device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
    const auto pointsFor = [dpi](double px) { return px * 72.0 / dpi; };

    double em = style.height;
    if (style.cellHeight) {
        // A positive height is the cell (ascent plus descent); find the size whose cell fits.
        QFont probe = font;
        probe.setPointSizeF(pointsFor(100));
        const QFontMetricsF m(probe, device);
        const double cell = m.ascent() + m.descent();
        if (cell > 0) em = style.height * 100 / cell;
    }
    if (!(em >= kSmallestText)) return false;
    font.setPointSizeF(pointsFor(em));
    if (style.width > 0) {
        const QFontMetricsF m(font, device);
        const double average = m.averageCharWidth();
        if (average > 0) font.setStretch(std::clamp(static_cast<int>(std::lround(100 * style.width / average)), 1, 4000));
    }
    return true;
}

QtCanvas::QtCanvas(QPainter& painter, QPainterPath baseClip)
    : painter_(painter), baseClip_(std::move(baseClip)) {
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double scale = std::sqrt(std::abs(painter.transform().determinant()));
    thinnest_ = 1.0 / (ratio > 0 ? ratio : 1.0) / (scale > 0 ? scale : 1.0);
}

void QtCanvas::setClip(const Clip& clip) {
    QPainterPath path = baseClip_;
    for (const ClipOp& op : clip) {
        QPainterPath rects;
        rects.setFillRule(Qt::WindingFill);
        for (const RectF& r : *op.rects) rects.addRect(toQ(r));
        path = op.kind == ClipOp::Kind::Exclude ? path.subtracted(rects) : path.intersected(rects);
    }
    painter_.setClipPath(path);
}

void QtCanvas::fillPath(const QPainterPath& path, const Paint& paint) {
    if (paint.brush.kind == BrushStyle::Kind::Null) return;
    // In opaque mode the gaps of a hatch show the background colour.
    if (paint.brush.kind == BrushStyle::Kind::Hatched && paint.opaqueBackground)
        painter_.fillPath(path, toQ(paint.background));
    painter_.fillPath(path, toBrush(paint.brush));
}

void QtCanvas::strokePath(const QPainterPath& path, const Paint& paint) {
    if (paint.pen.line == PenStyle::Line::Null) return;
    const QPen pen = toPen(paint.pen, thinnest_);
    if (paint.pen.line != PenStyle::Line::Solid && paint.opaqueBackground) {
        QPen gaps = pen;
        gaps.setStyle(Qt::SolidLine);
        gaps.setColor(toQ(paint.background));
        painter_.strokePath(path, gaps);
    }
    painter_.strokePath(path, pen);
}

void QtCanvas::polygons(const std::vector<std::vector<PointF>>& polygons, const Paint& paint) {
    QPainterPath path;
    path.setFillRule(paint.winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const auto& poly : polygons) {
        if (poly.size() < 2) continue;
        path.addPolygon(toQ(poly));
        path.closeSubpath();
    }
    fillPath(path, paint);
    strokePath(path, paint);
}

void QtCanvas::polyline(const std::vector<PointF>& points, const Paint& paint) {
    if (points.size() < 2) return;
    QPainterPath path;
    path.addPolygon(toQ(points));
    strokePath(path, paint);
}

void QtCanvas::ellipse(const RectF& bounds, const Paint& paint) {
    QPainterPath path;
    path.addEllipse(toQ(bounds));
    fillPath(path, paint);
    strokePath(path, paint);
}

void QtCanvas::roundRect(const RectF& bounds, double rx, double ry, const Paint& paint) {
    QPainterPath path;
    path.addRoundedRect(toQ(bounds), rx, ry);
    fillPath(path, paint);
    strokePath(path, paint);
}

void QtCanvas::fill(const std::vector<RectF>& rects, const Paint& paint) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const RectF& r : rects) path.addRect(toQ(r));
    fillPath(path, paint);
}

double QtCanvas::text(const TextRun& run) {
    if (!lastStyle_ || !(*lastStyle_ == run.font)) {
        lastStyle_ = run.font;
        lastFontOk_ = makeFont(run.font, painter_.device(), lastFont_);
    }
    if (!lastFontOk_) return 0;
    QFont font = lastFont_;
    if (run.characterExtra != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, run.characterExtra);
    const QFontMetricsF metrics(font, painter_.device());
    const QString text = QString::fromUtf16(run.text.data(), static_cast<qsizetype>(run.text.size()));

    // Character positions: the file's advances where it gives them, else the font's.
    std::vector<double> offsets;
    double width = 0;
    const bool ownAdvances = !run.advances.empty();
    if (ownAdvances) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            offsets.push_back(width);
            width += static_cast<std::size_t>(i) < run.advances.size() ? run.advances[static_cast<std::size_t>(i)]
                                                                         : metrics.horizontalAdvance(text.at(i));
        }
    } else {
        width = metrics.horizontalAdvance(text);
    }

    double x = 0;
    switch (run.align & TA_HORIZONTAL_MASK) {
    case TA_CENTER: x = -width / 2; break;
    case TA_RIGHT: x = -width; break;
    default: break;
    }
    double baseline = metrics.ascent();  // top
    switch (run.align & TA_VERTICAL_MASK) {
    case TA_BASELINE: baseline = 0; break;
    case TA_BOTTOM: baseline = -metrics.descent(); break;
    default: break;
    }

    painter_.save();
    if (run.clipped) painter_.setClipRect(toQ(run.clip), Qt::IntersectClip);
    painter_.translate(run.origin.x, run.origin.y);
    painter_.rotate(-run.font.escapement);
    if (run.opaqueBackground)
        painter_.fillRect(QRectF(x, baseline - metrics.ascent(), width, metrics.ascent() + metrics.descent()),
                          toQ(run.background));
    painter_.setFont(font);
    painter_.setPen(toQ(run.color));
    if (ownAdvances) {
        for (qsizetype i = 0; i < text.size(); ++i)
            painter_.drawText(QPointF(x + offsets[static_cast<std::size_t>(i)], baseline), QString(text.at(i)));
    } else {
        painter_.drawText(QPointF(x, baseline), text);
    }
    painter_.restore();
    return width;
}

void QtCanvas::bitmap(const RectF& dest, const Bitmap& bmp, const RectF& source, std::uint32_t rop) {
    if (source.width() == 0 || source.height() == 0) return;
    // Only the part of the source inside the bitmap is copied, mapped to its share of the
    // destination; a negative scale mirrors.
    const QRect inside = toQ(source).intersected(QRectF(0, 0, bmp.width, bmp.height)).toAlignedRect();
    if (inside.isEmpty()) return;
    const double sx = dest.width() / source.width();
    const double sy = dest.height() / source.height();
    const auto mapX = [&](double x) { return dest.left + (x - source.left) * sx; };
    const auto mapY = [&](double y) { return dest.top + (y - source.top) * sy; };
    const QRectF target = QRectF(QPointF(mapX(inside.x()), mapY(inside.y())),
                                 QPointF(mapX(inside.x() + inside.width()), mapY(inside.y() + inside.height())))
                              .normalized();
    QImage image = toImage(bmp).copy(inside);
    if (sx < 0 || sy < 0) image = image.mirrored(sx < 0, sy < 0);
    if (rop == kNotSrcCopy) image.invertPixels();

    painter_.save();
    // Enlarged bitmaps keep their pixels sharp, as the blits show them; reduced ones are
    // averaged rather than thinned out.
    const bool reduced = target.width() / thinnest_ < image.width() || target.height() / thinnest_ < image.height();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, reduced);
    switch (rop) {
    case ROP_SRCAND: painter_.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case ROP_SRCPAINT: painter_.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    case ROP_SRCINVERT: painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    default: break;
    }
    painter_.drawImage(target, image);
    painter_.restore();
}

}  // namespace krv::wmf
