#pragma once
// Files held in memory, with failures on demand: for tests of the recorder and its error paths.
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/ports/FileSink.hpp"

namespace krv::ports {

class MemoryFileSink : public FileSink {
public:
    std::map<std::string, Bytes> files;

    // Failures to inject: the next `failingWrites` writes fail (and leave nothing behind);
    // an open, exists or close failure is reported while its text is set.
    int failingWrites = 0;
    std::string writeError = "No space left on device";
    std::optional<std::string> openError;
    std::optional<std::string> existsError;
    std::optional<std::string> closeError;

    // What happened: number of writes tried, syncs and closes, and the path last opened.
    int writeAttempts = 0;
    int syncs = 0;
    int closes = 0;
    std::string openPath;

    ExistsResult exists(const std::string& path) override {
        if (existsError) return {false, existsError};
        return {files.count(path) != 0, std::nullopt};
    }

    std::optional<std::string> open(const std::string& path, OpenMode mode) override {
        if (openError) return openError;
        Bytes& content = files[path];
        if (mode == OpenMode::Replace) content.clear();
        openPath = path;
        open_ = true;
        return std::nullopt;
    }

    std::optional<std::string> write(ByteView bytes) override {
        ++writeAttempts;
        if (!open_) return std::string("file not open");
        if (failingWrites > 0) {
            --failingWrites;
            return writeError;
        }
        Bytes& content = files[openPath];
        content.insert(content.end(), bytes.begin(), bytes.end());
        return std::nullopt;
    }

    std::optional<std::string> sync() override {
        ++syncs;
        return std::nullopt;
    }

    std::optional<std::string> close() override {
        ++closes;
        if (open_) ++syncs;
        open_ = false;
        return closeError;
    }

    bool isOpen() const override { return open_; }

    const Bytes& content() const { return files.at(openPath); }

private:
    bool open_ = false;
};

}  // namespace krv::ports
