#include "gui/PasswordDialog.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "gui/Twips.hpp"

namespace krv::gui {
namespace {

// A fixed dialog with title and close box only.
constexpr Qt::WindowFlags kFensterArt =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

PasswordDialog::PasswordDialog(app::ServiceZugang& zugang, QWidget* parent)
    : QDialog(parent, kFensterArt), zugang_(zugang) {
    app::PasswortDialogState& c = zugang_.controls();
    setObjectName(qt(c.frmPassword.name()));
    setModal(false);
    const Twips twips(*this);
    setFixedSize(twips.size(app::kPasswortClient));

    lblPassword_ = new QLabel(this);
    lblPassword_->setObjectName(qt(c.lblPassword.name()));
    lblPassword_->setGeometry(twips.rect(app::kLblPasswordRect));

    txtPassword_ = new QLineEdit(this);
    txtPassword_->setObjectName(qt(c.txtPassword.name()));
    txtPassword_->setGeometry(twips.rect(app::kTxtPasswordRect));
    txtPassword_->setEchoMode(QLineEdit::Password);
    // Every typed character shows as the dialog's mask character, whatever the desktop's style.
    txtPassword_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1; }")
                                    .arg(static_cast<int>(app::kPasswortZeichen)));
    connect(txtPassword_, &QLineEdit::textEdited, this,
            [this](const QString& text) { zugang_.txtPassword_Change(text.toStdString()); });

    cmdOK_ = new QPushButton(this);
    cmdOK_->setObjectName(qt(c.cmdOK.name()));
    cmdOK_->setGeometry(twips.rect(app::kCmdOKRect));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        if (!zugang_.geladen()) return;
        zugang_.cmdOK_Click();
        abgleichen();
    });

    cmdAbbrechen_ = new QPushButton(this);
    cmdAbbrechen_->setObjectName(qt(c.cmdAbbrechen.name()));
    cmdAbbrechen_->setGeometry(twips.rect(app::kCmdAbbrechenRect));
    cmdAbbrechen_->setAutoDefault(false);
    connect(cmdAbbrechen_, &QPushButton::clicked, this, &PasswordDialog::reject);

    nachVorne_ = zugang_.nachVorne();
    c.setListener([this](const app::Control&) { abgleichVormerken(); });
    abgleichen();
}

PasswordDialog::~PasswordDialog() { zugang_.controls().setListener({}); }

void PasswordDialog::reject() {
    // QDialog's close box and Escape come here too; the core closes the dialog.
    if (zugang_.geladen()) zugang_.cmdAbbrechen_Click();
    abgleichen();
}

void PasswordDialog::abgleichVormerken() {
    if (abgleichVorgemerkt_) return;
    abgleichVorgemerkt_ = true;
    QTimer::singleShot(0, this, [this] {
        if (abgleichVorgemerkt_) abgleichen();
    });
}

void PasswordDialog::abgleichen() {
    abgleichVorgemerkt_ = false;
    const app::PasswortDialogState& c = zugang_.controls();
    setWindowTitle(qt(c.frmPassword.caption()));
    lblPassword_->setText(qt(c.lblPassword.caption()));
    cmdOK_->setText(qt(c.cmdOK.caption()));
    cmdAbbrechen_->setText(qt(c.cmdAbbrechen.caption()));
    const QString text = qt(c.txtPassword.caption());
    if (txtPassword_->text() != text) txtPassword_->setText(text);

    const bool zeigen = zugang_.geladen() && c.frmPassword.visible();
    if (zeigen && !isVisible()) {
        show();
        nachVorne_ = zugang_.nachVorne();
        raise();
        activateWindow();
        txtPassword_->setFocus(Qt::OtherFocusReason);
    } else if (!zeigen && isVisible()) {
        hide();
    } else if (zeigen && zugang_.nachVorne() != nachVorne_) {
        nachVorne_ = zugang_.nachVorne();
        raise();
        activateWindow();
    }
}

}  // namespace krv::gui
