#pragma once
// Files read back on Linux: pread(2) at the asked offset, nothing read ahead or cached. Before
// every read the open file is checked against the path's file as it was opened: a file that was
// deleted (or replaced) or has become shorter fails with the system's text for it.
#include "core/ports/FileSource.hpp"

namespace krv::platform {

class PosixFileSource : public ports::FileSource {
public:
    ports::ExistsResult exists(const std::string& path) override;
    // Directories, pipes and sockets are refused: they cannot be read at an offset.
    ports::OpenResult open(const std::string& path) override;
};

}  // namespace krv::platform
