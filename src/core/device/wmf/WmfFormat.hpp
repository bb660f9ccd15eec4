#pragma once
// Numbers of the Windows metafile format: record functions, modes and flags as they appear in
// the files. Only what the parser and the player use.
#include <cstdint>

namespace krv::wmf {

// Record function numbers (high byte: the parameter count hint the writers put there).
namespace fn {
constexpr std::uint16_t Eof = 0x0000;
constexpr std::uint16_t SaveDC = 0x001E;
constexpr std::uint16_t RealizePalette = 0x0035;
constexpr std::uint16_t SetPalEntries = 0x0037;
constexpr std::uint16_t CreatePalette = 0x00F7;
constexpr std::uint16_t SetBkMode = 0x0102;
constexpr std::uint16_t SetMapMode = 0x0103;
constexpr std::uint16_t SetROP2 = 0x0104;
constexpr std::uint16_t SetRelAbs = 0x0105;
constexpr std::uint16_t SetPolyFillMode = 0x0106;
constexpr std::uint16_t SetStretchBltMode = 0x0107;
constexpr std::uint16_t SetTextCharExtra = 0x0108;
constexpr std::uint16_t RestoreDC = 0x0127;
constexpr std::uint16_t InvertRegion = 0x012A;
constexpr std::uint16_t PaintRegion = 0x012B;
constexpr std::uint16_t SelectClipRegion = 0x012C;
constexpr std::uint16_t SelectObject = 0x012D;
constexpr std::uint16_t SetTextAlign = 0x012E;
constexpr std::uint16_t ResizePalette = 0x0139;
constexpr std::uint16_t DibCreatePatternBrush = 0x0142;
constexpr std::uint16_t SetLayout = 0x0149;
constexpr std::uint16_t DeleteObject = 0x01F0;
constexpr std::uint16_t CreatePatternBrush = 0x01F9;
constexpr std::uint16_t SetBkColor = 0x0201;
constexpr std::uint16_t SetTextColor = 0x0209;
constexpr std::uint16_t SetTextJustification = 0x020A;
constexpr std::uint16_t SetWindowOrg = 0x020B;
constexpr std::uint16_t SetWindowExt = 0x020C;
constexpr std::uint16_t SetViewportOrg = 0x020D;
constexpr std::uint16_t SetViewportExt = 0x020E;
constexpr std::uint16_t OffsetWindowOrg = 0x020F;
constexpr std::uint16_t OffsetViewportOrg = 0x0211;
constexpr std::uint16_t LineTo = 0x0213;
constexpr std::uint16_t MoveTo = 0x0214;
constexpr std::uint16_t OffsetClipRgn = 0x0220;
constexpr std::uint16_t FillRegion = 0x0228;
constexpr std::uint16_t SetMapperFlags = 0x0231;
constexpr std::uint16_t SelectPalette = 0x0234;
constexpr std::uint16_t CreatePenIndirect = 0x02FA;
constexpr std::uint16_t CreateFontIndirect = 0x02FB;
constexpr std::uint16_t CreateBrushIndirect = 0x02FC;
constexpr std::uint16_t Polygon = 0x0324;
constexpr std::uint16_t Polyline = 0x0325;
constexpr std::uint16_t ScaleWindowExt = 0x0410;
constexpr std::uint16_t ScaleViewportExt = 0x0412;
constexpr std::uint16_t ExcludeClipRect = 0x0415;
constexpr std::uint16_t IntersectClipRect = 0x0416;
constexpr std::uint16_t Ellipse = 0x0418;
constexpr std::uint16_t FloodFill = 0x0419;
constexpr std::uint16_t Rectangle = 0x041B;
constexpr std::uint16_t SetPixel = 0x041F;
constexpr std::uint16_t FrameRegion = 0x0429;
constexpr std::uint16_t AnimatePalette = 0x0436;
constexpr std::uint16_t TextOut = 0x0521;
constexpr std::uint16_t PolyPolygon = 0x0538;
constexpr std::uint16_t ExtFloodFill = 0x0548;
constexpr std::uint16_t RoundRect = 0x061C;
constexpr std::uint16_t PatBlt = 0x061D;
constexpr std::uint16_t Escape = 0x0626;
constexpr std::uint16_t CreateRegion = 0x06FF;
constexpr std::uint16_t Arc = 0x0817;
constexpr std::uint16_t Pie = 0x081A;
constexpr std::uint16_t Chord = 0x0830;
constexpr std::uint16_t BitBlt = 0x0922;
constexpr std::uint16_t DibBitBlt = 0x0940;
constexpr std::uint16_t ExtTextOut = 0x0A32;
constexpr std::uint16_t StretchBlt = 0x0B23;
constexpr std::uint16_t DibStretchBlt = 0x0B41;
constexpr std::uint16_t SetDibToDev = 0x0D33;
constexpr std::uint16_t StretchDib = 0x0F43;
}  // namespace fn

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableHeaderBytes = 22;
constexpr std::size_t kMetaHeaderBytes = 18;
constexpr std::size_t kRecordHeaderBytes = 6;

enum MapModeValue : std::uint16_t {
    MM_TEXT = 1,
    MM_LOMETRIC = 2,
    MM_HIMETRIC = 3,
    MM_LOENGLISH = 4,
    MM_HIENGLISH = 5,
    MM_TWIPS = 6,
    MM_ISOTROPIC = 7,
    MM_ANISOTROPIC = 8,
};

// Text alignment flags.
constexpr std::uint16_t TA_UPDATECP = 0x0001;
constexpr std::uint16_t TA_RIGHT = 0x0002;
constexpr std::uint16_t TA_CENTER = 0x0006;
constexpr std::uint16_t TA_HORIZONTAL_MASK = 0x0006;
constexpr std::uint16_t TA_BOTTOM = 0x0008;
constexpr std::uint16_t TA_BASELINE = 0x0018;
constexpr std::uint16_t TA_VERTICAL_MASK = 0x0018;

// Extended text output options.
constexpr std::uint16_t ETO_OPAQUE = 0x0002;
constexpr std::uint16_t ETO_CLIPPED = 0x0004;
constexpr std::uint16_t ETO_GLYPH_INDEX = 0x0010;
constexpr std::uint16_t ETO_PDY = 0x2000;

constexpr std::uint16_t BKMODE_TRANSPARENT = 1;
constexpr std::uint16_t POLYFILL_WINDING = 2;

// Pen style word: line style in the low nibble, end cap and join in the higher nibbles.
constexpr std::uint16_t PS_STYLE_MASK = 0x000F;
constexpr std::uint16_t PS_ENDCAP_MASK = 0x0F00;
constexpr std::uint16_t PS_ENDCAP_SQUARE = 0x0100;
constexpr std::uint16_t PS_ENDCAP_FLAT = 0x0200;
constexpr std::uint16_t PS_JOIN_MASK = 0xF000;
constexpr std::uint16_t PS_JOIN_BEVEL = 0x1000;
constexpr std::uint16_t PS_JOIN_MITER = 0x2000;

enum LogBrushStyle : std::uint16_t {
    BS_SOLID = 0,
    BS_NULL = 1,
    BS_HATCHED = 2,
    BS_PATTERN = 3,
    BS_INDEXED = 4,
    BS_DIBPATTERN = 5,
    BS_DIBPATTERNPT = 6,
};

enum LogHatchStyle : std::uint16_t {
    HS_HORIZONTAL = 0,
    HS_VERTICAL = 1,
    HS_FDIAGONAL = 2,
    HS_BDIAGONAL = 3,
    HS_CROSS = 4,
    HS_DIAGCROSS = 5,
};

// Raster operations of the bitmap records.
constexpr std::uint32_t ROP_SRCCOPY = 0x00CC0020;
constexpr std::uint32_t ROP_SRCPAINT = 0x00EE0086;
constexpr std::uint32_t ROP_SRCAND = 0x008800C6;
constexpr std::uint32_t ROP_SRCINVERT = 0x00660046;
constexpr std::uint32_t ROP_PATCOPY = 0x00F00021;
constexpr std::uint32_t ROP_BLACKNESS = 0x00000042;
constexpr std::uint32_t ROP_WHITENESS = 0x00FF0062;

constexpr std::uint16_t DIB_RGB_COLORS = 0;
constexpr std::uint16_t DIB_PAL_COLORS = 1;

}  // namespace krv::wmf
