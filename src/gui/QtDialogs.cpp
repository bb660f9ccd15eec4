#include "gui/QtDialogs.hpp"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QMessageBox>
#include <QStringList>

#include "core/state/StringTable.hpp"

namespace krv::gui {
namespace {

constexpr int kAnwendungsTitel = 2;

QMessageBox::Icon qtSymbol(ports::MsgIcon icon) {
    switch (icon) {
    case ports::MsgIcon::Exclamation: return QMessageBox::Warning;
    case ports::MsgIcon::Critical: return QMessageBox::Critical;
    case ports::MsgIcon::Information: return QMessageBox::Information;
    case ports::MsgIcon::Question: return QMessageBox::Question;
    case ports::MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtKnoepfe(ports::MsgButtons buttons) {
    switch (buttons) {
    case ports::MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case ports::MsgButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case ports::MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case ports::MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case ports::MsgButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

std::optional<std::string> ergebnis(const QString& pfad) {
    if (pfad.isEmpty()) return std::nullopt;
    return pfad.toStdString();
}

}  // namespace

QString qtDateiFilter(const std::string& filter) {
    const QStringList teile = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filter2;
    for (int i = 0; i + 1 < teile.size(); i += 2) {
        QString beschreibung = teile[i].trimmed();
        // The description carries its own pattern list for the eye; the real patterns follow it.
        const int klammer = beschreibung.lastIndexOf(QLatin1Char('('));
        if (klammer >= 0 && beschreibung.endsWith(QLatin1Char(')'))) beschreibung = beschreibung.left(klammer).trimmed();
        QString muster = teile[i + 1].trimmed();
        muster.replace(QLatin1Char(';'), QLatin1Char(' '));
        filter2 << (beschreibung.isEmpty() ? muster : beschreibung + QStringLiteral(" (") + muster + QLatin1Char(')'));
    }
    if (filter2.isEmpty() && !teile.isEmpty() && !teile[0].trimmed().isEmpty()) filter2 << teile[0].trimmed();
    return filter2.join(QStringLiteral(";;"));
}

std::unique_ptr<QMessageBox> baueMeldung(const ports::MessageBoxRequest& request, const QString& anwendungsTitel,
                                         QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(qtSymbol(request.icon));
    box->setWindowTitle(request.title.empty() ? anwendungsTitel : QString::fromStdString(request.title));
    box->setText(QString::fromStdString(request.text));
    box->setTextFormat(Qt::PlainText);
    box->setStandardButtons(qtKnoepfe(request.buttons));
    return box;
}

ports::MsgResult meldungsErgebnis(int standardButton) {
    switch (standardButton) {
    case QMessageBox::Cancel: return ports::MsgResult::Cancel;
    case QMessageBox::Retry: return ports::MsgResult::Retry;
    case QMessageBox::Yes: return ports::MsgResult::Yes;
    case QMessageBox::No: return ports::MsgResult::No;
    default: return ports::MsgResult::Ok;
    }
}

QtDialogs::QtDialogs(std::function<int()> sprachOffset) : sprachOffset_(std::move(sprachOffset)) {}

QWidget* QtDialogs::eltern() const { return hauptfenster_ ? hauptfenster_.data() : QApplication::activeWindow(); }

QString QtDialogs::anwendungsTitel() const {
    return QString::fromStdString(app::LoadResString(kAnwendungsTitel, sprachOffset_ ? sprachOffset_() : 0));
}

ports::MsgResult QtDialogs::messageBox(const ports::MessageBoxRequest& request) {
    if (request.beep) QApplication::beep();
    auto box = baueMeldung(request, anwendungsTitel(), eltern());
    // Port events and timers keep running while the box waits for its answer.
    const int knopf = box->exec();
    return meldungsErgebnis(knopf);
}

std::optional<std::string> QtDialogs::openFileName(const ports::FileDialogRequest& request) {
    return ergebnis(QFileDialog::getOpenFileName(eltern(), QString::fromStdString(request.title),
                                                 QString::fromStdString(request.initialName),
                                                 qtDateiFilter(request.filter)));
}

std::optional<std::string> QtDialogs::saveFileName(const ports::FileDialogRequest& request) {
    // The program asks about replacing an existing file itself.
    QString typ;
    QString pfad = QFileDialog::getSaveFileName(eltern(), QString::fromStdString(request.title),
                                                QString::fromStdString(request.initialName),
                                                qtDateiFilter(request.filter), &typ,
                                                QFileDialog::DontConfirmOverwrite);
    // A name typed without an extension gets the one of the chosen file type ("(*.csv)").
    const QRegularExpressionMatch endung = QRegularExpression(QStringLiteral("\\(\\*(\\.\\w+)")).match(typ);
    if (!pfad.isEmpty() && QFileInfo(pfad).suffix().isEmpty() && endung.hasMatch()) {
        pfad += endung.captured(1);
    }
    return ergebnis(pfad);
}

}  // namespace krv::gui
