#include "cli/PortQuelle.hpp"

#include <poll.h>

#include <array>

#include "platform/PortMapping.hpp"

namespace krv::cli {

namespace ev = ports::CommEvent;

PortQuelle::PortQuelle(const std::string& spec) : spec_(spec), port_(profile_) {
    profile_.WritePrivateProfileString(platform::kSektionPorts, platform::portSchluessel(1), spec);
    port_.setCommPort(1);
    port_.setSettings("9600,N,8,1");
    port_.setOnComm([this](int code) {
        if (code == ev::VerbindungVerloren) {
            verloren_ = true;
        } else if (code != ev::Empfang) {
            fehler_.push_back(code);
        }
    });
}

std::optional<std::string> PortQuelle::oeffne() { return port_.open(); }

Lesen PortQuelle::lies(Bytes& puffer, StopSignale& stop) {
    if (stop.empfangen()) return Lesen::Signal;
    if (verloren_ || !port_.isOpen()) return Lesen::Ende;
    std::array<pollfd, 2> warten{{{port_.fd(), POLLIN, 0}, {stop.fd(), POLLIN, 0}}};
    const nfds_t anzahl = stop.fd() >= 0 ? 2 : 1;
    if (::poll(warten.data(), anzahl, -1) < 0) return Lesen::Daten;  // EINTR: look again
    if (stop.empfangen()) return Lesen::Signal;
    if (warten[0].revents != 0) port_.handleReadable();
    const Bytes neu = port_.input();
    puffer.insert(puffer.end(), neu.begin(), neu.end());
    // What came before the loss is handed on first; the loss ends the input at the next call.
    return neu.empty() && verloren_ ? Lesen::Ende : Lesen::Daten;
}

}  // namespace krv::cli
