#include "gui/TimingSpurWidget.hpp"

#include <QMouseEvent>
#include <QPainter>

#include "core/timing/RasterSpur.hpp"
#include "core/timing/TimingDiagramm.hpp"
#include "gui/QtColour.hpp"

namespace krv::gui {

TimingSpurWidget::TimingSpurWidget(QWidget* parent)
    : QWidget(parent),
      spur_(QSize(timing::kStandardSpurBreite, timing::kStandardSpurHoehe), QtSpur::faktorFuer(devicePixelRatioF())) {
    // The picture covers the whole widget; nothing behind it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    spur_.onGeaendert = [this](const QRect& r) { update(r); };
}

bool TimingSpurWidget::platzieren(const QRect& geometrie) {
    setGeometry(geometrie);
    aufloesungAnpassen();
    if (spur_.groesse() == geometrie.size()) return false;
    spur_.resize(geometrie.size());
    update();
    return true;
}

void TimingSpurWidget::setLinien(const timing::LinienControl* cursor, const timing::LinienControl* trigger) {
    cursor_ = cursor;
    trigger_ = trigger;
    update();
}

void TimingSpurWidget::aufloesungAnpassen() { spur_.setFaktor(QtSpur::faktorFuer(devicePixelRatioF())); }

void TimingSpurWidget::paintEvent(QPaintEvent* /*event*/) {
    aufloesungAnpassen();
    QPainter p(this);
    if (spur_.groesse() != size()) p.fillRect(rect(), qtFarbe(timing::kSpurHintergrund));
    // No smoothing: at the screen's own ratio this is a plain copy, at a fractional one each
    // screen pixel takes the colour of one picture pixel.
    p.drawPixmap(QRect(QPoint(0, 0), spur_.groesse()), spur_.pixmap());

    for (const timing::LinienControl* linie : {cursor_, trigger_}) {
        if (linie == nullptr || !linie->visible()) continue;
        p.fillRect(QRect(linie->x(), 0, 1, height()), qtFarbe(linie->colour()));
    }
}

void TimingSpurWidget::mousePressEvent(QMouseEvent* event) {
    if (onMausGedrueckt) {
        onMausGedrueckt(knopfCode(event->button()), shiftCode(event->modifiers()), event->position().x(),
                        event->position().y());
    }
    event->accept();
}

int TimingSpurWidget::knopfCode(Qt::MouseButton knopf) {
    switch (knopf) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int TimingSpurWidget::shiftCode(Qt::KeyboardModifiers tasten) {
    int code = 0;
    if (tasten & Qt::ShiftModifier) code |= 1;
    if (tasten & Qt::ControlModifier) code |= 2;
    if (tasten & Qt::AltModifier) code |= 4;
    return code;
}

}  // namespace krv::gui
