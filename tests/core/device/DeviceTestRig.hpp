#pragma once
// The device picture with scripted pictures and dialogs, driven the way the display routine
// drives it: each block through the picture steps, then the display marked valid.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/app/MainFormState.hpp"
#include "core/app/ProgramState.hpp"
#include "core/device/DeviceDisplay.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/ports/ScriptedPictures.hpp"

namespace krv::device::test {

struct DeviceRig {
    explicit DeviceRig(std::set<std::string> fehlendeBilder = {}) : pictures(std::move(fehlendeBilder)) {
        state.ProgrammPfad = "/opt/krv/";
    }

    app::ProgramState state;
    app::MainFormState controls;
    ports::FailsOnName pictures;
    ports::ScriptedDialogs dialogs;
    DeviceDisplay display{state, controls, pictures, dialogs};

    // One displayed block: the picture steps, then AnzeigeGueltig = 1 as the display routine
    // leaves it.
    void zeige(GeraeteBytes bytes) {
        display.AnzeigeGeraet(bytes);
        state.AnzeigeGueltig = 1;
    }
    void zeigeModell(int index) { zeige({static_cast<std::uint8_t>(index)}); }

    // The port opens: the port panel paints the terminal LEDs white and invalidates the display.
    void portOeffnen() {
        state.PortOffen = true;
        for (app::Control& led : controls.shpLed) led.setColour(app::kWeiss);
        state.AnzeigeGueltig = 0;
    }

    std::set<int> sichtbareKlemmenLeds() const {
        std::set<int> sichtbar;
        for (int i = 0; i < app::kAnzahlKlemmenLeds; ++i) {
            if (controls.shpLed[static_cast<std::size_t>(i)].visible()) sichtbar.insert(i);
        }
        return sichtbar;
    }
    app::Colour klemme(int led) const { return controls.shpLed[static_cast<std::size_t>(led)].colour(); }

    // Property changes of every control so far: equal before and after means nothing repainted.
    unsigned alleAenderungen() {
        unsigned n = 0;
        controls.forEach([&n](app::Control& c) { n += c.changes(); });
        return n;
    }
};

}  // namespace krv::device::test
