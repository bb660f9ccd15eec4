#pragma once
// Options shared by all krvdiag-cli subcommands: `krvdiag-cli SUBCOMMAND [options] FILE...`.
#include <array>
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
    bool append = false;      // --append (record: keep the old content)
    int trigger = 0;          // --trigger M (record: trigger mode 0..37)
    std::array<int, 9> channels{};  // --channels a,b,c,d,e,f,g,h,i (record: terminal per timing channel)
    bool csv = false;         // --csv (dump: spreadsheet rows)
    std::string port;         // --port SPEC (scan, show, record: a live port instead of the input file)
    bool vcd = false;         // --vcd (dump: Value Change Dump)
    std::string ausgabe;      // -o OUT (dump: write to OUT instead of standard output)
    std::vector<std::string> files;
};

// Throws UsageError for an unknown option, a missing or bad value.
CliOptions parseOptions(const std::vector<std::string>& args);

}  // namespace krv::cli
