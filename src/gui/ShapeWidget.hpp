#pragma once
// A filled LED shape over the device picture: a rectangle or a circle with a thin outline.
#include <QColor>
#include <QWidget>

namespace krv::gui {

class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    enum class Form { Rechteck, Kreis };

    ShapeWidget(Form form, QWidget* parent);

    Form form() const { return form_; }
    QColor fuellFarbe() const { return fuellFarbe_; }
    void setFuellFarbe(const QColor& farbe);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Form form_;
    QColor fuellFarbe_ = Qt::white;
};

}  // namespace krv::gui
