#include "platform/ConfigLocation.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace krv::platform {
namespace {

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

std::filesystem::path homeDirectory() {
    if (auto home = environment("HOME")) return *home;
    // Services and su shells may run without $HOME; the account's entry still knows it.
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* result = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr &&
        result->pw_dir != nullptr && *result->pw_dir != '\0') {
        return result->pw_dir;
    }
    return ".";
}

}  // namespace

std::filesystem::path configDirectory(const std::optional<std::filesystem::path>& overrideDir) {
    if (overrideDir && !overrideDir->empty()) return *overrideDir;
    if (auto dir = environment("KRVDIAG_CONFIG_DIR")) return *dir;
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (auto xdg = environment("XDG_CONFIG_HOME"); xdg && std::filesystem::path(*xdg).is_absolute()) return *xdg;
    return homeDirectory() / ".config";
}

std::filesystem::path settingsFilePath(const std::string& iniDatei,
                                       const std::optional<std::filesystem::path>& overrideDir) {
    return configDirectory(overrideDir) / iniDatei;
}

}  // namespace krv::platform
