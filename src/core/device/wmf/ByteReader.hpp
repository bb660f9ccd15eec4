#pragma once
// Little-endian reading from a metafile buffer. A read past the end yields 0 and marks the
// reader failed, so a decoder can read a whole structure and check once at the end.
#include <cstddef>
#include <cstdint>
#include <span>

namespace krv::wmf {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    bool ok() const { return ok_; }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }

    std::uint8_t u8() {
        if (!take(1)) return 0;
        return data_[pos_ - 1];
    }
    std::uint16_t u16() {
        if (!take(2)) return 0;
        return static_cast<std::uint16_t>(data_[pos_ - 2] | (data_[pos_ - 1] << 8));
    }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32() {
        const std::uint32_t low = u16();
        const std::uint32_t high = u16();
        return low | (high << 16);
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    // The next n bytes; empty and failed when fewer remain.
    std::span<const std::uint8_t> bytes(std::size_t n) {
        if (!take(n)) return {};
        return data_.subspan(pos_ - n, n);
    }
    void skip(std::size_t n) { take(n); }
    // Everything not read yet.
    std::span<const std::uint8_t> rest() const { return data_.subspan(pos_); }

private:
    bool take(std::size_t n) {
        if (!ok_ || n > remaining()) {
            ok_ = false;
            return false;
        }
        pos_ += n;
        return true;
    }

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace krv::wmf
