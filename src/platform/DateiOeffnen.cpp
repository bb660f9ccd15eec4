#include "platform/DateiOeffnen.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace krv::platform {

OffeneDatei::~OffeneDatei() {
    if (fd_ >= 0) ::close(fd_);
}

OffeneDatei::OffeneDatei(OffeneDatei&& andere) noexcept
    : fd_(std::exchange(andere.fd_, -1)), fehler_(std::move(andere.fehler_)) {}

OffeneDatei& OffeneDatei::operator=(OffeneDatei&& andere) noexcept {
    if (this != &andere) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(andere.fd_, -1);
        fehler_ = std::move(andere.fehler_);
    }
    return *this;
}

int OffeneDatei::loslassen() { return std::exchange(fd_, -1); }

OffeneDatei oeffneDatei(const std::string& pfad, Zugriff zugriff) {
    OffeneDatei datei;
    int flags = O_CLOEXEC | O_NOCTTY;
    switch (zugriff) {
        // Non-blocking open: a FIFO without a writer or a serial device cannot stall it.
        case Zugriff::Lesen: flags |= O_RDONLY | O_NONBLOCK; break;
        case Zugriff::Ersetzen: flags |= O_WRONLY | O_CREAT | O_TRUNC | O_APPEND; break;
        case Zugriff::Anhaengen: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    }
    const int fd = pfad.empty() ? -1 : ::open(pfad.c_str(), flags, 0666);
    if (fd < 0) {
        datei.fehler_ = dateiFehlerText(pfad, pfad.empty() ? ENOENT : errno);
        return datei;
    }
    struct stat info {};
    const int fehler = ::fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (fehler != 0) {
        ::close(fd);
        datei.fehler_ = dateiFehlerText(pfad, fehler);
        return datei;
    }
    // Reads wait for data again (a FIFO's reader waits for its writer's bytes).
    if (zugriff == Zugriff::Lesen) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    datei.fd_ = fd;
    return datei;
}

int schreibeAlles(int fd, const void* bytes, std::size_t anzahl) {
    const auto* p = static_cast<const char*>(bytes);
    while (anzahl > 0) {
        const ssize_t n = ::write(fd, p, anzahl);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : ENOSPC;
        p += n;
        anzahl -= static_cast<std::size_t>(n);
    }
    return 0;
}

std::optional<std::string> schreibeDatei(const std::string& pfad, const void* bytes, std::size_t anzahl) {
    OffeneDatei datei = oeffneDatei(pfad, Zugriff::Ersetzen);
    if (!datei.offen()) return datei.fehler();
    int fehler = schreibeAlles(datei.fd(), bytes, anzahl);
    // Devices and pipes cannot be synced and hold nothing back.
    if (fehler == 0 && ::fsync(datei.fd()) != 0 && errno != EINVAL && errno != EROFS) fehler = errno;
    const int fd = datei.loslassen();
    if (::close(fd) != 0 && fehler == 0) fehler = errno;
    if (fehler != 0) return dateiFehlerText(pfad, fehler);
    return std::nullopt;
}

}  // namespace krv::platform
