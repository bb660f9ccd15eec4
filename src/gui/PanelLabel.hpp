#pragma once
// A sunken 3-D panel of the status bar with a caption; reports double-clicks.
#include <QLabel>
#include <functional>

namespace krv::gui {

class PanelLabel : public QLabel {
    Q_OBJECT
public:
    explicit PanelLabel(QWidget* parent);

    // Fills the panel with this colour.
    void setHintergrund(const QColor& farbe);
    QColor hintergrund() const;

    std::function<void()> onDoppelklick;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace krv::gui
