#pragma once
// Shared by the renderer tests: parsing written bytes, rendering them, reading pixels back
// and finding where ink landed.
#include <QColor>
#include <QImage>
#include <QRect>
#include <functional>
#include <vector>

#include "core/device/wmf/Metafile.hpp"

namespace krv::wmf::test {

// Parses the bytes; a test failure (and an empty metafile) when they do not parse.
Metafile parseOrFail(const std::vector<std::uint8_t>& bytes);

// The metafile fitted into width x height logical pixels on white at the pixel ratio.
QImage render(const std::vector<std::uint8_t>& bytes, int width, int height, double ratio = 1.0);

// The colour at logical pixel (x, y).
QColor pixel(const QImage& image, int x, int y);

bool near(const QColor& a, const QColor& b, int tolerance = 40);

// The bounding box (in physical pixels) of the pixels that satisfy `ink`; empty if none.
QRect inkBox(const QImage& image, const std::function<bool(const QColor&)>& ink);

bool isDark(const QColor& c);

}  // namespace krv::wmf::test
