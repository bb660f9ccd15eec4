#include "core/hexdump/HexDump.hpp"

#include <algorithm>

#include "core/hexdump/HexDumpText.hpp"
#include "core/state/StartupSettings.hpp"
#include "core/state/StringTable.hpp"

namespace krv::hexdump {
namespace {

constexpr int kEntwurfZeilen = 2;   // the grid's size before the window lays it out
constexpr int kEntwurfSpalten = 2;

void entwurfsGrid(GridControl& grid) {
    grid.clear();
    grid.setRows(kEntwurfZeilen);
    grid.setCols(kEntwurfSpalten);
    grid.setColWidth(0, kKopfSpaltenBreite);
    grid.setRow(1);
    grid.setCol(1);
}

}  // namespace

HexDumpFensterState::HexDumpFensterState() {
    for (std::size_t i = 0; i < optHexDumpDisplay.size(); ++i) {
        optHexDumpDisplay[i].setName("optHexDumpDisplay(" + std::to_string(i) + ")");
    }
    frmHexDump.setVisible(false);
    entwurfsGrid(Grid1);
    forEach([this](app::Control& c) { c.setListener(&listener_); });
}

void HexDumpFensterState::forEach(const std::function<void(app::Control&)>& visit) {
    visit(frmHexDump);
    visit(Grid1);
    for (app::Control& opt : optHexDumpDisplay) visit(opt);
    visit(lblZellenInhalt);
    visit(cmdHexDumpDrucken);
}

HexDumpFenster::HexDumpFenster(app::ProgramState& state, const link::ReceiveState& receive,
                               ports::ProfileStore& profile, ports::Dialogs& dialogs, ports::Printer& printer)
    : state_(state), receive_(receive), profile_(profile), dialogs_(dialogs), printer_(printer) {
    zellenLeeren();
}

const std::string& HexDumpFenster::text(int id) const { return app::LoadResString(id, state_.sprachOffset()); }

int HexDumpFenster::HexZelle(int i) const {
    return i >= 0 && i < kZellen ? HexZellen_[static_cast<std::size_t>(i)] : kLeer;
}

void HexDumpFenster::ladenFallsNoetig() {
    if (!geladen_) Form_Load();
}

void HexDumpFenster::Form_Load() {
    geladen_ = true;
    zellenLeeren();
    Init_Sprache();  // the icon is a design resource the Qt window sets itself
    const int anzeige = state_.einstellungen.HexDumpAnzeige;
    for (std::size_t i = 0; i < c_.optHexDumpDisplay.size(); ++i) {
        c_.optHexDumpDisplay[i].setChecked(static_cast<int>(i) == anzeige);
    }
    c_.Grid1.setCols(kSpalten + 1);
    c_.Grid1.setRows(kSpalten + 1);
    InitGrid();
    if (state_.einstellungen.HexDumpModus == 2) imVordergrund_ = true;
}

void HexDumpFenster::Form_Unload() {
    // The instance is released: the next use starts again from the design state.
    c_.frmHexDump.setVisible(false);
    c_.frmHexDump.setCaption({});
    c_.cmdHexDumpDrucken.setCaption({});
    for (app::Control& opt : c_.optHexDumpDisplay) {
        opt.setCaption({});
        opt.setChecked(false);
    }
    c_.lblZellenInhalt.setCaption({});
    entwurfsGrid(c_.Grid1);
    zellenLeeren();
    imVordergrund_ = false;
    geladen_ = false;
}

void HexDumpFenster::Show() {
    ladenFallsNoetig();
    c_.frmHexDump.setVisible(true);
}

void HexDumpFenster::Unload() {
    if (geladen_) Form_Unload();
}

void HexDumpFenster::Form_QueryUnload(int unloadMode) {
    if (!geladen_ || unloadMode != kUnloadSchliessfeld) return;
    state_.einstellungen.HexDumpModus = 0;
    app::writeSetting(profile_, "HexDump", 0);
}

void HexDumpFenster::Init_Sprache() {
    if (!geladen_) {
        Form_Load();  // the load sets the captions itself
        return;
    }
    c_.frmHexDump.setCaption(text(2001));
    c_.cmdHexDumpDrucken.setCaption(text(2002));
    c_.optHexDumpDisplay[0].setCaption(text(2003));
    c_.optHexDumpDisplay[1].setCaption(text(2004));
}

void HexDumpFenster::InitGrid() {
    GridControl& g = c_.Grid1;
    g.setZentriert(true);
    for (int col = 1; col < g.cols(); ++col) {
        g.setColWidth(col, kSpaltenBreite);
        g.setTextMatrix(0, col, hexText(static_cast<unsigned>(col - 1)));
    }
    for (int row = 1; row < g.rows(); ++row) g.setTextMatrix(row, 0, hexText(static_cast<unsigned>(row - 1)));
    g.alleZellenSichtbar();
    g.setRow(1);
    g.setCol(1);
}

void HexDumpFenster::Anzeige(int modus) {
    ladenFallsNoetig();
    if (modus == 1) zellenLeeren();
    const link::ReceiveState& s = receive_;
    if (s.DatenLaenge == 0 || s.EmpfangsLaenge() == 0) return;

    GridControl& g = c_.Grid1;
    const int laenge = static_cast<int>(std::min<std::size_t>(s.DatenLaenge, kZellen));
    if (laenge / kSpalten != datenZeilen()) {
        g.setCols(kSpalten + 1);
        g.setRows(laenge == kZellen ? kSpalten + 1 : 2);
        InitGrid();
        zellenLeeren();
    }

    const int row = g.row();
    const int col = g.col();
    const int anzeige = state_.einstellungen.HexDumpAnzeige;
    for (int i = 0; i < laenge; ++i) {
        const std::size_t pos = s.DatenStart + static_cast<std::size_t>(i);
        // The telegram is normally still in the buffer; after it was cut off, a later redraw
        // may find fewer bytes there. Those cells keep what they show.
        if (pos < 1 || pos > s.EmpfangsLaenge()) break;
        const int ch = s.EmpfangsString.at(pos);
        int& zelle = HexZellen_[static_cast<std::size_t>(i)];
        if (ch == zelle) continue;
        zelle = ch;
        g.setTextMatrix(i / kSpalten + 1, i % kSpalten + 1, zellenText(static_cast<std::uint8_t>(ch), anzeige));
    }
    g.setRow(row);
    g.setCol(col);
}

void HexDumpFenster::ZeigeZellenInhalt() {
    const GridControl& g = c_.Grid1;
    const int i = (g.row() - 1) * (g.cols() - 1) + (g.col() - 1);
    if (i < 0 || i >= kZellen) return;
    const int b = HexZellen_[static_cast<std::size_t>(i)];
    if (b == kLeer) return;
    c_.lblZellenInhalt.setCaption(zellenInhaltText(i, static_cast<std::uint8_t>(b)));
}

void HexDumpFenster::Grid1_SelChange(int row, int col) {
    c_.Grid1.setRow(row);
    c_.Grid1.setCol(col);
    ZeigeZellenInhalt();
}

void HexDumpFenster::optHexDumpDisplay_Click(int index) {
    if (index < 0 || index > 1) return;
    state_.einstellungen.HexDumpAnzeige = index;
    for (std::size_t i = 0; i < c_.optHexDumpDisplay.size(); ++i) {
        c_.optHexDumpDisplay[i].setChecked(static_cast<int>(i) == index);
    }
    app::writeSetting(profile_, "HexDumpDisplay", index);
    Anzeige(1);
}

void HexDumpFenster::cmdHexDumpDrucken_Click() {
    if (printer_.druckeFenster(c_.frmHexDump.name()) == ports::DruckErgebnis::Fehler) {
        dialogs_.messageBox({text(2005), {}, ports::MsgIcon::None, ports::MsgButtons::Ok});
    }
}

}  // namespace krv::hexdump
