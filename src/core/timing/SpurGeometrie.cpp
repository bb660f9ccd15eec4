#include "core/timing/SpurGeometrie.hpp"

namespace krv::timing {

int pegelY(std::uint8_t zustand) {
    switch (zustand) {
    case 2: return kPegelGruenY;
    case 1: return kPegelGelbY;
    default: return kPegelRotY;
    }
}

int zeichneSample(Spur& spur, int x, int letzteY, std::uint8_t zustand, std::uint8_t anzahl) {
    const int w = anzahl <= kVolleBreiteBisAnzahl ? 1 : 0;  // the sample's second pixel
    const int ziel = pegelY(zustand);
    if (x == 0) letzteY = ziel;  // nothing to the left to connect to

    if (letzteY == ziel) {
        spur.line(x, ziel, x + w + 1, ziel);
    } else {
        // The edge covers every pixel from the old level to the new one, both included.
        const int ueber = letzteY < ziel ? ziel + 1 : ziel - 1;
        spur.line(x, letzteY, x, ueber);
        for (int k = 1; k <= w; ++k) spur.pset(x + k, ziel);
    }
    return ziel;
}

void schiebeLinks(Spur& spur) {
    spur.blockCopy(0, kVorschubPixel, spur.scaleWidth() - kVorschubPixel, spur.scaleHeight());
}

}  // namespace krv::timing
