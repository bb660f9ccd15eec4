#pragma once
// One trace strip `picTimingSpur` of the timing diagram on screen: shows the strip's picture
// at the screen's resolution, the cursor and trigger lines over it, and reports mouse presses
// in the strip's pixels.
#include <QWidget>
#include <functional>

#include "core/timing/TimingFormState.hpp"
#include "gui/QtSpur.hpp"

namespace krv::gui {

class TimingSpurWidget : public QWidget {
    Q_OBJECT
public:
    explicit TimingSpurWidget(QWidget* parent = nullptr);

    QtSpur& spur() { return spur_; }
    const QtSpur& spur() const { return spur_; }

    // Places the widget; the picture takes the new size keeping what it shows. Works while the
    // widget is hidden, so the strip has its size before the first trace is drawn. True when
    // the strip's size changed.
    bool platzieren(const QRect& geometrie);

    // The lines drawn over the trace, each where its control says while it is visible.
    void setLinien(const timing::LinienControl* cursor, const timing::LinienControl* trigger);

    // A mouse press: the button and shift codes the form expects and the position in pixels.
    std::function<void(int button, int shift, double x, double y)> onMausGedrueckt;

    // Left 1, right 2, middle 4; shift 1, control 2, alt 4.
    static int knopfCode(Qt::MouseButton knopf);
    static int shiftCode(Qt::KeyboardModifiers tasten);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The picture follows the screen the widget is on.
    void aufloesungAnpassen();

    QtSpur spur_;
    const timing::LinienControl* cursor_ = nullptr;
    const timing::LinienControl* trigger_ = nullptr;
};

}  // namespace krv::gui
