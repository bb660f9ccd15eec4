#pragma once
// Received data is bytes 0..255, never text: one element per byte the device sent.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace krv {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline ByteView asBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace krv
