#pragma once
// The settings file as the program sees it: the classic private-profile operations.
#include <string>
#include <string_view>

namespace krv::ports {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // Integer read: the default for a missing file, section or key; only the leading digits
    // of the value count, and a value that does not begin with a number reads 0.
    virtual int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue) = 0;

    // String read (device paths of the ports); the default when section or key is missing.
    virtual std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                                std::string_view defaultValue) = 0;

    // Changes one key and keeps every other line of the file. False when the write failed;
    // callers ignore that, as the program always has.
    virtual bool WritePrivateProfileString(std::string_view section, std::string_view key,
                                           std::string_view value) = 0;
};

}  // namespace krv::ports
