#include "gui/Twips.hpp"

#include <QWidget>
#include <cmath>

namespace krv::gui {
namespace {

constexpr double kTwipsProZoll = 1440.0;

// In floating point: twips times dots per inch can leave the int range.
int zuPixeln(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsProZoll));
}

}  // namespace

Twips::Twips(const QWidget& widget) : Twips(widget.logicalDpiX(), widget.logicalDpiY()) {}

int Twips::x(int twips) const { return zuPixeln(twips, dpiX_); }
int Twips::y(int twips) const { return zuPixeln(twips, dpiY_); }

QRect Twips::rect(int left, int top, int width, int height) const {
    const int l = x(left);
    const int t = y(top);
    return {l, t, x(left + width) - l, y(top + height) - t};
}

double Twips::scaleWidth(int pixels) const { return pixels * kTwipsProZoll / dpiX_; }
double Twips::scaleHeight(int pixels) const { return pixels * kTwipsProZoll / dpiY_; }

}  // namespace krv::gui
