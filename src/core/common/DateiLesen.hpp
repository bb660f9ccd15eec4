#pragma once
// Reading the start of a text file the program ships (help and error texts): at most maxBytes,
// and when the file cannot be read, why, in the one form "PATH: REASON".
#include <cstddef>
#include <string>

namespace krv {

struct DateiAnfang {
    bool gelesen = false;        // false: fehler says why
    std::string daten;           // at most maxBytes
    bool abgeschnitten = false;  // more followed
    std::string fehler;
};

DateiAnfang leseDateiAnfang(const std::string& pfad, std::size_t maxBytes);

}  // namespace krv
