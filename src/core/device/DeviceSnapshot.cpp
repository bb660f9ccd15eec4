#include "core/device/DeviceSnapshot.hpp"

#include <cstdio>

#include "core/device/LedPlaces.hpp"
#include "core/device/ModelCatalogue.hpp"

namespace krv::device {

std::string farbName(app::Colour farbe) {
    switch (farbe) {
    case app::kRot: return "red";
    case app::kGruen: return "green";
    case app::kGelb: return "yellow";
    case app::kWeiss: return "white";
    default: break;
    }
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(farbe & 0xFF),
                  static_cast<unsigned>((farbe >> 8) & 0xFF), static_cast<unsigned>((farbe >> 16) & 0xFF));
    return text;
}

std::string modelZeile(const app::ProgramState& state) {
    return "model " + std::to_string(state.HardwareIndex) + " " + modellName(state.HardwareIndex, state.sprachOffset());
}

std::string modulesZeile(const app::MainFormState& controls) {
    std::string zeile = "modules";
    for (const ModulLed& led : kModulLeds) {
        const app::Control& shape = controls.*led.shape;
        if (shape.visible()) zeile += " " + std::string(led.name) + "=" + farbName(shape.colour());
    }
    return zeile;
}

std::string terminalsZeile(const app::MainFormState& controls) {
    std::string zeile = "terminals";
    for (std::size_t i = 0; i < controls.shpLed.size(); ++i) {
        if (static_cast<int>(i) == kAktivitaetsLed || !controls.shpLed[i].visible()) continue;
        zeile += " " + std::to_string(i) + "=" + farbName(controls.shpLed[i].colour());
    }
    return zeile;
}

}  // namespace krv::device
