#include "cli/StopSignale.hpp"

#include <sys/signalfd.h>
#include <unistd.h>

#include <array>

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

}  // namespace krv::cli
