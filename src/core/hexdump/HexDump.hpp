#pragma once
// The hex dump window `frmHexDump`: the data bytes of the last displayed telegram in a grid of
// 16 columns, as decimal codes or in hexadecimal, and the address and values of the selected
// cell. Only cells whose byte changed are written, because writing grid cells is slow. The Qt
// window renders these controls and forwards its events to the handlers here.
#include <array>
#include <functional>

#include "core/hexdump/GridControl.hpp"
#include "core/link/ReceiveState.hpp"
#include "core/ports/Dialogs.hpp"
#include "core/ports/Printer.hpp"
#include "core/ports/ProfileStore.hpp"
#include "core/state/Control.hpp"
#include "core/state/FormLayout.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::hexdump {

inline constexpr int kSpalten = 16;           // data columns
inline constexpr int kZellen = 256;           // data cells of a long telegram
inline constexpr int kSpaltenBreite = 400;    // twips per data column
inline constexpr int kKopfSpaltenBreite = 480;  // twips of the fixed column with the row numbers
inline constexpr int kHexDumpIcon = 1;        // the program's icon resource

// Why the window unloads (the toolkit's unload modes that matter here).
inline constexpr int kUnloadSchliessfeld = 0;  // the user's close box
inline constexpr int kUnloadCode = 1;          // the program unloads it

// Design geometry in twips. The grid keeps its top-left corner; its size follows its rows.
inline constexpr app::TwipSize kHexDumpClient{7200, 5280};
inline constexpr app::TwipRect kGrid1Rect{120, 120, 6960, 4200};
inline constexpr app::TwipRect kOptAsciiRect{120, 4440, 2040, 300};
inline constexpr app::TwipRect kOptHexRect{2280, 4440, 2040, 300};
inline constexpr app::TwipRect kCmdHexDumpDruckenRect{5760, 4410, 1320, 375};
inline constexpr app::TwipRect kLblZellenInhaltRect{120, 4860, 6960, 300};

struct HexDumpFensterState {
    HexDumpFensterState();
    HexDumpFensterState(const HexDumpFensterState&) = delete;
    HexDumpFensterState& operator=(const HexDumpFensterState&) = delete;

    app::Control frmHexDump{"frmHexDump"};  // caption = title, visible = shown
    GridControl Grid1{"Grid1"};
    std::array<app::Control, 2> optHexDumpDisplay;  // checked = the selected option
    app::Control lblZellenInhalt{"lblZellenInhalt"};
    app::Control cmdHexDumpDrucken{"cmdHexDumpDrucken"};

    void forEach(const std::function<void(app::Control&)>& visit);
    void setListener(app::ControlListener listener) { listener_ = std::move(listener); }

private:
    app::ControlListener listener_;
};

class HexDumpFenster {
public:
    // receive is the receive state the main window displays from (EmpfangsString, DatenStart,
    // DatenLaenge); the window reads the current telegram's bytes there.
    HexDumpFenster(app::ProgramState& state, const link::ReceiveState& receive, ports::ProfileStore& profile,
                   ports::Dialogs& dialogs, ports::Printer& printer);

    HexDumpFensterState& controls() { return c_; }
    const HexDumpFensterState& controls() const { return c_; }

    // Loaded (the instance exists, possibly hidden) and shown.
    bool geladen() const { return geladen_; }
    bool sichtbar() const { return geladen_ && c_.frmHexDump.visible(); }
    // Kept in front of all windows (mode 2), without being moved or sized.
    bool imVordergrund() const { return imVordergrund_; }
    // Data rows the grid is laid out for: 16 after loading, 1 after a short telegram.
    int datenZeilen() const { return c_.Grid1.rows() - 1; }
    // The byte last written into data cell i, or -1 while the cell is not filled.
    int HexZelle(int i) const;

    // Shows the window modeless, loading it first when needed.
    void Show();
    // Unloads the window from the program (no settings change). Nothing when it is not loaded.
    void Unload();
    // The close request: from the close box (kUnloadSchliessfeld) the display mode becomes 0
    // and "HexDump" = 0 is stored; the menu check marks stay as they are.
    void Form_QueryUnload(int unloadMode);
    // The user closed the window with its close box.
    void Schliessfeld() {
        Form_QueryUnload(kUnloadSchliessfeld);
        Unload();
    }

    // Captions in the current language; like any use of the window, it loads it (hidden) first.
    void Init_Sprache();
    // Lays the grid out for its current numbers of rows and columns.
    void InitGrid();
    // Shows the current telegram's data bytes; modus 1 rewrites every cell. Loads the window
    // (hidden) when needed, as any use does.
    void Anzeige(int modus);
    // Address and values of the selected cell into lblZellenInhalt.
    void ZeigeZellenInhalt();

    // Events of the window.
    void Form_Activate() { ZeigeZellenInhalt(); }
    void Grid1_SelChange(int row, int col);
    void optHexDumpDisplay_Click(int index);
    void cmdHexDumpDrucken_Click();

private:
    void Form_Load();
    void Form_Unload();
    void ladenFallsNoetig();
    void zellenLeeren() { HexZellen_.fill(kLeer); }
    const std::string& text(int id) const;

    static constexpr int kLeer = -1;

    app::ProgramState& state_;
    const link::ReceiveState& receive_;
    ports::ProfileStore& profile_;
    ports::Dialogs& dialogs_;
    ports::Printer& printer_;
    HexDumpFensterState c_;
    std::array<int, kZellen> HexZellen_;
    bool geladen_ = false;
    bool imVordergrund_ = false;
};

}  // namespace krv::hexdump
