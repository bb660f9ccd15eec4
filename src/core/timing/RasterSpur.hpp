#pragma once
// A trace strip held in memory as width x height colours: the strip the tests and the
// command-line tool draw into, and the reference for what a window's strip must show.
#include <string>
#include <vector>

#include "core/state/Control.hpp"
#include "core/timing/Spur.hpp"

namespace krv::timing {

inline constexpr app::Colour kSpurVordergrund = 0x000000;  // black trace
inline constexpr app::Colour kSpurHintergrund = 0xFFFFFF;  // on white

class RasterSpur : public Spur {
public:
    RasterSpur(int breite, int hoehe, app::Colour vordergrund = kSpurVordergrund,
               app::Colour hintergrund = kSpurHintergrund);

    int scaleWidth() const override { return breite_; }
    int scaleHeight() const override { return hoehe_; }
    void clear() override;
    void pset(int x, int y) override;
    // Throws std::invalid_argument for a slanted line.
    void line(int x1, int y1, int x2, int y2) override;
    void blockCopy(int zielX, int quelleX, int breite, int hoehe) override;

    // A new size; the pixels that lie in both keep their colour, new ones get the background.
    void resize(int breite, int hoehe);

    // The colour at (x, y); the background outside the strip.
    app::Colour pixel(int x, int y) const;
    bool gesetzt(int x, int y) const { return pixel(x, y) == vordergrund_; }
    // Row y as text: '#' for a foreground pixel, '.' for any other.
    std::string zeile(int y) const;
    // All rows, each followed by a line feed.
    std::string bild() const;

private:
    bool innen(int x, int y) const { return x >= 0 && y >= 0 && x < breite_ && y < hoehe_; }

    int breite_;
    int hoehe_;
    app::Colour vordergrund_;
    app::Colour hintergrund_;
    std::vector<app::Colour> pixel_;  // row by row
};

}  // namespace krv::timing
