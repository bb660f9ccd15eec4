#pragma once
// Command line of krvdiag-sim.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace krv::sim {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct SimOptions {
    std::string device;                  // empty: a new pseudo-terminal; "-": standard output
    std::string listen;                  // "[HOST:]PORT": raw TCP to every client instead
    bool fast = false;                   // no pacing at the line rate
    std::optional<std::uint64_t> count;  // stop after this many telegrams
    int model = 13;                      // 0..15
    std::uint32_t seed = 1;
    bool cpuErrors = false;
    bool crcErrors = false;
    bool garbage = false;
    bool help = false;
};

// Throws UsageError for an unknown option or a missing or bad value.
SimOptions parseSimOptions(const std::vector<std::string>& args);

std::string usageText();

}  // namespace krv::sim
