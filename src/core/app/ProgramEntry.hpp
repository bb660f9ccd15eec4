#pragma once
// Program entry: settings, the single-instance test, the splash window, the main window's
// load, the initial view, and the splash window's remaining time.
#include <cstdint>
#include <functional>
#include <string>

#include "core/app/MainForm.hpp"
#include "core/ports/Clock.hpp"
#include "core/ports/Dialogs.hpp"
#include "core/ports/InstanceLock.hpp"
#include "core/ports/ProfileStore.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::app {

// Steps up to the main window: settings file name, language, single-instance test (with its
// message), the splash window (showSplash), the other start-up settings, the data directory.
// False when another copy runs: the program then ends at once.
bool ProgrammStartVorDemHauptfenster(ProgramState& state, ports::ProfileStore& profile, ports::Dialogs& dialogs,
                                     ports::InstanceLock& lock, const std::string& programmPfad,
                                     const std::function<void()>& showSplash);

// After the main window has loaded: the check marks from the settings and the model list as
// the initial view.
void ProgrammStartNachDemLaden(ProgramState& state, MainForm& form);

// How long the splash window stays up from now: three seconds counted from the current time
// rounded to the nearest whole second.
std::int64_t splashRestzeitMs(ports::Clock& clock);

}  // namespace krv::app
