#pragma once
// The service access dialog frmPassword as a view of the core's dialog: a masked text box, OK
// and Abbrechen. It is not modal. Its texts are the same in both languages. Typing, OK, and
// Abbrechen, Escape or the close box are reported to the core, which decides what unlocks.
#include <QDialog>

#include "core/app/ServiceZugang.hpp"

class QLabel;
class QLineEdit;
class QPushButton;

namespace krv::gui {

class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit PasswordDialog(app::ServiceZugang& zugang, QWidget* parent = nullptr);
    ~PasswordDialog() override;
    PasswordDialog(const PasswordDialog&) = delete;
    PasswordDialog& operator=(const PasswordDialog&) = delete;

    QLabel* lblPassword() const { return lblPassword_; }
    QLineEdit* txtPassword() const { return txtPassword_; }
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdAbbrechen() const { return cmdAbbrechen_; }

    // Follows the core's state at once: shown or hidden, brought up after a second Ctrl+L.
    // Changes are otherwise taken over at the next turn of the event loop.
    void abgleichen();

public slots:
    // Abbrechen, Escape and the close box.
    void reject() override;

private:
    void abgleichVormerken();

    app::ServiceZugang& zugang_;
    QLabel* lblPassword_ = nullptr;
    QLineEdit* txtPassword_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdAbbrechen_ = nullptr;
    unsigned nachVorne_ = 0;  // the core's count last followed
    bool abgleichVorgemerkt_ = false;
};

}  // namespace krv::gui
