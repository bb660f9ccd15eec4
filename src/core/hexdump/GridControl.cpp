#include "core/hexdump/GridControl.hpp"

#include <algorithm>
#include <numeric>

namespace krv::hexdump {
namespace {

constexpr int kStandardSpaltenBreite = 960;  // twips, until set
constexpr int kRahmen = 60;                  // twips of border around the cells

const std::string kLeer;

}  // namespace

const std::string& GridControl::textMatrix(int row, int col) const {
    if (!innerhalb(row, col)) return kLeer;
    return cells_[static_cast<std::size_t>(row * cols_ + col)];
}

void GridControl::setTextMatrix(int row, int col, const std::string& text) {
    if (!innerhalb(row, col)) return;
    cells_[static_cast<std::size_t>(row * cols_ + col)] = text;
    ++zellenSchreibvorgaenge_;
    if (zellenListener_) zellenListener_(row, col);
}

void GridControl::clear() {
    for (std::string& cell : cells_) cell.clear();
    layoutGeaendert();
}

int GridControl::colWidth(int col) const {
    return col >= 0 && col < cols_ ? colWidths_[static_cast<std::size_t>(col)] : 0;
}

void GridControl::setColWidth(int col, int twips) {
    if (col < 0 || col >= cols_) return;
    int& breite = colWidths_[static_cast<std::size_t>(col)];
    if (breite == twips) return;
    breite = twips;
    layoutGeaendert();
}

void GridControl::alleZellenSichtbar() {
    const int breite = std::accumulate(colWidths_.begin(), colWidths_.end(), 0) + kRahmen;
    const int hoehe = rows_ * rowHeight_ + kRahmen;
    update(breite_, breite);
    update(hoehe_, hoehe);
}

void GridControl::resize(int rows, int cols) {
    if (rows < 0) rows = 0;
    if (cols < 0) cols = 0;
    if (rows == rows_ && cols == cols_) return;
    std::vector<std::string> neu(static_cast<std::size_t>(rows * cols));
    for (int r = 0; r < std::min(rows, rows_); ++r) {
        for (int c = 0; c < std::min(cols, cols_); ++c) {
            neu[static_cast<std::size_t>(r * cols + c)] = std::move(cells_[static_cast<std::size_t>(r * cols_ + c)]);
        }
    }
    cells_ = std::move(neu);
    colWidths_.resize(static_cast<std::size_t>(cols), kStandardSpaltenBreite);
    rows_ = rows;
    cols_ = cols;
    // The selection stays inside the grid; the listener hears of everything in one report.
    if (row_ >= rows_) row_ = rows_ > 0 ? rows_ - 1 : 0;
    if (col_ >= cols_) col_ = cols_ > 0 ? cols_ - 1 : 0;
    layoutGeaendert();
}

}  // namespace krv::hexdump
