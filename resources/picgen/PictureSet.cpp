#include "PictureSet.hpp"

#include <algorithm>
#include <stdexcept>

#include "core/device/ModelCatalogue.hpp"

namespace krv::picgen {
namespace {

// "KRV-cbx/Rx": the CPU module carries the part before the slash, the output module the part after.
std::string namePart(int model, bool cpu) {
    const std::string full = device::modellName(model, 0);
    const std::size_t slash = full.find('/');
    if (slash == std::string::npos) throw std::logic_error("model name without variant: " + full);
    return cpu ? full.substr(0, slash) : full.substr(slash + 1);
}

// "IO-CX.WMF" -> "IO-CX".
std::string stem(std::string_view file) { return std::string(file.substr(0, file.rfind('.'))); }

void add(std::vector<ModulePicture>& pictures, ModulePicture picture) {
    auto same = std::find_if(pictures.begin(), pictures.end(),
                             [&](const ModulePicture& p) { return p.file == picture.file; });
    if (same == pictures.end()) {
        pictures.push_back(std::move(picture));
    } else if (same->ledCount != picture.ledCount || same->modul != picture.modul || same->name != picture.name) {
        throw std::logic_error("models disagree on picture " + picture.file);
    }
}

}  // namespace

std::vector<ModulePicture> modulePictures() {
    std::vector<ModulePicture> pictures;
    for (const device::Modell& m : device::modellKatalog()) {
        add(pictures, {std::string(m.bildOutput), device::Modul::Output, namePart(m.index, false), m.ledAnzahlOutput});
        add(pictures, {std::string(m.bildCpu), device::Modul::Cpu, namePart(m.index, true), m.ledAnzahlCpu});
        if (!m.bildErweiterung.empty()) {
            add(pictures, {std::string(m.bildErweiterung), device::Modul::Erweiterung, stem(m.bildErweiterung),
                           m.ledAnzahlErweiterung});
        }
    }
    return pictures;
}

std::vector<WiringPicture> wiringPictures() {
    std::vector<WiringPicture> pictures;
    for (const device::Modell& m : device::modellKatalog()) pictures.push_back({std::string(m.bildStrom), m.index});
    return pictures;
}

app::TwipRect moduleArea(device::Modul modul) {
    switch (modul) {
        case device::Modul::Output: return device::kPlatzImage1;
        case device::Modul::Cpu: return device::kPlatzImage2;
        case device::Modul::Erweiterung: return device::kPlatzImage3;
    }
    throw std::logic_error("unknown module");
}

}  // namespace krv::picgen
