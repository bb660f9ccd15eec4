#pragma once
// Reads a whole protocol file the way playback opens one: the first five bytes through the
// receive path must leave a version of at least 1, the first "L3" within 128 bytes starts the
// data area, the header area before it goes through the receive path once more (carrying the
// receive state on) and sets channels and trigger, and the data area is 19-byte slots.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/common/Bytes.hpp"
#include "core/recorder/ProtocolFile.hpp"

namespace krv::recorder {

struct TriggerAngabe {
    int modus = 0;
    int anzahl = KeineTriggerAnzahl;  // 65535 unless the record has N = 3 and a count <= 32767
};

struct ProtokollKopf {
    int version = 0;  // LogVersion after the first five bytes
    // KanalTab after the first "K" record of the header area (from all 0), if there is one.
    std::optional<std::array<int, AnzahlKanaele>> kanaele;
    // The first "T" record of the header area, if there is one.
    std::optional<TriggerAngabe> trigger;
    std::size_t ersterDatensatzPos = 0;  // 1-based
    std::size_t anzahlDatensaetze = 0;   // AnzahlDatensaetze
};

struct LeseErgebnis {
    // The text id of the rejection (6013 or 6010); nothing when the file is accepted.
    std::optional<int> ablehnung;
    ProtokollKopf kopf;
};

// The header only, from the file's first bytes (at least KopfSuchBereich, or the whole file)
// and its length: every check but the search for a data record to show.
LeseErgebnis leseProtokollkopf(ByteView anfang, std::uint64_t dateiLaenge);

// A data record with a repeat count of at least 1: one playback can show.
bool zeigbarerDatensatz(ByteView slot);

// A file none of whose slots is a data record with a repeat count of at least 1 is rejected
// with 6010 too: playback would find no sample to show.
LeseErgebnis leseProtokolldatei(ByteView datei);

}  // namespace krv::recorder
