#include "platform/PosixFileSource.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "platform/DateiOeffnen.hpp"

namespace krv::platform {
namespace {

class PosixDatei : public ports::ReadableFile {
public:
    PosixDatei(int fd, std::uint64_t laenge, std::string pfad)
        : fd_(fd), laengeBeimOeffnen_(laenge), pfad_(std::move(pfad)) {}
    ~PosixDatei() override { ::close(fd_); }
    PosixDatei(const PosixDatei&) = delete;
    PosixDatei& operator=(const PosixDatei&) = delete;

    ports::SizeResult size() override {
        struct stat info {};
        if (::fstat(fd_, &info) != 0) return {0, fehlerText(errno)};
        return {static_cast<std::uint64_t>(info.st_size), std::nullopt};
    }

    ports::ReadResult read(std::uint64_t offset, std::size_t count) override {
        // An open file stays readable after it was deleted; the user meant it to be gone.
        struct stat info {};
        if (::fstat(fd_, &info) != 0) return {{}, fehlerText(errno)};
        if (info.st_nlink == 0) return {{}, fehlerText(ENOENT)};
        if (static_cast<std::uint64_t>(info.st_size) < laengeBeimOeffnen_) return {{}, fehlerText(ENODATA)};

        ports::ReadResult ergebnis;
        ergebnis.bytes.resize(count);
        std::size_t gelesen = 0;
        while (gelesen < count) {
            const ssize_t n = ::pread(fd_, ergebnis.bytes.data() + gelesen, count - gelesen,
                                      static_cast<off_t>(offset + gelesen));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return {{}, fehlerText(errno)};
            if (n == 0) break;  // end of file
            gelesen += static_cast<std::size_t>(n);
        }
        ergebnis.bytes.resize(gelesen);
        return ergebnis;
    }

private:
    std::string fehlerText(int nummer) const { return dateiFehlerText(pfad_, nummer); }

    int fd_;
    std::uint64_t laengeBeimOeffnen_;
    std::string pfad_;
};

}  // namespace

ports::ExistsResult PosixFileSource::exists(const std::string& path) {
    struct stat info {};
    // A directory is no file: said at once, not after a question about replacing it.
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return {false, dateiFehlerText(path, EISDIR)};
        return {true, std::nullopt};
    }
    if (errno == ENOENT || errno == ENOTDIR) return {false, std::nullopt};
    return {false, dateiFehlerText(path, errno)};
}

ports::OpenResult PosixFileSource::open(const std::string& path) {
    OffeneDatei datei = oeffneDatei(path, Zugriff::Lesen);
    if (!datei.offen()) return {nullptr, datei.fehler()};
    struct stat info {};
    int fehler = 0;
    if (::fstat(datei.fd(), &info) != 0) {
        fehler = errno;
    } else if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
        fehler = ESPIPE;
    }
    if (fehler != 0) return {nullptr, dateiFehlerText(path, fehler)};
    return {std::make_unique<PosixDatei>(datei.loslassen(), static_cast<std::uint64_t>(info.st_size), path),
            std::nullopt};
}

}  // namespace krv::platform
