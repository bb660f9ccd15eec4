#pragma once
// Which serial devices this computer has, so that a technician whose port opens nothing sees at
// once which device to map to it.
#include <filesystem>
#include <string>
#include <vector>

#include "core/link/PortHinweise.hpp"
#include "core/ports/ProfileStore.hpp"

namespace krv::platform {

struct SerialDevice {
    std::string pfad;  // as it goes under [Ports]: "/dev/ttyUSB0", "/dev/serial/by-id/usb-..."
    std::string ziel;  // for a by-id link the device it leads to ("/dev/ttyUSB0"), else empty
};

// The serial devices under devRoot (paths begin with devRoot): every ttyUSB* and ttyACM*, the ttyS* that have a UART behind them, then the links in
// serial/by-id. The kernel creates ttyS0..ttyS31 whether or not there is hardware, so a ttyS
// counts only when sysRoot/class/tty/<name>/device exists and its "type" file, if readable, is
// not 0 (no UART). Names sort with their numbers (ttyUSB2 before ttyUSB10).
std::vector<SerialDevice> serielleGeraete(const std::filesystem::path& devRoot = "/dev",
                                          const std::filesystem::path& sysRoot = "/sys");

// The list for a message, one device per line; a by-id link shows where it leads. A line of its
// own when there is no device at all.
std::string geraeteText(const std::vector<SerialDevice>& geraete);

// Whether path leads to something that exists (links followed).
bool geraetVorhanden(const std::string& path);

// The configured device of port nr and whether it exists; the port menu's hints show it.
link::PortGeraet portGeraetInfo(ports::ProfileStore& profile, int nr);

}  // namespace krv::platform
