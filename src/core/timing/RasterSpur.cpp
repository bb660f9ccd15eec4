#include "core/timing/RasterSpur.hpp"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace krv::timing {

RasterSpur::RasterSpur(int breite, int hoehe, app::Colour vordergrund, app::Colour hintergrund)
    : breite_(std::max(breite, 0)),
      hoehe_(std::max(hoehe, 0)),
      vordergrund_(vordergrund),
      hintergrund_(hintergrund),
      pixel_(static_cast<std::size_t>(breite_) * static_cast<std::size_t>(hoehe_), hintergrund) {}

void RasterSpur::clear() { std::fill(pixel_.begin(), pixel_.end(), hintergrund_); }

void RasterSpur::pset(int x, int y) {
    if (innen(x, y)) pixel_[static_cast<std::size_t>(y) * breite_ + x] = vordergrund_;
}

void RasterSpur::line(int x1, int y1, int x2, int y2) {
    if (x1 != x2 && y1 != y2) throw std::invalid_argument("RasterSpur::line: only horizontal and vertical lines");
    const int dx = (x2 > x1) - (x2 < x1);
    const int dy = (y2 > y1) - (y2 < y1);
    for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) pset(x, y);
}

void RasterSpur::blockCopy(int zielX, int quelleX, int breite, int hoehe) {
    // Clip once: the columns where both source and target lie inside the strip.
    const int von = std::max({0, -quelleX, -zielX});
    const int bis = std::min({breite, breite_ - quelleX, breite_ - zielX});
    const int zeilen = std::min(hoehe, hoehe_);
    if (von >= bis || zeilen <= 0) return;
    const auto anzahl = static_cast<std::size_t>(bis - von);
    for (int y = 0; y < zeilen; ++y) {
        app::Colour* zeile = pixel_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(breite_);
        // memmove: overlapping blocks copy as if the source had been read first.
        std::memmove(zeile + zielX + von, zeile + quelleX + von, anzahl * sizeof(app::Colour));
    }
}

void RasterSpur::resize(int breite, int hoehe) {
    breite = std::max(breite, 0);
    hoehe = std::max(hoehe, 0);
    std::vector<app::Colour> neu(static_cast<std::size_t>(breite) * static_cast<std::size_t>(hoehe), hintergrund_);
    for (int y = 0; y < std::min(hoehe, hoehe_); ++y) {
        for (int x = 0; x < std::min(breite, breite_); ++x) {
            neu[static_cast<std::size_t>(y) * breite + x] = pixel(x, y);
        }
    }
    breite_ = breite;
    hoehe_ = hoehe;
    pixel_ = std::move(neu);
}

app::Colour RasterSpur::pixel(int x, int y) const {
    return innen(x, y) ? pixel_[static_cast<std::size_t>(y) * breite_ + x] : hintergrund_;
}

std::string RasterSpur::zeile(int y) const {
    std::string text;
    for (int x = 0; x < breite_; ++x) text += gesetzt(x, y) ? '#' : '.';
    return text;
}

std::string RasterSpur::bild() const {
    std::string text;
    for (int y = 0; y < hoehe_; ++y) text += zeile(y) + '\n';
    return text;
}

}  // namespace krv::timing
