#include "core/device/wmf/PictureFrame.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace krv::wmf {

namespace {

// Collects the extent of everything drawn, for files that do not say how large they are.
class BoundsCanvas : public Canvas {
public:
    void setClip(const Clip&) override {}
    void polygons(const std::vector<std::vector<PointF>>& polygons, const Paint&) override {
        for (const auto& poly : polygons) add(poly);
    }
    void polyline(const std::vector<PointF>& points, const Paint&) override { add(points); }
    void ellipse(const RectF& r, const Paint&) override { add(r); }
    void roundRect(const RectF& r, double, double, const Paint&) override { add(r); }
    void fill(const std::vector<RectF>& rects, const Paint&) override {
        for (const RectF& r : rects) add(r);
    }
    double text(const TextRun& run) override {
        add(run.origin);
        return 0;
    }
    void bitmap(const RectF& dest, const Bitmap&, const RectF&, std::uint32_t) override { add(dest); }

    std::optional<RectF> bounds() const {
        if (!(left_ <= right_) || !(top_ <= bottom_)) return std::nullopt;
        return RectF{left_, top_, right_, bottom_};
    }

private:
    void add(const PointF& p) {
        left_ = std::min(left_, p.x);
        right_ = std::max(right_, p.x);
        top_ = std::min(top_, p.y);
        bottom_ = std::max(bottom_, p.y);
    }
    void add(const std::vector<PointF>& points) {
        for (const PointF& p : points) add(p);
    }
    void add(const RectF& r) {
        add(PointF{r.left, r.top});
        add(PointF{r.right, r.bottom});
    }

    double left_ = std::numeric_limits<double>::infinity();
    double top_ = std::numeric_limits<double>::infinity();
    double right_ = -std::numeric_limits<double>::infinity();
    double bottom_ = -std::numeric_limits<double>::infinity();
};

bool hasArea(const RectF& r) { return r.width() != 0 && r.height() != 0; }

double unitsPerInch(const Metafile& mf) {
    return mf.placeable && mf.placeable->inch != 0 ? mf.placeable->inch : 1440.0;
}

}  // namespace

std::optional<RectF> pictureRect(const Metafile& mf) {
    if (mf.placeable) {
        const Rect16& b = mf.placeable->bbox;
        const RectF r{static_cast<double>(b.left), static_cast<double>(b.top), static_cast<double>(b.right),
                      static_cast<double>(b.bottom)};
        if (hasArea(r)) return r;
    }
    if (mf.firstWindowExt) {
        const Point16 org = mf.firstWindowOrg.value_or(Point16{});
        const Point16 ext = *mf.firstWindowExt;
        const RectF r{static_cast<double>(org.x), static_cast<double>(org.y), static_cast<double>(org.x) + ext.x,
                      static_cast<double>(org.y) + ext.y};
        if (hasArea(r)) return r;
    }
    // Measured with the logical units as device units.
    BoundsCanvas measure;
    const RectF unit{0, 0, 1, 1};
    play(mf, Frame{unit, unit, unitsPerInch(mf)}, measure);
    const auto bounds = measure.bounds();
    if (!bounds) return std::nullopt;
    RectF r = *bounds;
    // A picture of only horizontal or vertical lines still gets a frame.
    if (r.width() == 0) r.right = r.left + 1;
    if (r.height() == 0) r.bottom = r.top + 1;
    return r;
}

RectF fitInto(const RectF& picture, const RectF& area) {
    const double pw = std::abs(picture.width());
    const double ph = std::abs(picture.height());
    if (!(pw > 0) || !(ph > 0)) return {area.left, area.top, area.left, area.top};
    const double scale = std::min(area.width() / pw, area.height() / ph);
    const double w = pw * scale;
    const double h = ph * scale;
    const double left = area.left + (area.width() - w) / 2;
    const double top = area.top + (area.height() - h) / 2;
    return {left, top, left + w, top + h};
}

std::optional<Frame> frameFor(const Metafile& mf, const RectF& area) {
    const auto picture = pictureRect(mf);
    if (!picture) return std::nullopt;
    return Frame{*picture, fitInto(*picture, area), unitsPerInch(mf)};
}

}  // namespace krv::wmf
