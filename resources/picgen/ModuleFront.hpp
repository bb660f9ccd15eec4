#pragma once
// The front of a DIN-rail module as seen from the cabinet door: housing, terminal rows at top
// and bottom, a name plate, and a ring with a label wherever one of the module's LEDs sits.
#include <string_view>
#include <vector>

#include "PictureSet.hpp"
#include "WmfCanvas.hpp"

namespace krv::picgen {

// Draws `picture` onto a canvas the size of its picture area. `nameHeight` is the character
// height of the name plate text, the same on every module so that the fronts match.
void drawModuleFront(WmfCanvas& canvas, const ModulePicture& picture, int nameHeight);

// The largest name plate text height at which every module's name fits its plate.
int namePlateHeight(const std::vector<ModulePicture>& pictures);

// The label printed next to a module LED, from the LED's shape name ("OutputLocked" -> "Locked").
// Throws std::logic_error for an LED without a label.
std::string_view ledLabel(std::string_view ledName);

}  // namespace krv::picgen
