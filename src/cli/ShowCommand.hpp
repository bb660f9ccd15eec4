#pragma once
#include <iosfwd>

#include "cli/CliOptions.hpp"

namespace krv::cli {

// `show FILE`: the scan's lines, and after every displayed telegram what the windows show.
int runShow(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace krv::cli
