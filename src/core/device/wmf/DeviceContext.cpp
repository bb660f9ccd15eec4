#include "core/device/wmf/DeviceContext.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace krv::wmf {

namespace {

constexpr double kDefaultFontHeight = 12;  // device units, when the file selects no font

constexpr std::array<Rgb, 16> kVga = {{{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                       {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                       {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                       {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};

}  // namespace

Rgb toRgb(ColorRef c) {
    if (c.flags == 1) {  // palette index; without a realised palette the standard colours
        const unsigned index = c.r | (c.g << 8);
        return index < kVga.size() ? kVga[index] : Rgb{0, 0, 0};
    }
    return {c.r, c.g, c.b};
}

Affine logicalToDevice(const DcState& dc, const Frame& frame) {
    // Logical to reference units (the picture's units) as the map mode says.
    double sx = 1, sy = 1;
    switch (dc.mapMode) {
    case MM_TEXT: break;
    case MM_LOMETRIC: sx = frame.unitsPerInch / 254.0; sy = -sx; break;
    case MM_HIMETRIC: sx = frame.unitsPerInch / 2540.0; sy = -sx; break;
    case MM_LOENGLISH: sx = frame.unitsPerInch / 100.0; sy = -sx; break;
    case MM_HIENGLISH: sx = frame.unitsPerInch / 1000.0; sy = -sx; break;
    case MM_TWIPS: sx = frame.unitsPerInch / 1440.0; sy = -sx; break;
    default:  // isotropic and anisotropic
        sx = dc.viewportExt.x / dc.windowExt.x;
        sy = dc.viewportExt.y / dc.windowExt.y;
        if (dc.mapMode == MM_ISOTROPIC) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
        break;
    }
    // Reference units onto the device rectangle.
    const double fx = frame.device.width() / frame.picture.width();
    const double fy = frame.device.height() / frame.picture.height();
    Affine a;
    a.ax = sx * fx;
    a.ay = sy * fy;
    a.bx = frame.device.left + (dc.viewportOrg.x - dc.windowOrg.x * sx - frame.picture.left) * fx;
    a.by = frame.device.top + (dc.viewportOrg.y - dc.windowOrg.y * sy - frame.picture.top) * fy;
    return a;
}

PenStyle penStyle(const DcState& dc, const Affine& m) {
    PenStyle p;
    switch (dc.pen.style & PS_STYLE_MASK) {
    case 1: p.line = PenStyle::Line::Dash; break;
    case 2: p.line = PenStyle::Line::Dot; break;
    case 3: p.line = PenStyle::Line::DashDot; break;
    case 4: p.line = PenStyle::Line::DashDotDot; break;
    case 5: p.line = PenStyle::Line::Null; break;
    case 8: p.line = PenStyle::Line::Dot; break;  // alternate pixels
    default: p.line = PenStyle::Line::Solid; break;  // solid, inside frame, user style
    }
    switch (dc.pen.style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE: p.cap = PenStyle::Cap::Square; break;
    case PS_ENDCAP_FLAT: p.cap = PenStyle::Cap::Flat; break;
    default: break;
    }
    switch (dc.pen.style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL: p.join = PenStyle::Join::Bevel; break;
    case PS_JOIN_MITER: p.join = PenStyle::Join::Miter; break;
    default: break;
    }
    // The width is a logical length along x.
    p.width = std::abs(static_cast<double>(dc.pen.width) * m.ax);
    p.color = toRgb(dc.pen.color);
    return p;
}

BrushStyle brushStyle(const BrushObject& b) {
    BrushStyle s;
    s.color = toRgb(b.brush.color);
    if (b.pattern) {
        s.kind = BrushStyle::Kind::Pattern;
        s.pattern = b.pattern;
        return s;
    }
    if (b.unknownPattern) {
        s.color = {128, 128, 128};
        return s;
    }
    switch (b.brush.style) {
    case BS_NULL: s.kind = BrushStyle::Kind::Null; break;
    case BS_HATCHED:
        s.kind = BrushStyle::Kind::Hatched;
        switch (b.brush.hatch) {
        case HS_VERTICAL: s.hatch = BrushStyle::Hatch::Vertical; break;
        case HS_FDIAGONAL: s.hatch = BrushStyle::Hatch::ForwardDiagonal; break;
        case HS_BDIAGONAL: s.hatch = BrushStyle::Hatch::BackwardDiagonal; break;
        case HS_CROSS: s.hatch = BrushStyle::Hatch::Cross; break;
        case HS_DIAGCROSS: s.hatch = BrushStyle::Hatch::DiagonalCross; break;
        case HS_HORIZONTAL: s.hatch = BrushStyle::Hatch::Horizontal; break;
        default: s.kind = BrushStyle::Kind::Solid; break;
        }
        break;
    default: s.kind = BrushStyle::Kind::Solid; break;
    }
    return s;
}

FontStyle fontStyle(const DcState& dc, const Affine& m) {
    const args::Font& f = dc.font;
    FontStyle s;
    s.face = f.face;
    s.height = f.height == 0 ? kDefaultFontHeight : std::abs(static_cast<double>(f.height) * m.ay);
    s.cellHeight = f.height > 0;
    s.width = std::abs(static_cast<double>(f.width) * m.ax);
    s.escapement = f.escapement / 10.0;
    s.weight = f.weight <= 0 ? 400 : std::min<int>(f.weight, 1000);
    s.italic = f.italic;
    s.underline = f.underline;
    s.strikeOut = f.strikeOut;
    s.pitchAndFamily = f.pitchAndFamily;
    return s;
}

}  // namespace krv::wmf
