// libFuzzer entry for protocol files (reader and playback).
// The harness body is shared with the regression run in the normal tests (tests/fuzz).
// Build and run: docs/robustness.md.
#include <cstddef>
#include <cstdint>

#include "targets/PlaybackTarget.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)krv::fuzz::wiedergabeZiel({data, size});
    return 0;
}
