#pragma once
// Metafile and bitmap bytes for the metafile tests, record by record, including broken ones.
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/device/wmf/WmfFormat.hpp"

namespace krv::wmf::test {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& v, std::uint32_t w) { v.insert(v.end(), {std::uint8_t(w), std::uint8_t(w >> 8)}); }
inline void put32(Bytes& v, std::uint32_t w) { put16(v, w), put16(v, w >> 16); }
inline Bytes words(std::initializer_list<int> ws) {
    Bytes b;
    for (int w : ws) put16(b, static_cast<std::uint16_t>(w));
    return b;
}

inline Bytes operator+(Bytes a, const Bytes& b) { a.insert(a.end(), b.begin(), b.end()); return a; }

class WmfBytes {
public:
    // A placeable header with the bounding box (0, 0, right, bottom) in 1/inch inch.
    WmfBytes& placeable(int right, int bottom, int inch = 1000, bool checksumOk = true) {
        placeable_ = words({0xCDD7, 0x9AC6, 0, 0, 0, right, bottom, inch, 0, 0});
        std::uint16_t sum = checksumOk ? 0 : 0x5555;
        for (std::size_t i = 0; i < 20; i += 2) sum ^= std::uint16_t(placeable_[i] | placeable_[i + 1] << 8);
        put16(placeable_, sum);
        return *this;
    }
    WmfBytes& objects(int n) { return objects_ = n, *this; }
    // Parameter words in file order.
    WmfBytes& rec(std::uint16_t f, std::initializer_list<int> ws = {}) { return raw(f, words(ws)); }
    // Parameter bytes (padded to a word); a `sizeWords` other than 0 replaces the size field.
    WmfBytes& raw(std::uint16_t function, Bytes params, std::uint32_t sizeWords = 0) {
        if (params.size() % 2) params.push_back(0);
        put32(records_, sizeWords ? sizeWords : static_cast<std::uint32_t>(3 + params.size() / 2));
        put16(records_, function);
        records_ = records_ + params;
        return *this;
    }
    WmfBytes& brush(int r, int g, int b) { return rec(fn::CreateBrushIndirect, {0, r | g << 8, b, 0}); }
    WmfBytes& pen(int style, int width, int r, int g, int b) {
        return rec(fn::CreatePenIndirect, {style, width, 0, r | g << 8, b});
    }
    WmfBytes& select(int slot) { return rec(fn::SelectObject, {slot}); }
    WmfBytes& rect(int l, int t, int r, int b) { return rec(fn::Rectangle, {b, r, t, l}); }

    Bytes bytes(bool withEof = true) const {
        const Bytes body = withEof ? records_ + Bytes{3, 0, 0, 0, 0, 0} : records_;
        const int size = static_cast<int>(18 + body.size()) / 2;  // in words
        return placeable_ + words({1, 9, 0x0300, size & 0xFFFF, size >> 16, objects_, 0, 0, 0}) + body;
    }

private:
    Bytes placeable_, records_;
    int objects_ = 8;
};

// A bitmap with a 40-byte header, the colour table (0xRRGGBB) and the pixel rows as stored.
inline Bytes dib(int width, int height, int bitCount, std::initializer_list<std::uint32_t> palette,
                 const Bytes& pixels, int compression = 0, int clrUsed = 0) {
    Bytes d;
    for (int v : {40, width, height, 1 | bitCount << 16, compression, int(pixels.size()), 0, 0, clrUsed, 0})
        put32(d, static_cast<std::uint32_t>(v));
    for (std::uint32_t c : palette) put32(d, c);
    return d + pixels;
}

// A StretchDIB record's parameters: the whole w x h bitmap copied onto (x, y, dw, dh).
inline Bytes stretchDib(int x, int y, int dw, int dh, int w, int h, const Bytes& bitmap) {
    return words({0x0020, 0x00CC, DIB_RGB_COLORS, h, w, 0, 0, dh, dw, y, x}) + bitmap;  // copy the source
}

inline void save(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace krv::wmf::test
