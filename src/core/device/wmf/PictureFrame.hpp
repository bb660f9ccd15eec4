#pragma once
// Where a metafile's picture lies in its own units and how it is fitted into an area.
#include <optional>

#include "core/device/wmf/Metafile.hpp"
#include "core/device/wmf/Player.hpp"

namespace krv::wmf {

// The picture rectangle: the placeable header's bounding box; without one the first window
// origin and extent; without those the bounds of what the records draw. Empty when nothing
// gives a rectangle with an area.
std::optional<RectF> pictureRect(const Metafile& mf);

// `picture` scaled into `area` with its aspect ratio kept, centred.
RectF fitInto(const RectF& picture, const RectF& area);

// The frame that plays the metafile into `area`; empty when the picture has no area.
std::optional<Frame> frameFor(const Metafile& mf, const RectF& area);

}  // namespace krv::wmf
