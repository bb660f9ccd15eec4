#include "core/hexdump/HexDumpMenue.hpp"

#include "core/state/StartupSettings.hpp"

namespace krv::hexdump {

void HexDumpMenue::mnuHexDumpAuswahl_Click(int index) {
    const int anzahl = static_cast<int>(c_.mnuHexDumpAuswahl.size());
    int& modus = state_.einstellungen.HexDumpModus;
    if (index < 0 || index >= anzahl || index == modus) return;

    if (modus >= 0 && modus < anzahl) c_.mnuHexDumpAuswahl[static_cast<std::size_t>(modus)].setChecked(false);
    modus = index;
    fenster_.Unload();
    if (modus > 0) fenster_.Show();
    app::writeSetting(profile_, "HexDump", modus);
    c_.mnuHexDumpAuswahl[static_cast<std::size_t>(index)].setChecked(true);
}

}  // namespace krv::hexdump
