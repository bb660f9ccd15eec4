#pragma once
// The program's version as the splash window and the info texts show it: major "." minor.
#include <string>

namespace krv::app {

// major as plain decimal, ".", minor as decimal with at least one digit: 1 and 4 give "1.4".
std::string baueVersionsText(int major, int minor);

// The version of this build, built on the first call and returned from the cache afterwards.
const std::string& VersionsText();

// Text 14 ("KRV diagnostic software version ") followed by the version text.
std::string VersionsNameText(int sprachOffset);

}  // namespace krv::app
