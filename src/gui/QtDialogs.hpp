#pragma once
// Message boxes and file dialogs of the program, shown with Qt.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "core/ports/Dialogs.hpp"

class QMessageBox;

namespace krv::gui {

// "Text (*.LOG)|*.log" (description and pattern pairs, separated by '|') as a Qt name filter
// list: "Text (*.log)". Several pairs become several filters separated by ";;".
QString qtDateiFilter(const std::string& filter);

// The box for a request: text, icon, buttons, and the title (the application title when the
// request has none).
std::unique_ptr<QMessageBox> baueMeldung(const ports::MessageBoxRequest& request, const QString& anwendungsTitel,
                                         QWidget* parent);
// The answer for the button a box was closed with.
ports::MsgResult meldungsErgebnis(int standardButton);

class QtDialogs : public ports::Dialogs {
public:
    // sprachOffset gives the current language for the application title (text 2).
    explicit QtDialogs(std::function<int()> sprachOffset);

    // Boxes and dialogs are centred on this window; nothing: on the active window.
    void setHauptfenster(QWidget* fenster) { hauptfenster_ = fenster; }

    ports::MsgResult messageBox(const ports::MessageBoxRequest& request) override;
    std::optional<std::string> openFileName(const ports::FileDialogRequest& request) override;
    std::optional<std::string> saveFileName(const ports::FileDialogRequest& request) override;

private:
    QWidget* eltern() const;
    QString anwendungsTitel() const;

    std::function<int()> sprachOffset_;
    QPointer<QWidget> hauptfenster_;
};

}  // namespace krv::gui
