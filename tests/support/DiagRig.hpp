#pragma once
// Telegrams as the framing leaves them in the receive buffer, for the status window and the
// CPU error decision, and the worked examples of the command-line tool read back as data.
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/link/ReceiveState.hpp"
#include "core/link/TelegramBuilder.hpp"

namespace krv::test {

inline link::StatusBlock block(std::initializer_list<std::pair<int, int>> bytes) {
    link::StatusBlock b{};
    for (const auto& [k, v] : bytes) b[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v);
    return b;
}

// Some older bytes, then the telegram; DatenStart on its payload byte 0. A long telegram
// carries the block at its end and the relay cycle count in the middle.
inline link::ReceiveState empfangen(const link::StatusBlock& b, bool lang = false, std::uint32_t zyklen = 0) {
    link::ReceiveState s;
    s.EmpfangsString.append(asBytes("xyz"));
    s.EmpfangsString.append(lang ? link::langTelegramm(link::langeNutzdaten(b, zyklen)) : link::kurzTelegramm(b));
    s.DatenStart = 3 + 3;  // after "xyz" and the telegram head
    s.DatenLaenge = lang ? link::LangNutzdaten : link::KurzNutzdaten;
    return s;
}

// Per displayed telegram of an example's expected output: the lines after it by first word.
inline std::vector<std::map<std::string, std::string>> leseBeispiel(const std::string& name) {
    std::ifstream in(std::string(KRVDIAG_TEST_DATA_DIR) + "/cli-examples/" + name + ".out");
    std::vector<std::map<std::string, std::string>> anzeigen;
    for (std::string zeile; std::getline(in, zeile);) {
        const std::string wort = zeile.substr(0, zeile.find(' '));
        if (wort == "display") anzeigen.emplace_back();
        if (!anzeigen.empty()) anzeigen.back()[wort] = zeile;
    }
    return anzeigen;
}

}  // namespace krv::test
