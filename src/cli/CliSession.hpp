#pragma once
// The core wired up for one headless run: the program's state right after start-up and a
// successful data transfer start, with an in-memory settings file and a clock that stands still.
#include <optional>
#include <string>

#include "cli/CliOptions.hpp"
#include "core/app/Einstellungen.hpp"
#include "core/app/MemoryProfile.hpp"
#include "core/common/Bytes.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/recorder/PlaybackState.hpp"

namespace krv::cli {

// The input file ("-" for standard input) as raw bytes; the failure text when it cannot be read.
struct InputData {
    Bytes bytes;
    std::string error;
};
InputData readInput(const std::string& path);

class CliSession {
public:
    CliSession(const CliOptions& options, link::DispatchHooks& hooks);

    // Feeds the data in the configured chunks, draining after each.
    void feed(ByteView data) { link::feedInChunks(path_, data, options_.chunk); }

    link::ReceivePath& receivePath() { return path_; }
    app::Einstellungen& settings() { return settings_; }

private:
    const CliOptions& options_;
    app::Einstellungen settings_;
    recorder::PlaybackState playback_;
    app::MemoryProfile profile_;
    ports::ManualClock clock_;
    link::ReceivePath path_;
};

}  // namespace krv::cli
