#pragma once
// Switching the language at run time (Extras -> Languages): the main window and every other
// window in use take their texts from the table again, and the choice is stored at once, so the
// next start keeps it. Texts filled at start-up (the model list) keep the start-up language.
#include <functional>
#include <string>

#include "core/app/MainForm.hpp"
#include "core/diag/CpuFehlerFenster.hpp"
#include "core/hexdump/HexDump.hpp"
#include "core/ports/ProfileStore.hpp"

namespace krv::app {

class Sprache {
public:
    Sprache(MainForm& form, hexdump::HexDumpFenster& hexDump, diag::CpuFehlerFenster& cpuFehler,
            ports::ProfileStore& profile)
        : form_(form), hexDump_(hexDump), cpuFehler_(cpuFehler), profile_(profile) {}

    // Menu item mnuSprache(index): 0 German, 1 English. Any other index is ignored.
    void mnuSprache_Click(int index);

    // Asked to repaint a window after its texts changed, with its form name ("frmKrvDiag",
    // "frmHexDump", "frmCpuFehlermeldung"). The Qt layer repaints; it may stay empty.
    std::function<void(const std::string&)> onNeuZeichnen;

private:
    void neuZeichnen(const std::string& formName) {
        if (onNeuZeichnen) onNeuZeichnen(formName);
    }

    MainForm& form_;
    hexdump::HexDumpFenster& hexDump_;
    diag::CpuFehlerFenster& cpuFehler_;
    ports::ProfileStore& profile_;
};

}  // namespace krv::app
