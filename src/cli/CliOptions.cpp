#include "cli/CliOptions.hpp"

#include <charconv>

namespace krv::cli {
namespace {

long parseNumber(const std::string& option, const std::string& text, long minimum) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < minimum) {
        throw UsageError(option + " needs a whole number of at least " + std::to_string(minimum) + ", not '" + text + "'");
    }
    return value;
}

long parseRange(const std::string& option, const std::string& text, long minimum, long maximum) {
    const long value = parseNumber(option, text, minimum);
    if (value > maximum) {
        throw UsageError(option + " takes " + std::to_string(minimum) + ".." + std::to_string(maximum) + ", not '" +
                         text + "'");
    }
    return value;
}

// Nine comma-separated terminal numbers 0..36, one per timing channel.
std::array<int, 9> parseChannels(const std::string& option, const std::string& text) {
    std::array<int, 9> channels{};
    std::size_t start = 0;
    for (std::size_t j = 0; j < channels.size(); ++j) {
        const std::size_t comma = text.find(',', start);
        const bool last = j + 1 == channels.size();
        if (last != (comma == std::string::npos)) {
            throw UsageError(option + " needs nine values separated by commas, not '" + text + "'");
        }
        const std::string item = text.substr(start, last ? std::string::npos : comma - start);
        channels[j] = static_cast<int>(parseRange(option, item, 0, 36));
        start = comma + 1;
    }
    return channels;
}

}  // namespace

CliOptions parseOptions(const std::vector<std::string>& args) {
    CliOptions o;
    if (args.empty()) throw UsageError("missing subcommand");
    o.subcommand = args[0];
    std::size_t i = 1;
    auto value = [&](const std::string& option) -> const std::string& {
        if (i + 1 >= args.size()) throw UsageError(option + " needs a value");
        return args[++i];
    };
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (a.size() < 2 || a[0] != '-' || a == "-") break;  // first file argument
        if (a == "--chunk") {
            o.chunk = static_cast<std::size_t>(parseNumber(a, value(a), 1));
        } else if (a == "--lang") {
            const std::string& lang = value(a);
            if (lang == "de") o.sprachOffset = 0;
            else if (lang == "en") o.sprachOffset = 10000;
            else throw UsageError("--lang takes de or en, not '" + lang + "'");
        } else if (a == "--service") {
            o.service = true;
        } else if (a == "--data") {
            o.dataDir = value(a);
        } else if (a == "--start") {
            o.start = value(a);
        } else if (a == "--step-ms") {
            o.stepMs = parseNumber(a, value(a), 0);
        } else if (a == "--append") {
            o.append = true;
        } else if (a == "--trigger") {
            o.trigger = static_cast<int>(parseRange(a, value(a), 0, 37));
        } else if (a == "--channels") {
            o.channels = parseChannels(a, value(a));
        } else if (a == "--port") {
            o.port = value(a);
            if (o.port.empty()) throw UsageError("--port needs a device path or an address");
        } else if (a == "--csv") {
            o.csv = true;
        } else if (a == "--vcd") {
            o.vcd = true;
        } else if (a == "-o") {
            o.ausgabe = value(a);
        } else {
            throw UsageError("unknown option '" + a + "'");
        }
    }
    for (; i < args.size(); ++i) o.files.push_back(args[i]);
    if (o.csv && o.vcd) throw UsageError("--csv and --vcd exclude each other");
    return o;
}

}  // namespace krv::cli
