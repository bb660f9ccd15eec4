#pragma once
// A live port as the input of scan, show and record (`--port SPEC`): a device path opened as the
// window opens it (raw 9600 8N1, exclusive), or a serial device server's "tcp://HOST:PORT" or
// "rfc2217://HOST:PORT". It is read until a stop signal arrives or the port is lost; its line
// errors and its loss are told on standard error in the window's words.
#include <memory>
#include <ostream>
#include <string>

#include "cli/ByteQuelle.hpp"
#include "cli/CliOptions.hpp"
#include "core/state/MemoryProfile.hpp"
#include "platform/MappedSerialPort.hpp"

namespace krv::cli {

class PortQuelle : public ByteQuelle {
public:
    PortQuelle(const std::string& adresse, std::ostream& err, int sprachOffset);
    // Nothing when the port is open, else the reason naming it.
    std::optional<std::string> oeffne() { return port_.open(); }
    // Lesen::Ende: the port is lost (verloren()), after everything that came before.
    Lesen lies(Bytes& puffer, StopSignale& stop, int wartezeitMs, std::string& fehler) override;
    bool verloren() const { return verloren_; }

private:
    std::string adresse_;
    std::ostream& err_;
    int sprachOffset_;
    app::MemoryProfile profile_;
    platform::MappedSerialPort port_;
    bool verloren_ = false;
};

// The input of scan, show and record: the port of --port, else the first file argument.
struct Eingabe {
    std::unique_ptr<ByteQuelle> quelle;  // nothing: fehler says why
    std::string fehler;
    PortQuelle* port = nullptr;          // the port, when the input is one
};
Eingabe oeffneEingabe(const CliOptions& options, std::ostream& err);

// Exit status of a run that ended because the port was lost (the output is complete).
inline constexpr int kPortVerloren = 3;

}  // namespace krv::cli
