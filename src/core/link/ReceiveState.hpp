#pragma once
// The receive state shared by framing, dispatch and the display routines. Positions are
// 1-based like the framing rules; they are std::size_t so that no chunk size can overflow
// them (the device's original 16-bit counters wrapped for chunks above about 31,000 bytes).
#include <cstddef>
#include <cstdint>

#include "core/link/ReceiveBuffer.hpp"

namespace krv::link {

struct ReceiveState {
    ReceiveBuffer EmpfangsString;
    std::size_t EmpfangsPos = 1;
    std::size_t DatenStart = 0;   // position of payload byte 0 of the telegram being dispatched
    std::size_t DatenLaenge = 0;  // 16, 256, or 0 while none was recognised
    int EmpfangsZustand = 0;      // scan state 0..4
    std::uint8_t TelegrammArt = 0;  // kind digit '1', '2' or '3' of the telegram being collected
    std::uint8_t crc = 0;         // running CRC, survives between calls

    std::size_t EmpfangsLaenge() const { return EmpfangsString.length(); }

    // Data byte n (0-based) of the telegram being dispatched.
    std::uint8_t datenByte(std::size_t n) const { return EmpfangsString.at(DatenStart + n); }
    ByteView payload() const { return EmpfangsString.view(DatenStart, DatenLaenge); }
    // Kind digit of the telegram being dispatched. It is kept apart from the buffer because
    // the buffer limit may already have cut the start off while the payload was arriving.
    std::uint8_t kind() const { return TelegrammArt; }

    // The reset done by Init_Port, the start of data transfer and the main window's load.
    void reset() {
        EmpfangsString.clear();
        EmpfangsPos = 1;
        DatenStart = 0;
        DatenLaenge = 0;
        EmpfangsZustand = 0;
    }
};

}  // namespace krv::link
