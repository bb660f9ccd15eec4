#pragma once
// Which device stands behind COM1..COM4: the settings file's section "Ports", keys "COM1".."COM4".
// USB adapters come first among the defaults, since that is what technicians carry. A port may
// also be a serial device server on the network: "tcp://HOST:PORT" (the line's bytes as they
// arrive) or "rfc2217://HOST:PORT" (Telnet with the COM port control option).
#include <optional>
#include <string>
#include <string_view>

#include "core/ports/ProfileStore.hpp"

namespace krv::platform {

inline constexpr const char* kSektionPorts = "Ports";

// The default device of port nr: COM1 /dev/ttyUSB0, COM2 /dev/ttyUSB1, COM3 /dev/ttyS0,
// COM4 /dev/ttyS1; empty for any other number.
std::string standardGeraet(int nr);

// The settings file's key for port nr: "COM1".."COM4".
std::string portSchluessel(int nr);

// The configured device of port nr, or its default; surrounding blanks are removed.
std::string portGeraet(ports::ProfileStore& profile, int nr);

struct NetzAdresse {
    bool rfc2217 = false;  // else raw TCP
    std::string host;      // a name, an IPv4 address or an IPv6 address (without its brackets)
    std::string port;      // 1..65535, as written
};

// Whether text names a network port (begins with "tcp://" or "rfc2217://", in any case).
bool istNetzAdresse(std::string_view text);

// The parts of "tcp://HOST:PORT" or "rfc2217://HOST:PORT", HOST an IPv6 address in brackets
// ("tcp://[::1]:4001"); nothing for a device path or an address that lacks a part.
std::optional<NetzAdresse> netzAdresse(std::string_view text);

}  // namespace krv::platform
