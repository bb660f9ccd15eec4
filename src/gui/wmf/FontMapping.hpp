#pragma once
// Face names in metafiles are those of the writer's system; this maps them onto fonts that
// are installed here, by kind, with DejaVu as the last resort.
#include <QStringList>
#include <cstdint>
#include <string>

namespace krv::wmf {

// The families to try in order: the face itself, metric-compatible or similar fonts, DejaVu.
QStringList fontFamiliesFor(const std::string& face, std::uint8_t pitchAndFamily);

}  // namespace krv::wmf
