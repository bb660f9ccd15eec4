#pragma once
// Telegrams as the framing leaves them in the receive buffer, for the status window and the
// CPU error decision.
#include "core/link/ReceiveState.hpp"
#include "core/link/TelegramBuilder.hpp"

namespace krv::test {

inline link::StatusBlock block(std::initializer_list<std::pair<int, int>> bytes) {
    link::StatusBlock b{};
    for (const auto& [k, v] : bytes) b[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v);
    return b;
}

// Some older bytes, then the telegram; DatenStart on its payload byte 0. A long telegram
// carries the block at its end and the relay cycle count in the middle.
inline link::ReceiveState empfangen(const link::StatusBlock& b, bool lang = false, std::uint32_t zyklen = 0) {
    link::ReceiveState s;
    s.EmpfangsString.append(asBytes("xyz"));
    s.EmpfangsString.append(lang ? link::langTelegramm(link::langeNutzdaten(b, zyklen))
                                 : link::kurzTelegramm(b));
    s.DatenStart = 3 + 3;  // after "xyz" and the telegram head
    s.DatenLaenge = lang ? link::LangNutzdaten : link::KurzNutzdaten;
    return s;
}

}  // namespace krv::test
