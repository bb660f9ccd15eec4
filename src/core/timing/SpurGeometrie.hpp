#pragma once
// The pixel rules of one trace strip: where a level lies, how one sample is drawn and how a
// full strip moves left. The timing diagram keeps the per-channel positions and calls these.
#include <cstdint>

#include "core/timing/Spur.hpp"

namespace krv::timing {

// Levels: 0 = red (0 V / open), 1 = yellow (high impedance), 2 = green (24 V / closed).
inline constexpr int kAnzahlPegel = 3;
inline constexpr int kPegelGruenY = 5;
inline constexpr int kPegelGelbY = 9;
inline constexpr int kPegelRotY = 14;

inline constexpr int kPixelProSample = 2;
// Repeat counts above this are drawn one pixel wide, so long runs show as dotted traces.
inline constexpr int kVolleBreiteBisAnzahl = 4;
// How far a full strip moves left, and how much of its width stays unused on the right.
inline constexpr int kVorschubPixel = 5;
inline constexpr int kRandPixel = 7;

// The y of a level 0..2.
int pegelY(std::uint8_t zustand);

// Draws one sample of level `zustand` (0..2) at x, the previous sample having ended at level y
// `letzteY`; at x = 0 there is no previous sample and so no edge. Returns the new level y.
int zeichneSample(Spur& spur, int x, int letzteY, std::uint8_t zustand, std::uint8_t anzahl);

// Moves the whole picture kVorschubPixel pixels to the left by copying the strip onto itself.
void schiebeLinks(Spur& spur);

}  // namespace krv::timing
