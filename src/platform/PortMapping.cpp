#include "platform/PortMapping.hpp"

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

}  // namespace krv::platform
