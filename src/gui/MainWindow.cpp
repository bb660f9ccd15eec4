#include "gui/MainWindow.hpp"

#include <utility>

#include <QCoreApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "gui/PanelLabel.hpp"
#include "gui/QtColour.hpp"
#include "gui/TimingView.hpp"
#include "gui/Twips.hpp"

namespace krv::gui {
namespace {

constexpr qint64 kReplayEreignisAbstandMs = 20;

// The key code the program's key handlers know: letters and digits as their capital ASCII code,
// the keys around them as the usual virtual key codes; 0 for keys without one.
int tastenCode(int qtTaste) {
    if ((qtTaste >= Qt::Key_A && qtTaste <= Qt::Key_Z) || (qtTaste >= Qt::Key_0 && qtTaste <= Qt::Key_9)) return qtTaste;
    if (qtTaste >= Qt::Key_F1 && qtTaste <= Qt::Key_F12) return 112 + (qtTaste - Qt::Key_F1);
    switch (qtTaste) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

int umschaltStatus(Qt::KeyboardModifiers m) {
    return (m.testFlag(Qt::ShiftModifier) ? 1 : 0) + (m.testFlag(Qt::ControlModifier) ? 2 : 0) +
           (m.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace

MainWindow::MainWindow(app::MainForm& form, QWidget* parent)
    : QMainWindow(parent), form_(form), c_(form.controls()) {
    setObjectName(QString::fromStdString(c_.frmKrvDiag.name()));
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client_);
    client_->installEventFilter(this);

    // The small font the design places were made for; menus keep the desktop's font.
    QFont klein = client_->font();
    klein.setPointSize(8);
    client_->setFont(klein);

    picContainer_ = new QWidget(client_);
    anmelden(picContainer_, c_.picContainer);
    bindeSichtbar(picContainer_, c_.picContainer);
    // A click into the device picture gives it the focus; its key presses go to the program.
    picContainer_->setFocusPolicy(Qt::ClickFocus);
    picContainer_->installEventFilter(this);

    // Creation order is stacking order: the LEDs lie on top of the pictures.
    baueBild(picContainer_);
    baueStatusFenster(picContainer_);
    baueZeitdiagramm(picContainer_);
    baueModellListe(picContainer_);
    baueLeds(picContainer_);
    baueStatusleiste(client_);
    baueMenues();
    baueTimer(c_.Timer1, [this] { form_.Timer1_Timer(); });
    baueTimer(c_.Timer2, [this] { form_.Timer2_Timer(); });
    bindings_.bind(c_.frmKrvDiag, [this] { titelSetzen(); });
    setzeStandardHandler();

    form_.onSchliessen = [this] { close(); };
    c_.setListener([this](const app::Control& control) { bindings_.changed(control); });

    const Twips twips(*this);
    resize(twips.size(app::kFormClientDesign) + QSize(0, menuBar()->sizeHint().height()));
    ordneAn();
}

MainWindow::~MainWindow() {
    c_.setListener({});
    form_.onSchliessen = {};
}

void MainWindow::setzeStandardHandler() {
    setHandler(c_.mnuFileExit, [this] { form_.mnuFileExit_Click(); });
    setHandler(c_.mnuDatenuebertragungStart, [this] { form_.mnuDatenuebertragungStart_Click(); });
    setHandler(c_.mnuDatenuebertragungStop, [this] { form_.mnuDatenuebertragungStop_Click(); });
    for (int i = 1; i <= 4; ++i) setHandler(c_.mnuCom[static_cast<std::size_t>(i)], [this, i] { form_.mnuCom_Click(i); });
    setHandler(c_.mnuStatusFenster, [this] { form_.mnuStatusFenster_Click(); });
    setHandler(c_.mnuTimingDiagramm, [this] { form_.mnuTimingDiagramm_Click(); });
    setHandler(c_.cmdTimingDiagrammStartStop, [this] { form_.cmdTimingDiagrammStartStop_Click(); });
    setHandler(c_.mnuHardwareAuswahl, [this] { form_.mnuHardwareAuswahl_Click(); });
    setHandler(c_.mnuOpenLog, [this] { form_.mnuOpenLog_Click(); });
    setHandler(c_.mnuCloseLog, [this] { form_.mnuCloseLog_Click(); });
    setHandler(c_.cmdRecorderStartStop, [this] { form_.cmdRecorderStartStop_Click(); });
    setHandler(c_.mnuStartSimulation, [this] { form_.mnuStartSimulation_Click(); });
    setHandler(c_.mnuEndSimulation, [this] { form_.mnuEndSimulation_Click(); });
    setHandler(c_.cmdWiedergabeStart, [this] { form_.cmdWiedergabeStart_Click(); });
    setHandler(c_.cmdWiedergabeStop, [this] { form_.cmdWiedergabeStop_Click(); });
    setHandler(c_.mnuOpenCpuDatenAbspeichern, [this] { form_.mnuOpenCpuDatenAbspeichern_Click(); });
    setHandler(c_.mnuCloseCpuDatenAbspeichern, [this] { form_.mnuCloseCpuDatenAbspeichern_Click(); });
    setHandler(c_.mnuStartCpuDatenWiedergabe, [this] { form_.mnuStartCpuDatenWiedergabe_Click(); });
    setHandler(c_.mnuStopCpuDatenWiedergabe, [this] { form_.mnuStopCpuDatenWiedergabe_Click(); });
    // A CPU data replay keeps the window responsive between its chunks. The events run at most
    // every 20 ms (about a screen refresh): a repaint after every telegram would cost far more
    // than the replay itself, and nobody sees more than one picture per refresh.
    form_.cpuDaten().ereignisseVerarbeiten = [uhr = QElapsedTimer()]() mutable {
        if (uhr.isValid() && !uhr.hasExpired(kReplayEreignisAbstandMs)) return;
        QCoreApplication::processEvents();
        uhr.start();
    };
}

QPixmap MainWindow::ansichtsBild() const { return picContainer_->grab(); }

void MainWindow::setHandler(const app::Control& control, std::function<void()> handler) {
    handlers_[&control] = std::move(handler);
}

void MainWindow::aktionGewaehlt(const app::Control& control) {
    const auto it = handlers_.find(&control);
    if (it != handlers_.end()) it->second();
    // Qt toggles a checkable item by itself; the check mark belongs to the form.
    const auto a = actions_.find(&control);
    if (a != actions_.end() && a->second->isCheckable()) a->second->setChecked(control.checked());
}

void MainWindow::anmelden(QWidget* widget, const app::Control& control) {
    widget->setObjectName(QString::fromStdString(control.name()));
    widgets_[&control] = widget;
}

void MainWindow::platziere(QWidget* widget, const app::TwipRect& platz) {
    platzierungen_.emplace_back(widget, platz);
    widget->setGeometry(Twips(*this).rect(platz));
}

void MainWindow::bindeSichtbar(QWidget* widget, const app::Control& control) {
    bindings_.bind(control, [widget, &control] { widget->setVisible(control.visible()); });
}

void MainWindow::baueTimer(app::TimerControl& control, std::function<void()> tick) {
    auto* timer = new QTimer(this);
    timer->setObjectName(QString::fromStdString(control.name()));
    timer->setInterval(control.intervalMs());
    connect(timer, &QTimer::timeout, this, [tick = std::move(tick)] { tick(); });
    timers_[&control] = timer;
    // Enabling restarts the count; enabling a running timer again changes nothing.
    bindings_.bind(control, [timer, &control] {
        if (!control.enabled()) {
            timer->stop();
        } else if (!timer->isActive()) {
            timer->start();
        }
    });
}

void MainWindow::baueStatusleiste(QWidget* client) {
    app::Control* panels[3] = {&c_.SSPanel1, &c_.SSPanel2, &c_.SSPanel3};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new PanelLabel(client);
        anmelden(panel, *panels[i]);
        panels_[i] = panel;
        const app::Control& control = *panels[i];
        bindings_.bind(control, [panel, &control] {
            panel->setText(QString::fromStdString(control.caption()));
            panel->setVisible(control.visible());
        });
    }
    // The port panel alone shows its colour: green while the port is open, red while closed.
    panels_[0]->setAlignment(Qt::AlignCenter);
    bindings_.bind(c_.SSPanel1, [this] { panels_[0]->setHintergrund(qtFarbe(c_.SSPanel1.colour())); });
    panels_[0]->onDoppelklick = [this] { form_.SSPanel1_DblClick(); };
}

void MainWindow::titelSetzen() { setWindowTitle(QString::fromStdString(c_.frmKrvDiag.caption()) + titelZusatz_); }

void MainWindow::setTitelZusatz(const QString& zusatz) {
    titelZusatz_ = zusatz;
    titelSetzen();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!std::exchange(ersteAnzeige_, false)) return;
    // The menu bar's real height is known only now: give the client area its design height.
    const QSize soll = Twips(*this).size(app::kFormClientDesign);
    const int fehlt = soll.height() - client_->height();
    if (fehlt > 0) resize(width(), height() + fehlt);
}

void MainWindow::zentrieren() {
    const QScreen* s = screen();
    if (s == nullptr) return;
    const QRect bildschirm = s->availableGeometry();
    const QSize fenster = frameGeometry().size();
    move(bildschirm.left() + bildschirm.width() / 2 - fenster.width() / 2,
         bildschirm.top() + bildschirm.height() / 2 - fenster.height() / 2);
}

void MainWindow::ordneAn() {
    const Twips twips(*this);
    const app::FormLayout l =
        app::Form_Resize(twips.scaleWidth(client_->width()), twips.scaleHeight(client_->height()));
    panels_[0]->setGeometry(twips.rect(l.SSPanel1));
    panels_[1]->setGeometry(twips.rect(l.SSPanel2));
    panels_[2]->setGeometry(twips.rect(l.SSPanel3));
    picContainer_->setGeometry(twips.rect(l.picContainer));
    for (const auto& [widget, platz] : platzierungen_) widget->setGeometry(twips.rect(platz));
    // The timing diagram grows with the container's width; its strips follow.
    if (timingView_) timingView_->platzieren(twips.rect(TimingView::platz(l.picContainer.width)));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!entladen_) {
        entladen_ = true;
        form_.Form_Unload();
        for (const auto& [control, timer] : timers_) timer->stop();
    }
    event->accept();
    emit geschlossen();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        ordneAn();
    } else if (watched == picContainer_ && event->type() == QEvent::KeyPress && onPicContainerKeyDown) {
        // Keys the focused control below does not use arrive here as well, with the focus elsewhere.
        const auto* taste = static_cast<QKeyEvent*>(event);
        const int code = tastenCode(taste->key());
        if (code != 0 && onPicContainerKeyDown(code, umschaltStatus(taste->modifiers()), picContainer_->hasFocus())) {
            return true;
        }
    } else if (watched == list1_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // Switching to another program or opening a menu leaves the focus where it is among the
        // window's own controls; only a real move between them counts.
        const Qt::FocusReason grund = static_cast<QFocusEvent*>(event)->reason();
        if (event->type() == QEvent::FocusIn && !listeHatFokus_) {
            listeHatFokus_ = true;
            form_.List1_GotFocus();
        } else if (event->type() == QEvent::FocusOut && listeHatFokus_ && grund != Qt::ActiveWindowFocusReason &&
                   grund != Qt::PopupFocusReason) {
            listeHatFokus_ = false;
            form_.List1_LostFocus();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QAction* MainWindow::action(const app::Control& control) const {
    const auto it = actions_.find(&control);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* MainWindow::menu(const app::Control& control) const {
    const auto it = menus_.find(&control);
    return it == menus_.end() ? nullptr : it->second;
}

QWidget* MainWindow::widget(const app::Control& control) const {
    const auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second;
}

QTimer* MainWindow::timer(const app::TimerControl& control) const {
    const auto it = timers_.find(&control);
    return it == timers_.end() ? nullptr : it->second;
}

PanelLabel* MainWindow::panel(int nr) const { return nr >= 1 && nr <= 3 ? panels_[nr - 1] : nullptr; }

}  // namespace krv::gui
