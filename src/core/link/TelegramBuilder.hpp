#pragma once
// Builds the telegrams the device sends: "L", the kind digit, the payload and the CRC-8 over all
// of them. Used by the simulated controller and by tests.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/common/Bytes.hpp"

namespace krv::link {

using StatusBlock = std::array<std::uint8_t, 16>;

inline constexpr std::size_t KurzNutzdaten = 16;
inline constexpr std::size_t LangNutzdaten = 256;
// Where a long telegram carries the status block and its 24-bit relay cycle count.
inline constexpr std::size_t LangStatusOffset = 224;
inline constexpr std::size_t LangRelaisZyklenOffset = 116;

// "L", kind, payload, CRC. Throws std::invalid_argument when the payload length does not fit
// the kind ('1' and '3': 16 bytes, '2': 256 bytes) or the kind is none of these.
Bytes telegramm(std::uint8_t kind, ByteView payload);

// A short live telegram "L1" (19 bytes) carrying the status block.
Bytes kurzTelegramm(const StatusBlock& status);

// A long live telegram "L2" (259 bytes); the payload must be 256 bytes.
Bytes langTelegramm(ByteView payload);

// The payload of a long telegram: `fill` everywhere (the bytes the program does not read), the
// status block at 224..239 and the relay cycle count, least significant byte first, at 116..118.
Bytes langeNutzdaten(const StatusBlock& status, std::uint32_t relaisZyklen, ByteView fill = {});

}  // namespace krv::link
