#include "core/link/TelegramScanner.hpp"

#include "core/link/Crc8.hpp"

namespace krv::link {
namespace {

constexpr std::uint8_t kStart = 'L';

bool isHeaderType(std::uint8_t type) {
    return type == 'D' || type == 'K' || type == 'T' || type == 'V';
}

}  // namespace

void TelegramScanner::ShowData(ByteView chunk) {
    ReceiveState& s = state_;
    s.EmpfangsString.append(chunk);
    // At least five bytes from the scan position to the end of the buffer.
    while (s.EmpfangsPos + 3 < s.EmpfangsLaenge()) {
        if (!schritt()) break;
    }
    if (s.EmpfangsLaenge() > PufferGrenze) {
        s.EmpfangsString.dropBefore(s.EmpfangsPos);
        s.EmpfangsPos = 1;
    }
    consumer_.aufrufEnde(chunk);
}

bool TelegramScanner::schritt() {
    ReceiveState& s = state_;
    switch (s.EmpfangsZustand) {
    case 0:
        return sucheStart();
    case 1:
        if (s.EmpfangsPos + s.DatenLaenge > s.EmpfangsLaenge()) return false;  // not all there yet
        s.DatenStart = s.EmpfangsPos;
        s.EmpfangsZustand = 2;
        return true;
    case 2:
        return pruefeTelegramm();
    case 3:
        s.EmpfangsZustand = 0;
        return false;
    case 4:
        s.EmpfangsZustand = 0;
        return true;
    default:
        s.EmpfangsZustand = 0;
        return true;
    }
}

bool TelegramScanner::sucheStart() {
    ReceiveState& s = state_;
    s.crc = 0;
    if (s.EmpfangsString.at(s.EmpfangsPos) != kStart) {
        ++s.EmpfangsPos;
        return true;
    }
    s.crc = crc8Step(s.crc, kStart);
    const std::uint8_t kind = s.EmpfangsString.at(s.EmpfangsPos + 1);
    switch (kind) {
    case '1':
    case '2':
    case '3':
        s.crc = crc8Step(s.crc, kind);
        s.DatenLaenge = kind == '2' ? 256 : 16;
        s.EmpfangsZustand = 1;
        s.EmpfangsPos += 2;
        s.TelegrammArt = kind;
        consumer_.telegrammErkannt(kind);
        return true;
    case '0': {
        const std::size_t p = s.EmpfangsPos;
        if (!isHeaderType(s.EmpfangsString.at(p + 2))) {
            ++s.EmpfangsPos;
            return true;
        }
        const std::size_t m = s.EmpfangsString.at(p + 3);
        if (p + 3 + m > s.EmpfangsLaenge()) return false;  // read again when more has arrived
        consumer_.kopfsatz(s, p);
        if (s.EmpfangsPos <= p) s.EmpfangsPos = p + 1;  // a consumer must move on
        return true;
    }
    default:
        ++s.EmpfangsPos;  // the "L" was not a start
        return true;
    }
}

bool TelegramScanner::pruefeTelegramm() {
    ReceiveState& s = state_;
    for (std::size_t i = 0; i < s.DatenLaenge; ++i) {
        s.crc = crc8Step(s.crc, s.EmpfangsString.at(s.EmpfangsPos));
        ++s.EmpfangsPos;
    }
    if (s.EmpfangsString.at(s.EmpfangsPos) == s.crc) {
        s.EmpfangsZustand = consumer_.telegrammAkzeptiert(s) ? 3 : 4;
    } else {
        consumer_.crcFehler();
        s.EmpfangsZustand = 0;
    }
    // The telegram is cut off in both cases, CRC byte included.
    s.EmpfangsString.dropBefore(s.DatenStart + s.DatenLaenge + 1);
    s.EmpfangsPos = 1;
    if (s.EmpfangsZustand == 3) {
        s.EmpfangsZustand = 0;
        return false;
    }
    return true;
}

}  // namespace krv::link
