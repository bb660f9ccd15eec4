#include "core/state/FormLayout.hpp"

#include <cmath>
#include <limits>

namespace krv::app {

int ganzeTwips(double value) {
    if (!(value > 0.0)) return 0;  // negative, zero and NaN
    const double gerundet = std::nearbyint(value);  // the default rounding mode: halves to even
    if (gerundet >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return static_cast<int>(gerundet);
}

FormLayout Form_Resize(double scaleWidth, double scaleHeight, TwipSize panel1, TwipSize panel2, TwipSize panel3) {
    FormLayout l;
    l.SSPanel1.width = panel1.width;
    l.SSPanel1.height = panel1.height;
    l.SSPanel2.height = panel2.height;
    l.SSPanel3.width = panel3.width;
    l.SSPanel3.height = panel3.height;

    l.SSPanel1.left = 0;
    l.SSPanel2.left = l.SSPanel1.width;
    l.SSPanel2.width = ganzeTwips(scaleWidth - l.SSPanel1.width - l.SSPanel3.width);
    l.SSPanel3.left = l.SSPanel2.width + l.SSPanel1.width;
    l.SSPanel3.top = ganzeTwips(scaleHeight - l.SSPanel3.height);
    l.SSPanel2.top = ganzeTwips(scaleHeight - l.SSPanel2.height);
    l.SSPanel1.top = ganzeTwips(scaleHeight - l.SSPanel1.height);
    l.picContainer = {0, 0, ganzeTwips(scaleWidth), ganzeTwips(scaleHeight - l.SSPanel1.height)};
    return l;
}

}  // namespace krv::app
