#pragma once
// The 30 picture files the model catalogue names, with what each one shows. Everything is
// derived from the catalogue, so a file name or LED count cannot differ from what the program loads.
#include <string>
#include <vector>

#include "core/device/LedPlaces.hpp"
#include "core/state/FormLayout.hpp"

namespace krv::picgen {

// A module front: output, CPU or extension module.
struct ModulePicture {
    std::string file;          // e.g. "RX.WMF"
    device::Modul modul;
    std::string name;          // printed on the name plate: "Rx", "KRV-cbx", "IO-CX"
    int ledCount;              // module LEDs this picture carries rings for
};

// The wiring picture of one model.
struct WiringPicture {
    std::string file;          // e.g. "ST-CBXRX.WMF"
    int model;                 // model index 0..15
};

// Each module picture once, in catalogue order. Throws std::logic_error when two models share
// a file but disagree on its LED count.
std::vector<ModulePicture> modulePictures();
std::vector<WiringPicture> wiringPictures();

// The picture area a module picture is made for (its place in the picture container).
app::TwipRect moduleArea(device::Modul modul);

}  // namespace krv::picgen
