#include "core/device/wmf/WmfFile.hpp"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace krv::wmf {

ParseResult readMetafileFile(const std::string& path, const ParseLimits& limits) {
    ParseResult failed;
    // A directory opens as a stream of no use; say what it is.
    std::error_code art;
    if (std::filesystem::is_directory(path, art)) {
        failed.error = "is a directory, not a file";
        return failed;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        failed.error = errno != 0 ? std::generic_category().message(errno) : "cannot open the file";
        return failed;
    }
    // The size is taken from the open stream, so a file replaced meanwhile cannot slip by.
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        failed.error = "cannot read the file";
        return failed;
    }
    if (static_cast<unsigned long long>(size) > limits.maxFileBytes) {
        failed.error = "file too large";
        return failed;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0, std::ios::beg);
    if (!bytes.empty() && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        failed.error = "cannot read the file";
        return failed;
    }
    return WmfParser(limits).parse(std::move(bytes));
}

}  // namespace krv::wmf
