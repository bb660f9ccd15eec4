#include "gui/ShapeWidget.hpp"

#include <QPainter>

namespace krv::gui {

ShapeWidget::ShapeWidget(Form form, QWidget* parent) : QWidget(parent), form_(form) {
    // Corners outside a circle show the picture below.
    setAttribute(Qt::WA_TranslucentBackground);
}

void ShapeWidget::setFuellFarbe(const QColor& farbe) {
    if (farbe == fuellFarbe_) return;
    fuellFarbe_ = farbe;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, form_ == Form::Kreis);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(fuellFarbe_);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (form_ == Form::Kreis) {
        p.drawEllipse(r);
    } else {
        p.drawRect(r);
    }
}

}  // namespace krv::gui
