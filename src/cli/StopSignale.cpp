#include "cli/StopSignale.hpp"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace krv::cli {
namespace {

constexpr std::array<int, 3> kSignale{SIGINT, SIGTERM, SIGHUP};

bool ignoriert(int signal) {
    struct sigaction sa {};
    return ::sigaction(signal, nullptr, &sa) == 0 && sa.sa_handler == SIG_IGN;
}

}  // namespace

StopSignale::StopSignale() {
    sigset_t menge;
    sigemptyset(&menge);
    for (int s : kSignale) {
        if (!ignoriert(s)) sigaddset(&menge, s);
    }
    // Blocked signals wait in the kernel until the descriptor is read: none can slip in
    // between a test and a wait.
    if (::sigprocmask(SIG_BLOCK, &menge, &alteMaske_) != 0) return;
    fd_ = ::signalfd(-1, &menge, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd_ < 0) ::sigprocmask(SIG_SETMASK, &alteMaske_, nullptr);
}

StopSignale::~StopSignale() {
    if (fd_ < 0) return;
    empfangen();  // a second Ctrl+C while finishing must not end the program afterwards
    ::close(fd_);
    ::sigprocmask(SIG_SETMASK, &alteMaske_, nullptr);
}

bool StopSignale::empfangen() {
    if (fd_ < 0) return false;
    signalfd_siginfo info{};
    while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) empfangen_ = true;
    return empfangen_;
}

Lesen leseWeiter(int fd, Bytes& puffer, StopSignale& stop, std::string& fehler) {
    if (stop.empfangen()) return Lesen::Signal;
    std::array<pollfd, 2> warten{{{fd, POLLIN, 0}, {stop.fd(), POLLIN, 0}}};
    const nfds_t anzahl = stop.fd() >= 0 ? 2 : 1;
    if (::poll(warten.data(), anzahl, -1) < 0) {
        if (errno == EINTR) return Lesen::Daten;
        fehler = std::strerror(errno);
        return Lesen::Fehler;
    }
    if (stop.empfangen()) return Lesen::Signal;

    std::array<std::uint8_t, 65536> stueck{};
    const ssize_t n = ::read(fd, stueck.data(), stueck.size());
    if (n > 0) {
        puffer.insert(puffer.end(), stueck.begin(), stueck.begin() + n);
        return Lesen::Daten;
    }
    if (n == 0) return Lesen::Ende;
    if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) return Lesen::Daten;
    // A terminal whose other side closed reports EIO: that is the end of its data.
    if (errno == EIO && ::isatty(fd)) return Lesen::Ende;
    fehler = std::strerror(errno);
    return Lesen::Fehler;
}

}  // namespace krv::cli
