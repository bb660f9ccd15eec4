#include "platform/LinuxSerialPort.hpp"

#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/LineErrorCounters.hpp"
#include "platform/PortMapping.hpp"
#include "platform/SerialDeviceList.hpp"

namespace krv::platform {
namespace {

namespace ev = ports::CommEvent;

std::optional<speed_t> speedFor(int baud) {
    switch (baud) {
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return std::nullopt;
    }
}

std::string reason(int err) { return std::system_category().message(err); }

// The name of the group owning path, if it can be found.
std::optional<std::string> owningGroup(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    return std::string(found->gr_name);
}

// Raw 8-bit line without flow control; a read waits for one byte (VMIN 1) so that with
// O_NONBLOCK an empty queue gives EAGAIN and only a hang-up gives end of file.
bool configure(int fd, const LineSettings& s, int& err) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        err = errno;
        return false;
    }
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    switch (s.dataBits) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
    }
    if (s.parity != 'N') t.c_cflag |= PARENB | (s.parity == 'O' ? PARODD : 0);
    if (s.stopBits == 2) t.c_cflag |= CSTOPB;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    const speed_t speed = speedFor(s.baud).value_or(B9600);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        err = errno;
        return false;
    }
    return true;
}

}  // namespace

std::optional<LineSettings> parseLineSettings(std::string_view text) {
    std::array<std::string_view, 4> parts;
    std::size_t n = 0;
    while (n < parts.size()) {
        const auto comma = text.find(',');
        parts[n++] = text.substr(0, comma);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
        if (n == parts.size()) return std::nullopt;  // a fifth field
    }
    if (n != parts.size()) return std::nullopt;

    auto number = [](std::string_view s) -> std::optional<int> {
        int value = 0;
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
        if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
        return value;
    };
    LineSettings s;
    const auto baud = number(parts[0]);
    const auto data = number(parts[2]);
    const auto stop = number(parts[3]);
    if (!baud || !speedFor(*baud) || parts[1].size() != 1 || !data || *data < 5 || *data > 8 || !stop ||
        (*stop != 1 && *stop != 2)) {
        return std::nullopt;
    }
    const char parity = static_cast<char>(parts[1][0] & ~0x20);  // upper case
    if (parity != 'N' && parity != 'E' && parity != 'O') return std::nullopt;
    s.baud = *baud;
    s.parity = parity;
    s.dataBits = *data;
    s.stopBits = *stop;
    return s;
}

std::string describeOpenError(const std::string& path, int err) {
    std::string text = "Cannot open " + path + ": " + reason(err) + ".";
    switch (err) {
    case EACCES:
    case EPERM:
        if (const auto group = owningGroup(path); group && *group != "root") {
            text += " Your user must belong to the group '" + *group +
                    "', which owns the device (for example: sudo usermod -aG " + *group +
                    " $USER, then log in again).";
        } else if (group) {
            // Joining root's group is no advice to give; the device needs a group of its own.
            text += " The device belongs to the group 'root': give it to a group such as 'dialout' (a udev rule) "
                    "and add your user to that group.";
        } else {
            text += " Your user must belong to the group that owns the device (usually 'dialout').";
        }
        break;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        text += " Check that the adapter is plugged in, or set the device of this port in the settings file, "
                "section [Ports].\n" +
                geraeteText(serielleGeraete());
        break;
    case EIO:
        // What an unused ttyS gives: the kernel keeps the name, but no UART answers.
        text += " There may be no serial port behind this device; set another one in the settings file, "
                "section [Ports].\n" +
                geraeteText(serielleGeraete());
        break;
    case EBUSY:
        text += " The device is in use by another program.";
        break;
    default:
        break;
    }
    return text;
}

LinuxSerialPort::LinuxSerialPort(ports::ProfileStore& profile, std::unique_ptr<ports::LineErrorSource> lineErrors)
    : profile_(profile), lineErrors_(lineErrors ? std::move(lineErrors) : std::make_unique<KernelLineErrors>()) {}

LinuxSerialPort::~LinuxSerialPort() {
    descriptorListener_ = {};
    schliesseDeskriptor();
}

std::string LinuxSerialPort::deviceName() const { return portGeraet(profile_, nr_); }

bool LinuxSerialPort::setSettings(std::string_view settings) {
    const auto parsed = parseLineSettings(settings);
    if (!parsed) return false;
    settings_ = *parsed;
    return true;
}

