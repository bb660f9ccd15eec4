// krvdiag-cli: the KrvDiag core without a window, for batch work and tests.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliOptions.hpp"
#include "cli/ScanCommand.hpp"
#include "cli/ShowCommand.hpp"

namespace {

constexpr const char* kUsage =
    "Usage: krvdiag-cli SUBCOMMAND [options] FILE\n"
    "\n"
    "Feeds a raw received byte stream (FILE, or - for standard input) through the KrvDiag\n"
    "receive path, exactly as if it had arrived on the serial port.\n"
    "\n"
    "Subcommands:\n"
    "  scan FILE       one line per framing event: display K HEX, skip K HEX, crc-error,\n"
    "                  header X [HEX]; last line: buffer N (receive buffer length)\n"
    "  show FILE       as scan, and after each displayed telegram what the windows show:\n"
    "                  model, module and terminal LEDs, status values, CPU error window\n"
    "\n"
    "Options (before the file arguments):\n"
    "  --chunk N       hand the input to the receive path in chunks of N bytes (default 512)\n"
    "  --lang de|en    language of the texts (default de)\n"
    "  --service       act as if the service access code had been entered\n"
    "  --data DIR      directory of the error text files (default: the data directory)\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "Exit status: 0 success, 1 usage error, 2 input file unreadable or rejected.\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        std::cout << kUsage;
        return 0;
    }
    if (!args.empty() && args[0] == "--version") {
        std::cout << "krvdiag-cli " << KRVDIAG_VERSION_STRING << '\n';
        return 0;
    }
    try {
        const krv::cli::CliOptions options = krv::cli::parseOptions(args);
        if (options.subcommand == "scan") return krv::cli::runScan(options, std::cout, std::cerr);
        if (options.subcommand == "show") return krv::cli::runShow(options, std::cout, std::cerr);
        throw krv::cli::UsageError("unknown subcommand '" + options.subcommand + "'");
    } catch (const krv::cli::UsageError& e) {
        std::cerr << "krvdiag-cli: " << e.what() << "\n\n" << kUsage;
        return 1;
    }
}
