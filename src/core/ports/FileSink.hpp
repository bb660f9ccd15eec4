#pragma once
// A file the program writes records into, one at a time: the protocol file of the data
// recorder. Every operation that can fail returns the system's description of the failure
// (nothing on success), which the caller shows to the user as it is.
#include <optional>
#include <string>

#include "core/common/Bytes.hpp"

namespace krv::ports {

enum class OpenMode {
    Replace,  // the old content is discarded (the file is created when missing)
    Append,   // new records follow the old content (the file is created when missing)
};

struct ExistsResult {
    bool exists = false;
    std::optional<std::string> error;  // the check itself failed
};

class FileSink {
public:
    virtual ~FileSink() = default;

    virtual ExistsResult exists(const std::string& path) = 0;

    // Opens path for writing at its end. At most one file is open at a time.
    virtual std::optional<std::string> open(const std::string& path, OpenMode mode) = 0;

    // Writes all bytes, handing them to the operating system before it returns: nothing is
    // held back in the program, so a crash afterwards loses none of them. On failure none of
    // the bytes stay in the file, so a retry cannot leave a half record behind.
    virtual std::optional<std::string> write(ByteView bytes) = 0;

    // Forces what was written onto the storage device.
    virtual std::optional<std::string> sync() = 0;

    // Syncs and closes; the file is closed afterwards even when this reports a failure.
    virtual std::optional<std::string> close() = 0;

    virtual bool isOpen() const = 0;
};

}  // namespace krv::ports
