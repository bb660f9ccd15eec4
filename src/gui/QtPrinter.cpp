#include "gui/QtPrinter.hpp"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace krv::gui {
namespace {

// The print dialog; false when the user cancelled it.
bool druckerWaehlen(QPrinter& printer) {
    QPrintDialog dialog(&printer);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

ports::DruckErgebnis QtPrinter::druckeText(const std::string& text) {
    QPrinter printer(QPrinter::HighResolution);
    if (!druckerWaehlen(printer)) return ports::DruckErgebnis::Abgebrochen;
    QTextDocument document;
    document.setPlainText(QString::fromStdString(text));
    QPainter probe;
    if (!probe.begin(&printer)) return ports::DruckErgebnis::Fehler;
    probe.end();
    document.print(&printer);
    return ports::DruckErgebnis::Gedruckt;
}

ports::DruckErgebnis QtPrinter::druckeFenster(const std::string& formName) {
    QWidget* fenster = suche_ ? suche_(formName) : nullptr;
    if (!fenster) return ports::DruckErgebnis::Fehler;
    QPrinter printer(QPrinter::HighResolution);
    if (!druckerWaehlen(printer)) return ports::DruckErgebnis::Abgebrochen;
    const QPixmap bild = fenster->grab();
    QPainter painter;
    if (!painter.begin(&printer)) return ports::DruckErgebnis::Fehler;
    const QRect seite = painter.viewport();
    QSize groesse = bild.size();
    groesse.scale(seite.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(seite.topLeft(), groesse), bild);
    painter.end();
    return ports::DruckErgebnis::Gedruckt;
}

}  // namespace krv::gui
