#include "platform/NetzSerialPort.hpp"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/LinuxSerialPort.hpp"

namespace krv::platform {
namespace {

namespace ev = ports::CommEvent;
using Uhr = std::chrono::steady_clock;

std::string grundVon(int err) { return std::system_category().message(err); }

// One connection attempt, shared by the opening and its worker: the opening may give up before
// the worker is done (a name lookup cannot be interrupted); the worker's socket is then closed
// with the attempt.
struct Versuch {
    std::mutex m;
    int fd = -1;
    std::string grund;  // empty while running and after success
    bool fertig = false;
    std::array<int, 2> signal{-1, -1};  // the worker writes one byte to [1] when it is done
    ~Versuch() {
        for (int s : signal) {
            if (s >= 0) ::close(s);
        }
        if (fd >= 0) ::close(fd);
    }
};

std::string fristText(std::chrono::milliseconds frist) {
    const auto ms = frist.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

// The socket connected to one of host's addresses, tried in turn until the deadline.
int verbindeBlockierend(const NetzAdresse& a, Uhr::time_point ende, std::chrono::milliseconds frist,
                        std::string& grund) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* liste = nullptr;
    if (const int rc = ::getaddrinfo(a.host.c_str(), a.port.c_str(), &hints, &liste); rc != 0) {
        const std::string text = rc == EAI_SYSTEM ? grundVon(errno) : ::gai_strerror(rc);
        grund = rc == EAI_NONAME || rc == EAI_FAIL || rc == EAI_NODATA
                    ? "no such host '" + a.host + "' (" + text + ")"
                    : "cannot look up '" + a.host + "' (" + text + ")";
        return -1;
    }
    int fd = -1;
    for (const addrinfo* ai = liste; ai != nullptr && fd < 0; ai = ai->ai_next) {
        const int s = ::socket(ai->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (s < 0) {
            grund = grundVon(errno);
            continue;
        }
        int err = ::connect(s, ai->ai_addr, ai->ai_addrlen) == 0 ? 0 : errno;
        if (err == EINPROGRESS) {
            pollfd p{s, POLLOUT, 0};
            int rc = 0;
            do {
                const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(ende - Uhr::now());
                rc = ::poll(&p, 1, static_cast<int>(std::max<std::int64_t>(0, rest.count())));
            } while (rc < 0 && errno == EINTR);
            socklen_t len = sizeof err;
            if (rc == 0) {
                err = ETIMEDOUT;
            } else if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &err, &len) != 0) {
                err = errno;
            }
        }
        if (err == 0) {
            fd = s;
            break;
        }
        ::close(s);
        grund = grundVon(err);
        if (err == ETIMEDOUT) grund = "no answer within " + fristText(frist) + " (" + grund + ")";
        if (Uhr::now() >= ende) break;
    }
    ::freeaddrinfo(liste);
    return fd;
}

bool wartePoll(int fd, std::chrono::milliseconds frist) {
    const auto ende = Uhr::now() + frist;
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(ende - Uhr::now());
        const int rc = ::poll(&p, 1, static_cast<int>(std::max<std::int64_t>(0, rest.count())));
        if (rc >= 0 || errno != EINTR) return rc > 0;
    }
}

// A network that goes away unnoticed (a cable pulled between here and the server) is found
// after Idle + Anzahl * Intervall seconds without an answer.
void keepAlive(int fd) {
    const int an = 1, idle = 4, intervall = 2, anzahl = 3;
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &an, sizeof an);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervall, sizeof intervall);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &anzahl, sizeof anzahl);
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &an, sizeof an);  // the Telnet answers are short
}

}  // namespace

NetzSerialPort::NetzSerialPort(ports::ProfileStore& profile, std::chrono::milliseconds frist)
    : profile_(profile), frist_(frist) {}

NetzSerialPort::~NetzSerialPort() {
    descriptorListener_ = {};
    schliesseDeskriptor();
}

std::string NetzSerialPort::deviceName() const { return portGeraet(profile_, nr_); }

bool NetzSerialPort::setSettings(std::string_view settings) {
    const auto s = parseLineSettings(settings);
    return s && s->baud == 9600 && s->parity == 'N' && s->dataBits == 8 && s->stopBits == 1;
}

