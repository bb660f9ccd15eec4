#pragma once
// A grid control as data: rows x columns of text cells, the first row and column fixed (the
// headers), column widths in twips and one selected cell. Layout and selection changes report
// through the control's listener; a cell write reports through its own listener, so the window
// repaints that one cell instead of the whole grid.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/state/Control.hpp"

namespace krv::hexdump {

class GridControl : public app::Control {
public:
    using ZellenListener = std::function<void(int row, int col)>;

    explicit GridControl(std::string name) : app::Control(std::move(name)) {}

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // Changing the size keeps the texts of the cells that remain; new cells are empty.
    void setRows(int rows) { resize(rows, cols_); }
    void setCols(int cols) { resize(rows_, cols); }

    // The text of a cell; empty outside the grid.
    const std::string& textMatrix(int row, int col) const;
    // Writes one cell (ignored outside the grid). Every write counts, even of the same text:
    // writing cells is what costs time.
    void setTextMatrix(int row, int col, const std::string& text);
    unsigned zellenSchreibvorgaenge() const { return zellenSchreibvorgaenge_; }
    // Empties every cell, headers included (not counted as writes: the grid is rebuilt).
    void clear();

    // The selected cell.
    int row() const { return row_; }
    int col() const { return col_; }
    void setRow(int row) { update(row_, row); }
    void setCol(int col) { update(col_, col); }

    // Column width in twips (0 for a column outside the grid).
    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    int rowHeight() const { return rowHeight_; }

    // Header and data cells centred.
    bool zentriert() const { return zentriert_; }
    void setZentriert(bool zentriert) { update(zentriert_, zentriert); }

    // Outer size of the grid in twips.
    int breite() const { return breite_; }
    int hoehe() const { return hoehe_; }
    // Sizes the grid so that every row and column is visible.
    void alleZellenSichtbar();

    // Counts layout changes (size, column widths): the window rebuilds its grid when it moves.
    unsigned layoutVersion() const { return layoutVersion_; }

    void setZellenListener(ZellenListener listener) { zellenListener_ = std::move(listener); }

private:
    void layoutGeaendert() { update(layoutVersion_, layoutVersion_ + 1); }
    void resize(int rows, int cols);
    bool innerhalb(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<std::string> cells_;  // row-major
    std::vector<int> colWidths_;
    int rowHeight_ = 240;
    int row_ = 0;
    int col_ = 0;
    bool zentriert_ = false;
    int breite_ = 0;
    int hoehe_ = 0;
    unsigned zellenSchreibvorgaenge_ = 0;
    unsigned layoutVersion_ = 0;
    ZellenListener zellenListener_;
};

}  // namespace krv::hexdump
