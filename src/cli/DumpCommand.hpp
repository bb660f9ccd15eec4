#pragma once
#include <iosfwd>

#include "cli/CliOptions.hpp"

namespace krv::cli {

// `dump [--lang de|en] [--csv | --vcd] [-o OUT] FILE`: reads a protocol file as playback does and
// prints its version, channels, trigger, number of records and every 19-byte slot, or the CSV
// table or Value Change Dump of the window's export; -o writes to OUT instead of standard
// output. A file playback would reject prints the rejection's text on standard error and gives
// exit status 2.
int runDump(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace krv::cli
