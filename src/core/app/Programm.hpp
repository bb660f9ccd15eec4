#pragma once
// The program's windows and their logic in one place: the main window and the windows it
// opens. The Qt program, the command-line tool and the tests build the program through this.
#include "core/app/ExportMenue.hpp"
#include "core/app/HilfeFenster.hpp"
#include "core/app/MainForm.hpp"
#include "core/app/ServiceZugang.hpp"
#include "core/app/Sprache.hpp"
#include "core/hexdump/HexDump.hpp"
#include "core/hexdump/HexDumpMenue.hpp"

namespace krv::app {

class Programm {
public:
    Programm(ProgramState& state, MainFormState& controls, Ports ports);
    Programm(const Programm&) = delete;
    Programm& operator=(const Programm&) = delete;

    // The main window's menu items that belong to the other windows.
    void mnuSprache_Click(int index) { sprache.mnuSprache_Click(index); }
    void mnuHexDumpAuswahl_Click(int index) { hexDumpMenue.mnuHexDumpAuswahl_Click(index); }
    void mnuHilfe_Click() { hilfe.mnuHilfe_Click(); }
    void mnuPrint_Click();
    // A key pressed while the picture area has the focus (Ctrl+L opens the service dialog).
    bool picContainer_KeyDown(int keyCode, int shift, bool hatFokus) {
        return service.picContainer_KeyDown(keyCode, shift, hatFokus);
    }

    ProgramState& state;
    Ports ports;
    MainForm form;
    hexdump::HexDumpFenster hexDump;
    hexdump::HexDumpMenue hexDumpMenue;
    HilfeFenster hilfe;
    ServiceZugang service;
    Sprache sprache;
    ExportMenue exportMenue;

    // The info window at unload; the Qt layer sets it.
    std::function<void()> onInfoSchliessen;
};

}  // namespace krv::app