std::optional<std::string> LinuxSerialPort::open() {
    if (isOpen()) return "COM" + std::to_string(nr_) + " is already open.";
    const std::string path = deviceName();
    if (path.empty()) {
        return "No device is set for COM" + std::to_string(nr_) + " (settings file, section [Ports], key " +
               portSchluessel(nr_) + ").";
    }

    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return describeOpenError(path, errno);
    if (!::isatty(fd)) {
        const int err = errno;
        ::close(fd);
        return "Cannot use " + path + ": it is not a serial port (" + reason(err) + ").";
    }
    // Keep other programs off the line while it is ours.
    ::ioctl(fd, TIOCEXCL);
    int err = 0;
    if (!configure(fd, settings_, err)) {
        ::close(fd);
        return "Cannot set up " + path + ": " + reason(err) + ".";
    }
    ::tcflush(fd, TCIFLUSH);

    fd_ = fd;
    ++oeffnung_;
    queue_.clear();
    queueUeberlauf_ = false;
    lineErrors_->start(fd_);
    if (descriptorListener_) descriptorListener_(fd_);
    return std::nullopt;
}

std::optional<std::string> LinuxSerialPort::close() {
    if (!isOpen()) return std::nullopt;
    const std::string path = deviceName();
    ::ioctl(fd_, TIOCNXCL);
    const int rc = ::close(fd_);
    const int err = errno;
    fd_ = -1;
    queue_.clear();
    if (descriptorListener_) descriptorListener_(-1);
    // The descriptor is gone either way; EINTR leaves nothing to report.
    if (rc != 0 && err != EINTR) return "Cannot close " + path + ": " + reason(err) + ".";
    return std::nullopt;
}

void LinuxSerialPort::schliesseDeskriptor() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    if (descriptorListener_) descriptorListener_(-1);
}

Bytes LinuxSerialPort::input() { return nimmAusQueue(queue_, inputLen_); }

std::size_t LinuxSerialPort::imKernel() const { return wartetImKernel(fd_); }

std::size_t LinuxSerialPort::inBufferCount() const { return queue_.size() + imKernel(); }

void LinuxSerialPort::clearInBuffer() {
    queue_.clear();
    if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

bool LinuxSerialPort::leseVerfuegbar() {
    std::array<std::uint8_t, 4096> buffer{};
    // One read per wake-up: a tty read in raw mode returns all that is waiting, so a short read
    // means the kernel queue is empty and asking again would only learn EAGAIN. A full buffer
    // reads on, but at most one queue's worth per call, so a flood cannot keep the event loop here.
    std::size_t gelesen = 0;
    while (gelesen < MaxQueue) {
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n > 0) {
            gelesen += static_cast<std::size_t>(n);
            const std::size_t platz = MaxQueue - std::min(MaxQueue, queue_.size());
            const std::size_t nimm = std::min(platz, static_cast<std::size_t>(n));
            queue_.insert(queue_.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(nimm));
            if (nimm < static_cast<std::size_t>(n)) queueUeberlauf_ = true;
            if (static_cast<std::size_t>(n) < buffer.size()) return false;
            continue;
        }
        if (n == 0) return true;  // hang-up: end of file (VMIN 1 never gives 0 otherwise)
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return false;
        return true;  // EIO and the like: the device is gone
    }
    return false;
}

void LinuxSerialPort::melde(int commEvent) {
    if (onComm_) onComm_(commEvent);
}

void LinuxSerialPort::handleReadable() {
    if (fd_ < 0) return;
    const bool verloren = leseVerfuegbar();
    std::vector<int> fehler = lineErrors_->neueFehler(fd_);
    if (std::exchange(queueUeberlauf_, false)) {
        const auto pos = std::lower_bound(fehler.begin(), fehler.end(), ev::PufferUeberlauf);
        if (pos == fehler.end() || *pos != ev::PufferUeberlauf) fehler.insert(pos, ev::PufferUeberlauf);
    }
    // A lost device is closed before anyone hears of it: a hung-up descriptor stays readable,
    // and watching it any longer would spin.
    if (verloren) schliesseDeskriptor();

    const unsigned diese = oeffnung_;
    meldeLesung(
        !queue_.empty(), fehler, verloren, [this] { return isOpen(); },
        [this, diese] { return oeffnung_ == diese; }, [this](int code) { melde(code); });
}

}  // namespace krv::platform
