#pragma once
// Device-independent bitmaps as bytes for the tests: a 40-byte header, the colour table and
// the pixel data as given (rows in file order, already padded).
#include <cstdint>
#include <vector>

#include "WmfBytes.hpp"

namespace krv::wmf::test {

inline std::vector<std::uint8_t> dibBytes(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                                          const std::vector<std::uint32_t>& palette,
                                          const std::vector<std::uint8_t>& pixels, std::uint32_t compression = 0,
                                          std::uint32_t clrUsed = 0) {
    std::vector<std::uint8_t> d;
    WmfBytes::put32(d, 40);
    WmfBytes::put32(d, static_cast<std::uint32_t>(width));
    WmfBytes::put32(d, static_cast<std::uint32_t>(height));
    WmfBytes::put16(d, 1);
    WmfBytes::put16(d, bitCount);
    WmfBytes::put32(d, compression);
    WmfBytes::put32(d, static_cast<std::uint32_t>(pixels.size()));
    WmfBytes::put32(d, 0);
    WmfBytes::put32(d, 0);
    WmfBytes::put32(d, clrUsed);
    WmfBytes::put32(d, 0);
    for (std::uint32_t c : palette) {  // blue, green, red, reserved
        d.push_back(static_cast<std::uint8_t>(c & 0xFF));
        d.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
        d.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
        d.push_back(0);
    }
    d.insert(d.end(), pixels.begin(), pixels.end());
    return d;
}

// A StretchDIB record's parameters (as bytes) drawing `dib` onto (x, y, w, h) from the whole
// bitmap of `bmWidth` x `bmHeight`.
inline std::vector<std::uint8_t> stretchDibParams(int x, int y, int w, int h, int xSrc, int ySrc, int wSrc, int hSrc,
                                                  const std::vector<std::uint8_t>& dib) {
    std::vector<std::uint8_t> p;
    WmfBytes::put32(p, 0x00CC0020);  // SRCCOPY
    WmfBytes::put16(p, 0);          // RGB colours
    for (int v : {hSrc, wSrc, ySrc, xSrc, h, w, y, x}) WmfBytes::put16(p, static_cast<std::uint16_t>(v));
    p.insert(p.end(), dib.begin(), dib.end());
    return p;
}

}  // namespace krv::wmf::test
