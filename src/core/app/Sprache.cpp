#include "core/app/Sprache.hpp"

#include "core/state/StartupSettings.hpp"

namespace krv::app {
namespace {

constexpr int kSprachSchritt = 10000;  // the language offset of item 1

}  // namespace

void Sprache::mnuSprache_Click(int index) {
    MainFormState& c = form_.controls();
    ProgramState& state = form_.state();
    if (index < 0 || index >= static_cast<int>(c.mnuSprache.size())) return;

    const int alt = state.einstellungen.SprachOffset / kSprachSchritt;
    if (alt >= 0 && alt < static_cast<int>(c.mnuSprache.size())) c.mnuSprache[static_cast<std::size_t>(alt)].setChecked(false);
    state.einstellungen.SprachOffset = index * kSprachSchritt;
    writeSetting(profile_, "Sprache", state.einstellungen.SprachOffset);

    form_.Init_Sprache();
    neuZeichnen(c.frmKrvDiag.name());
    // Only a window in use is touched: the hex dump while its mode is not 0, the CPU error
    // window while it shows a message.
    if (state.einstellungen.HexDumpModus != 0) {
        hexDump_.Init_Sprache();
        neuZeichnen(hexDump_.controls().frmHexDump.name());
    }
    if (state.CpuFehlerAktiv) {
        cpuFehler_.Init_Sprache();
        neuZeichnen(cpuFehler_.controls().frmCpuFehlermeldung.name());
    }
    c.mnuSprache[static_cast<std::size_t>(index)].setChecked(true);
}

}  // namespace krv::app
