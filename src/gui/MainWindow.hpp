#pragma once
#include <array>
// The main window frmKrvDiag as a view of the form's controls: it builds its widgets once from
// MainFormState, repaints a widget when its control reports a change, and forwards menu
// commands, clicks, focus changes, timer ticks and closing to the form's handlers.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/app/MainForm.hpp"
#include "core/state/FormLayout.hpp"
#include "gui/ControlBindings.hpp"
#include "gui/ShapeWidget.hpp"

class QAction;
class QListWidget;
class QMenu;
class QPixmap;
class QTimer;

namespace krv::gui {

class PanelLabel;
class PictureArea;
class TimingView;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(app::MainForm& form, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Text after the caption in the title bar, e.g. " (Demo)".
    void setTitelZusatz(const QString& zusatz);
    // Left = screen width \ 2 - window width \ 2, top likewise.
    void zentrieren();

    // The handler of a menu item or button; replaces any earlier one. Items without a handler
    // do nothing when chosen.
    void setHandler(const app::Control& control, std::function<void()> handler);

    // The widget that shows a control, for the program and for tests.
    QAction* action(const app::Control& control) const;
    QMenu* menu(const app::Control& control) const;
    QWidget* widget(const app::Control& control) const;
    QTimer* timer(const app::TimerControl& control) const;
    QListWidget* list1() const { return list1_; }
    PanelLabel* panel(int nr) const;  // 1..3
    TimingView* timingView() const { return timingView_; }
    // The picture areas Image1, Image2, Image3 and imgStrom, in this order.
    PictureArea* bildBereich(std::size_t i) const { return bildBereiche_.at(i); }
    // The device picture with the view beside it, as shown, at the screen's pixel ratio.
    QPixmap ansichtsBild() const;

    // A key went down in the device picture area: its key code (letters and digits as their
    // capital ASCII code), the shift state (1 Shift + 2 Ctrl + 4 Alt) and whether the area
    // itself has the keyboard focus. True: the key was used.
    std::function<bool(int keyCode, int shift, bool hatFokus)> onPicContainerKeyDown;

signals:
    // The window has been unloaded (Form_Unload ran) and is closed.
    void geschlossen();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ersteAnzeige_ = true;
    // Construction, one part per file section.
    void baueMenues();
    QMenu* baueMenue(QWidget* parent, app::Control& control);
    void baueAktion(QMenu* menu, app::Control& control);
    void baueBild(QWidget* container);
    void baueLeds(QWidget* container);
    void baueStatusFenster(QWidget* container);
    void baueZeitdiagramm(QWidget* container);
    void baueModellListe(QWidget* container);
    void baueStatusleiste(QWidget* client);
    void baueTimer(app::TimerControl& control, std::function<void()> tick);
    void setzeStandardHandler();

    ShapeWidget* baueForm(QWidget* parent, const app::Control& control, ShapeWidget::Form form,
                          const app::TwipRect& platz);
    void platziere(QWidget* widget, const app::TwipRect& platz);
    void bindeSichtbar(QWidget* widget, const app::Control& control);
    void anmelden(QWidget* widget, const app::Control& control);

    // Form_Resize: status bar panels and picture container; design places of everything else.
    void ordneAn();
    void aktionGewaehlt(const app::Control& control);
    void titelSetzen();
    void listeUebernehmen();

    app::MainForm& form_;
    app::MainFormState& c_;
    ControlBindings bindings_;

    std::unordered_map<const app::Control*, std::function<void()>> handlers_;
    std::unordered_map<const app::Control*, QAction*> actions_;
    std::unordered_map<const app::Control*, QMenu*> menus_;
    std::unordered_map<const app::Control*, QWidget*> widgets_;
    std::unordered_map<const app::Control*, QTimer*> timers_;
    std::vector<std::pair<QWidget*, app::TwipRect>> platzierungen_;

    QWidget* client_ = nullptr;
    QWidget* picContainer_ = nullptr;
    QListWidget* list1_ = nullptr;
    TimingView* timingView_ = nullptr;
    std::array<PictureArea*, 4> bildBereiche_{};
    PanelLabel* panels_[3] = {nullptr, nullptr, nullptr};
    QString titelZusatz_;
    bool entladen_ = false;
    bool listeWirdGesetzt_ = false;  // a selection change from the form, not from the user
    bool listeHatFokus_ = false;     // List1 holds the focus among the window's controls
};

}  // namespace krv::gui
