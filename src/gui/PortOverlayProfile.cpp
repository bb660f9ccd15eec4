#include "gui/PortOverlayProfile.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/PortMapping.hpp"

namespace krv::gui {
namespace {

// Section and key names are compared without regard to case, as in the file.
std::string gross(std::string_view s) {
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return r;
}

}  // namespace

void PortOverlayProfile::setPortGeraet(int nr, std::string geraet) {
    geraete_[gross(platform::portSchluessel(nr))] = std::move(geraet);
}

void PortOverlayProfile::setSitzungsWert(std::string_view section, std::string_view key, std::string wert) {
    werte_[gross(section) + "]" + gross(key)] = std::move(wert);
}

const std::string* PortOverlayProfile::ersetzt(std::string_view section, std::string_view key) const {
    if (const auto w = werte_.find(gross(section) + "]" + gross(key)); w != werte_.end()) return &w->second;
    if (gross(section) != gross(platform::kSektionPorts)) return nullptr;
    const auto it = geraete_.find(gross(key));
    return it == geraete_.end() ? nullptr : &it->second;
}

int PortOverlayProfile::GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue) {
    if (const std::string* wert = ersetzt(section, key)) {
        int zahl = defaultValue;
        std::from_chars(wert->data(), wert->data() + wert->size(), zahl);
        return zahl;
    }
    return datei_.GetPrivateProfileInt(section, key, defaultValue);
}

std::string PortOverlayProfile::GetPrivateProfileString(std::string_view section, std::string_view key,
                                                         std::string_view defaultValue) {
    if (const std::string* geraet = ersetzt(section, key)) return *geraet;
    return datei_.GetPrivateProfileString(section, key, defaultValue);
}

bool PortOverlayProfile::WritePrivateProfileString(std::string_view section, std::string_view key,
                                                   std::string_view value) {
    const auto w = werte_.find(gross(section) + "]" + gross(key));
    if (w != werte_.end()) {
        if (w->second == value) return true;  // the run's own value: nothing to keep
        werte_.erase(w);
    }
    return datei_.WritePrivateProfileString(section, key, value);
}

}  // namespace krv::gui
