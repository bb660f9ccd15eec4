#pragma once
// Files the program reads back: the protocol file during playback and the CPU data file during
// its replay. Reads go to a given offset and fetch only what is asked for, so a large file never
// has to be in memory. Every operation that can fail returns the system's description of the
// failure, which the caller shows to the user as it is.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/common/Bytes.hpp"
#include "core/ports/FileSink.hpp"

namespace krv::ports {

struct SizeResult {
    std::uint64_t size = 0;
    std::optional<std::string> error;
};

struct ReadResult {
    Bytes bytes;  // fewer than asked for where the file ends
    std::optional<std::string> error;
};

// One file opened for reading; closed when the object goes.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;

    // The file's length now.
    virtual SizeResult size() = 0;

    // Up to count bytes from offset (0-based). A file that was deleted, or has become shorter
    // than it was when it was opened, fails with the system's reason: the program's view of
    // the file (its record count) no longer holds.
    virtual ReadResult read(std::uint64_t offset, std::size_t count) = 0;
};

struct OpenResult {
    std::unique_ptr<ReadableFile> file;  // empty when error is set
    std::optional<std::string> error;
};

class FileSource {
public:
    virtual ~FileSource() = default;

    virtual ExistsResult exists(const std::string& path) = 0;

    // Opens path for reading. Several files may be open at a time.
    virtual OpenResult open(const std::string& path) = 0;
};

}  // namespace krv::ports
