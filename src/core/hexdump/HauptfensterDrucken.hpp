#pragma once
// File -> Print of the main window: prints the window as it appears on screen.
#include "core/ports/Dialogs.hpp"
#include "core/ports/Printer.hpp"

namespace krv::hexdump {

inline constexpr const char* kHauptfensterName = "frmKrvDiag";

// A failure shows text 9 ("Die Datei kann nicht gedruckt werden." / "It's not possible to
// print") in a plain OK box; the program goes on. A cancelled print dialog shows nothing.
void mnuPrint_Click(ports::Printer& printer, ports::Dialogs& dialogs, int sprachOffset);

}  // namespace krv::hexdump
