#pragma once
// What the player hands to a drawing surface: shapes in device coordinates with the pen, brush
// and font already mapped from the metafile's logical units. The Qt layer draws them; tests
// and the picture measurement record them.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/device/wmf/Dib.hpp"

namespace krv::wmf {

struct PointF {
    double x = 0;
    double y = 0;
};

struct RectF {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    double width() const { return right - left; }
    double height() const { return bottom - top; }
    // Left above right and top above bottom.
    RectF normalized() const {
        RectF r = *this;
        if (r.left > r.right) std::swap(r.left, r.right);
        if (r.top > r.bottom) std::swap(r.top, r.bottom);
        return r;
    }
};

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct PenStyle {
    enum class Line { Solid, Dash, Dot, DashDot, DashDotDot, Null };
    enum class Cap { Round, Square, Flat };
    enum class Join { Round, Bevel, Miter };
    Line line = Line::Solid;
    double width = 0;  // device units; 0: the thinnest line the device draws
    Rgb color;
    Cap cap = Cap::Round;
    Join join = Join::Round;
};

struct BrushStyle {
    enum class Kind { Solid, Null, Hatched, Pattern };
    enum class Hatch { Horizontal, Vertical, ForwardDiagonal, BackwardDiagonal, Cross, DiagonalCross };
    Kind kind = Kind::Solid;
    Rgb color{255, 255, 255};
    Hatch hatch = Hatch::Horizontal;
    std::shared_ptr<const Bitmap> pattern;  // with Kind::Pattern
};

struct FontStyle {
    std::string face;
    double height = 0;        // device units; 0: the device's default size
    bool cellHeight = false;  // height includes the internal leading (positive height in the file)
    double width = 0;         // average character width in device units; 0: the font's own
    double escapement = 0;    // degrees, counter-clockwise on the screen
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t pitchAndFamily = 0;
    friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

// Everything a filled or stroked shape needs besides its geometry.
struct Paint {
    PenStyle pen;
    BrushStyle brush;
    bool opaqueBackground = true;  // gaps of hatches and dashes show the background colour
    Rgb background{255, 255, 255};
    bool winding = false;  // fill rule: winding instead of alternate
};

struct TextRun {
    PointF origin;
    std::u16string text;
    std::vector<double> advances;  // per character in device units; empty: the font's own
    std::uint16_t align = 0;       // TA_* flags
    FontStyle font;
    Rgb color;
    bool opaqueBackground = true;
    Rgb background{255, 255, 255};
    bool clipped = false;
    RectF clip;                // with clipped
    double characterExtra = 0;  // extra space after every character, device units
};

// The clipping the records set up, on top of the picture's own frame.
struct ClipOp {
    enum class Kind { Intersect, Exclude, Region };
    Kind kind = Kind::Intersect;
    std::shared_ptr<const std::vector<RectF>> rects;  // one rectangle, or the region's rectangles
};
using Clip = std::vector<ClipOp>;

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setClip(const Clip& clip) = 0;
    // Filled with the brush by the fill rule, every polygon closed and outlined with the pen.
    virtual void polygons(const std::vector<std::vector<PointF>>& polygons, const Paint& paint) = 0;
    virtual void polyline(const std::vector<PointF>& points, const Paint& paint) = 0;
    virtual void ellipse(const RectF& bounds, const Paint& paint) = 0;
    virtual void roundRect(const RectF& bounds, double rx, double ry, const Paint& paint) = 0;
    // Filled with the brush, no outline.
    virtual void fill(const std::vector<RectF>& rects, const Paint& paint) = 0;
    // Returns the advance of the text along its baseline in device units.
    virtual double text(const TextRun& run) = 0;
    // `source` in bitmap pixels, top line 0; a negative width or height mirrors.
    virtual void bitmap(const RectF& dest, const Bitmap& bitmap, const RectF& source, std::uint32_t rop) = 0;
};

}  // namespace krv::wmf
