#pragma once
// Serial ports on real peers: a pseudo-terminal the test plays the device on, the event loop's
// part (wait for the descriptor, let the port read), and the built krvdiag-sim on a pipe.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "core/common/Bytes.hpp"
#include "platform/DeskriptorPort.hpp"

namespace krv::test {

// A pseudo-terminal pair: the test plays the device on the master side, the port opens the slave.
struct Pty {
    Pty() : master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        slave = ::ptsname(master);
        termios t{};
        ::tcgetattr(master, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(master, TCSANOW, &t);
    }
    ~Pty() { schliessen(); }
    void schliessen() { ::close(std::exchange(master, -1)); }
    int master;
    std::string slave;
};

// What the event loop does: wait until the descriptor is readable, then let the port read.
inline bool pumpOnce(platform::DeskriptorPort& port, int waitMs = 2000) {
    pollfd p{port.fd(), POLLIN, 0};
    if (port.fd() < 0 || ::poll(&p, 1, waitMs) <= 0) return false;
    port.handleReadable();
    return true;
}

// The built simulator with its standard output on a pipe.
struct Sim {
    explicit Sim(const std::string& args)
        : out(::popen((KRVDIAG_BINARY_DIR "/src/sim/krvdiag-sim " + args + " 2>/dev/null").c_str(), "r")) {}
    ~Sim() { warte(); }
    std::string ersteZeile() {
        char zeile[256] = "";
        return std::fgets(zeile, sizeof zeile, out) ? std::string(zeile, std::strcspn(zeile, "\n")) : "";
    }
    Bytes alles() {
        Bytes all;
        for (int c = 0; (c = std::fgetc(out)) != EOF;) all.push_back(static_cast<std::uint8_t>(c));
        return all;
    }
    int warte() {
        const int status = out ? ::pclose(std::exchange(out, nullptr)) : -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    FILE* out;
};

}  // namespace krv::test
