#include "sim/SimOptions.hpp"

#include <charconv>

namespace krv::sim {
namespace {

template <typename T>
T number(const std::string& option, const std::string& text, T min, T max) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < min || value > max) {
        throw UsageError("bad value for " + option + ": '" + text + "'");
    }
    return value;
}

}  // namespace

SimOptions parseSimOptions(const std::vector<std::string>& args) {
    SimOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            return args[++i];
        };
        auto noValue = [&] {
            if (inlineValue) throw UsageError(arg + " takes no value");
        };

        if (arg == "--help" || arg == "-h") {
            noValue();
            o.help = true;
        } else if (arg == "--device") {
            o.device = value();
            if (o.device.empty()) throw UsageError("--device needs a path");
        } else if (arg == "--listen") {
            o.listen = value();
            if (o.listen.empty()) throw UsageError("--listen needs a port");
        } else if (arg == "--fast") {
            noValue();
            o.fast = true;
        } else if (arg == "--count") {
            o.count = number<std::uint64_t>(arg, value(), 1, UINT64_MAX);
        } else if (arg == "--model") {
            o.model = number<int>(arg, value(), 0, 15);
        } else if (arg == "--seed") {
            o.seed = number<std::uint32_t>(arg, value(), 0, UINT32_MAX);
        } else if (arg == "--cpu-errors") {
            noValue();
            o.cpuErrors = true;
        } else if (arg == "--crc-errors") {
            noValue();
            o.crcErrors = true;
        } else if (arg == "--garbage") {
            noValue();
            o.garbage = true;
        } else {
            throw UsageError("unknown option '" + args[i] + "'");
        }
    }
    if (!o.device.empty() && !o.listen.empty()) throw UsageError("--device and --listen exclude each other");
    return o;
}

std::string usageText() {
    return "Usage: krvdiag-sim [options]\n"
           "A simulated KRV controller: sends diagnostic telegrams at 9600 baud, 8N1.\n"
           "Without --device it creates a pseudo-terminal and prints its path on the first line;\n"
           "point a port of KrvDiag at that path (settings file, section [Ports]).\n"
           "\n"
           "  --device PATH   send to PATH (an existing serial device or file) instead; '-' = stdout\n"
           "  --listen [HOST:]PORT  serve the telegrams as raw TCP to every client that connects, as a\n"
           "                  serial device server does (HOST default 127.0.0.1; PORT 0 picks a free\n"
           "                  one); the first line printed is HOST:PORT\n"
           "  --fast          send as fast as the reader takes the bytes (default: 960 bytes/s)\n"
           "  --count N       stop after N telegrams (default: until SIGINT/SIGTERM)\n"
           "  --model N       model code 0..15 (default 13, KRV-cbx/Rx)\n"
           "  --seed N        seed of the scenario; the same seed gives the same bytes (default 1)\n"
           "  --cpu-errors    now and then a CPU error episode of a few seconds\n"
           "  --crc-errors    now and then a telegram with a damaged CRC\n"
           "  --garbage       now and then a few stray bytes between telegrams\n"
           "  --help          this text\n";
}

}  // namespace krv::sim
