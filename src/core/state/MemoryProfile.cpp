#include "core/state/MemoryProfile.hpp"

namespace krv::app {

int MemoryProfile::GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue) {
    return document_.getInt(section, key, defaultValue);
}

std::string MemoryProfile::GetPrivateProfileString(std::string_view section, std::string_view key,
                                                   std::string_view defaultValue) {
    return document_.getString(section, key, defaultValue);
}

bool MemoryProfile::WritePrivateProfileString(std::string_view section, std::string_view key,
                                              std::string_view value) {
    return document_.set(section, key, value);
}

}  // namespace krv::app
