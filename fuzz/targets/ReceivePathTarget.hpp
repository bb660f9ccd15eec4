#pragma once
// Harness body for the receive path: arbitrary bytes, split into chunks the input chooses,
// through ShowData of the real program (framing, dispatch, display, recorder, raw copy).
//
// Input layout:
//   byte 0  options: bits 0..1 SimulationsStatus (3 counts as 0); 0x04 service mode; 0x08 hex
//           dump window; 0x10 English; 0x20 recorder running (SimulationsStatus 0 only);
//           0x40 CPU data file open; 0x80 status window instead of the timing diagram
//   byte 1  trigger mode of the recording (modulo 38)
//   then    chunks: a header byte h, then the chunk. h & 0x80: drain after the chunk.
//           c = h & 0x7F: c < 0x70 is the length; otherwise the length is
//           (c - 0x6F) * 256 + the next byte (up to 4351). A chunk is cut at the end of the input.
#include <cstddef>
#include <cstdint>

#include "core/common/Bytes.hpp"

namespace krv::fuzz {

// The receive buffer never holds more than this after a call of ShowData. The framing rules give
// less than 4096: a call that displays a telegram stops with the buffer below the back-log
// threshold (at most 4096), and every other call ends with the 1024-character rule, which keeps
// only what follows the scan position (an incomplete telegram or header record, at most 258
// bytes). The check allows one short telegram more.
inline constexpr std::size_t kEmpfangsPufferGrenze = 4096 + 19;

struct EmpfangsErgebnis {
    int simulationsStatus = 0;
    int aufrufe = 0;         // calls of ShowData (drains included)
    int angezeigt = 0;       // telegrams displayed
    int nichtAngezeigt = 0;  // accepted without display (back-log rule)
    int crcFehler = 0;
    int kopfsaetze = 0;      // header records consumed
    std::size_t groessterPuffer = 0;      // largest buffer left after a call
    std::size_t aufgezeichneteBytes = 0;  // protocol file written by the recorder
};

EmpfangsErgebnis empfangsPfadZiel(ByteView eingabe);

}  // namespace krv::fuzz
