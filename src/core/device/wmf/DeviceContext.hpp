#pragma once
// The state a playing metafile keeps, as a device context keeps it: mapping, selected objects,
// colours and modes, current position, clipping; and how that state turns into device-space
// pens, brushes and fonts.
#include <cstdint>
#include <memory>
#include <variant>

#include "core/device/wmf/Canvas.hpp"
#include "core/device/wmf/Player.hpp"
#include "core/device/wmf/WmfFormat.hpp"
#include "core/device/wmf/WmfRecords.hpp"

namespace krv::wmf {

struct BrushObject {
    args::Brush brush;
    std::shared_ptr<const Bitmap> pattern;  // pattern brushes
    bool unknownPattern = false;            // a pattern the player cannot show
};
struct RegionObject {
    std::shared_ptr<const args::Region> region;
};
struct PaletteObject {};
using Object = std::variant<std::monostate, args::Pen, BrushObject, args::Font, RegionObject, PaletteObject>;

struct DPoint {
    double x = 0;
    double y = 0;
};

// Logical to device: x' = ax * x + bx, y' = ay * y + by.
struct Affine {
    double ax = 1, bx = 0, ay = 1, by = 0;
    PointF map(double x, double y) const { return {ax * x + bx, ay * y + by}; }
    PointF map(Point16 p) const { return map(p.x, p.y); }
    RectF map(const Rect16& r) const {
        const PointF a = map(r.left, r.top);
        const PointF b = map(r.right, r.bottom);
        return {a.x, a.y, b.x, b.y};
    }
};

struct DcState {
    std::uint16_t mapMode = MM_ANISOTROPIC;
    DPoint windowOrg, windowExt, viewportOrg, viewportExt;
    args::Pen pen;  // black, thinnest, solid
    BrushObject brush{args::Brush{BS_SOLID, ColorRef{255, 255, 255, 0}, 0}, nullptr, false};
    args::Font font;
    ColorRef textColor{0, 0, 0, 0};
    ColorRef bkColor{255, 255, 255, 0};
    bool bkOpaque = true;
    std::uint16_t textAlign = 0;
    bool winding = false;
    std::int16_t charExtra = 0;
    DPoint position;  // current position, logical
    Clip clip;
};

Rgb toRgb(ColorRef c);
// Logical coordinates to device coordinates under the state's map mode, window and viewport.
Affine logicalToDevice(const DcState& dc, const Frame& frame);
PenStyle penStyle(const DcState& dc, const Affine& m);
BrushStyle brushStyle(const BrushObject& b);
FontStyle fontStyle(const DcState& dc, const Affine& m);

}  // namespace krv::wmf
