#pragma once
// Which device stands behind COM1..COM4: the settings file's section "Ports", keys "COM1".."COM4".
// USB adapters come first among the defaults, since that is what technicians carry.
#include <string>

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

}  // namespace krv::platform
