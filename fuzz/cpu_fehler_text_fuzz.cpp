// libFuzzer entry for the CPU error text files.
// The harness body is shared with the regression run in the normal tests (tests/fuzz).
// Build and run: docs/robustness.md.
#include <cstddef>
#include <cstdint>

#include "targets/CpuFehlerTextTarget.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)krv::fuzz::cpuFehlerTextZiel({data, size});
    return 0;
}
