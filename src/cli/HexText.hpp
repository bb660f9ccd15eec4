#pragma once
#include <string>

#include "core/common/Bytes.hpp"

namespace krv::cli {

// Bytes as lowercase hex digits without separators.
inline std::string hexText(ByteView bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

}  // namespace krv::cli
