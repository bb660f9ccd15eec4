#pragma once
// The hex dump window frmHexDump as a view of the core's window: the grid with its fixed header
// row and column, the two display options, the line about the selected cell and the print
// button. A cell the core writes is repainted on its own; the grid is rebuilt only when its
// layout changes. The window is shown while the core shows it and kept in front in mode 2.
#include <QWidget>

#include "core/hexdump/HexDump.hpp"
#include "core/state/Control.hpp"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace krv::gui {

class HexDumpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HexDumpWindow(hexdump::HexDumpFenster& fenster, QWidget* parent = nullptr);
    ~HexDumpWindow() override;
    HexDumpWindow(const HexDumpWindow&) = delete;
    HexDumpWindow& operator=(const HexDumpWindow&) = delete;

    // Grid1: its rows and columns are the core's data cells; the core's row 0 and column 0 are
    // the table's horizontal and vertical header.
    QTableWidget* grid() const { return grid_; }
    QRadioButton* option(int index) const;
    QLabel* zellenInhalt() const { return lblZellenInhalt_; }
    QPushButton* druckKnopf() const { return cmdHexDumpDrucken_; }
    // The text shown for cell (row, col) in the core's numbering, headers included.
    QString angezeigterText(int row, int col) const;

    // Follows the core's state at once. Changes are otherwise taken over at the next turn of the
    // event loop, when the core has finished its whole step (a mode change unloads and loads
    // the window in one go; laying out the grid changes its size and every column).
    void abgleichen();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void abgleichVormerken();
    void gridAufbauen();
    void zelleZeigen(int row, int col);
    void auswahlZeigen();
    void fensterZeigen();

    hexdump::HexDumpFenster& fenster_;
    app::ControlListener listener_;
    QTableWidget* grid_ = nullptr;
    QButtonGroup* optionen_ = nullptr;
    QRadioButton* opt_[2] = {nullptr, nullptr};
    QLabel* lblZellenInhalt_ = nullptr;
    QPushButton* cmdHexDumpDrucken_ = nullptr;
    unsigned aufgebauteVersion_ = 0;  // the grid layout the table shows
    bool gridVeraltet_ = true;        // the layout changed: the next sync rebuilds the table
    bool abgleichVorgemerkt_ = false;
    bool imAbgleich_ = false;  // selection changes made here are not the user's
};

}  // namespace krv::gui
