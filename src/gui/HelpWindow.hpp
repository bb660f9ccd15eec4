#pragma once
// The help window frmHilfe as a view of the core's window: the read-only help text below a
// strip with the print button. It opens at the place and size the core read from the settings
// (outer edges in twips) and reports the user's moves and resizes back, so closing stores them.
#include <QPoint>
#include <QSize>
#include <QWidget>

#include "core/app/HilfeFenster.hpp"

class QFrame;
class QPlainTextEdit;
class QPushButton;

namespace krv::gui {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(app::HilfeFenster& fenster, QWidget* parent = nullptr);
    ~HelpWindow() override;
    HelpWindow(const HelpWindow&) = delete;
    HelpWindow& operator=(const HelpWindow&) = delete;

    QPlainTextEdit* txtHilfe() const { return txtHilfe_; }
    QPushButton* cmdHilfeDrucken() const { return cmdHilfeDrucken_; }
    QFrame* lblObererRand() const { return lblObererRand_; }

    // Follows the core's state at once: texts, shown or hidden, brought to the front after a
    // second opening. Changes are otherwise taken over at the next turn of the event loop.
    void abgleichen();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void abgleichVormerken();
    // Puts the window at the core's geometry.
    void geometrieAnwenden();
    // Reports a move or resize by the user as the new outer geometry.
    void geometrieMelden();
    // Form_Resize with the inner size, then the places of the text box and the strip.
    void anordnen();
    QSize rahmen() const { return frameGeometry().size() - size(); }

    app::HilfeFenster& fenster_;
    QFrame* lblObererRand_ = nullptr;
    QPushButton* cmdHilfeDrucken_ = nullptr;
    QPlainTextEdit* txtHilfe_ = nullptr;
    unsigned nachVorne_ = 0;       // the core's count last followed
    QSize sollInnen_;              // inner size that matches the core's outer size
    QSize rahmenBeimAnwenden_;     // the window frame known when the geometry was applied
    bool rahmenOffen_ = false;     // shown, but the window manager's frame not seen yet
    bool abgleichVorgemerkt_ = false;
    bool imAbgleich_ = false;      // moves and resizes made here are not the user's
};

}  // namespace krv::gui
