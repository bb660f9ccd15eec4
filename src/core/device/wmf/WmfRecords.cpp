#include "core/device/wmf/WmfRecords.hpp"

#include "core/device/wmf/ByteReader.hpp"
#include "core/device/wmf/Dib.hpp"
#include "core/device/wmf/WmfFormat.hpp"

namespace krv::wmf {

namespace {

// Parameters are stored in the reverse order of the drawing call: y before x, bottom-right
// before top-left.
Point16 readPoint(ByteReader& r) {
    Point16 p;
    p.y = r.i16();
    p.x = r.i16();
    return p;
}

Rect16 readReversedRect(ByteReader& r) {
    Rect16 rc;
    rc.bottom = r.i16();
    rc.right = r.i16();
    rc.top = r.i16();
    rc.left = r.i16();
    return rc;
}

// A rectangle structure inside the parameters (not reversed).
Rect16 readRect(ByteReader& r) {
    Rect16 rc;
    rc.left = r.i16();
    rc.top = r.i16();
    rc.right = r.i16();
    rc.bottom = r.i16();
    return rc;
}

ColorRef readColor(ByteReader& r) {
    ColorRef c;
    c.r = r.u8();
    c.g = r.u8();
    c.b = r.u8();
    c.flags = r.u8();
    return c;
}

std::vector<Point16> readPoints(ByteReader& r, std::size_t count) {
    std::vector<Point16> points;
    if (count * 4 > r.remaining()) {
        r.skip(count * 4);  // marks the reader failed
        return points;
    }
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Point16 p;
        p.x = r.i16();
        p.y = r.i16();
        points.push_back(p);
    }
    return points;
}

class Decoder {
public:
    Decoder(std::span<const std::uint8_t> params, std::uint16_t function, std::string& error)
        : r_(params), size_(params.size()), function_(function), error_(error) {}

    bool decode(Args& out);

private:
    bool bad(const char* text) {
        error_ = text;
        return false;
    }
    bool done(Args& out, Args value) {
        if (!r_.ok()) return bad("parameters truncated");
        out = std::move(value);
        return true;
    }

    bool polygonCount(Args& out);
    bool polyPolygon(Args& out);
    bool font(Args& out);
    bool region(Args& out);
    bool textOut(Args& out);
    bool extTextOut(Args& out);
    bool bitmap(Args& out);
    bool checkDib(std::span<const std::uint8_t> dib, std::uint16_t colorUsage);

