#pragma once
// Printing through Qt Print Support: the print dialog, then a text document or a window's image.
// Printing to a PDF file works without a printer.
#include <functional>

#include <QWidget>

#include "core/ports/Printer.hpp"

namespace krv::gui {

class QtPrinter : public ports::Printer {
public:
    // Finds the window to print by its form name ("frmKrvDiag", "frmHexDump").
    using FensterSuche = std::function<QWidget*(const std::string& formName)>;
    explicit QtPrinter(FensterSuche suche = {}) : suche_(std::move(suche)) {}
    void setFensterSuche(FensterSuche suche) { suche_ = std::move(suche); }

    ports::DruckErgebnis druckeText(const std::string& text) override;
    ports::DruckErgebnis druckeFenster(const std::string& formName) override;

private:
    FensterSuche suche_;
};

}  // namespace krv::gui
