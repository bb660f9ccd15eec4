#include "core/hexdump/HauptfensterDrucken.hpp"

#include "core/state/StringTable.hpp"

namespace krv::hexdump {

void mnuPrint_Click(ports::Printer& printer, ports::Dialogs& dialogs, int sprachOffset) {
    if (printer.druckeFenster(kHauptfensterName) == ports::DruckErgebnis::Fehler) {
        dialogs.messageBox({app::LoadResString(9, sprachOffset), {}, ports::MsgIcon::None, ports::MsgButtons::Ok});
    }
}

}  // namespace krv::hexdump
