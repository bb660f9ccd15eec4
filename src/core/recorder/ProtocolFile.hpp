#pragma once
// The protocol file (.log) in one place: its record layouts, the check byte, the normalisation
// of a status block, the date value, and the reader's rules. The recorder writes with these
// functions, playback and `dump` read with them.
//
// A file is a plain byte stream of records that all start with "L":
//   "L0" header records: "L", "0", type letter, payload length N, N payload bytes;
//   "L3" data records, 19 bytes: "L", "3", the 16-byte block, check byte.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/common/Bytes.hpp"

namespace krv::recorder {

using StatusBlock = std::array<std::uint8_t, 16>;
using Datensatz = std::array<std::uint8_t, 19>;

inline constexpr std::size_t DatensatzLaenge = 19;
inline constexpr std::uint8_t LogVersionAktuell = 1;
inline constexpr int AnzahlKanaele = 9;
inline constexpr int TriggerModusMax = 37;
// A trigger record without a usable count.
inline constexpr int KeineTriggerAnzahl = 65535;

// Texts the reader and the recorder show (German ids; English = id + 10000).
inline constexpr int MeldungKeineLogDatei = 6010;
inline constexpr int MeldungTriggerAusgeloest = 6011;
inline constexpr int MeldungMaximumErreicht = 6012;
inline constexpr int MeldungUnbekannteVersion = 6013;

// ---- Writing ------------------------------------------------------------------------------

// The block as it is compared and stored: byte 0 AND 0x1F, byte 1 = 0 (the repeat count goes
// there), byte 3 OR 0x02, byte 4 OR 0x01, bytes 7..14 = 0 (the time stamp goes there), and byte
// 15 = 0 unless the CPU error flag (byte 0, bit 4) is set.
StatusBlock normalisiere(StatusBlock block);

// Check byte of a data record: CRC-8 of its bytes 0..17.
std::uint8_t pruefByte(ByteView ersteAchtzehn);

// A data record from a normalised block, its repeat count and its time stamp (date value).
Datensatz datenSatz(const StatusBlock& normalisiert, std::uint8_t wiederholungen, double zeit);

// "L0V", 1, version: 5 bytes.
Bytes versionsSatz(std::uint8_t version = LogVersionAktuell);
// "L0K", 9, the list index of each timing channel: 13 bytes.
Bytes kanalSatz(const std::array<int, AnzahlKanaele>& kanalTab);
// "L0T", 3, mode, count as signed 16-bit little-endian: 7 bytes.
Bytes triggerSatz(int modus, std::int16_t anzahl);

// Which block byte (0-based) and bit a trigger mode 2..37 watches: byte (mode - 2) / 8 + 2,
// mask 0x80 >> (mode - 2) % 8. Mode 1 watches the CPU error flag, byte 0 mask 0x10.
struct TriggerBit {
    std::size_t byte;
    std::uint8_t maske;
};
std::optional<TriggerBit> triggerBit(int modus);

// ---- Date values --------------------------------------------------------------------------
// Days since 1899-12-30 00:00 as a double, the fraction being the time of day. A date value
// carries wall-clock time; there is no time zone in it.

struct Zeitpunkt {
    int jahr = 1899;
    int monat = 12;
    int tag = 30;
    int stunde = 0;
    int minute = 0;
    int sekunde = 0;
    int millisekunde = 0;
};

// The date value of a wall-clock time, to the nearest double of the exact millisecond count.
double datumswert(const Zeitpunkt& z);

// The wall-clock time a date value encodes, milliseconds rounded half up; nothing for a value
// that is not a number or lies outside 1899-12-30 .. 9999-12-31.
std::optional<Zeitpunkt> zeitpunkt(double datumswert);

// "YYYY-MM-DD HH:MM:SS.mmm", or "invalid-time" where zeitpunkt() gives nothing.
std::string zeitText(double datumswert);

// Little-endian IEEE 754 double at the start of bytes (8 bytes needed).
double leseDouble(ByteView bytes);

// ---- Reading ------------------------------------------------------------------------------

// How far into the file the first data record is searched for.
inline constexpr std::size_t KopfSuchBereich = 128;

// 1-based position of the first "L3" lying wholly within the first 128 bytes, if any.
std::optional<std::size_t> ersterDatensatzPos(ByteView datei);

// Number of whole 19-byte slots from ersterPos (1-based) to the end; a partial slot is ignored.
std::size_t anzahlDatensaetze(std::size_t dateiLaenge, std::size_t ersterPos);

// Slot i (0-based) of the data area; empty when it is not wholly inside the file.
ByteView slot(ByteView datei, std::size_t ersterPos, std::size_t i);

// A slot holds a data record when it starts with "L3" and its check byte matches (the reader
// does not resynchronise inside the slot grid).
bool istDatensatz(ByteView slot);

// The fields of a slot that passed istDatensatz().
struct DatensatzInhalt {
    StatusBlock block{};  // the 16 stored bytes, offsets 2..17
    std::uint8_t wiederholungen = 0;
    double zeit = 0.0;
};
DatensatzInhalt leseDatensatz(ByteView slot);

}  // namespace krv::recorder
