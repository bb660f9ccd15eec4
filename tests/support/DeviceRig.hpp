#pragma once
// The device picture with scripted pictures and dialogs, driven the way the display routine
// drives it: each block through the picture steps, then the display marked valid.
#include <set>
#include <string>

#include "core/device/DeviceDisplay.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/ports/ScriptedPictures.hpp"

namespace krv::test {

struct DeviceRig {
    explicit DeviceRig(std::set<std::string> fehlendeBilder = {}) : pictures(std::move(fehlendeBilder)) {
        state.ProgrammPfad = "/opt/krv/";
    }
    app::ProgramState state;
    app::MainFormState controls;
    ports::FailsOnName pictures;
    ports::ScriptedDialogs dialogs;
    device::DeviceDisplay display{state, controls, pictures, dialogs};

    void zeige(device::GeraeteBytes bytes) {
        display.AnzeigeGeraet(bytes);
        state.AnzeigeGueltig = 1;
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

}  // namespace krv::test
