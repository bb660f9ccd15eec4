#include "platform/DataDirectory.hpp"

#include <cstdlib>
#include <system_error>

namespace krv::platform {
namespace {

std::filesystem::path withSeparator(std::filesystem::path dir) {
    std::string text = dir.string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

}  // namespace

std::filesystem::path executableDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : exe.parent_path();
}

std::filesystem::path dataDirectory() {
    if (const char* env = std::getenv("KRVDIAG_DATA_DIR"); env && *env) return withSeparator(env);
    std::error_code ec;
    const auto installed = executableDirectory().parent_path() / "share" / "krvdiag";
    if (std::filesystem::is_directory(installed, ec)) return withSeparator(installed);
    return withSeparator(KRVDIAG_BUILD_DATA_DIR);
}

}  // namespace krv::platform
