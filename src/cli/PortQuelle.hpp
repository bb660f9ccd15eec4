#pragma once
// A live port as the input of scan, show and record (`--port SPEC`): a device path opened as the
// window opens it (raw 9600 8N1, exclusive), or a serial device server's "tcp://HOST:PORT" or
// "rfc2217://HOST:PORT". It is read until a stop signal arrives or the port is lost.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/StopSignale.hpp"
#include "core/state/MemoryProfile.hpp"
#include "platform/MappedSerialPort.hpp"

namespace krv::cli {

class PortQuelle {
public:
    explicit PortQuelle(const std::string& spec);
    // Nothing when the port is open, else the reason naming it.
    std::optional<std::string> oeffne();
    // Waits for bytes, the port's loss or a stop signal; appends what came. Lesen::Ende: the
    // port is lost (verloren()).
    Lesen lies(Bytes& puffer, StopSignale& stop);
    bool verloren() const { return verloren_; }
    // The port's line errors since the last call, as CommEvent codes in order.
    std::vector<int> leitungsfehler() { return std::exchange(fehler_, {}); }
    const std::string& name() const { return spec_; }

private:
    std::string spec_;
    app::MemoryProfile profile_;
    platform::MappedSerialPort port_;
    bool verloren_ = false;
    std::vector<int> fehler_;
};

}  // namespace krv::cli
