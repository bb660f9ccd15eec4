#pragma once
// The recorder's file on Linux: every record goes to the kernel with write(2) as soon as it is
// built, so a crash of the program loses nothing already recorded; close() fsyncs the file.
#include <cstdint>
#include <string>

#include "core/ports/FileSink.hpp"

namespace krv::platform {

class PosixFileSink : public ports::FileSink {
public:
    PosixFileSink() = default;
    ~PosixFileSink() override;
    PosixFileSink(const PosixFileSink&) = delete;
    PosixFileSink& operator=(const PosixFileSink&) = delete;

    ports::ExistsResult exists(const std::string& path) override;
    std::optional<std::string> open(const std::string& path, ports::OpenMode mode) override;
    std::optional<std::string> write(ByteView bytes) override;
    std::optional<std::string> sync() override;
    std::optional<std::string> close() override;
    bool isOpen() const override { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::string pfad_;  // named in every failure text
    // Length of the file after the last whole write: a failed write is cut back to it.
    std::int64_t laenge_ = 0;
};

}  // namespace krv::platform
