#pragma once
// The CPU error window frmCpuFehlermeldung as a view of the core's window: a stop symbol and the
// error text, shown while the core shows it, at its stored place, kept on top of all windows.
// The core decides when the window opens, is refilled and closes; this window follows its
// state and reports the user's moves and the close box back.
#include <QPoint>
#include <QWidget>

#include "core/diag/CpuFehlerFenster.hpp"
#include "core/state/Control.hpp"

class QLabel;
class QPainter;
class QRectF;

namespace krv::gui {

class CpuFehlerWindow : public QWidget {
    Q_OBJECT
public:
    explicit CpuFehlerWindow(diag::CpuFehlerFenster& fenster, QWidget* parent = nullptr);
    ~CpuFehlerWindow() override;
    CpuFehlerWindow(const CpuFehlerWindow&) = delete;
    CpuFehlerWindow& operator=(const CpuFehlerWindow&) = delete;

    QLabel* meldung() const { return meldung_; }
    QWidget* stopSymbol() const { return stop_; }

    // Follows the core's state at once. Changes are otherwise taken over at the next turn of the
    // event loop, when the core has finished its whole step (showing sets the window visible
    // before it is put in front, a new number unloads and shows again in one go).
    void abgleichen();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void abgleichVormerken();
    // Where the core keeps the window's left and top edge, in pixels of the screen.
    QPoint sollPosition() const;

    diag::CpuFehlerFenster& fenster_;
    app::ControlListener listener_;
    QWidget* stop_ = nullptr;
    QLabel* meldung_ = nullptr;
    bool abgleichVorgemerkt_ = false;
    bool imAbgleich_ = false;  // moves made here are not the user's
};

// The stop symbol inside r: a red octagon with a white rim and "STOP" across it.
void zeichneStopSymbol(QPainter& p, const QRectF& r);

}  // namespace krv::gui
