// krvdiag-cli: the KrvDiag core without a window, for batch work and tests.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Ausgabe.hpp"
#include "cli/CliOptions.hpp"
#include "cli/DumpCommand.hpp"
#include "cli/RecordCommand.hpp"
#include "cli/ScanCommand.hpp"
#include "cli/ShowCommand.hpp"
#include "platform/DateiOeffnen.hpp"
#ifdef KRVDIAG_HAVE_RENDER_WMF
#include "cli/RenderWmfCommand.hpp"
#endif

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
    "  render-wmf [--size WxH] FILE OUT.png\n"
    "                  draws a metafile as the picture areas do, fitted into WxH pixels\n"
    "                  (default 800x800) on white, and writes it as a PNG\n"
    "  record IN OUT   records IN into the protocol file OUT as the data recorder does;\n"
    "                  prints the recorder's messages as: message ID TEXT; exit\n"
    "                  status 2 also when OUT cannot be opened or written; IN is read\n"
    "                  as it arrives (a live stream too), and SIGINT, SIGTERM or SIGHUP\n"
    "                  end the recording as the end of IN does, with OUT complete\n"
    "  dump FILE       reads a protocol file as playback does: version, channels, trigger,\n"
    "                  records N, then one line per 19-byte slot (or with --csv one row\n"
    "                  per data record with the terminal levels, with --vcd a Value\n"
    "                  Change Dump for PulseView or GTKWave)\n"
    "\n"
    "Options (before the file arguments):\n"
    "  --chunk N       hand the input to the receive path in chunks of N bytes (default 512)\n"
    "  --lang de|en    language of the texts (default de)\n"
    "  --service       act as if the service access code had been entered\n"
    "  --data DIR      directory of the error text files (default: the data directory)\n"
    "  --append        record: append to OUT instead of replacing it\n"
    "  --trigger M     record: trigger mode 0..37 (default 0, no trigger)\n"
    "  --channels LIST record: nine terminal numbers 0..36 for the timing channels, a,b,...,i\n"
    "  --start TIME    record: clock start, local \"YYYY-MM-DD HH:MM:SS\" (default 2026-01-01 00:00:00)\n"
    "  --step-ms N     record: the clock advances N ms per accepted telegram (default 1000)\n"
    "  --csv           dump: spreadsheet rows instead of the slot lines\n"
    "  --port SPEC     scan, show, record: read the port SPEC instead of an input file (a device\n"
    "                  path, tcp://HOST:PORT or rfc2217://HOST:PORT) until SIGINT, SIGTERM,\n"
    "                  SIGHUP or the port is lost\n"
    "  --vcd           dump: a Value Change Dump (1 ms, wires T1..T36) instead of the slot lines\n"
    "  -o OUT          dump: write to the file OUT (replaced) instead of standard output\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "Input is read as it arrives (a file, standard input, a FIFO) and each line is written as\n"
    "its telegram is handled; output to a reader that has gone (| head) ends quietly.\n"
    "\n"
    "Exit status: 0 success, 1 usage error, 2 a file (input or output) cannot be opened, read\n"
    "or written, or the input is rejected; the message names the file and the reason;\n"
    "3 the port of --port was lost (the output is complete); 70 internal error.\n";

int run(const std::vector<std::string>& args, std::ostream& out) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        out << kUsage;
        return 0;
    }
    if (!args.empty() && args[0] == "--version") {
        out << "krvdiag-cli " << KRVDIAG_VERSION_STRING << '\n';
        return 0;
    }
    try {
#ifdef KRVDIAG_HAVE_RENDER_WMF
        // render-wmf has arguments of its own.
        if (!args.empty() && args[0] == "render-wmf") {
            return krv::cli::runRenderWmf({args.begin() + 1, args.end()}, out, std::cerr);
        }
#endif
        const krv::cli::CliOptions options = krv::cli::parseOptions(args);
        if (options.subcommand == "scan") return krv::cli::runScan(options, out, std::cerr);
        if (options.subcommand == "show") return krv::cli::runShow(options, out, std::cerr);
        if (options.subcommand == "record") return krv::cli::runRecord(options, out, std::cerr);
        if (options.subcommand == "dump") return krv::cli::runDump(options, out, std::cerr);
        throw krv::cli::UsageError("unknown subcommand '" + options.subcommand + "'");
    } catch (const krv::cli::UsageError& e) {
        std::cerr << "krvdiag-cli: " << e.what() << "\n\n" << kUsage;
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Started with standard input, output or error closed: a placeholder that fails every read
    // and write takes the place, so no file opened later becomes "standard input".
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && ::open("/dev/null", O_PATH) != fd) return 70;
    }
    // A reader that went away shows as EPIPE on the next write, not as a signal.
    std::signal(SIGPIPE, SIG_IGN);
    krv::cli::FdAusgabe puffer(STDOUT_FILENO);
    std::ostream out(&puffer);
    int status = 70;
    try {
        status = run({argv + 1, argv + argc}, out);
    } catch (const std::exception& e) {
        std::cerr << "krvdiag-cli: internal error: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "krvdiag-cli: internal error\n";
    }
    out.flush();
    // `krvdiag-cli show big.bin | head`: the reader has all it wanted.
    if (puffer.fehler() == EPIPE) return status == 70 ? status : 0;
    if (puffer.fehler() != 0) {
        std::cerr << "krvdiag-cli: " << krv::platform::dateiFehlerText("standard output", puffer.fehler())
                  << '\n';
        return status == 70 ? status : 2;
    }
    return status;
}
