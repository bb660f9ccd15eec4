#include "gui/CpuFehlerWindow.hpp"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMoveEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QTimer>
#include <cmath>

#include "gui/Twips.hpp"

namespace krv::gui {
namespace {

// A fixed dialog-like window: title and close box, no minimise or maximise.
constexpr Qt::WindowFlags kFensterArt =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

QPolygonF achteck(const QRectF& r) {
    // Corner cuts of a regular octagon in a square.
    const double ax = r.width() / (2.0 + std::sqrt(2.0));
    const double ay = r.height() / (2.0 + std::sqrt(2.0));
    return QPolygonF({{r.left() + ax, r.top()},
                      {r.right() - ax, r.top()},
                      {r.right(), r.top() + ay},
                      {r.right(), r.bottom() - ay},
                      {r.right() - ax, r.bottom()},
                      {r.left() + ax, r.bottom()},
                      {r.left(), r.bottom() - ay},
                      {r.left(), r.top() + ay}});
}

class StopSymbol : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        zeichneStopSymbol(p, QRectF(rect()));
    }
};

QIcon stopIcon() {
    QPixmap bild(64, 64);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    zeichneStopSymbol(p, QRectF(0, 0, 64, 64));
    p.end();
    return QIcon(bild);
}

int zuTwips(double twips) { return static_cast<int>(std::lround(twips)); }

}  // namespace

void zeichneStopSymbol(QPainter& p, const QRectF& r) {
    const double seite = std::min(r.width(), r.height());
    const QRectF quadrat(r.center().x() - seite / 2, r.center().y() - seite / 2, seite, seite);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // White rim with a thin dark edge, red face inside it.
    p.setPen(QPen(QColor(64, 64, 64), std::max(1.0, seite / 80)));
    p.setBrush(Qt::white);
    p.drawPolygon(achteck(quadrat.adjusted(0.5, 0.5, -0.5, -0.5)));
    const double rand = seite * 0.06;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(204, 0, 0));
    p.drawPolygon(achteck(quadrat.adjusted(rand, rand, -rand, -rand)));

    QFont schrift = p.font();
    schrift.setBold(true);
    schrift.setPixelSize(std::max(1, static_cast<int>(seite * 0.27)));
    schrift.setStretch(QFont::SemiCondensed);
    p.setFont(schrift);
    p.setPen(Qt::white);
    p.drawText(quadrat, Qt::AlignCenter, QStringLiteral("STOP"));
    p.restore();
}

CpuFehlerWindow::CpuFehlerWindow(diag::CpuFehlerFenster& fenster, QWidget* parent)
    : QWidget(parent, kFensterArt), fenster_(fenster) {
    diag::CpuFehlerFensterState& c = fenster_.controls();
    setObjectName(QString::fromStdString(c.frmCpuFehlermeldung.name()));
    setWindowIcon(stopIcon());

    const Twips twips(*this);
    setFixedSize(twips.size(diag::kFehlerFensterClient));

    stop_ = new StopSymbol(this);
    stop_->setObjectName(QString::fromStdString(c.imgStop.name()));
    stop_->setGeometry(twips.rect(diag::kImgStopRect));

    meldung_ = new QLabel(this);
    meldung_->setObjectName(QString::fromStdString(c.lblCpuFehlermeldung.name()));
    meldung_->setTextFormat(Qt::PlainText);
    meldung_->setWordWrap(true);
    meldung_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The message is what the window is for: larger than the main window's small labels.
    QFont schrift = meldung_->font();
    schrift.setPointSize(11);
    meldung_->setFont(schrift);
    meldung_->setGeometry(twips.rect(diag::kLblCpuFehlermeldungRect));

    listener_ = [this](const app::Control&) { abgleichVormerken(); };
    for (app::Control* control : {&c.frmCpuFehlermeldung, &c.imgStop, &c.lblCpuFehlermeldung}) {
        control->setListener(&listener_);
    }
    abgleichen();
}

CpuFehlerWindow::~CpuFehlerWindow() {
    diag::CpuFehlerFensterState& c = fenster_.controls();
    for (app::Control* control : {&c.frmCpuFehlermeldung, &c.imgStop, &c.lblCpuFehlermeldung}) {
        control->setListener(nullptr);
    }
}

void CpuFehlerWindow::abgleichVormerken() {
    if (abgleichVorgemerkt_) return;
    abgleichVorgemerkt_ = true;
    QTimer::singleShot(0, this, [this] {
        if (abgleichVorgemerkt_) abgleichen();
    });
}

QPoint CpuFehlerWindow::sollPosition() const {
    const Twips twips(*this);
    return {twips.x(fenster_.links()), twips.y(fenster_.oben())};
}

void CpuFehlerWindow::abgleichen() {
    abgleichVorgemerkt_ = false;
    const diag::CpuFehlerFensterState& c = fenster_.controls();
    setWindowTitle(QString::fromStdString(c.frmCpuFehlermeldung.caption()));
    const QString text = QString::fromStdString(c.lblCpuFehlermeldung.caption());
    const bool neuerText = text != meldung_->text();
    meldung_->setText(text);
    meldung_->setVisible(c.lblCpuFehlermeldung.visible());
    stop_->setVisible(c.imgStop.visible());

    const bool zeigen = fenster_.sichtbar();
    Qt::WindowFlags art = kFensterArt;
    if (zeigen && fenster_.imVordergrund()) art |= Qt::WindowStaysOnTopHint;
    imAbgleich_ = true;
    if (art != windowFlags()) setWindowFlags(art);  // this hides the window; shown again below
    if (zeigen) {
        // Every show puts it at the stored place; while it stays open, the user's place stands
        // (a move by the user is the stored place already).
        const QPoint soll = sollPosition();
        if (!isVisible() || pos() != soll) move(soll);
        if (!isVisible()) {
            show();
        } else if (neuerText) {
            raise();  // refilled while open: in front again
        }
    } else if (isVisible()) {
        hide();
    }
    imAbgleich_ = false;
}

void CpuFehlerWindow::closeEvent(QCloseEvent* event) {
    // The close box unloads the window as the core's own unload does: the place is saved and
    // the window is gone. CpuFehlerAktiv stays set, so the same error number does not bring it
    // back; a new number or a new error does.
    if (fenster_.geladen()) fenster_.Unload();
    event->accept();
}

void CpuFehlerWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (imAbgleich_ || !isVisible() || !fenster_.sichtbar()) return;
    const QPoint jetzt = pos();
    if (jetzt == sollPosition()) return;
    const Twips twips(*this);
    fenster_.Move(zuTwips(twips.scaleWidth(jetzt.x())), zuTwips(twips.scaleHeight(jetzt.y())));
}

}  // namespace krv::gui
