#pragma once
// Options shared by all krvdiag-cli subcommands: `krvdiag-cli SUBCOMMAND [options] FILE...`.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace krv::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CliOptions {
    std::string subcommand;
    std::size_t chunk = 512;
    int sprachOffset = 0;     // --lang de|en
    bool service = false;     // --service
    std::string dataDir;      // --data DIR
    std::string start;        // --start "YYYY-MM-DD HH:MM:SS"
    long stepMs = -1;         // --step-ms N
    std::vector<std::string> files;
};

// Throws UsageError for an unknown option, a missing or bad value.
CliOptions parseOptions(const std::vector<std::string>& args);

}  // namespace krv::cli
