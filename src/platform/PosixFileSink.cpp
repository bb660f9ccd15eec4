#include "platform/PosixFileSink.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/DateiOeffnen.hpp"

namespace krv::platform {
namespace {

// A newly created file survives a crash only when its directory entry does too.
void syncVerzeichnis(const std::string& path) {
    const auto schraegstrich = path.find_last_of('/');
    std::string verzeichnis = ".";
    if (schraegstrich != std::string::npos) verzeichnis = schraegstrich == 0 ? "/" : path.substr(0, schraegstrich);
    const int fd = ::open(verzeichnis.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

PosixFileSink::~PosixFileSink() {
    if (fd_ >= 0) close();
}

ports::ExistsResult PosixFileSink::exists(const std::string& path) {
    struct stat info {};
    // A directory is no file: said at once, not after a question about replacing it.
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return {false, dateiFehlerText(path, EISDIR)};
        return {true, std::nullopt};
    }
    if (errno == ENOENT || errno == ENOTDIR) return {false, std::nullopt};
    return {false, dateiFehlerText(path, errno)};
}

std::optional<std::string> PosixFileSink::open(const std::string& path, ports::OpenMode mode) {
    if (fd_ >= 0) close();
    const Zugriff zugriff = mode == ports::OpenMode::Replace ? Zugriff::Ersetzen : Zugriff::Anhaengen;
    OffeneDatei datei = oeffneDatei(path, zugriff);
    if (!datei.offen()) return datei.fehler();
    fd_ = datei.loslassen();
    pfad_ = path;
    // -1 where the file has no length to cut back to (a pipe or a device).
    laenge_ = ::lseek(fd_, 0, SEEK_END);
    syncVerzeichnis(path);
    return std::nullopt;
}

std::optional<std::string> PosixFileSink::write(ByteView bytes) {
    if (fd_ < 0) return dateiFehlerText(pfad_, EBADF);
    std::size_t geschrieben = 0;
    while (geschrieben < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + geschrieben, bytes.size() - geschrieben);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int fehler = n < 0 ? errno : ENOSPC;
            // A half record would shift every later slot: take it back out.
            // If that fails too, nothing more can be done here; the write error is reported.
            if (geschrieben > 0 && laenge_ >= 0) {
                [[maybe_unused]] const int abgeschnitten = ::ftruncate(fd_, laenge_);
            }
            return dateiFehlerText(pfad_, fehler);
        }
        geschrieben += static_cast<std::size_t>(n);
    }
    if (laenge_ >= 0) laenge_ += static_cast<std::int64_t>(geschrieben);
    return std::nullopt;
}

std::optional<std::string> PosixFileSink::sync() {
    if (fd_ < 0) return dateiFehlerText(pfad_, EBADF);
    if (::fsync(fd_) == 0) return std::nullopt;
    // Devices and pipes cannot be synced; there is nothing held back for them either.
    if (errno == EINVAL || errno == EROFS) return std::nullopt;
    return dateiFehlerText(pfad_, errno);
}

std::optional<std::string> PosixFileSink::close() {
    if (fd_ < 0) return std::nullopt;
    std::optional<std::string> fehler = sync();
    // Linux releases the descriptor even when close reports an error; never close it twice.
    if (::close(fd_) != 0 && !fehler) fehler = dateiFehlerText(pfad_, errno);
    fd_ = -1;
    laenge_ = 0;
    return fehler;
}

}  // namespace krv::platform
