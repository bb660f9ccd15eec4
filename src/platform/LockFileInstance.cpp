#include "platform/LockFileInstance.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace krv::platform {

LockFileInstance::LockFileInstance(std::filesystem::path lockFile) : path_(std::move(lockFile)) {}

LockFileInstance::~LockFileInstance() {
    if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
}

bool LockFileInstance::acquire() {
    if (fd_ >= 0) return true;
    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a lock file the test cannot be made; better to run twice than not at all.
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

std::filesystem::path defaultLockFile(const std::filesystem::path& configDir) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    if (runtime && *runtime && std::filesystem::is_directory(runtime, ec)) {
        return std::filesystem::path(runtime) / "krvdiag.lock";
    }
    return configDir / "krvdiag.lock";
}

}  // namespace krv::platform
