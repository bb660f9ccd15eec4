#pragma once
// The parameters of the records, decoded from their bytes with every size checked. Records
// whose parameters have the same layout share one argument type; the function number says
// what the arguments mean.
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "core/device/wmf/Metafile.hpp"

namespace krv::wmf {

// A colour as stored: red, green, blue and a flag byte (0 plain colour, 1 palette index,
// 2 palette-relative colour).
struct ColorRef {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t flags = 0;
};

namespace args {

struct None {};  // no parameters the player uses, or a record it does not play
struct Point {
    Point16 p;
};
struct Scale {
    std::int16_t xNum = 1, xDenom = 1, yNum = 1, yDenom = 1;
};
struct Word {
    std::uint16_t value = 0;
};
struct Color {
    ColorRef color;
};
struct Rect {
    Rect16 r;
};
struct RoundRect {
    Rect16 r;
    std::int16_t width = 0;  // of the corner ellipse
    std::int16_t height = 0;
};
struct Arc {  // arc, pie and chord
    Rect16 r;
    Point16 start;
    Point16 end;
};
struct Points {  // polygon and polyline
    std::vector<Point16> points;
};
struct PolyPolygon {
    std::vector<std::vector<Point16>> polygons;
};
struct Pen {
    std::uint16_t style = 0;
    std::int16_t width = 0;
    ColorRef color;
};
struct Brush {
    std::uint16_t style = 0;
    ColorRef color;
    std::uint16_t hatch = 0;
};
struct PatternBrush {
    std::uint16_t colorUsage = 0;
    std::span<const std::uint8_t> dib;  // empty: a pattern the player cannot show
};
struct Font {
    std::int16_t height = 0;
    std::int16_t width = 0;
    std::int16_t escapement = 0;
    std::int16_t orientation = 0;
    std::int16_t weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string face;
};
struct Region {
    Rect16 bounds;
    std::vector<Rect16> rects;  // the region is their union
};
struct Text {  // TextOut and ExtTextOut
    Point16 p;
    std::span<const std::uint8_t> text;
    std::uint16_t options = 0;
    bool hasRect = false;
    Rect16 rect;                   // with ETO_OPAQUE or ETO_CLIPPED
    std::vector<std::int16_t> dx;  // advance per character, empty when absent
    std::vector<std::int16_t> dy;  // with ETO_PDY
};
struct Bitmap {  // the bitmap transfer records
    std::uint32_t rop = 0;
    std::int16_t xDest = 0, yDest = 0, wDest = 0, hDest = 0;
    std::int16_t xSrc = 0, ySrc = 0, wSrc = 0, hSrc = 0;
    std::uint16_t colorUsage = 0;
    bool sourceFromBottom = false;  // source y counts from the bottom line of a bottom-up DIB
    bool hasBitmap = false;         // false: a pattern operation with the brush
    std::span<const std::uint8_t> dib;  // empty with an old device-dependent bitmap
};
struct Pixel {
    ColorRef color;
    Point16 p;
};
struct RegionBrush {
    std::uint16_t region = 0;
    std::uint16_t brush = 0;
};

}  // namespace args

using Args = std::variant<args::None, args::Point, args::Scale, args::Word, args::Color, args::Rect,
                          args::RoundRect, args::Arc, args::Points, args::PolyPolygon, args::Pen, args::Brush,
                          args::PatternBrush, args::Font, args::Region, args::Text, args::Bitmap, args::Pixel,
                          args::RegionBrush>;

struct Record {
    std::uint16_t function = 0;
    Args args;
};

// Decodes one record's parameters. False with `error` set when they are inconsistent (a count
// beyond the record, a truncated structure); unknown functions decode to args::None.
bool decodeRecord(const Metafile& mf, const RecordRef& ref, Record& out, std::string& error);

// Whether the record creates an object that takes a slot in the object table.
bool createsObject(std::uint16_t function);

}  // namespace krv::wmf
