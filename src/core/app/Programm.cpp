#include "core/app/Programm.hpp"

#include "core/hexdump/HauptfensterDrucken.hpp"

namespace krv::app {

Programm::Programm(ProgramState& s, MainFormState& controls, Ports p)
    : state(s),
      ports(p),
      form(s, controls, p),
      hexDump(s, form.receivePath().receive(), p.profile, p.dialogs, p.printer),
      hexDumpMenue(s, controls, hexDump, p.profile),
      hilfe(s, p.profile, p.dialogs, p.printer),
      service(s, controls, hexDump),
      sprache(form, hexDump, form.cpuFehlerFenster(), p.profile),
      exportMenue(s, form, p) {
    form.onHexDumpAnzeige = [this] { hexDump.Anzeige(0); };
    // Unloading the main window unloads the hex dump, info and help windows first.
    form.onAndereFensterSchliessen = [this] {
        hexDump.Unload();
        if (onInfoSchliessen) onInfoSchliessen();
        hilfe.Unload();
    };
}

void Programm::mnuPrint_Click() { hexdump::mnuPrint_Click(ports.printer, ports.dialogs, state.sprachOffset()); }

}  // namespace krv::app
