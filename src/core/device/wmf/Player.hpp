#pragma once
// Plays a parsed metafile onto a canvas the way a Windows device context plays it: window and
// viewport mapping, map modes, saved states, the object table, the current pen, brush, font,
// colours, modes and clipping.
#include "core/device/wmf/Canvas.hpp"
#include "core/device/wmf/Metafile.hpp"

namespace krv::wmf {

// The picture rectangle (in the file's logical units: the placeable bounding box, else the
// first window) and the device rectangle it is drawn into. Before the first record the window
// and the viewport both equal `picture`; the file's own window and viewport records then map
// onto that, as they would onto the rectangle an application plays a metafile into.
struct Frame {
    RectF picture;
    RectF device;
    double unitsPerInch = 1440;  // picture units per inch, for the metric map modes
};

// Limits that keep a hostile file from growing the player's state.
constexpr std::size_t kMaxSavedStates = 1024;
constexpr std::size_t kMaxClipOps = 64;

void play(const Metafile& mf, const Frame& frame, Canvas& canvas);

}  // namespace krv::wmf
