#include "gui/wmf/FontMapping.hpp"

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QHash>
#include <QString>

namespace krv::wmf {

namespace {

enum class Kind { Sans, Serif, Mono, Narrow, Symbol };

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
    if (any({"symbol"})) return Kind::Symbol;
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

QStringList metricAliases(const QString& face) {
    QStringList aliases;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return aliases;
    const QByteArray name = face.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    // The configuration adds the metric-compatible faces bound as strongly as the face itself
    // ("same"); the preferred fonts of the generic families it adds come weak.
    FcPatternIter it;
    const int count = FcPatternFindIter(pattern, &it, FC_FAMILY) ? FcPatternIterValueCount(pattern, &it) : 0;
    for (int i = 0; i < count; ++i) {
        FcValue value;
        FcValueBinding binding;
        if (FcPatternIterGetValue(pattern, &it, i, &value, &binding) != FcResultMatch) continue;
        if (value.type != FcTypeString || binding == FcValueBindingWeak) continue;
        const QString family = QString::fromUtf8(reinterpret_cast<const char*>(value.u.s));
        if (!aliases.contains(family, Qt::CaseInsensitive)) aliases << family;
    }
    FcPatternDestroy(pattern);
    // The generic names the configuration adds strongly are no faces.
    static const QStringList generic = {"sans-serif", "serif",  "monospace", "cursive",
                                        "fantasy",    "emoji", "math",      "system-ui"};
    aliases.removeIf([](const QString& f) { return generic.contains(f, Qt::CaseInsensitive); });
    return aliases;
}

QStringList fontFamiliesFor(const std::string& face, std::uint8_t pitchAndFamily) {
    // Pictures draw many texts in few faces; the configuration is read once per face.
    static QHash<QPair<QString, int>, QStringList> cache;
    const QString name = QString::fromLatin1(face.c_str());
    const auto key = qMakePair(name, int{pitchAndFamily});
    if (const auto found = cache.constFind(key); found != cache.constEnd()) return *found;

    QStringList families;
    if (!name.isEmpty())
        for (const QString& f : metricAliases(name))
            if (QFontDatabase::hasFamily(f) && !families.contains(f, Qt::CaseInsensitive)) families << f;
    QStringList fallback;
    switch (kindOf(name, pitchAndFamily)) {
    case Kind::Serif: fallback << "Liberation Serif" << "DejaVu Serif"; break;
    case Kind::Mono: fallback << "Liberation Mono" << "DejaVu Sans Mono"; break;
    case Kind::Narrow: fallback << "Liberation Sans Narrow" << "DejaVu Sans Condensed" << "DejaVu Sans"; break;
    case Kind::Sans: fallback << "Liberation Sans" << "DejaVu Sans"; break;
    // Symbol text arrives as Unicode: Greek, operators and bracket pieces.
    case Kind::Symbol: fallback << "DejaVu Serif" << "DejaVu Sans" << "DejaVu Math TeX Gyre"; break;
    }
    // The last one stays even when missing: Qt then finds what it can.
    for (const QString& f : fallback) {
        const bool usable = QFontDatabase::hasFamily(f) || f == fallback.last();
        if (usable && !families.contains(f, Qt::CaseInsensitive)) families << f;
    }
    cache.insert(key, families);
    return families;
}

}  // namespace krv::wmf
