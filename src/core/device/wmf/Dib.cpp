#include "core/device/wmf/Dib.hpp"

#include <array>
#include <bit>

#include "core/device/wmf/ByteReader.hpp"
#include "core/device/wmf/WmfFormat.hpp"

namespace krv::wmf {

namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_JPEG = 4;
constexpr std::uint32_t BI_PNG = 5;
constexpr std::size_t kCoreHeaderBytes = 12;
constexpr std::size_t kInfoHeaderBytes = 40;

// The 16 standard colours; palette indices (DIB_PAL_COLORS) without a realised palette map here.
constexpr std::array<std::uint32_t, 16> kVgaColours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

std::uint64_t rowStride(std::uint64_t width, std::uint16_t bitCount) { return ((width * bitCount + 31) / 32) * 4; }

DibCheck fail(std::string& error, const char* text) {
    error = text;
    return DibCheck::Malformed;
}

}  // namespace

DibCheck inspectDib(std::span<const std::uint8_t> dib, std::uint16_t colorUsage, DibInfo& info,
                    std::string& error) {
    info = DibInfo{};
    ByteReader r(dib);
    const std::uint32_t headerSize = r.u32();
    if (!r.ok()) return fail(error, "bitmap header truncated");
    if (headerSize != kCoreHeaderBytes && headerSize < kInfoHeaderBytes)
        return fail(error, "bitmap header size invalid");
    if (headerSize > dib.size()) return fail(error, "bitmap header truncated");

    std::int64_t height = 0;
    std::uint32_t clrUsed = 0;
    if (headerSize == kCoreHeaderBytes) {
        info.width = r.u16();
        height = r.u16();
        r.u16();  // planes
        info.bitCount = r.u16();
        info.paletteEntryBytes = 3;
    } else {
        info.width = r.i32();
        height = r.i32();
        r.u16();  // planes
        info.bitCount = r.u16();
        info.compression = r.u32();
        r.u32();  // image size: not trusted, the sizes are computed
        r.u32();
        r.u32();  // resolution
        clrUsed = r.u32();
        r.u32();  // important colours
        if (headerSize > kInfoHeaderBytes) {
            // Larger headers carry the colour masks right after the 40-byte part.
            info.masks[0] = r.u32();
            info.masks[1] = r.u32();
            info.masks[2] = r.u32();
        }
    }
    if (!r.ok()) return fail(error, "bitmap header truncated");
    if (info.width <= 0 || height == 0 || height == INT32_MIN) return fail(error, "bitmap size invalid");
    info.topDown = height < 0;
    info.height = static_cast<std::int32_t>(height < 0 ? -height : height);

    switch (info.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return fail(error, "bitmap bit count invalid");
    }
    std::size_t pos = headerSize;
    if (info.compression == BI_BITFIELDS && headerSize == kInfoHeaderBytes) {
        ByteReader m(dib.subspan(pos));
        info.masks[0] = m.u32();
        info.masks[1] = m.u32();
        info.masks[2] = m.u32();
        if (!m.ok()) return fail(error, "bitmap colour masks truncated");
        pos += 12;
    }

    info.paletteEntries = clrUsed;
    if (info.paletteEntries == 0 && info.bitCount <= 8) info.paletteEntries = 1u << info.bitCount;
    if (colorUsage == DIB_PAL_COLORS && headerSize != kCoreHeaderBytes) info.paletteEntryBytes = 2;
    const std::uint64_t paletteBytes = std::uint64_t{info.paletteEntries} * info.paletteEntryBytes;
    if (paletteBytes > dib.size() - pos) return fail(error, "bitmap colour table truncated");
    info.paletteOffset = pos;
    pos += static_cast<std::size_t>(paletteBytes);
    info.bitsOffset = pos;
    info.bitsBytes = dib.size() - pos;

    const bool rle = info.compression == BI_RLE8 || info.compression == BI_RLE4;
    if (info.compression == BI_JPEG || info.compression == BI_PNG) return DibCheck::Unsupported;
    if (info.compression != BI_RGB && info.compression != BI_BITFIELDS && !rle) return DibCheck::Unsupported;
    if ((info.compression == BI_RLE8 && info.bitCount != 8) || (info.compression == BI_RLE4 && info.bitCount != 4) ||
        (rle && info.topDown))
        return fail(error, "bitmap compression does not fit its bit count");
    if (info.compression == BI_BITFIELDS && info.bitCount != 16 && info.bitCount != 32)
        return fail(error, "bitmap colour masks need 16 or 32 bits per pixel");
    // Checked first: it also keeps the size products below from overflowing.
    if (static_cast<std::uint64_t>(info.width) * static_cast<std::uint64_t>(info.height) > kMaxDibPixels)
        return DibCheck::Unsupported;
    if (!rle) {
        const std::uint64_t needed = rowStride(static_cast<std::uint64_t>(info.width), info.bitCount) *
                                     static_cast<std::uint64_t>(info.height);
        if (needed > info.bitsBytes) return fail(error, "bitmap pixel data truncated");
    }
    return DibCheck::Ok;
}

namespace {

class PixelDecoder {
public:
    PixelDecoder(std::span<const std::uint8_t> dib, const DibInfo& info, Bitmap& out)
        : dib_(dib), info_(info), out_(out) {
        readPalette();
    }

