#include "gui/SplashWindow.hpp"

#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "core/state/StringTable.hpp"
#include "core/state/VersionText.hpp"
#include "gui/Twips.hpp"

namespace krv::gui {
namespace {

constexpr app::TwipSize kSplashGroesse{6000, 3000};

QLabel* label(QWidget* parent, const char* name, const std::string& text, int punkte, bool fett) {
    auto* l = new QLabel(QString::fromStdString(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignCenter);
    l->setTextFormat(Qt::PlainText);
    QFont f = l->font();
    f.setPointSize(punkte);
    f.setBold(fett);
    l->setFont(f);
    return l;
}

}  // namespace

SplashWindow::SplashWindow(int sprachOffset, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);

    lblAppName_ = label(this, "lblAppName", app::LoadResString(2, sprachOffset), 16, true);
    lblVersion_ = label(this, "lblVersion", "Version " + app::VersionsText(), 10, false);
    lblCopyright_ = label(this, "lblCopyright", app::LoadResString(16, sprachOffset), 9, false);

    auto* rahmen = new QFrame(this);
    rahmen->setFrameStyle(QFrame::Box | QFrame::Raised);
    rahmen->setLineWidth(2);
    auto* innen = new QVBoxLayout(rahmen);
    innen->addStretch(2);
    innen->addWidget(lblAppName_);
    innen->addStretch(1);
    innen->addWidget(lblVersion_);
    innen->addStretch(1);
    innen->addWidget(lblCopyright_);
    innen->addStretch(2);
    auto* aussen = new QVBoxLayout(this);
    aussen->setContentsMargins(0, 0, 0, 0);
    aussen->addWidget(rahmen);

    const Twips twips(*this);
    setFixedSize(twips.size(kSplashGroesse));
    if (const QScreen* s = screen()) {
        const QRect b = s->availableGeometry();
        move(b.left() + b.width() / 2 - width() / 2, b.top() + b.height() / 2 - height() / 2);
    }
}

void SplashWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
    close();
}

}  // namespace krv::gui
