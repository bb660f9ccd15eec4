#include "gui/PanelLabel.hpp"

#include <QMouseEvent>

namespace krv::gui {

PanelLabel::PanelLabel(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    setIndent(4);
}

void PanelLabel::setHintergrund(const QColor& farbe) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, farbe);
    setPalette(pal);
}

QColor PanelLabel::hintergrund() const { return palette().color(QPalette::Window); }

void PanelLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onDoppelklick) {
        onDoppelklick();
        event->accept();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}

}  // namespace krv::gui
