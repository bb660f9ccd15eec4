#pragma once
// Draws what the metafile player hands over with a QPainter, in the painter's current
// coordinates, inside a base clip (the picture's frame).
#include <QFont>
#include <QPainterPath>
#include <optional>

#include "core/device/wmf/Canvas.hpp"

class QPainter;
class QPaintDevice;

namespace krv::wmf {

class QtCanvas : public Canvas {
public:
    QtCanvas(QPainter& painter, QPainterPath baseClip);

    void setClip(const Clip& clip) override;
    void polygons(const std::vector<std::vector<PointF>>& polygons, const Paint& paint) override;
    void polyline(const std::vector<PointF>& points, const Paint& paint) override;
    void ellipse(const RectF& bounds, const Paint& paint) override;
    void roundRect(const RectF& bounds, double rx, double ry, const Paint& paint) override;
    void fill(const std::vector<RectF>& rects, const Paint& paint) override;
    double text(const TextRun& run) override;
    void bitmap(const RectF& dest, const Bitmap& bitmap, const RectF& source, std::uint32_t rop) override;

private:
    void fillPath(const QPainterPath& path, const Paint& paint);
    void strokePath(const QPainterPath& path, const Paint& paint);

    QPainter& painter_;
    QPainterPath baseClip_;
    double thinnest_;  // one device pixel in painter units
    // Files draw many texts in one font; finding it once is much cheaper.
    std::optional<FontStyle> lastStyle_;
    bool lastFontOk_ = false;
    QFont lastFont_;
};

// The font for a style on a device: the face mapped to an installed family, the height in
// device units turned into a size. False when the text is too small to draw.
bool makeFont(const FontStyle& style, const QPaintDevice* device, QFont& font);

}  // namespace krv::wmf
