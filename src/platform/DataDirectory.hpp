#pragma once
// Where the programs find their data files (pictures, help and error texts).
#include <filesystem>

namespace krv::platform {

// $KRVDIAG_DATA_DIR when set; else share/krvdiag beside the installed program
// (<bin>/../share/krvdiag); else the build tree's data directory. The result ends with '/',
// ready to have a file name appended.
std::filesystem::path dataDirectory();

// The directory of the running executable.
std::filesystem::path executableDirectory();

}  // namespace krv::platform
