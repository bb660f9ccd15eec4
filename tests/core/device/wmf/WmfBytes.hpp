#pragma once
// Builds metafile bytes record by record for the tests, including deliberately broken ones.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace krv::wmf::test {

class WmfBytes {
public:
    // A placeable header in front; `checksumOk` false stores a wrong checksum.
    WmfBytes& placeable(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom,
                        std::uint16_t inch = 1440, bool checksumOk = true) {
        placeable_ = {left, top, right, bottom, static_cast<std::int16_t>(inch)};
        checksumOk_ = checksumOk;
        return *this;
    }
    WmfBytes& objects(std::uint16_t n) {
        objects_ = n;
        return *this;
    }
    // A record from parameter words, in file order.
    WmfBytes& record(std::uint16_t function, std::initializer_list<int> words = {}) {
        std::vector<std::uint8_t> params;
        for (int w : words) {
            params.push_back(static_cast<std::uint8_t>(w & 0xFF));
            params.push_back(static_cast<std::uint8_t>((w >> 8) & 0xFF));
        }
        return bytesRecord(function, params);
    }
    // A record from parameter bytes (padded to a whole word).
    WmfBytes& bytesRecord(std::uint16_t function, std::vector<std::uint8_t> params) {
        if (params.size() % 2) params.push_back(0);
        return rawRecord(static_cast<std::uint32_t>(3 + params.size() / 2), function, params);
    }
    // A record with any size field, however wrong.
    WmfBytes& rawRecord(std::uint32_t sizeWords, std::uint16_t function, const std::vector<std::uint8_t>& params) {
        put32(records_, sizeWords);
        put16(records_, function);
        records_.insert(records_.end(), params.begin(), params.end());
        return *this;
    }

    std::vector<std::uint8_t> bytes(bool withEof = true) const {
        std::vector<std::uint8_t> out;
        if (placeable_) {
            std::vector<std::uint16_t> words = {0xCDD7, 0x9AC6, 0};
            for (std::int16_t v : *placeable_) words.push_back(static_cast<std::uint16_t>(v));
            words.push_back(0);
            words.push_back(0);
            std::uint16_t sum = 0;
            for (std::uint16_t w : words) sum ^= w;
            words.push_back(checksumOk_ ? sum : static_cast<std::uint16_t>(sum ^ 0x5555));
            for (std::uint16_t w : words) put16(out, w);
        }
        std::vector<std::uint8_t> body = records_;
        if (withEof) {
            put32(body, 3);
            put16(body, 0);
        }
        put16(out, 1);  // memory metafile
        put16(out, 9);
        put16(out, 0x0300);
        put32(out, static_cast<std::uint32_t>((18 + body.size()) / 2));
        put16(out, objects_);
        put32(out, 0);
        put16(out, 0);
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }

    static void put16(std::vector<std::uint8_t>& v, std::uint16_t w) {
        v.push_back(static_cast<std::uint8_t>(w & 0xFF));
        v.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    static void put32(std::vector<std::uint8_t>& v, std::uint32_t w) {
        put16(v, static_cast<std::uint16_t>(w & 0xFFFF));
        put16(v, static_cast<std::uint16_t>(w >> 16));
    }

private:
    std::optional<std::vector<std::int16_t>> placeable_;
    bool checksumOk_ = true;
    std::uint16_t objects_ = 0;
    std::vector<std::uint8_t> records_;
};

}  // namespace krv::wmf::test
