#pragma once
#include <iosfwd>

#include "cli/CliOptions.hpp"

namespace krv::link {
class DispatchHooks;
}

namespace krv::cli {

class CliSession;

// `scan FILE`: one line per framing event, then the receive buffer's length.
int runScan(const CliOptions& options, std::ostream& out, std::ostream& err);

// scan and show: the input (options.files[0]) through the session's receive path as it
// arrives, every dispatch event to `drucker`, then the line `buffer N`. Exit status 2 when the
// input cannot be opened or read.
int zeigeEingabe(const CliOptions& options, CliSession& session, link::DispatchHooks& drucker,
                 std::ostream& out, std::ostream& err);

}  // namespace krv::cli
