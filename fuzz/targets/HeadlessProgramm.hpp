#pragma once
// The harnesses run the real program headless. It looks for its error text files in a
// directory that does not exist, so the CPU error window shows the "file not found" text and no
// harness depends on files outside.
#include <string_view>

#include "core/app/HeadlessProgramm.hpp"

namespace krv::fuzz {

using app::KeineAndereInstanz;

inline constexpr const char* kProgrammPfad = "/nonexistent-krvdiag-fuzz/";

struct HeadlessProgramm : app::HeadlessProgramm {
    explicit HeadlessProgramm(std::string_view einstellungen) : app::HeadlessProgramm(einstellungen, kProgrammPfad) {}
};

}  // namespace krv::fuzz
