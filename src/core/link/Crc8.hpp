#pragma once
// CRC-8 of the telegrams and recorded records: polynomial 0x9B, most significant bit first,
// start value 0, no reflection, no final XOR. The step indexes the table with the old
// accumulator alone and XORs the new byte in afterwards (not table(crc XOR byte)).
#include <array>
#include <cstdint>

#include "core/common/Bytes.hpp"

namespace krv::link {

constexpr std::array<std::uint8_t, 256> Init_CRC8TAB() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 0x80U) ? ((c << 1U) ^ 0x9BU) & 0xFFU : (c << 1U) & 0xFFU;
        }
        table[i] = static_cast<std::uint8_t>(c);
    }
    return table;
}

inline constexpr std::array<std::uint8_t, 256> CRC8TAB = Init_CRC8TAB();

constexpr std::uint8_t crc8Step(std::uint8_t crc, std::uint8_t byte) {
    return static_cast<std::uint8_t>(CRC8TAB[crc] ^ byte);
}

constexpr std::uint8_t crc8(ByteView bytes, std::uint8_t crc = 0) {
    for (std::uint8_t b : bytes) crc = crc8Step(crc, b);
    return crc;
}

}  // namespace krv::link
