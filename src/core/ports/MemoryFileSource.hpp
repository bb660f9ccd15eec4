#pragma once
// Files held in memory for reading, with failures on demand: for tests of playback and the CPU
// data replay. A test may change, shorten or erase a file while it is open; the open file then
// behaves as the Linux one does.
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/ports/FileSource.hpp"

namespace krv::ports {

class MemoryFileSource : public FileSource {
public:
    // The system's texts the Linux implementation reports for these cases.
    static constexpr const char* kFehltText = "No such file or directory";
    static constexpr const char* kGekuerztText = "No data available";

    std::map<std::string, Bytes> files;

    // Failures to inject: an exists or open failure while its text is set; the next
    // `failingReads` reads fail with readError.
    std::optional<std::string> existsError;
    std::optional<std::string> openError;
    int failingReads = 0;
    std::string readError = "Input/output error";

    // What happened.
    int opens = 0;
    int reads = 0;
    std::size_t largestRead = 0;   // the largest count one read asked for
    std::size_t bytesRead = 0;     // all bytes handed out
    int openFiles = 0;             // files open now

    ExistsResult exists(const std::string& path) override {
        if (existsError) return {false, existsError};
        return {files.count(path) != 0, std::nullopt};
    }

    OpenResult open(const std::string& path) override {
        ++opens;
        if (openError) return {nullptr, openError};
        const auto it = files.find(path);
        if (it == files.end()) return {nullptr, std::string(kFehltText)};
        return {std::make_unique<Datei>(*this, path, it->second.size()), std::nullopt};
    }

private:
    class Datei : public ReadableFile {
    public:
        Datei(MemoryFileSource& quelle, std::string path, std::size_t laenge)
            : quelle_(quelle), path_(std::move(path)), laengeBeimOeffnen_(laenge) {
            ++quelle_.openFiles;
        }
        ~Datei() override { --quelle_.openFiles; }

        SizeResult size() override {
            const auto it = quelle_.files.find(path_);
            if (it == quelle_.files.end()) return {0, std::string(kFehltText)};
            return {it->second.size(), std::nullopt};
        }

        ReadResult read(std::uint64_t offset, std::size_t count) override {
            ++quelle_.reads;
            quelle_.largestRead = std::max(quelle_.largestRead, count);
            if (quelle_.failingReads > 0) {
                --quelle_.failingReads;
                return {{}, quelle_.readError};
            }
            const auto it = quelle_.files.find(path_);
            if (it == quelle_.files.end()) return {{}, std::string(kFehltText)};
            const Bytes& inhalt = it->second;
            if (inhalt.size() < laengeBeimOeffnen_) return {{}, std::string(kGekuerztText)};
            if (offset >= inhalt.size()) return {};
            const auto anfang = static_cast<std::size_t>(offset);
            const std::size_t n = std::min(count, inhalt.size() - anfang);
            quelle_.bytesRead += n;
            const auto von = inhalt.begin() + static_cast<std::ptrdiff_t>(anfang);
            return {Bytes(von, von + static_cast<std::ptrdiff_t>(n)), std::nullopt};
        }

    private:
        MemoryFileSource& quelle_;
        std::string path_;
        std::size_t laengeBeimOeffnen_;
    };
};

}  // namespace krv::ports
