#pragma once
#include <iosfwd>

#include "cli/CliOptions.hpp"

namespace krv::cli {

// `scan FILE`: one line per framing event, then the receive buffer's final length.
int runScan(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace krv::cli
