#include "core/state/VersionText.hpp"

#include "core/state/StringTable.hpp"

namespace krv::app {

std::string baueVersionsText(int major, int minor) { return std::to_string(major) + "." + std::to_string(minor); }

const std::string& VersionsText() {
    static const std::string cache = baueVersionsText(KRVDIAG_VERSION_MAJOR, KRVDIAG_VERSION_MINOR);
    return cache;
}

std::string VersionsNameText(int sprachOffset) { return LoadResString(14, sprachOffset) + VersionsText(); }

}  // namespace krv::app
