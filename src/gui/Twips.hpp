#pragma once
// Design places are in twips (1440 per logical inch); widgets are placed in pixels of the
// screen's logical resolution, so the layout grows with the desktop's scaling.
#include <QRect>

#include "core/state/FormLayout.hpp"

class QWidget;

namespace krv::gui {

class Twips {
public:
    Twips(int dpiX, int dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}
    // The logical resolution of the screen the widget is on.
    explicit Twips(const QWidget& widget);

    int x(int twips) const;
    int y(int twips) const;
    // Edges are converted, not the width, so neighbouring rectangles stay without gaps.
    QRect rect(int left, int top, int width, int height) const;
    QRect rect(const app::TwipRect& r) const { return rect(r.left, r.top, r.width, r.height); }
    QSize size(app::TwipSize s) const { return {x(s.width), y(s.height)}; }

    // A pixel length in twips (the form's ScaleWidth and ScaleHeight).
    double scaleWidth(int pixels) const;
    double scaleHeight(int pixels) const;

private:
    int dpiX_;
    int dpiY_;
};

}  // namespace krv::gui
