#pragma once
// A canvas that remembers what it was asked to draw, for checking the player's mapping and
// state without pixels.
#include <string>
#include <vector>

#include "core/device/wmf/Canvas.hpp"

namespace krv::wmf::test {

struct Drawn {
    std::string kind;  // polygons, polyline, ellipse, roundRect, fill, text, bitmap
    std::vector<std::vector<PointF>> points;
    RectF rect;  // ellipse, round rectangle, bitmap destination, first fill rectangle
    RectF source;
    double rx = 0, ry = 0;
    Paint paint;
    TextRun text;
    Bitmap bitmap;
    Clip clip;  // the clipping in force when it was drawn
};

class RecordingCanvas : public Canvas {
public:
    void setClip(const Clip& clip) override {
        clip_ = clip;
        ++clipChanges;
    }
    void polygons(const std::vector<std::vector<PointF>>& polygons, const Paint& paint) override {
        add({"polygons", polygons, {}, {}, 0, 0, paint, {}, {}, clip_});
    }
    void polyline(const std::vector<PointF>& points, const Paint& paint) override {
        add({"polyline", {points}, {}, {}, 0, 0, paint, {}, {}, clip_});
    }
    void ellipse(const RectF& r, const Paint& paint) override { add({"ellipse", {}, r, {}, 0, 0, paint, {}, {}, clip_}); }
    void roundRect(const RectF& r, double rx, double ry, const Paint& paint) override {
        add({"roundRect", {}, r, {}, rx, ry, paint, {}, {}, clip_});
    }
    void fill(const std::vector<RectF>& rects, const Paint& paint) override {
        add({"fill", {}, rects.empty() ? RectF{} : rects.front(), {}, 0, 0, paint, {}, {}, clip_});
        fillCounts.push_back(rects.size());
    }
    double text(const TextRun& run) override {
        add({"text", {}, {}, {}, 0, 0, {}, run, {}, clip_});
        return textAdvance * static_cast<double>(run.text.size());
    }
    void bitmap(const RectF& dest, const Bitmap& bmp, const RectF& source, std::uint32_t) override {
        add({"bitmap", {}, dest, source, 0, 0, {}, {}, bmp, clip_});
    }

    std::vector<Drawn> drawn;
    std::vector<std::size_t> fillCounts;
    int clipChanges = 0;
    double textAdvance = 10;  // device units per character the "font" advances

private:
    void add(Drawn d) { drawn.push_back(std::move(d)); }
    Clip clip_;
};

}  // namespace krv::wmf::test
