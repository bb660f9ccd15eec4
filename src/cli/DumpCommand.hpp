#pragma once
#include <iosfwd>

#include "cli/CliOptions.hpp"

namespace krv::cli {

// `dump [--lang de|en] [--csv] FILE`: reads a protocol file as playback does and prints its
// version, channels, trigger, number of records and every 19-byte slot. A file playback would
// reject prints the rejection's text on standard error and gives exit status 2.
int runDump(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace krv::cli
