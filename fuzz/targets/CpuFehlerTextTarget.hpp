#pragma once
// Harness body for the CPU error text files Fehler0.txt / Fehler1.txt: the records looked up for
// one error number, from the bytes and through the file reader.
//
// Input layout: bytes 0..1 the error number asked for (little-endian, signed 16-bit), the rest is
// the file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/common/Bytes.hpp"

namespace krv::fuzz {

struct FehlerTextErgebnis {
    int fehlerNr = 0;
    bool dateiGueltig = false;
    std::optional<std::string> text;  // the text found for fehlerNr
    std::string fensterText;          // what the error window would show
};

FehlerTextErgebnis cpuFehlerTextZiel(ByteView eingabe);

}  // namespace krv::fuzz
