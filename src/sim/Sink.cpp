#include "sim/Sink.hpp"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/DateiOeffnen.hpp"

namespace krv::sim {
namespace {

DateiFehler systemError(const std::string& what) {
    return DateiFehler(what + ": " + std::strerror(errno));
}

void setRaw9600(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return;
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD | CS8;
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    ::tcsetattr(fd, TCSANOW, &t);
}

}  // namespace

Sink Sink::pseudoTerminal() {
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw systemError("cannot create a pseudo-terminal");
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        const auto error = systemError("cannot unlock the pseudo-terminal");
        ::close(fd);
        throw error;
    }
    const char* name = ::ptsname(fd);
    if (name == nullptr) {
        const auto error = systemError("cannot name the pseudo-terminal");
        ::close(fd);
        throw error;
    }
    // Settings made on the master apply to the slave: a raw line, as a serial port is.
    setRaw9600(fd);
    return Sink(fd, true, true, name);
}

Sink Sink::device(const std::string& path) {
    if (path == "-") return Sink(STDOUT_FILENO, false, false, {}, "standard output");
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) throw DateiFehler(platform::dateiFehlerText(path, errno));
    if (::isatty(fd)) setRaw9600(fd);
    return Sink(fd, false, true, {}, path);
}

Sink::Sink(Sink&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      pty_(other.pty_),
      ownsFd_(std::exchange(other.ownsFd_, false)),
      slavePath_(std::move(other.slavePath_)),
      name_(std::move(other.name_)) {}

Sink::~Sink() {
    if (ownsFd_ && fd_ >= 0) ::close(fd_);
}

bool Sink::write(ByteView bytes, bool warten, const volatile std::sig_atomic_t& stop) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            if (stop) return false;
            continue;
        }
        if (pty_) {
            // EIO: no reader at the moment; EAGAIN: the reader's line is full.
            if (!warten || errno != EAGAIN) return true;
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 100);
            if (stop) return false;
            continue;
        }
        if (n < 0 && errno == EPIPE) return false;  // the reader is gone
        throw DateiFehler(platform::dateiFehlerText(name_, n < 0 ? errno : ENOSPC));
    }
    return true;
}

}  // namespace krv::sim
