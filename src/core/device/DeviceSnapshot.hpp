#pragma once
// The device picture as text, one line each for the model, the visible module LEDs and the
// visible terminal LEDs: what the command-line tool prints after a displayed telegram.
#include <string>

#include "core/state/Control.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::device {

// "red", "green", "yellow", "white", any other colour as "#RRGGBB".
std::string farbName(app::Colour farbe);

// "model <HardwareIndex> <name>"
std::string modelZeile(const app::ProgramState& state);
// "modules <Name>=<colour> ..." for the visible module LEDs, output, CPU, extension module.
std::string modulesZeile(const app::MainFormState& controls);
// "terminals <i>=<colour> ..." for the visible terminal LEDs in ascending order, without LED 23.
std::string terminalsZeile(const app::MainFormState& controls);

}  // namespace krv::device
