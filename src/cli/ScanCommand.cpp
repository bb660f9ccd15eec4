#include "cli/ScanCommand.hpp"

#include <ostream>

#include "cli/CliSession.hpp"
#include "cli/ScanPrinter.hpp"

namespace krv::cli {

int runScan(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.files.size() != 1) throw UsageError("scan takes exactly one input file");
    const InputData input = readInput(options.files[0]);
    if (!input.error.empty()) {
        err << input.error << '\n';
        return 2;
    }
    CliSession session(options);
    ScanPrinter printer(out);
    session.beobachten(printer);
    session.feed(input.bytes);
    out << "buffer " << session.form().receivePath().receive().EmpfangsLaenge() << '\n';
    return 0;
}

}  // namespace krv::cli
