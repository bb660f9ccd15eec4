#pragma once
// The harnesses' own checks. A broken rule aborts with its text, so libFuzzer keeps the input as
// a crash and the regression run fails on it the same way.
#include <cstdio>
#include <cstdlib>

namespace krv::fuzz {

[[noreturn]] inline void pruefungFehlgeschlagen(const char* bedingung, const char* regel, const char* datei,
                                                int zeile) {
    std::fprintf(stderr, "%s:%d: broken rule: %s (%s)\n", datei, zeile, regel, bedingung);
    std::abort();
}

}  // namespace krv::fuzz

#define KRV_FUZZ_PRUEFE(bedingung, regel)                                                      \
    do {                                                                                       \
        if (!(bedingung)) ::krv::fuzz::pruefungFehlgeschlagen(#bedingung, regel, __FILE__, __LINE__); \
    } while (0)
