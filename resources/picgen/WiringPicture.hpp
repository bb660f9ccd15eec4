#pragma once
// The wiring picture of a model: a terminal cell under every terminal LED the model's LED table
// names, labelled with the terminal's number as the timing diagram's channel selector names it,
// wired into a block diagram of the controller with the model name in its title block.
#include <string>
#include <vector>

#include "PictureSet.hpp"
#include "WmfCanvas.hpp"

namespace krv::picgen {

// One terminal of the wiring picture.
struct Terminal {
    int led;           // terminal LED index 0..43
    int bit;           // terminal bit 0..35 that lights it
    std::string label; // "1".."36": the bit number as the channel selector shows it (bit + 1)
    int x;             // centre of the LED in picture units
    bool top;          // in the row above the picture (else along its lower edge)
};

// The terminals of model 0..15, in LED order.
std::vector<Terminal> terminals(int model);

void drawWiringPicture(WmfCanvas& canvas, const WiringPicture& picture);

}  // namespace krv::picgen
