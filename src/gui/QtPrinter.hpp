#pragma once
// Printing through Qt Print Support: the print dialog, then the text as a paginated document or
// the window drawn as it appears on screen. Printing to a PDF file works without a printer.
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "core/ports/Printer.hpp"

class QPrinter;

namespace krv::gui {

class QtPrinter : public ports::Printer {
public:
    // Finds the window to print by its form name ("frmKrvDiag", "frmHexDump").
    using FensterSuche = std::function<QWidget*(const std::string& formName)>;
    explicit QtPrinter(FensterSuche suche = {}) : suche_(std::move(suche)) {}
    void setFensterSuche(FensterSuche suche) { suche_ = std::move(suche); }
    // The main window's view as a picture, for saving it.
    void setAnsicht(std::function<QPixmap()> ansicht) { ansicht_ = std::move(ansicht); }

    // Every job goes to this PDF file, without asking; empty (the default): the print dialog
    // asks for the printer each time.
    void setPdfDatei(const QString& pfad) { pdfDatei_ = pfad; }
    const QString& pdfDatei() const { return pdfDatei_; }

    ports::DruckErgebnis druckeText(const std::string& text) override;
    ports::DruckErgebnis druckeFenster(const std::string& formName) override;
    std::optional<std::string> speichereAnsicht(const std::string& pfad) override;

private:
    // The PDF file or the user's choice in the print dialog; false when the user cancelled.
    bool druckerWaehlen(QPrinter& printer) const;

    FensterSuche suche_;
    std::function<QPixmap()> ansicht_;
    QString pdfDatei_;
};

}  // namespace krv::gui
