#pragma once
// Harness body for protocol files: the whole input is one file. It goes through the reader
// (as `dump` reads it) and through playback in the real program: open, first window, single
// steps, pages, a drag, a click on a strip, the jump to the last record, back to the first.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/common/Bytes.hpp"

namespace krv::fuzz {

struct WiedergabeErgebnis {
    std::optional<int> leserAblehnung;  // text id the reader refused the file with
    std::size_t anzahlDatensaetze = 0;  // the reader's slot count (0 when refused early)
    bool wiedergabeLief = false;        // playback loaded its first window
    int fensterLadungen = 0;            // windows loaded while moving through the file
    int meldungen = 0;                  // message boxes shown
};

WiedergabeErgebnis wiedergabeZiel(ByteView datei);

}  // namespace krv::fuzz
