#include "cli/PortQuelle.hpp"

#include <poll.h>

#include <array>

#include "core/link/PortControl.hpp"
#include "core/link/PortHandler.hpp"
#include "core/state/StringTable.hpp"
#include "platform/PortMapping.hpp"

namespace krv::cli {

namespace ev = ports::CommEvent;

PortQuelle::PortQuelle(const std::string& adresse, std::ostream& err, int sprachOffset)
    : adresse_(adresse), err_(err), sprachOffset_(sprachOffset), port_(profile_) {
    profile_.WritePrivateProfileString(platform::kSektionPorts, platform::portSchluessel(1), adresse);
    port_.setCommPort(1);
    port_.setSettings(link::PortControl::LineSettings);
    port_.setOnComm([this](int code) {
        if (code == ev::Empfang) return;
        if (code == ev::VerbindungVerloren) {
            verloren_ = true;
            err_ << "krvdiag-cli: " << link::verbindungVerlorenText(sprachOffset_, adresse_) << '\n';
        } else {
            err_ << "krvdiag-cli: " << adresse_ << ": "
                 << app::LoadResString(link::leitungsFehler(code).textId, sprachOffset_) << '\n';
        }
    });
}

Lesen PortQuelle::lies(Bytes& puffer, StopSignale& stop, int wartezeitMs, std::string&) {
    if (stop.empfangen()) return Lesen::Signal;
    if (verloren_ || !port_.isOpen()) return Lesen::Ende;
    std::array<pollfd, 2> warten{{{port_.fd(), POLLIN, 0}, {stop.fd(), POLLIN, 0}}};
    const nfds_t anzahl = stop.fd() >= 0 ? 2 : 1;
    const int bereit = ::poll(warten.data(), anzahl, wartezeitMs);
    if (stop.empfangen()) return Lesen::Signal;
    if (bereit > 0 && warten[0].revents != 0) port_.handleReadable();
    const Bytes neu = port_.input();
    puffer.insert(puffer.end(), neu.begin(), neu.end());
    // What came before the loss is handed on first; the loss ends the input at the next call.
    return neu.empty() && verloren_ ? Lesen::Ende : Lesen::Daten;
}

Eingabe oeffneEingabe(const CliOptions& options, std::ostream& err) {
    if (options.port.empty()) {
        GeoeffneteQuelle datei = oeffneEingabe(options.files.at(0));
        return {std::move(datei.quelle), datei.fehler};
    }
    auto port = std::make_unique<PortQuelle>(options.port, err, options.sprachOffset);
    if (const auto fehler = port->oeffne()) return {nullptr, *fehler};
    PortQuelle* p = port.get();
    return {std::move(port), {}, p};
}

}  // namespace krv::cli
