#include "cli/ByteQuelle.hpp"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/DateiOeffnen.hpp"

namespace krv::cli {
namespace {

// How long the input may pause before the bytes that have come go on as a shorter piece.
constexpr int kPauseMs = 20;
constexpr std::size_t kLeseStueck = 65536;

}  // namespace

FdQuelle::~FdQuelle() {
    if (fd_ > STDIN_FILENO) ::close(fd_);
}

Lesen FdQuelle::lies(Bytes& puffer, StopSignale& stop, int wartezeitMs, std::string& fehler) {
    if (stop.empfangen()) return Lesen::Signal;
    std::array<pollfd, 2> warten{{{fd_, POLLIN, 0}, {stop.fd(), POLLIN, 0}}};
    const nfds_t anzahl = stop.fd() >= 0 ? 2 : 1;
    const int bereit = ::poll(warten.data(), anzahl, wartezeitMs);
    if (bereit < 0 && errno != EINTR) {
        fehler = platform::dateiFehlerText(name_, errno);
        return Lesen::Fehler;
    }
    if (stop.empfangen()) return Lesen::Signal;
    if (bereit <= 0 || warten[0].revents == 0) return Lesen::Daten;

    const std::size_t alt = puffer.size();
    puffer.resize(alt + kLeseStueck);
    const ssize_t n = ::read(fd_, puffer.data() + alt, kLeseStueck);
    const int nummer = errno;
    puffer.resize(alt + static_cast<std::size_t>(n > 0 ? n : 0));
    if (n > 0) return Lesen::Daten;
    if (n == 0) return Lesen::Ende;
    if (nummer == EINTR || nummer == EAGAIN || nummer == EWOULDBLOCK) return Lesen::Daten;
    // A terminal whose other side closed reports EIO: that is the end of its data.
    if (nummer == EIO && ::isatty(fd_)) return Lesen::Ende;
    fehler = platform::dateiFehlerText(name_, nummer);
    return Lesen::Fehler;
}

GeoeffneteQuelle oeffneEingabe(const std::string& pfad) {
    if (pfad == "-") return {std::make_unique<FdQuelle>(STDIN_FILENO, "standard input"), {}};
    platform::OffeneDatei datei = platform::oeffneDatei(pfad, platform::Zugriff::Lesen);
    if (!datei.offen()) return {nullptr, datei.fehler()};
    return {std::make_unique<FdQuelle>(datei.loslassen(), pfad), {}};
}

bool speiseStromSchritt(ByteQuelle& quelle, Bytes& offen, StopSignale& stop, std::ostream& out,
                        std::ostream& err, bool& ende, bool& pause) {
    std::string fehler;
    // First what is there at once; before waiting, the lines so far go out.
    Lesen gelesen = Lesen::Daten;
    const std::size_t vorher = offen.size();
    gelesen = quelle.lies(offen, stop, 0, fehler);
    if (gelesen == Lesen::Daten && offen.size() == vorher) {
        out.flush();
        gelesen = quelle.lies(offen, stop, offen.empty() ? -1 : kPauseMs, fehler);
        pause = gelesen == Lesen::Daten && offen.size() == vorher;
    }
    ende = gelesen != Lesen::Daten;
    if (gelesen == Lesen::Fehler) {
        err << "krvdiag-cli: " << fehler << '\n';
        return false;
    }
    return true;
}

}  // namespace krv::cli
