#include "core/device/wmf/Player.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <variant>

#include "core/device/wmf/DeviceContext.hpp"
#include "core/device/wmf/TextCodec.hpp"
#include "core/device/wmf/WmfFormat.hpp"
#include "core/device/wmf/WmfRecords.hpp"

namespace krv::wmf {

namespace {

constexpr std::size_t kMaxArcSegments = 4096;
constexpr const char* kSymbolFace = "Symbol";

RectF intersect(const RectF& a, const RectF& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

class Player {
public:
    Player(const Metafile& mf, const Frame& frame, Canvas& canvas)
        : mf_(mf), frame_(frame), canvas_(canvas), objects_(mf.header.numberOfObjects) {
        dc_.windowOrg = dc_.viewportOrg = {frame.picture.left, frame.picture.top};
        dc_.windowExt = dc_.viewportExt = {frame.picture.width(), frame.picture.height()};
    }

    void run() {
        Record rec;
        std::string error;
        for (const RecordRef& ref : mf_.records) {
            // The parser has listed the records that fail here; they are skipped. A skipped object
            // still takes its slot, so the writer's numbers for the later objects stay right.
            if (decodeRecord(mf_, ref, rec, error)) step(rec);
            else if (createsObject(ref.function)) takeSlot(PaletteObject{});
        }
    }

private:
    void step(const Record& rec);
    void mappingRecord(std::uint16_t function, Point16 p);
    void scaleExtent(DPoint& ext, const args::Scale& s);
    void createObject(const Record& rec);
    void takeSlot(Object object);
    void selectObject(std::uint16_t index);
    void restoreDC(std::int16_t n);
    void addClip(ClipOp::Kind kind, const RectF& r);
    void selectRegion(std::uint16_t index);
    void offsetClip(Point16 p);
    void arc(std::uint16_t function, const args::Arc& a);
    void text(const args::Text& t, bool extended);
    void bitmap(const args::Bitmap& b);
    void patternFill(const RectF& dest, std::uint32_t rop);
    void fillRegion(std::uint16_t regionIndex, const BrushObject& brush);

    Affine mapping() const { return logicalToDevice(dc_, frame_); }
    std::vector<PointF> mapPoints(const std::vector<Point16>& points) const;
    Paint paint() const;
    PenStyle pen() const { return penStyle(dc_, mapping()); }
    BrushStyle brush(const BrushObject& b) const { return brushStyle(b); }
    FontStyle font() const { return fontStyle(dc_, mapping()); }
    void clipChanged() { canvas_.setClip(dc_.clip); }
    const RegionObject* regionAt(std::uint16_t index) const {
        return index < objects_.size() ? std::get_if<RegionObject>(&objects_[index]) : nullptr;
    }

    const Metafile& mf_;
    Frame frame_;
    Canvas& canvas_;
    DcState dc_;
    std::vector<DcState> saved_;
    std::vector<Object> objects_;
};


std::vector<PointF> Player::mapPoints(const std::vector<Point16>& points) const {
    const Affine m = mapping();
    std::vector<PointF> out;
    out.reserve(points.size());
    for (Point16 p : points) out.push_back(m.map(p));
    return out;
}



Paint Player::paint() const {
    Paint p;
    p.pen = pen();
    p.brush = brush(dc_.brush);
    p.opaqueBackground = dc_.bkOpaque;
    p.background = toRgb(dc_.bkColor);
    p.winding = dc_.winding;
    return p;
}


void Player::step(const Record& rec) {
    const Args& a = rec.args;
    switch (rec.function) {
    case fn::SetWindowOrg:
    case fn::SetWindowExt:
    case fn::SetViewportOrg:
    case fn::SetViewportExt:
    case fn::OffsetWindowOrg:
    case fn::OffsetViewportOrg:
        mappingRecord(rec.function, std::get<args::Point>(a).p);
        break;
    case fn::ScaleWindowExt: scaleExtent(dc_.windowExt, std::get<args::Scale>(a)); break;
    case fn::ScaleViewportExt: scaleExtent(dc_.viewportExt, std::get<args::Scale>(a)); break;
    case fn::SetMapMode: {
        const std::uint16_t mode = std::get<args::Word>(a).value;
        if (mode >= MM_TEXT && mode <= MM_ANISOTROPIC) dc_.mapMode = mode;
        break;
    }
    case fn::SaveDC:
        if (saved_.size() < kMaxSavedStates) saved_.push_back(dc_);
        break;
    case fn::RestoreDC: restoreDC(static_cast<std::int16_t>(std::get<args::Word>(a).value)); break;
    case fn::CreatePenIndirect:
    case fn::CreateBrushIndirect:
    case fn::CreateFontIndirect:
    case fn::CreatePalette:
    case fn::CreatePatternBrush:
    case fn::DibCreatePatternBrush:
    case fn::CreateRegion:
        createObject(rec);
        break;
    case fn::SelectObject: selectObject(std::get<args::Word>(a).value); break;
    case fn::DeleteObject: {
        const std::uint16_t index = std::get<args::Word>(a).value;
        // The device context keeps using a deleted object that is still selected.
        if (index < objects_.size()) objects_[index] = std::monostate{};
        break;
    }
    case fn::SetTextColor: dc_.textColor = std::get<args::Color>(a).color; break;
    case fn::SetBkColor: dc_.bkColor = std::get<args::Color>(a).color; break;
    case fn::SetBkMode: dc_.bkOpaque = std::get<args::Word>(a).value != BKMODE_TRANSPARENT; break;
    case fn::SetTextAlign: dc_.textAlign = std::get<args::Word>(a).value; break;
    case fn::SetPolyFillMode: dc_.winding = std::get<args::Word>(a).value == POLYFILL_WINDING; break;
    case fn::SetTextCharExtra: dc_.charExtra = static_cast<std::int16_t>(std::get<args::Word>(a).value); break;
    case fn::MoveTo: {
        const Point16 p = std::get<args::Point>(a).p;
        dc_.position = {static_cast<double>(p.x), static_cast<double>(p.y)};
        break;
    }
    case fn::LineTo: {
        const Point16 p = std::get<args::Point>(a).p;
        const Affine m = mapping();
        canvas_.polyline({m.map(dc_.position.x, dc_.position.y), m.map(p)}, paint());
        dc_.position = {static_cast<double>(p.x), static_cast<double>(p.y)};
        break;
    }
    case fn::Polyline: canvas_.polyline(mapPoints(std::get<args::Points>(a).points), paint()); break;
    case fn::Polygon: canvas_.polygons({mapPoints(std::get<args::Points>(a).points)}, paint()); break;
    case fn::PolyPolygon: {
        std::vector<std::vector<PointF>> polys;
        for (const auto& poly : std::get<args::PolyPolygon>(a).polygons) polys.push_back(mapPoints(poly));
        canvas_.polygons(polys, paint());
        break;
    }
    case fn::Rectangle: {
        const RectF r = mapping().map(std::get<args::Rect>(a).r);
        canvas_.polygons({{{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}}}, paint());
        break;
    }
    case fn::Ellipse: canvas_.ellipse(mapping().map(std::get<args::Rect>(a).r).normalized(), paint()); break;
    case fn::RoundRect: {
        const auto& rr = std::get<args::RoundRect>(a);
        const Affine m = mapping();
        canvas_.roundRect(m.map(rr.r).normalized(), std::abs(rr.width * m.ax) / 2, std::abs(rr.height * m.ay) / 2,
                          paint());
        break;
    }
    case fn::Arc:
    case fn::Pie:
    case fn::Chord:
        arc(rec.function, std::get<args::Arc>(a));
        break;
    case fn::TextOut: text(std::get<args::Text>(a), false); break;
    case fn::ExtTextOut: text(std::get<args::Text>(a), true); break;
    case fn::IntersectClipRect:
        addClip(ClipOp::Kind::Intersect, mapping().map(std::get<args::Rect>(a).r).normalized());
        break;
    case fn::ExcludeClipRect:
        addClip(ClipOp::Kind::Exclude, mapping().map(std::get<args::Rect>(a).r).normalized());
        break;
    case fn::SelectClipRegion: selectRegion(std::get<args::Word>(a).value); break;
    case fn::OffsetClipRgn: offsetClip(std::get<args::Point>(a).p); break;
    case fn::DibBitBlt:
    case fn::DibStretchBlt:
    case fn::StretchDib:
    case fn::SetDibToDev:
    case fn::BitBlt:
    case fn::StretchBlt:
        bitmap(std::get<args::Bitmap>(a));
        break;
    case fn::PatBlt: {
        const auto& b = std::get<args::Bitmap>(a);
        const Affine m = mapping();
        const PointF p = m.map(b.xDest, b.yDest);
        const PointF q = m.map(b.xDest + b.wDest, b.yDest + b.hDest);
        patternFill(RectF{p.x, p.y, q.x, q.y}.normalized(), b.rop);
        break;
    }
    case fn::SetPixel: {
        const auto& px = std::get<args::Pixel>(a);
        const PointF p = mapping().map(px.p);
        Paint fillPaint;
        fillPaint.brush.color = toRgb(px.color);
        canvas_.fill({{p.x, p.y, p.x + 1, p.y + 1}}, fillPaint);
        break;
    }
    case fn::FillRegion: {
        const auto& rb = std::get<args::RegionBrush>(a);
        if (rb.brush < objects_.size())
            if (const auto* b = std::get_if<BrushObject>(&objects_[rb.brush])) fillRegion(rb.region, *b);
        break;
    }
    case fn::PaintRegion: fillRegion(std::get<args::Word>(a).value, dc_.brush); break;
    default: break;  // records that do not change the picture, and unknown ones
    }
}

void Player::mappingRecord(std::uint16_t function, Point16 p) {
    const DPoint d{static_cast<double>(p.x), static_cast<double>(p.y)};
    const bool scalable = dc_.mapMode == MM_ISOTROPIC || dc_.mapMode == MM_ANISOTROPIC;
    switch (function) {
    case fn::SetWindowOrg: dc_.windowOrg = d; break;
    case fn::SetViewportOrg: dc_.viewportOrg = d; break;
    case fn::OffsetWindowOrg: dc_.windowOrg = {dc_.windowOrg.x + d.x, dc_.windowOrg.y + d.y}; break;
    case fn::OffsetViewportOrg: dc_.viewportOrg = {dc_.viewportOrg.x + d.x, dc_.viewportOrg.y + d.y}; break;
    // Extents count only in the scalable modes, and a zero extent is refused.
    case fn::SetWindowExt:
        if (scalable && p.x != 0 && p.y != 0) dc_.windowExt = d;
        break;
    case fn::SetViewportExt:
        if (scalable && p.x != 0 && p.y != 0) dc_.viewportExt = d;
        break;
    default: break;
    }
}

void Player::scaleExtent(DPoint& ext, const args::Scale& s) {
    if (dc_.mapMode != MM_ISOTROPIC && dc_.mapMode != MM_ANISOTROPIC) return;
    if (s.xDenom == 0 || s.yDenom == 0) return;
    const double x = std::trunc(ext.x * s.xNum / s.xDenom);
    const double y = std::trunc(ext.y * s.yNum / s.yDenom);
    if (x == 0 || y == 0) return;
    ext = {x, y};
}

void Player::takeSlot(Object object) {
    // A new object takes the lowest free slot; with none free it is lost, as in the device.
    const auto slot = std::find_if(objects_.begin(), objects_.end(),
                                   [](const Object& o) { return std::holds_alternative<std::monostate>(o); });
    if (slot != objects_.end()) *slot = std::move(object);
}

void Player::createObject(const Record& rec) {
    switch (rec.function) {
    case fn::CreatePenIndirect: takeSlot(std::get<args::Pen>(rec.args)); break;
    case fn::CreateBrushIndirect:
        takeSlot(BrushObject{std::get<args::Brush>(rec.args), nullptr, false});
        break;
    case fn::CreateFontIndirect: takeSlot(std::get<args::Font>(rec.args)); break;
    case fn::CreateRegion:
        takeSlot(RegionObject{std::make_shared<const args::Region>(std::get<args::Region>(rec.args))});
        break;
    case fn::CreatePatternBrush:
    case fn::DibCreatePatternBrush: {
        BrushObject b;
        b.brush.style = BS_DIBPATTERNPT;
        const auto& pb = std::get<args::PatternBrush>(rec.args);
        if (!pb.dib.empty()) {
            Bitmap bmp = decodeDib(pb.dib, pb.colorUsage);
            if (bmp.width > 0) b.pattern = std::make_shared<const Bitmap>(std::move(bmp));
        }
        b.unknownPattern = !b.pattern;
        takeSlot(std::move(b));
        break;
    }
    default: takeSlot(PaletteObject{}); break;
    }
}

void Player::selectObject(std::uint16_t index) {
    if (index >= objects_.size()) return;
    const Object& o = objects_[index];
    if (const auto* p = std::get_if<args::Pen>(&o)) dc_.pen = *p;
    else if (const auto* b = std::get_if<BrushObject>(&o)) dc_.brush = *b;
    else if (const auto* f = std::get_if<args::Font>(&o)) dc_.font = *f;
    else if (std::holds_alternative<RegionObject>(o)) selectRegion(index);
}

void Player::restoreDC(std::int16_t n) {
    // Negative: relative to the latest save; positive: the n-th saved state.
    const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(saved_.size());
    const std::ptrdiff_t index = n < 0 ? count + n : static_cast<std::ptrdiff_t>(n) - 1;
    if (n == 0 || index < 0 || index >= count) return;
    dc_ = std::move(saved_[static_cast<std::size_t>(index)]);
    saved_.resize(static_cast<std::size_t>(index));
    clipChanged();
}

void Player::addClip(ClipOp::Kind kind, const RectF& r) {
    Clip& clip = dc_.clip;
    // Successive intersections make one rectangle, so a long file does not grow the list.
    if (kind == ClipOp::Kind::Intersect && !clip.empty() && clip.back().kind == ClipOp::Kind::Intersect) {
        clip.back().rects = std::make_shared<const std::vector<RectF>>(1, intersect(clip.back().rects->front(), r));
    } else if (clip.size() < kMaxClipOps) {
        clip.push_back(ClipOp{kind, std::make_shared<const std::vector<RectF>>(1, r)});
    } else {
        return;
    }
    clipChanged();
}

void Player::selectRegion(std::uint16_t index) {
    dc_.clip.clear();
    if (const RegionObject* reg = regionAt(index)) {
        const Affine m = mapping();
        auto rects = std::make_shared<std::vector<RectF>>();
        for (const Rect16& r : reg->region->rects) rects->push_back(m.map(r).normalized());
        dc_.clip.push_back(ClipOp{ClipOp::Kind::Region, std::move(rects)});
    }
    // Any other index removes the clipping.
    clipChanged();
}

void Player::offsetClip(Point16 p) {
    const Affine m = mapping();
    const double dx = p.x * m.ax;
    const double dy = p.y * m.ay;
    for (ClipOp& op : dc_.clip) {
        auto moved = std::make_shared<std::vector<RectF>>(*op.rects);
        for (RectF& r : *moved) r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
        op.rects = std::move(moved);
    }
    clipChanged();
}

void Player::arc(std::uint16_t function, const args::Arc& a) {
    const Affine m = mapping();
    const RectF box = m.map(a.r).normalized();
    const double rx = box.width() / 2;
    const double ry = box.height() / 2;
    if (!(rx > 0) || !(ry > 0)) return;
    const double cx = box.left + rx;
    const double cy = box.top + ry;
    // The arc runs counter-clockwise on the device from the ray through the start point to
    // the ray through the end point; equal rays make a whole ellipse.
    const auto angleOf = [&](Point16 p) {
        const PointF d = m.map(p);
        return std::atan2(-(d.y - cy) / ry, (d.x - cx) / rx);
    };
    const double start = angleOf(a.start);
    double sweep = angleOf(a.end) - start;
    while (sweep <= 0) sweep += 2 * std::numbers::pi;
    const double segments = std::ceil(sweep * std::max(rx, ry) / 2);
    if (!std::isfinite(segments)) return;
    const std::size_t n = static_cast<std::size_t>(std::clamp(segments, 8.0, static_cast<double>(kMaxArcSegments)));
    std::vector<PointF> points;
    points.reserve(n + 2);
    if (function == fn::Pie) points.push_back({cx, cy});
    for (std::size_t i = 0; i <= n; ++i) {
        const double t = start + sweep * static_cast<double>(i) / static_cast<double>(n);
        points.push_back({cx + rx * std::cos(t), cy - ry * std::sin(t)});
    }
    if (function == fn::Arc)
        canvas_.polyline(points, paint());
    else
        canvas_.polygons({points}, paint());
}

void Player::text(const args::Text& t, bool extended) {
    const Affine m = mapping();
    if (extended && (t.options & ETO_OPAQUE) && t.hasRect) {
        Paint fillPaint;
        fillPaint.brush.color = toRgb(dc_.bkColor);
        canvas_.fill({m.map(t.rect).normalized()}, fillPaint);
    }
    // Glyph indices name glyphs of the writer's font, not characters.
    if (t.text.empty() || (t.options & ETO_GLYPH_INDEX)) return;

    const bool updateCp = (dc_.textAlign & TA_UPDATECP) != 0;
    TextRun run;
    run.origin = updateCp ? m.map(dc_.position.x, dc_.position.y) : m.map(t.p);
    run.text = decodeText(t.text, dc_.font.charSet, dc_.font.face);
    for (std::int16_t dx : t.dx) run.advances.push_back(std::abs(dx * m.ax));
    run.align = dc_.textAlign;
    run.font = font();
    // Translated to Unicode, the text is drawn through the symbol font's stand-in.
    if (symbolEncoded(dc_.font.charSet, dc_.font.face)) run.font.face = kSymbolFace;
    run.color = toRgb(dc_.textColor);
    run.opaqueBackground = dc_.bkOpaque;
    run.background = toRgb(dc_.bkColor);
    run.characterExtra = dc_.charExtra * std::abs(m.ax);
    if (extended && (t.options & ETO_CLIPPED) && t.hasRect) {
        run.clipped = true;
        run.clip = m.map(t.rect).normalized();
    }
    const double advance = canvas_.text(run);
    // With the current position as reference, it moves to the far end of left-aligned text
    // and to the near end of right-aligned text.
    if (updateCp && m.ax != 0) {
        const std::uint16_t horizontal = dc_.textAlign & TA_HORIZONTAL_MASK;
        if (horizontal == 0) dc_.position.x += advance / m.ax;
        if (horizontal == TA_RIGHT) dc_.position.x -= advance / m.ax;
    }
}

void Player::patternFill(const RectF& dest, std::uint32_t rop) {
    Paint fillPaint;
    switch (rop) {
    case ROP_PATCOPY:
        fillPaint.brush = brush(dc_.brush);
        fillPaint.opaqueBackground = dc_.bkOpaque;
        fillPaint.background = toRgb(dc_.bkColor);
        break;
    case ROP_BLACKNESS: fillPaint.brush.color = {0, 0, 0}; break;
    case ROP_WHITENESS: fillPaint.brush.color = {255, 255, 255}; break;
    default: return;  // operations that read the destination are not drawn
    }
    canvas_.fill({dest}, fillPaint);
}

void Player::bitmap(const args::Bitmap& b) {
    const Affine m = mapping();
    const PointF p = m.map(b.xDest, b.yDest);
    const PointF q = m.map(b.xDest + b.wDest, b.yDest + b.hDest);
    const RectF dest{p.x, p.y, q.x, q.y};
    if (!b.hasBitmap) {
        patternFill(dest.normalized(), b.rop);
        return;
    }
    if (b.dib.empty() || b.wSrc == 0 || b.hSrc == 0) return;
    const Bitmap bmp = decodeDib(b.dib, b.colorUsage);
    if (bmp.width == 0) return;
    // StretchDIBits and SetDIBitsToDevice count the source from the bottom line of a
    // bottom-up bitmap; the blits count from the top.
    double top = b.ySrc;
    if (b.sourceFromBottom && bmp.bottomUp) top = bmp.height - b.ySrc - b.hSrc;
    const RectF source{static_cast<double>(b.xSrc), top, static_cast<double>(b.xSrc) + b.wSrc, top + b.hSrc};
    canvas_.bitmap(dest, bmp, source, b.rop);
}

void Player::fillRegion(std::uint16_t regionIndex, const BrushObject& b) {
    const RegionObject* reg = regionAt(regionIndex);
    if (!reg) return;
    const Affine m = mapping();
    std::vector<RectF> rects;
    for (const Rect16& r : reg->region->rects) rects.push_back(m.map(r).normalized());
    Paint fillPaint;
    fillPaint.brush = brush(b);
    fillPaint.opaqueBackground = dc_.bkOpaque;
    fillPaint.background = toRgb(dc_.bkColor);
    canvas_.fill(rects, fillPaint);
}

}  // namespace

void play(const Metafile& mf, const Frame& frame, Canvas& canvas) {
    if (!(frame.picture.width() != 0) || !(frame.picture.height() != 0)) return;
    Player(mf, frame, canvas).run();
}

}  // namespace krv::wmf
