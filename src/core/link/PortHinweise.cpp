#include "core/link/PortHinweise.hpp"

namespace krv::link {

std::string portHinweis(int nr, const PortGeraet& geraet, int sprachOffset) {
    const bool deutsch = sprachOffset == 0;
    std::string text = "COM" + std::to_string(nr) + ": ";
    if (geraet.pfad.empty()) return text + "-";
    text += geraet.pfad;
    if (!geraet.vorhanden) text += deutsch ? " (nicht vorhanden)" : " (not present)";
    return text;
}

void setzePortHinweise(std::array<app::Control, 5>& mnuCom, int gewaehlt, int sprachOffset,
                       const std::function<PortGeraet(int nr)>& geraet) {
    std::array<PortGeraet, 5> geraete;
    for (int nr = 1; nr <= 4; ++nr) geraete[static_cast<std::size_t>(nr)] = geraet(nr);
    // A selection outside 1..4 has no device either: the hints help there too.
    const bool fehlt = gewaehlt < 1 || gewaehlt > 4 || !geraete[static_cast<std::size_t>(gewaehlt)].vorhanden;
    for (int nr = 1; nr <= 4; ++nr) {
        const auto i = static_cast<std::size_t>(nr);
        const bool zeigen = fehlt || geraete[i].fern;
        mnuCom[i].setStatusTip(zeigen ? portHinweis(nr, geraete[i], sprachOffset) : std::string());
    }
}

}  // namespace krv::link