    ByteReader r_;
    std::size_t size_;
    std::uint16_t function_;
    std::string& error_;
};

bool Decoder::decode(Args& out) {
    switch (function_) {
    case fn::SetWindowOrg:
    case fn::SetWindowExt:
    case fn::SetViewportOrg:
    case fn::SetViewportExt:
    case fn::OffsetWindowOrg:
    case fn::OffsetViewportOrg:
    case fn::MoveTo:
    case fn::LineTo:
    case fn::OffsetClipRgn:
        return done(out, args::Point{readPoint(r_)});
    case fn::ScaleWindowExt:
    case fn::ScaleViewportExt: {
        args::Scale s;
        s.yDenom = r_.i16();
        s.yNum = r_.i16();
        s.xDenom = r_.i16();
        s.xNum = r_.i16();
        return done(out, s);
    }
    case fn::SetBkMode:
    case fn::SetMapMode:
    case fn::SetPolyFillMode:
    case fn::SetTextAlign:
    case fn::SetTextCharExtra:
    case fn::SelectObject:
    case fn::DeleteObject:
    case fn::SelectClipRegion:
    case fn::RestoreDC:
    case fn::PaintRegion:
        return done(out, args::Word{r_.u16()});
    case fn::SetTextColor:
    case fn::SetBkColor:
        return done(out, args::Color{readColor(r_)});
    case fn::Rectangle:
    case fn::Ellipse:
    case fn::IntersectClipRect:
    case fn::ExcludeClipRect:
        return done(out, args::Rect{readReversedRect(r_)});
    case fn::RoundRect: {
        args::RoundRect rr;
        rr.height = r_.i16();
        rr.width = r_.i16();
        rr.r = readReversedRect(r_);
        return done(out, rr);
    }
    case fn::Arc:
    case fn::Pie:
    case fn::Chord: {
        args::Arc a;
        a.end = readPoint(r_);
        a.start = readPoint(r_);
        a.r = readReversedRect(r_);
        return done(out, a);
    }
    case fn::Polygon:
    case fn::Polyline:
        return polygonCount(out);
    case fn::PolyPolygon:
        return polyPolygon(out);
    case fn::CreatePenIndirect: {
        args::Pen p;
        p.style = r_.u16();
        p.width = r_.i16();
        r_.i16();  // the height of the width point is not used
        p.color = readColor(r_);
        return done(out, p);
    }
    case fn::CreateBrushIndirect: {
        args::Brush b;
        b.style = r_.u16();
        b.color = readColor(r_);
        b.hatch = r_.u16();
        return done(out, b);
    }
    case fn::CreateFontIndirect:
        return font(out);
    case fn::DibCreatePatternBrush: {
        args::PatternBrush pb;
        const std::uint16_t style = r_.u16();  // the data is a DIB either way
        pb.colorUsage = r_.u16();
        if (style == BS_PATTERN) pb.colorUsage = DIB_RGB_COLORS;  // the field is not used then
        if (!r_.ok()) return bad("parameters truncated");
        pb.dib = r_.rest();
        if (!checkDib(pb.dib, pb.colorUsage)) return false;
        return done(out, pb);
    }
    case fn::CreatePatternBrush:
        return done(out, args::PatternBrush{});
    case fn::CreateRegion:
        return region(out);
    case fn::TextOut:
        return textOut(out);
    case fn::ExtTextOut:
        return extTextOut(out);
    case fn::DibBitBlt:
    case fn::DibStretchBlt:
    case fn::StretchDib:
    case fn::SetDibToDev:
    case fn::BitBlt:
    case fn::StretchBlt:
        return bitmap(out);
    case fn::PatBlt: {
        args::Bitmap b;
        b.rop = r_.u32();
        b.hDest = r_.i16();
        b.wDest = r_.i16();
        b.yDest = r_.i16();
        b.xDest = r_.i16();
        return done(out, b);
    }
    case fn::SetPixel: {
        args::Pixel px;
        px.color = readColor(r_);
        px.p = readPoint(r_);
        return done(out, px);
    }
    case fn::FillRegion: {
        args::RegionBrush rb;
        rb.region = r_.u16();
        rb.brush = r_.u16();
        return done(out, rb);
    }
    default:
        out = args::None{};
        return true;
    }
}

bool Decoder::polygonCount(Args& out) {
    const std::int16_t count = r_.i16();
    if (!r_.ok()) return bad("parameters truncated");
    if (count < 0) return bad("negative point count");
    args::Points p;
    p.points = readPoints(r_, static_cast<std::size_t>(count));
    if (!r_.ok()) return bad("point count beyond the record");
    return done(out, std::move(p));
}

bool Decoder::polyPolygon(Args& out) {
    const std::uint16_t polygons = r_.u16();
    if (std::size_t{polygons} * 2 > r_.remaining()) return bad("polygon count beyond the record");
    std::vector<std::uint16_t> counts(polygons);
    std::size_t total = 0;
    for (auto& c : counts) {
        c = r_.u16();
        total += c;
    }
    if (total * 4 > r_.remaining()) return bad("point count beyond the record");
    args::PolyPolygon pp;
    pp.polygons.reserve(polygons);
    for (std::uint16_t c : counts) pp.polygons.push_back(readPoints(r_, c));
    return done(out, std::move(pp));
}

bool Decoder::font(Args& out) {
    args::Font f;
    f.height = r_.i16();
    f.width = r_.i16();
    f.escapement = r_.i16();
    f.orientation = r_.i16();
    f.weight = r_.i16();
    f.italic = r_.u8() != 0;
    f.underline = r_.u8() != 0;
    f.strikeOut = r_.u8() != 0;
    f.charSet = r_.u8();
    r_.u8();  // output precision
    r_.u8();  // clip precision
    r_.u8();  // quality
    f.pitchAndFamily = r_.u8();
    if (!r_.ok()) return bad("font truncated");
    // The face name is up to 32 bytes and ends at the first zero; writers often shorten it.
    const auto name = r_.rest();
    for (std::size_t i = 0; i < name.size() && i < 32 && name[i] != 0; ++i) f.face.push_back(static_cast<char>(name[i]));
    return done(out, std::move(f));
}

bool Decoder::region(Args& out) {
    args::Region reg;
    r_.u16();  // next in chain
    r_.i16();  // object type
    r_.i32();  // object count
    r_.i16();  // region size
    const std::int16_t scanCount = r_.i16();
    r_.i16();  // largest scan
    reg.bounds = readRect(r_);
    if (!r_.ok()) return bad("region truncated");
    if (scanCount < 0) return bad("negative scan count");
    for (int s = 0; s < scanCount; ++s) {
        const std::uint16_t count = r_.u16();  // coordinates: two per interval
        const std::int16_t top = r_.i16();
        const std::int16_t bottom = r_.i16();
        if (!r_.ok()) return bad("region scan truncated");
        if (std::size_t{count} * 2 + 2 > r_.remaining()) return bad("region scan beyond the record");
        for (std::uint16_t i = 0; i + 1 < count; i += 2) {
            Rect16 rc;
            rc.left = r_.i16();
            rc.right = r_.i16();
            rc.top = top;
            rc.bottom = bottom;
            reg.rects.push_back(rc);
        }
        if (count % 2 != 0) r_.i16();
        r_.u16();  // count repeated
    }
    return done(out, std::move(reg));
}

bool Decoder::textOut(Args& out) {
    args::Text t;
    const std::int16_t length = r_.i16();
    if (!r_.ok()) return bad("parameters truncated");
    if (length < 0) return bad("negative string length");
    t.text = r_.bytes(static_cast<std::size_t>(length));
    if (!r_.ok()) return bad("string beyond the record");
    // The string is padded to a whole word; some writers leave the pad out.
    if (length % 2 != 0 && r_.remaining() >= 5) r_.skip(1);
    t.p = readPoint(r_);
    return done(out, std::move(t));
}

bool Decoder::extTextOut(Args& out) {
    args::Text t;
    t.p = readPoint(r_);
    const std::int16_t length = r_.i16();
    t.options = r_.u16();
    if (!r_.ok()) return bad("parameters truncated");
    if (length < 0) return bad("negative string length");
    if (t.options & (ETO_OPAQUE | ETO_CLIPPED)) {
        t.hasRect = true;
        t.rect = readRect(r_);
        // Some writers store this rectangle reversed, as the drawing records store theirs
        // (bottom, right, top, left); one that comes out inverted both ways is read so.
        if (t.rect.left > t.rect.right && t.rect.top > t.rect.bottom)
            t.rect = Rect16{t.rect.bottom, t.rect.right, t.rect.top, t.rect.left};
    }
    t.text = r_.bytes(static_cast<std::size_t>(length));
    if (!r_.ok()) return bad("string beyond the record");
    if (length % 2 != 0 && r_.remaining() > 0) r_.skip(1);
    // The advances follow when the record has room for them: one per character, or an x and
    // a y per character with ETO_PDY.
    const std::size_t n = static_cast<std::size_t>(length);
    const bool pairs = (t.options & ETO_PDY) != 0;
    if (n > 0 && r_.remaining() >= n * (pairs ? 4 : 2)) {
        t.dx.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            t.dx.push_back(r_.i16());
            if (pairs) t.dy.push_back(r_.i16());
        }
    }
    return done(out, std::move(t));
}