int NetzSerialPort::verbinde(const std::string& adresse, const NetzAdresse& a, std::string& fehler) {
    auto v = std::make_shared<Versuch>();
    if (::pipe2(v->signal.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        fehler = "Cannot open " + adresse + ": " + grundVon(errno) + ".";
        return -1;
    }
    const auto ende = Uhr::now() + frist_;
    std::thread([v, a, ende, frist = frist_] {
        std::string grund;
        const int fd = verbindeBlockierend(a, ende, frist, grund);
        const std::lock_guard lock(v->m);
        v->fd = fd;
        v->grund = fd < 0 ? grund : std::string();
        v->fertig = true;
        const char eins = 1;
        (void)!::write(v->signal[1], &eins, 1);
    }).detach();

    // A little longer than the worker's own deadline, so its reason is the one reported.
    const auto warte = frist_ + std::chrono::milliseconds(500);
    if (warter_) {
        warter_(v->signal[0], warte);
    } else {
        wartePoll(v->signal[0], warte);
    }
    const std::lock_guard lock(v->m);
    if (!v->fertig) {
        v->fertig = true;  // the worker's socket, if any, goes with the attempt
        fehler = "Cannot open " + adresse + ": no answer within " + fristText(frist_) + ".";
        return -1;
    }
    if (v->fd < 0) fehler = "Cannot open " + adresse + ": " + v->grund + ".";
    return std::exchange(v->fd, -1);
}

std::optional<std::string> NetzSerialPort::open() {
    if (isOpen()) return "COM" + std::to_string(nr_) + " is already open.";
    const std::string adresse = deviceName();
    if (adresse.empty()) {
        return "No device is set for COM" + std::to_string(nr_) + " (settings file, section [Ports], key " +
               portSchluessel(nr_) + ").";
    }
    const auto a = netzAdresse(adresse);
    if (!a) {
        return "Cannot open " + adresse +
               ": a network port is written tcp://HOST:PORT or rfc2217://HOST:PORT, an IPv6 address in "
               "brackets (settings file, section [Ports]).";
    }
    std::string fehler;
    const int fd = verbinde(adresse, *a, fehler);
    if (fd < 0) return fehler;
    keepAlive(fd);
    fd_ = fd;
    ++oeffnung_;
    queue_.clear();
    queueUeberlauf_ = false;
    wartendeFehler_.clear();
    telnet_.reset();
    if (a->rfc2217) {
        telnet_ = std::make_unique<TelnetComPort>();
        sende(telnet_->anfang());
    }
    if (descriptorListener_) descriptorListener_(fd_);
    return std::nullopt;
}

std::optional<std::string> NetzSerialPort::close() {
    if (!isOpen()) return std::nullopt;
    schliesseDeskriptor();
    queue_.clear();
    return std::nullopt;
}

void NetzSerialPort::schliesseDeskriptor() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    if (descriptorListener_) descriptorListener_(-1);
}

bool NetzSerialPort::sende(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // A full send queue drops a short answer, which the server does not need to go on;
            // a closed connection shows at the next read.
            return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        }
    }
    return true;
}

Bytes NetzSerialPort::input() { return nimmAusQueue(queue_, inputLen_); }

std::size_t NetzSerialPort::imKernel() const { return wartetImKernel(fd_); }

std::size_t NetzSerialPort::inBufferCount() const { return queue_.size() + imKernel(); }

void NetzSerialPort::clearInBuffer() {
    // What waits in the socket goes too, but through the Telnet reader, which must see every
    // command; its line errors are still reported with the next read.
    if (fd_ >= 0) leseVerfuegbar();
    queue_.clear();
}

bool NetzSerialPort::leseVerfuegbar() {
    std::array<std::uint8_t, 4096> buffer{};
    std::size_t gelesen = 0;
    while (gelesen < MaxQueue) {
        const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (n == 0) return true;  // the server closed the connection
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno != EAGAIN && errno != EWOULDBLOCK;  // reset, keep-alive timed out, ...
        }
        gelesen += static_cast<std::size_t>(n);
        const ByteView roh(buffer.data(), static_cast<std::size_t>(n));
        Bytes daten;
        if (telnet_) {
            TelnetComPort::Ergebnis e = telnet_->verarbeite(roh);
            wartendeFehler_.insert(wartendeFehler_.end(), e.fehler.begin(), e.fehler.end());
            if (!e.antwort.empty() && !sende(e.antwort)) return true;
            daten = std::move(e.daten);
        } else {
            daten.assign(roh.begin(), roh.end());
        }
        const std::size_t platz = MaxQueue - std::min(MaxQueue, queue_.size());
        const std::size_t nimm = std::min(platz, daten.size());
        queue_.insert(queue_.end(), daten.begin(), daten.begin() + static_cast<std::ptrdiff_t>(nimm));
        if (nimm < daten.size()) queueUeberlauf_ = true;
        if (static_cast<std::size_t>(n) < buffer.size()) return false;
    }
    return false;
}

void NetzSerialPort::melde(int commEvent) {
    if (onComm_) onComm_(commEvent);
}

void NetzSerialPort::handleReadable() {
    if (fd_ < 0) return;
    const bool verloren = leseVerfuegbar();
    std::vector<int> fehler = std::exchange(wartendeFehler_, {});
    if (std::exchange(queueUeberlauf_, false)) fehler.push_back(ev::PufferUeberlauf);
    std::sort(fehler.begin(), fehler.end());
    fehler.erase(std::unique(fehler.begin(), fehler.end()), fehler.end());
    if (verloren) schliesseDeskriptor();

    const unsigned diese = oeffnung_;
    meldeLesung(
        !queue_.empty(), fehler, verloren, [this] { return isOpen(); },
        [this, diese] { return oeffnung_ == diese; }, [this](int code) { melde(code); });
}

}  // namespace krv::platform
