#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>

#include "cli/CliOptions.hpp"

namespace krv::cli {

// `record [--append] [--trigger M] [--channels a,..,i] [--start T] [--step-ms N] IN OUT`:
// records IN into the protocol file OUT as the data recorder does. Messages the recorder shows
// are printed as `message <id> <text>`.
int runRecord(const CliOptions& options, std::ostream& out, std::ostream& err);

// "YYYY-MM-DD HH:MM:SS" as local time, in milliseconds since the Unix epoch. Throws UsageError
// for a malformed or impossible time.
std::int64_t lokaleStartzeitMs(const std::string& text);

// The date value (local wall-clock time) of a moment in milliseconds since the Unix epoch.
double lokalerDatumswert(std::int64_t unixMs);

}  // namespace krv::cli
