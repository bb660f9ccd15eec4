#include "gui/HelpWindow.hpp"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "gui/Twips.hpp"

namespace krv::gui {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

HelpWindow::HelpWindow(app::HilfeFenster& fenster, QWidget* parent) : QWidget(parent, Qt::Window), fenster_(fenster) {
    app::HilfeFensterState& c = fenster_.controls();
    setObjectName(qt(c.frmHilfe.name()));
    const Twips twips(*this);

    lblObererRand_ = new QFrame(this);
    lblObererRand_->setObjectName(qt(c.lblObererRand.name()));
    lblObererRand_->setFrameStyle(QFrame::NoFrame);

    // The button lies on the strip, at its design place; the strip starts at the window's corner.
    cmdHilfeDrucken_ = new QPushButton(lblObererRand_);
    cmdHilfeDrucken_->setObjectName(qt(c.cmdHilfeDrucken.name()));
    cmdHilfeDrucken_->setGeometry(twips.rect(app::kCmdHilfeDruckenRect));
    connect(cmdHilfeDrucken_, &QPushButton::clicked, this, [this] {
        if (fenster_.geladen()) fenster_.cmdHilfeDrucken_Click();
    });

    txtHilfe_ = new QPlainTextEdit(this);
    txtHilfe_->setObjectName(qt(c.txtHilfe.name()));
    txtHilfe_->setReadOnly(true);
    // The help files line up their examples and tables with blanks, so the font is fixed; their
    // lines are wider than the window usually is, so they wrap at its width rather than making
    // every paragraph scroll sideways. Printing takes the file's text, not this view.
    txtHilfe_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtHilfe_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    nachVorne_ = fenster_.nachVorne();
    c.setListener([this](const app::Control&) { abgleichVormerken(); });
    abgleichen();
}

HelpWindow::~HelpWindow() { fenster_.controls().setListener({}); }

void HelpWindow::abgleichVormerken() {
    if (abgleichVorgemerkt_) return;
    abgleichVorgemerkt_ = true;
    QTimer::singleShot(0, this, [this] {
        if (abgleichVorgemerkt_) abgleichen();
    });
}

void HelpWindow::abgleichen() {
    abgleichVorgemerkt_ = false;
    const app::HilfeFensterState& c = fenster_.controls();
    setWindowTitle(qt(c.frmHilfe.caption()));
    cmdHilfeDrucken_->setText(qt(c.cmdHilfeDrucken.caption()));
    const QString text = qt(c.txtHilfe.caption());
    if (txtHilfe_->toPlainText() != text) txtHilfe_->setPlainText(text);

    const bool zeigen = fenster_.sichtbar();
    if (zeigen && !isVisible()) {
        // Every opening is a fresh load: the stored place and size.
        geometrieAnwenden();
        rahmenOffen_ = true;
        show();
        // Where the frame is known at once, the outer size is made right at once.
        if (rahmen() != rahmenBeimAnwenden_) {
            rahmenOffen_ = false;
            geometrieAnwenden();
        }
        nachVorne_ = fenster_.nachVorne();
        anordnen();
    } else if (!zeigen && isVisible()) {
        hide();
    } else if (zeigen && fenster_.nachVorne() != nachVorne_) {
        // Opened again while open: only brought up.
        nachVorne_ = fenster_.nachVorne();
        if (isMinimized()) showNormal();
        raise();
        activateWindow();
    }
}

void HelpWindow::geometrieAnwenden() {
    const Twips twips(*this);
    const app::HilfeGeometrie& g = fenster_.geometrie();
    imAbgleich_ = true;
    // The outer size includes the window frame; before the window is first shown its frame
    // is not known yet, and the size is corrected once it is (geometrieMelden).
    rahmenBeimAnwenden_ = rahmen();
    sollInnen_ = QSize(std::max(1, twips.x(g.breite) - rahmenBeimAnwenden_.width()),
                       std::max(1, twips.y(g.hoehe) - rahmenBeimAnwenden_.height()));
    move(twips.x(g.links), twips.y(g.oben));
    resize(sollInnen_);
    imAbgleich_ = false;
}

void HelpWindow::geometrieMelden() {
    if (imAbgleich_ || !isVisible() || !fenster_.sichtbar() || isMinimized()) return;
    if (rahmenOffen_ && rahmen() != rahmenBeimAnwenden_) {
        // The window manager has put its frame around the newly shown window: the stored outer
        // size still stands, it was not the user who changed it.
        rahmenOffen_ = false;
        geometrieAnwenden();
        return;
    }
    // A frame that changes later (a maximised window may lose it) is part of what the user did.
    rahmenBeimAnwenden_ = rahmen();
    const Twips twips(*this);
    const app::HilfeGeometrie& g = fenster_.geometrie();
    const QPoint ist = pos();  // a window's position is that of its frame
    // Pixels map back to the same twips; only a real change is reported, so an unmoved window
    // keeps its stored values exactly.
    if (ist == QPoint(twips.x(g.links), twips.y(g.oben)) && size() == sollInnen_) return;
    const QSize aussen = frameGeometry().size();
    fenster_.Move({app::ganzeTwips(twips.scaleWidth(ist.x())), app::ganzeTwips(twips.scaleHeight(ist.y())),
                   app::ganzeTwips(twips.scaleWidth(aussen.width())),
                   app::ganzeTwips(twips.scaleHeight(aussen.height()))});
    sollInnen_ = size();
}

void HelpWindow::anordnen() {
    if (!fenster_.geladen()) return;
    const Twips twips(*this);
    fenster_.Form_Resize(app::ganzeTwips(twips.scaleWidth(width())), app::ganzeTwips(twips.scaleHeight(height())),
                         isMinimized());
    if (isMinimized()) return;
    const app::HilfeLayout& l = fenster_.layout();
    lblObererRand_->setGeometry(twips.rect(l.lblObererRand));
    txtHilfe_->setGeometry(twips.rect(l.txtHilfe));
}

void HelpWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    geometrieMelden();
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    anordnen();
    geometrieMelden();
}

void HelpWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) anordnen();
}

void HelpWindow::closeEvent(QCloseEvent* event) {
    // The close box: the place and size are stored and the window is released.
    if (fenster_.geladen()) {
        geometrieMelden();
        fenster_.Unload();
    }
    event->accept();
}

}  // namespace krv::gui
