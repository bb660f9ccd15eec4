#pragma once
// Device-independent bitmaps inside metafile records: header checks when the file is read,
// pixel decoding when the picture is drawn. Every offset and count is checked against the
// bytes the record holds.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace krv::wmf {

// Largest bitmap decoded (width x height); larger ones are not drawn.
constexpr std::uint64_t kMaxDibPixels = 16u * 1024u * 1024u;

enum class DibCheck {
    Ok,
    Unsupported,  // well-formed but not drawable here (JPEG/PNG inside, too large, ...)
    Malformed,    // sizes that do not fit the record: the file is damaged
};

struct DibInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;  // always positive
    bool topDown = false;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t paletteEntries = 0;
    std::size_t paletteOffset = 0;
    std::size_t paletteEntryBytes = 4;
    std::size_t bitsOffset = 0;
    std::size_t bitsBytes = 0;  // bytes available for the pixel data
    std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue with BI_BITFIELDS
};

DibCheck inspectDib(std::span<const std::uint8_t> dib, std::uint16_t colorUsage, DibInfo& info,
                    std::string& error);

// Decoded pixels, top line first, 0xAARRGGBB. Pixels a compressed bitmap leaves out are
// transparent.
struct Bitmap {
    int width = 0;
    int height = 0;
    bool bottomUp = false;  // stored bottom line first, as most bitmaps are
    std::vector<std::uint32_t> pixels;
};

// Empty bitmap (width 0) when the data is not drawable.
Bitmap decodeDib(std::span<const std::uint8_t> dib, std::uint16_t colorUsage);

}  // namespace krv::wmf
