#pragma once
// The port menu's hints: when the selected port's device is missing (a first start, an adapter
// not plugged in), every port item names the device its number stands for, so the technician
// sees which number to choose or which device to put under [Ports].
#include <array>
#include <functional>
#include <string>

#include "core/state/Control.hpp"

namespace krv::link {

// The device behind one port number as the platform found it.
struct PortGeraet {
    std::string pfad;  // empty: no device set for this number
    bool vorhanden = false;
    bool fern = false;  // an address of a device server: its hint is always shown
};

// The hint of port nr: "COM1: /dev/ttyUSB0", with "(nicht vorhanden)" / "(not present)" when the
// device is missing and "-" for a number without device. sprachOffset: 0 German, 10000 English.
std::string portHinweis(int nr, const PortGeraet& geraet, int sprachOffset);

// Sets the status tips of the port items 1..4 (element 0 is not shown): each item's hint while
// the device of the selected port gewaehlt is missing, else none; an item whose number stands for
// a device server's address always names it.
void setzePortHinweise(std::array<app::Control, 5>& mnuCom, int gewaehlt, int sprachOffset,
                       const std::function<PortGeraet(int nr)>& geraet);

}  // namespace krv::link
