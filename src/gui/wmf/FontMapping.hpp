#pragma once
// Face names in metafiles are those of the writer's system. They are mapped onto installed fonts
// the way the desktop maps them: the face itself, then the faces fontconfig knows as
// metric-compatible with it (Liberation, Nimbus, Tinos/Arimo, ...), so text keeps the width the
// picture planned; a list by kind of face, ending with DejaVu, only as the last fallback.
#include <QStringList>
#include <cstdint>
#include <string>

namespace krv::wmf {

// The families to try in order, each installed here (the last fallback may not be).
QStringList fontFamiliesFor(const std::string& face, std::uint8_t pitchAndFamily);

// The faces fontconfig's configuration declares metric-compatible with `face`, in its order,
// installed or not; the face itself first.
QStringList metricAliases(const QString& face);

}  // namespace krv::wmf
