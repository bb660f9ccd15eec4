#pragma once
// The one form in which every file failure is told to the user: "PATH: REASON", the reason in
// the system's words, a directory where a file belongs as "is a directory, not a file".
#include <cerrno>
#include <string>
#include <system_error>

namespace krv {

inline std::string dateiFehlerText(const std::string& pfad, int fehlerNummer) {
    const std::string name = pfad.empty() ? "''" : pfad;  // an empty argument is still shown
    if (fehlerNummer == EISDIR) return name + ": is a directory, not a file";
    return name + ": " + std::generic_category().message(fehlerNummer);
}

}  // namespace krv
