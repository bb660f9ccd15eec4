#pragma once
// The main window's menu Extras -> HexDump: its three items choose the hex dump mode (0 no
// display, 1 standard, 2 always in front). Exactly the item of the current mode is checked.
#include "core/hexdump/HexDump.hpp"
#include "core/ports/ProfileStore.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::hexdump {

class HexDumpMenue {
public:
    HexDumpMenue(app::ProgramState& state, app::MainFormState& controls, HexDumpFenster& fenster,
                 ports::ProfileStore& profile)
        : state_(state), c_(controls), fenster_(fenster), profile_(profile) {}

    // A mode change always unloads the window and, for modes 1 and 2, loads and shows it anew:
    // that is how keeping it in front is switched on and off. The mode already active does nothing.
    void mnuHexDumpAuswahl_Click(int index);

private:
    app::ProgramState& state_;
    app::MainFormState& c_;
    HexDumpFenster& fenster_;
    ports::ProfileStore& profile_;
};

}  // namespace krv::hexdump
