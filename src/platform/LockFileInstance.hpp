#pragma once
// Single-instance test with an advisory lock on a lock file: the kernel drops the lock when
// the process ends, so a crashed copy never leaves it stuck.
#include <filesystem>

#include "core/ports/InstanceLock.hpp"

namespace krv::platform {

class LockFileInstance : public ports::InstanceLock {
public:
    explicit LockFileInstance(std::filesystem::path lockFile);
    ~LockFileInstance() override;
    LockFileInstance(const LockFileInstance&) = delete;
    LockFileInstance& operator=(const LockFileInstance&) = delete;

    bool acquire() override;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

// $XDG_RUNTIME_DIR/krvdiag.lock when that directory exists, else next to the settings file.
std::filesystem::path defaultLockFile(const std::filesystem::path& configDir);

}  // namespace krv::platform
