#include "gui/QtPrinter.hpp"

#include <QApplication>
#include <QFontDatabase>
#include <QImageWriter>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <algorithm>

namespace krv::gui {
namespace {

constexpr int kTextPunkte = 9;  // the help text on paper

// A job that could not start (the device or file could not be opened) or broke off.
ports::DruckErgebnis ergebnis(const QPrinter& printer) {
    const QPrinter::PrinterState s = printer.printerState();
    return s == QPrinter::Error || s == QPrinter::Aborted ? ports::DruckErgebnis::Fehler
                                                          : ports::DruckErgebnis::Gedruckt;
}

}  // namespace

bool QtPrinter::druckerWaehlen(QPrinter& printer) const {
    if (!pdfDatei_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfDatei_);
        return true;
    }
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

ports::DruckErgebnis QtPrinter::druckeText(const std::string& text) {
    QPrinter printer(QPrinter::HighResolution);
    if (!druckerWaehlen(printer)) return ports::DruckErgebnis::Abgebrochen;
    if (!printer.isValid()) return ports::DruckErgebnis::Fehler;
    QTextDocument dokument;
    // The help files line up their examples and tables with blanks.
    QFont schrift = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    schrift.setPointSize(kTextPunkte);
    dokument.setDefaultFont(schrift);
    dokument.setPlainText(QString::fromStdString(text));
    // Pages, margins and page numbers as the document lays them out; the job ends here.
    dokument.print(&printer);
    return ergebnis(printer);
}

ports::DruckErgebnis QtPrinter::druckeFenster(const std::string& formName) {
    QWidget* fenster = suche_ ? suche_(formName) : nullptr;
    if (fenster == nullptr) return ports::DruckErgebnis::Fehler;
    QPrinter printer(QPrinter::HighResolution);
    if (!druckerWaehlen(printer)) return ports::DruckErgebnis::Abgebrochen;
    QPainter painter;
    if (!painter.begin(&printer)) return ports::DruckErgebnis::Fehler;
    // The window at its size on screen, made smaller only when it does not fit on the page.
    const QRect seite = painter.viewport();
    const QSize fensterGroesse = fenster->size();
    double faktor = static_cast<double>(printer.resolution()) / std::max(1, fenster->logicalDpiX());
    if (fensterGroesse.width() > 0 && fensterGroesse.height() > 0) {
        faktor = std::min({faktor, static_cast<double>(seite.width()) / fensterGroesse.width(),
                           static_cast<double>(seite.height()) / fensterGroesse.height()});
    }
    painter.scale(faktor, faktor);
    // Drawn, not photographed: text and lines stay sharp on paper.
    fenster->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    return ergebnis(printer);
}

std::optional<std::string> QtPrinter::speichereAnsicht(const std::string& pfad) {
    // Grabbed at the screen's pixel ratio; the PNG holds every device pixel.
    const QPixmap bild = ansicht_ ? ansicht_() : QPixmap();
    if (bild.isNull()) return std::string("no view to save");
    QImageWriter schreiber(QString::fromStdString(pfad), "png");
    if (!schreiber.write(bild.toImage())) return schreiber.errorString().toStdString();
    return std::nullopt;
}

}  // namespace krv::gui
