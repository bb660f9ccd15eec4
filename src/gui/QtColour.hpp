#pragma once
// Colours are kept as 0x00BBGGRR, the order the device documentation and the settings use.
#include <QColor>

#include "core/state/Control.hpp"

namespace krv::gui {

inline QColor qtFarbe(app::Colour c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

}  // namespace krv::gui
