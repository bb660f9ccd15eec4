#include "gui/wmf/FontMapping.hpp"

#include <QString>

namespace krv::wmf {

namespace {

enum class Kind { Sans, Serif, Mono, Narrow };

// Font family bits of the pitch-and-family byte.
constexpr std::uint8_t kFamilyMask = 0xF0;
constexpr std::uint8_t kFamilyRoman = 0x10;
constexpr std::uint8_t kFamilyModern = 0x30;

Kind kindOf(const QString& face, std::uint8_t pitchAndFamily) {
    const QString f = face.toLower();
    const auto any = [&f](std::initializer_list<const char*> words) {
        for (const char* w : words)
            if (f.contains(QLatin1String(w))) return true;
        return false;
    };
    if (any({"courier", "mono", "consolas", "lucida console", "fixedsys", "terminal", "typewriter"})) return Kind::Mono;
    if (any({"narrow", "condensed"})) return Kind::Narrow;
    if (any({"times", "roman", "serif", "georgia", "garamond", "antiqua", "cambria", "bookman", "palatino",
             "century"}) &&
        !f.contains(QLatin1String("sans")))
        return Kind::Serif;
    if (!face.isEmpty() && any({"arial", "helvetica", "sans", "tahoma", "verdana", "swiss", "calibri", "segoe"}))
        return Kind::Sans;
    switch (pitchAndFamily & kFamilyMask) {
    case kFamilyRoman: return Kind::Serif;
    case kFamilyModern: return Kind::Mono;
    default: return Kind::Sans;
    }
}

}  // namespace

QStringList fontFamiliesFor(const std::string& face, std::uint8_t pitchAndFamily) {
    const QString name = QString::fromLatin1(face.c_str());
    QStringList families;
    if (!name.isEmpty()) families << name;
    switch (kindOf(name, pitchAndFamily)) {
    case Kind::Serif: families << "Liberation Serif" << "DejaVu Serif"; break;
    case Kind::Mono: families << "Liberation Mono" << "DejaVu Sans Mono"; break;
    case Kind::Narrow: families << "Liberation Sans Narrow" << "DejaVu Sans Condensed" << "DejaVu Sans"; break;
    case Kind::Sans: families << "Liberation Sans" << "DejaVu Sans"; break;
    }
    return families;
}

}  // namespace krv::wmf
