#pragma once
// Where the settings file lives. The program names the file only ("KrvDiag.ini"); on Linux it
// goes into the user's configuration directory.
#include <filesystem>
#include <optional>
#include <string>

namespace krv::platform {

// The first of: overrideDir (the --config-dir option), $KRVDIAG_CONFIG_DIR when set and not
// empty, $XDG_CONFIG_HOME when set and absolute, $HOME/.config (the password database's home
// directory when $HOME is unset or empty). An empty overrideDir counts as not given.
std::filesystem::path configDirectory(const std::optional<std::filesystem::path>& overrideDir = {});

// configDirectory(overrideDir) / iniDatei.
std::filesystem::path settingsFilePath(const std::string& iniDatei,
                                       const std::optional<std::filesystem::path>& overrideDir = {});

}  // namespace krv::platform
