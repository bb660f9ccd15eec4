#pragma once
// The sixteen models of the controller family: name, base code, picture files and LED counts.
// The model index is the low nibble of status byte 0.
#include <array>
#include <string>
#include <string_view>

#include "core/device/LedTables.hpp"

namespace krv::device {

inline constexpr int kAnzahlModelle = 16;

struct Modell {
    int index;
    std::string_view basisCode;        // a, ax, b, bx, c, cx, cb, cbx: decides the configuration fields
    std::string_view bildOutput;       // Image1: output module
    std::string_view bildCpu;          // Image2: CPU module
    std::string_view bildErweiterung;  // Image3: extension module; empty for models without one
    std::string_view bildStrom;        // imgStrom: wiring picture with the terminals
    int ledAnzahlOutput;
    int ledAnzahlCpu;
    int ledAnzahlErweiterung;
    std::string_view tabellenName;     // AR_TAB .. CBXTX_TAB

    // String table id of the display name (the same in both languages).
    int nameId() const { return 20 + index; }
    const LedTabelle& ledTabelle() const { return ledTabellen()[static_cast<std::size_t>(index)]; }
};

const std::array<Modell, kAnzahlModelle>& modellKatalog();

// The catalogue row of model index 0..15.
const Modell& modell(int index);

// The display name of model index 0..15 in the language given by the offset.
std::string modellName(int index, int sprachOffset);

}  // namespace krv::device
