#include "sim/Sink.hpp"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
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

Sink Sink::listen(const std::string& hostPort) {
    std::string host = "127.0.0.1";
    std::string port = hostPort;
    if (const auto doppelpunkt = hostPort.rfind(':'); doppelpunkt != std::string::npos) {
        host = hostPort.substr(0, doppelpunkt);
        port = hostPort.substr(doppelpunkt + 1);
        if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
            host = host.substr(1, host.size() - 2);
        }
    }
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* liste = nullptr;
    if (const int rc = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &liste); rc != 0) {
        throw std::runtime_error("cannot listen on " + hostPort + ": " + ::gai_strerror(rc));
    }
    const int fd = ::socket(liste->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int an = 1;
    if (fd >= 0) ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &an, sizeof an);
    const bool ok = fd >= 0 && ::bind(fd, liste->ai_addr, liste->ai_addrlen) == 0 && ::listen(fd, 8) == 0;
    ::freeaddrinfo(liste);
    if (!ok) {
        const auto error = systemError("cannot listen on " + hostPort);
        if (fd >= 0) ::close(fd);
        throw error;
    }
    sockaddr_storage sa{};
    socklen_t len = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    char name[INET6_ADDRSTRLEN] = "";
    int nummer = 0;
    if (sa.ss_family == AF_INET6) {
        const auto* a6 = reinterpret_cast<const sockaddr_in6*>(&sa);
        ::inet_ntop(AF_INET6, &a6->sin6_addr, name, sizeof name);
        nummer = ntohs(a6->sin6_port);
    } else {
        const auto* a4 = reinterpret_cast<const sockaddr_in*>(&sa);
        ::inet_ntop(AF_INET, &a4->sin_addr, name, sizeof name);
        nummer = ntohs(a4->sin_port);
    }
    Sink sink(fd, false, true, {}, hostPort);
    sink.adresse_ = (sa.ss_family == AF_INET6 ? "[" + std::string(name) + "]" : std::string(name)) + ":" +
                    std::to_string(nummer);
    return sink;
}

Sink::Sink(Sink&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      pty_(other.pty_),
      ownsFd_(std::exchange(other.ownsFd_, false)),
      slavePath_(std::move(other.slavePath_)),
      name_(std::move(other.name_)),
      adresse_(std::move(other.adresse_)),
      clients_(std::move(other.clients_)) {}

Sink::~Sink() {
    if (ownsFd_ && fd_ >= 0) ::close(fd_);
    for (int c : clients_) ::close(c);
}

void Sink::nimmClients(bool warten, const volatile std::sig_atomic_t& stop) {
    for (;;) {
        const int c = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (c >= 0) {
            clients_.push_back(c);
            continue;
        }
        if (errno == EINTR && !stop) continue;
        if (!warten || !clients_.empty() || stop) return;
        pollfd p{fd_, POLLIN, 0};
        ::poll(&p, 1, 100);
    }
}

bool Sink::sendeAnClients(ByteView bytes, bool warten, const volatile std::sig_atomic_t& stop) {
    nimmClients(warten, stop);
    for (auto it = clients_.begin(); it != clients_.end();) {
        std::size_t done = 0;
        bool weg = false;
        while (done < bytes.size() && !stop) {
            const ssize_t n =
                ::send(*it, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EAGAIN && warten) {
                pollfd p{*it, POLLOUT, 0};
                ::poll(&p, 1, 100);
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                break;  // a client that does not keep up loses bytes, as on a line
            } else {
                weg = true;  // the client left
                break;
            }
        }
        if (weg) {
            ::close(*it);
            it = clients_.erase(it);
        } else {
            ++it;
        }
    }
    return !stop;
}

bool Sink::write(ByteView bytes, bool warten, const volatile std::sig_atomic_t& stop) {
    if (isListening()) return sendeAnClients(bytes, warten, stop);
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
