#include "platform/PosixFileSource.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace krv::platform {
namespace {

std::string fehlerText(int nummer) { return std::generic_category().message(nummer); }

class PosixDatei : public ports::ReadableFile {
public:
    PosixDatei(int fd, std::uint64_t laenge) : fd_(fd), laengeBeimOeffnen_(laenge) {}
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
    int fd_;
    std::uint64_t laengeBeimOeffnen_;
};

}  // namespace

ports::ExistsResult PosixFileSource::exists(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return {true, std::nullopt};
    if (errno == ENOENT || errno == ENOTDIR) return {false, std::nullopt};
    return {false, fehlerText(errno)};
}

ports::OpenResult PosixFileSource::open(const std::string& path) {
    // Non-blocking, so that a FIFO or a serial device chosen by mistake cannot stall the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return {nullptr, fehlerText(errno)};
    struct stat info {};
    int fehler = 0;
    if (::fstat(fd, &info) != 0) {
        fehler = errno;
    } else if (S_ISDIR(info.st_mode)) {
        fehler = EISDIR;
    } else if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
        fehler = ESPIPE;
    }
    if (fehler != 0) {
        ::close(fd);
        return {nullptr, fehlerText(fehler)};
    }
    return {std::make_unique<PosixDatei>(fd, static_cast<std::uint64_t>(info.st_size)), std::nullopt};
}

}  // namespace krv::platform
