#pragma once
// Values read from the settings file at start-up and shared by the whole program.
#include <array>
#include <string>

namespace krv::app {

struct Einstellungen {
    std::string IniDatei = "KrvDiag.ini";
    int SprachOffset = 0;     // 0 German, 10000 English
    int HexDumpModus = 0;     // 0 no display, 1 standard, 2 always in front
    int ComPortNr = 1;        // 1..4
    int HexDumpAnzeige = 0;   // 0 decimal, 1 hexadecimal
    std::array<int, 9> KanalTab{};  // terminal list index shown on each timing channel
    int TriggerModus = 0;     // 0..37
};

inline constexpr const char* kSektionEinstellungen = "Einstellungen";

}  // namespace krv::app
