#pragma once
// The timing diagram frame `fraTimingDiagram` of the main window: nine trace strips with their
// channel selectors on the left, the playback scroll bar below them, and on the right the
// start/stop, recorder and playback buttons, the trigger selector and the playback
// information. The view renders the diagram's controls (TimingFormState), hands its strips to
// the diagram and forwards picks and clicks to it. The buttons and the scroll bar belong to the
// main window's controls; the main window binds them.
#include <QFrame>
#include <array>
#include <unordered_map>

#include "core/app/MainForm.hpp"
#include "core/state/FormLayout.hpp"
#include "gui/ControlBindings.hpp"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace krv::gui {

class TimingSpurWidget;

class TimingView : public QFrame {
    Q_OBJECT
public:
    TimingView(app::MainForm& form, QWidget* parent);
    ~TimingView() override;

    // The frame's place in the picture container, in twips: beside the module pictures, down to
    // just above the upper terminal LEDs, and as wide as the container leaves room for (at
    // least the status window's width), so the strips grow with the window.
    static app::TwipRect platz(int containerBreite);

    // Places the frame and lays out its children; works while the frame is hidden. When the
    // strips change their size the diagram is told (SpurMaxX follows).
    void platzieren(const QRect& geometrie);

    TimingSpurWidget* spur(int kanal) const;  // picTimingSpur(0..8)
    QComboBox* selektor(int index) const;     // cboKlemmen(0..9)
    // The widget of one of the diagram's controls (selectors, status frame and labels).
    QWidget* widget(const app::Control& control) const;

    QPushButton* cmdTimingDiagrammStartStop() const { return startStop_; }
    QPushButton* cmdRecorderStartStop() const { return recorder_; }
    QPushButton* cmdWiedergabeStart() const { return wiedergabeStart_; }
    QPushButton* cmdWiedergabeStop() const { return wiedergabeStop_; }
    QScrollBar* hsbTimingDiagram() const { return hsb_; }

private:
    void baueSpuren();
    void baueSelektoren();
    void baueStatus();
    QLabel* baueLabel(QWidget* parent, const app::Control& control);
    void anmelden(QWidget* widget, const app::Control& control);
    void selektorUebernehmen(int index);
    void anordnen();
    // Buttons, trigger selector and playback information; returns the column's left edge.
    int anordnenRechts(const QRect& innen);
    // Channel selectors beside their strips, the scroll bar below the strips.
    void anordnenLinks(const QRect& innen, int rechtsX);

    app::MainForm& form_;
    timing::TimingFormState& c_;
    ControlBindings bindings_;
    std::unordered_map<const app::Control*, QWidget*> widgets_;

    std::array<TimingSpurWidget*, timing::kAnzahlKanaele> spuren_{};
    std::array<QComboBox*, timing::kAnzahlSelektoren> selektoren_{};
    QPushButton* startStop_ = nullptr;
    QPushButton* recorder_ = nullptr;
    QPushButton* wiedergabeStart_ = nullptr;
    QPushButton* wiedergabeStop_ = nullptr;
    QScrollBar* hsb_ = nullptr;
    QFrame* statusRahmen_ = nullptr;
};

}  // namespace krv::gui
