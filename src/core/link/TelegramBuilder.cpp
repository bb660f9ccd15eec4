#include "core/link/TelegramBuilder.hpp"

#include <algorithm>
#include <stdexcept>

#include "core/link/Crc8.hpp"

namespace krv::link {

Bytes telegramm(std::uint8_t kind, ByteView payload) {
    std::size_t expected = 0;
    switch (kind) {
    case '1':
    case '3': expected = KurzNutzdaten; break;
    case '2': expected = LangNutzdaten; break;
    default: throw std::invalid_argument("telegram kind must be '1', '2' or '3'");
    }
    if (payload.size() != expected) throw std::invalid_argument("payload length does not fit the telegram kind");

    Bytes t;
    t.reserve(payload.size() + 3);
    t.push_back('L');
    t.push_back(kind);
    t.insert(t.end(), payload.begin(), payload.end());
    t.push_back(crc8(t));
    return t;
}

Bytes kurzTelegramm(const StatusBlock& status) { return telegramm('1', status); }

Bytes langTelegramm(ByteView payload) { return telegramm('2', payload); }

Bytes langeNutzdaten(const StatusBlock& status, std::uint32_t relaisZyklen, ByteView fill) {
    Bytes p(LangNutzdaten, 0);
    std::copy_n(fill.begin(), std::min(fill.size(), p.size()), p.begin());
    p[LangRelaisZyklenOffset] = static_cast<std::uint8_t>(relaisZyklen);
    p[LangRelaisZyklenOffset + 1] = static_cast<std::uint8_t>(relaisZyklen >> 8);
    p[LangRelaisZyklenOffset + 2] = static_cast<std::uint8_t>(relaisZyklen >> 16);
    std::copy(status.begin(), status.end(), p.begin() + LangStatusOffset);
    return p;
}

}  // namespace krv::link
