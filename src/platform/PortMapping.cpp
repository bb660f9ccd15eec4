#include "platform/PortMapping.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace krv::platform {

std::string standardGeraet(int nr) {
    switch (nr) {
    case 1: return "/dev/ttyUSB0";
    case 2: return "/dev/ttyUSB1";
    case 3: return "/dev/ttyS0";
    case 4: return "/dev/ttyS1";
    default: return {};
    }
}

std::string portSchluessel(int nr) { return "COM" + std::to_string(nr); }

std::string portGeraet(ports::ProfileStore& profile, int nr) {
    std::string path = profile.GetPrivateProfileString(kSektionPorts, portSchluessel(nr), standardGeraet(nr));
    const auto first = path.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return path.substr(first, path.find_last_not_of(" \t") - first + 1);
}

namespace {

// The scheme's length including "://" when text begins with it (in any case), else 0.
std::size_t schema(std::string_view text, std::string_view name) {
    const std::string_view mit = text.substr(0, name.size());
    const bool gleich = std::equal(mit.begin(), mit.end(), name.begin(), name.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
    return gleich && mit.size() == name.size() ? name.size() : 0;
}

}  // namespace

bool istNetzAdresse(std::string_view text) { return schema(text, "tcp://") || schema(text, "rfc2217://"); }

std::optional<NetzAdresse> netzAdresse(std::string_view text) {
    NetzAdresse a;
    std::size_t n = schema(text, "tcp://");
    if (n == 0) {
        n = schema(text, "rfc2217://");
        a.rfc2217 = true;
    }
    if (n == 0) return std::nullopt;
    text.remove_prefix(n);
    std::string_view host;
    if (!text.empty() && text.front() == '[') {
        const auto zu = text.find(']');
        if (zu == std::string_view::npos || zu + 1 >= text.size() || text[zu + 1] != ':') return std::nullopt;
        host = text.substr(1, zu - 1);
        text.remove_prefix(zu + 2);
    } else {
        const auto doppelpunkt = text.rfind(':');
        if (doppelpunkt == std::string_view::npos) return std::nullopt;
        host = text.substr(0, doppelpunkt);
        text.remove_prefix(doppelpunkt + 1);
        // An unbracketed IPv6 address or a path is no host.
        if (host.find_first_of(":/[] ") != std::string_view::npos) return std::nullopt;
    }
    int port = 0;
    const auto [ende, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (host.empty() || ec != std::errc{} || ende != text.data() + text.size() || port < 1 || port > 65535) {
        return std::nullopt;
    }
    a.host = std::string(host);
    a.port = std::string(text);
    return a;
}

}  // namespace krv::platform
