#pragma once
// The settings file on disk. Every read takes the file as it is now (a missing or unreadable
// file reads as empty, so every key gives its default); every write changes one key and
// replaces the file atomically, so a crash never leaves a half-written settings file.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/ports/ProfileStore.hpp"
#include "core/state/IniDocument.hpp"

namespace krv::platform {

class IniFileProfile : public ports::ProfileStore {
public:
    explicit IniFileProfile(std::filesystem::path file) : file_(std::move(file)) {}

    int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue) override;
    std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) override;
    // False when the file exists but cannot be read or is not writable for this user, when
    // its directory cannot be created, or when writing, syncing or renaming fails. The old
    // file is then unchanged and no temporary file is left behind.
    bool WritePrivateProfileString(std::string_view section, std::string_view key,
                                   std::string_view value) override;

    const std::filesystem::path& path() const { return file_; }

    // Called once, at the first read of this run that finds a settings file it cannot read (a
    // directory, no permission), with "PATH: REASON"; the defaults apply, as for a missing file.
    // Writes that fail stay unreported: the setting holds for this run only.
    void beiLeseFehler(std::function<void(const std::string& fehler)> melden) {
        leseFehlerMelden_ = std::move(melden);
    }

private:
    app::IniDocument readDocument();

    std::filesystem::path file_;
    std::function<void(const std::string&)> leseFehlerMelden_;
    bool leseFehlerGemeldet_ = false;
};

}  // namespace krv::platform