bool Decoder::checkDib(std::span<const std::uint8_t> dib, std::uint16_t colorUsage) {
    DibInfo info;
    return inspectDib(dib, colorUsage, info, error_) != DibCheck::Malformed;
}

bool Decoder::bitmap(Args& out) {
    args::Bitmap b;
    // Without a bitmap the parameters are exactly as many words as the function number's
    // high byte says; that layout has a reserved word after the source position.
    const std::size_t noBitmapBytes = static_cast<std::size_t>((function_ >> 8) * 2);
    switch (function_) {
    case fn::SetDibToDev:
        b.colorUsage = r_.u16();
        r_.u16();  // scan count
        r_.u16();  // start scan
        b.ySrc = r_.i16();
        b.xSrc = r_.i16();
        b.hSrc = b.hDest = r_.i16();
        b.wSrc = b.wDest = r_.i16();
        b.yDest = r_.i16();
        b.xDest = r_.i16();
        b.sourceFromBottom = true;
        b.hasBitmap = true;
        break;
    case fn::StretchDib:
        b.rop = r_.u32();
        b.colorUsage = r_.u16();
        b.hSrc = r_.i16();
        b.wSrc = r_.i16();
        b.ySrc = r_.i16();
        b.xSrc = r_.i16();
        b.hDest = r_.i16();
        b.wDest = r_.i16();
        b.yDest = r_.i16();
        b.xDest = r_.i16();
        b.sourceFromBottom = true;
        b.hasBitmap = true;
        break;
    case fn::DibBitBlt:
    case fn::BitBlt:
        b.hasBitmap = size_ != noBitmapBytes;
        b.rop = r_.u32();
        b.ySrc = r_.i16();
        b.xSrc = r_.i16();
        if (!b.hasBitmap) r_.u16();
        b.hSrc = b.hDest = r_.i16();
        b.wSrc = b.wDest = r_.i16();
        b.yDest = r_.i16();
        b.xDest = r_.i16();
        break;
    default:  // DibStretchBlt, StretchBlt
        b.hasBitmap = size_ != noBitmapBytes;
        b.rop = r_.u32();
        b.hSrc = r_.i16();
        b.wSrc = r_.i16();
        b.ySrc = r_.i16();
        b.xSrc = r_.i16();
        if (!b.hasBitmap) r_.u16();
        b.hDest = r_.i16();
        b.wDest = r_.i16();
        b.yDest = r_.i16();
        b.xDest = r_.i16();
        break;
    }
    if (!r_.ok()) return bad("parameters truncated");
    // The old BitBlt and StretchBlt carry a device-dependent bitmap, which is not drawn.
    if (b.hasBitmap && function_ != fn::BitBlt && function_ != fn::StretchBlt) {
        b.dib = r_.rest();
        if (!checkDib(b.dib, b.colorUsage)) return false;
    }
    return done(out, std::move(b));
}

}  // namespace

bool decodeRecord(const Metafile& mf, const RecordRef& ref, Record& out, std::string& error) {
    out.function = ref.function;
    Decoder decoder(mf.params(ref), ref.function, error);
    return decoder.decode(out.args);
}

bool createsObject(std::uint16_t function) {
    switch (function) {
    case fn::CreatePenIndirect:
    case fn::CreateBrushIndirect:
    case fn::CreateFontIndirect:
    case fn::CreatePalette:
    case fn::CreatePatternBrush:
    case fn::DibCreatePatternBrush:
    case fn::CreateRegion:
        return true;
    default:
        return false;
    }
}

}  // namespace krv::wmf
