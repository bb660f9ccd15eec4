// libFuzzer entry for the settings file KrvDiag.ini.
// The harness body is shared with the regression run in the normal tests (tests/fuzz).
// Build and run: docs/robustness.md.
#include <cstddef>
#include <cstdint>

#include "targets/SettingsTarget.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)krv::fuzz::einstellungsZiel({data, size});
    return 0;
}
