#pragma once
// The settings file held in memory: same rules as the file, nothing touches the disk.
// Used by the tests and by the command-line tool, which must leave the user's settings alone.
#include <string>
#include <string_view>

#include "core/ports/ProfileStore.hpp"
#include "core/state/IniDocument.hpp"

namespace krv::app {

class MemoryProfile : public ports::ProfileStore {
public:
    MemoryProfile() = default;
    explicit MemoryProfile(std::string_view text) : document_(text) {}

    int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue) override;
    std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) override;
    bool WritePrivateProfileString(std::string_view section, std::string_view key,
                                   std::string_view value) override;

    // The whole file as it would be written.
    std::string text() const { return document_.text(); }

private:
    IniDocument document_;
};

}  // namespace krv::app
