#pragma once
// The program-wide variables that several windows and modules share.
#include <cstdint>
#include <string>

#include "core/state/Einstellungen.hpp"
#include "core/state/PlaybackState.hpp"

namespace krv::app {

struct ProgramState {
    Einstellungen einstellungen;
    recorder::PlaybackState playback;

    std::string ProgrammPfad;  // data directory with a trailing separator

    bool PortOffen = false;       // mirror of the port's open state
    bool CpuFehlerAktiv = false;  // CPU error window shown
    bool ServiceModus1 = false;
    bool ServiceModus2 = false;
    bool ServiceModus3 = false;

    bool StatusInitialisiert = false;  // false: the status window texts are set up anew
    bool CpuWiedergabeAktiv = false;   // a CPU data file is being replayed
    int AnzeigeGueltig = 0;  // 0: the next display redraws the whole picture
    int AnsichtModus = 2;    // 0 status window, 1 timing diagram, 2 model list
    int HardwareIndex = 0;   // active model 0..15
    std::uint8_t HardwareTyp = 0;

    int sprachOffset() const { return einstellungen.SprachOffset; }
};

}  // namespace krv::app