    void uncompressed() {
        const std::size_t stride = static_cast<std::size_t>(rowStride(info_.width, info_.bitCount));
        for (int line = 0; line < info_.height; ++line) {
            const auto row = dib_.subspan(info_.bitsOffset + static_cast<std::size_t>(line) * stride, stride);
            const int y = info_.topDown ? line : info_.height - 1 - line;
            std::uint32_t* dest = out_.pixels.data() + static_cast<std::size_t>(y) * info_.width;
            for (int x = 0; x < info_.width; ++x) dest[x] = pixelAt(row, x);
        }
    }

    // Run-length encoded data: runs, absolute runs, line ends and jumps; anything outside the
    // bitmap is dropped.
    void runLength(bool fourBit) {
        ByteReader r(dib_.subspan(info_.bitsOffset));
        int x = 0;
        int line = 0;  // from the bottom
        while (r.remaining() >= 2 && line < info_.height) {
            const std::uint8_t count = r.u8();
            const std::uint8_t value = r.u8();
            if (count > 0) {
                for (int i = 0; i < count; ++i) {
                    const std::uint8_t index = fourBit ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value;
                    put(x++, line, index);
                }
                continue;
            }
            if (value == 0) {  // end of line
                x = 0;
                ++line;
            } else if (value == 1) {  // end of bitmap
                return;
            } else if (value == 2) {  // jump
                x += r.u8();
                line += r.u8();
            } else {  // absolute run of `value` pixels, padded to a word
                const std::size_t bytes = fourBit ? (value + 1u) / 2u : value;
                const auto run = r.bytes(bytes);
                if (!r.ok()) return;
                for (int i = 0; i < value; ++i) {
                    const std::uint8_t b = run[fourBit ? i / 2 : i];
                    put(x++, line, fourBit ? ((i % 2 == 0) ? b >> 4 : b & 0x0F) : b);
                }
                if (bytes % 2 != 0) r.skip(1);
            }
        }
    }

private:
    void readPalette() {
        const std::uint32_t n = info_.paletteEntries > 256 ? 256 : info_.paletteEntries;
        palette_.assign(256, 0xFF000000);
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::size_t at = info_.paletteOffset + i * info_.paletteEntryBytes;
            if (info_.paletteEntryBytes == 2) {
                const std::uint16_t index = static_cast<std::uint16_t>(dib_[at] | (dib_[at + 1] << 8));
                const std::uint32_t rgb = index < kVgaColours.size() ? kVgaColours[index] : 0x808080;
                palette_[i] = 0xFF000000 | rgb;
            } else {  // blue, green, red (and a reserved byte)
                palette_[i] = 0xFF000000 | (std::uint32_t{dib_[at + 2]} << 16) | (std::uint32_t{dib_[at + 1]} << 8) |
                              dib_[at];
            }
        }
    }

    void put(int x, int lineFromBottom, std::uint8_t index) {
        if (x < 0 || x >= info_.width) return;
        const int y = info_.height - 1 - lineFromBottom;
        out_.pixels[static_cast<std::size_t>(y) * info_.width + x] = palette_[index];
    }

    static std::uint32_t channel(std::uint32_t value, std::uint32_t mask) {
        if (mask == 0) return 0;
        const int shift = std::countr_zero(mask);
        const std::uint32_t max = mask >> shift;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>((value & mask) >> shift) * 255 + max / 2) / max);
    }

    std::uint32_t fromMasks(std::uint32_t value) const {
        return 0xFF000000 | (channel(value, info_.masks[0]) << 16) | (channel(value, info_.masks[1]) << 8) |
               channel(value, info_.masks[2]);
    }

    std::uint32_t pixelAt(std::span<const std::uint8_t> row, int x) const {
        const bool masks = info_.compression == BI_BITFIELDS;
        switch (info_.bitCount) {
        case 1: return palette_[(row[x / 8] >> (7 - x % 8)) & 0x01];
        case 4: return palette_[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
        case 8: return palette_[row[x]];
        case 16: {
            const std::uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
            return masks ? fromMasks(v) : 0xFF000000 | (channel(v, 0x7C00) << 16) | (channel(v, 0x03E0) << 8) |
                                              channel(v, 0x001F);
        }
        case 24:
            return 0xFF000000 | (std::uint32_t{row[3 * x + 2]} << 16) | (std::uint32_t{row[3 * x + 1]} << 8) |
                   row[3 * x];
        default: {
            const std::uint32_t v = row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16) |
                                    (std::uint32_t{row[4 * x + 3]} << 24);
            return masks ? fromMasks(v) : 0xFF000000 | (v & 0x00FFFFFF);
        }
        }
    }

    std::span<const std::uint8_t> dib_;
    const DibInfo& info_;
    Bitmap& out_;
    std::vector<std::uint32_t> palette_;
};

}  // namespace

Bitmap decodeDib(std::span<const std::uint8_t> dib, std::uint16_t colorUsage) {
    DibInfo info;
    std::string error;
    Bitmap out;
    if (inspectDib(dib, colorUsage, info, error) != DibCheck::Ok) return out;
    out.width = info.width;
    out.height = info.height;
    out.bottomUp = !info.topDown;
    const bool rle = info.compression == BI_RLE8 || info.compression == BI_RLE4;
    out.pixels.assign(static_cast<std::size_t>(info.width) * static_cast<std::size_t>(info.height),
                      rle ? 0u : 0xFF000000u);
    PixelDecoder decoder(dib, info, out);
    if (rle)
        decoder.runLength(info.compression == BI_RLE4);
    else
        decoder.uncompressed();
    return out;
}

}  // namespace krv::wmf
