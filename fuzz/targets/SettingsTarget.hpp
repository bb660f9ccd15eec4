#pragma once
// Harness body for the settings file KrvDiag.ini: parse, the start-up reads, one key written
// the way the program writes a setting, and the written text parsed again.
//
// Input layout: byte 0 picks the key written (one of the keys the program uses, modulo their
// number), byte 1 is its value (signed), the rest is the file's text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/common/Bytes.hpp"
#include "core/state/Einstellungen.hpp"

namespace krv::fuzz {

struct EinstellungsErgebnis {
    app::Einstellungen gelesen;  // the start-up settings as the program took them
    std::string sektion;         // the key written and its value
    std::string schluessel;
    int wert = 0;
    bool geschrieben = false;    // the write was taken
    std::string neuerText;       // the file after the write
};

EinstellungsErgebnis einstellungsZiel(ByteView eingabe);

}  // namespace krv::fuzz
