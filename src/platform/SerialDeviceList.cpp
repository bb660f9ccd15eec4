#include "platform/SerialDeviceList.hpp"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

#include "platform/PortMapping.hpp"

namespace krv::platform {
namespace fs = std::filesystem;
namespace {

bool beginntMit(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// "ttyUSB10" after "ttyUSB2": equal prefixes compare by the number that ends the name.
bool natuerlichVor(const std::string& a, const std::string& b) {
    auto teile = [](const std::string& s) {
        std::size_t ziffern = s.size();
        while (ziffern > 0 && std::isdigit(static_cast<unsigned char>(s[ziffern - 1]))) --ziffern;
        return std::pair{s.substr(0, ziffern), s.substr(ziffern)};
    };
    const auto [pa, na] = teile(a);
    const auto [pb, nb] = teile(b);
    if (pa != pb) return pa < pb;
    if (na.size() != nb.size()) return na.size() < nb.size();  // no leading zeros in tty names
    return na < nb;
}

// A ttyS the kernel made for a UART that is not there has type 0 (or no driver link at all).
bool uartVorhanden(const fs::path& sysRoot, const std::string& name) {
    const fs::path klasse = sysRoot / "class" / "tty" / name;
    std::error_code ec;
    if (!fs::exists(klasse / "device", ec)) return false;
    std::ifstream typ(klasse / "type");
    int wert = -1;
    if (typ >> wert) return wert != 0;
    return true;  // no readable type: the driver link has to do
}

std::vector<std::string> sortiert(std::vector<std::string> namen) {
    std::sort(namen.begin(), namen.end(), natuerlichVor);
    return namen;
}

}  // namespace

std::vector<SerialDevice> serielleGeraete(const fs::path& devRoot, const fs::path& sysRoot) {
    std::vector<SerialDevice> geraete;
    std::error_code ec;

    std::vector<std::string> namen;
    for (fs::directory_iterator it(devRoot, ec), ende; !ec && it != ende; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (beginntMit(name, "ttyUSB") || beginntMit(name, "ttyACM") ||
            (beginntMit(name, "ttyS") && uartVorhanden(sysRoot, name))) {
            namen.push_back(name);
        }
    }
    for (const std::string& name : sortiert(std::move(namen))) geraete.push_back({(devRoot / name).string(), {}});

    // udev's stable names: the same adapter keeps its name whatever ttyUSB number it gets.
    const fs::path byId = devRoot / "serial" / "by-id";
    std::vector<std::string> links;
    ec.clear();
    for (fs::directory_iterator it(byId, ec), ende; !ec && it != ende; it.increment(ec)) {
        links.push_back(it->path().filename().string());
    }
    std::sort(links.begin(), links.end());
    for (const std::string& name : links) {
        const fs::path link = byId / name;
        std::error_code linkFehler;
        const fs::path ziel = fs::read_symlink(link, linkFehler);
        if (linkFehler || !fs::exists(link, linkFehler)) continue;  // not a link, or one left dangling
        const fs::path aufgeloest = ziel.is_absolute() ? ziel : (byId / ziel).lexically_normal();
        geraete.push_back({link.string(), aufgeloest.string()});
    }
    return geraete;
}

std::string geraeteText(const std::vector<SerialDevice>& geraete) {
    if (geraete.empty()) return "No serial device is present on this computer.";
    std::string text = "Serial devices present:";
    for (const SerialDevice& g : geraete) {
        text += "\n  " + g.pfad;
        if (!g.ziel.empty()) text += " -> " + g.ziel;
    }
    return text;
}

bool geraetVorhanden(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec);
}

link::PortGeraet portGeraetInfo(ports::ProfileStore& profile, int nr) {
    link::PortGeraet g;
    g.pfad = portGeraet(profile, nr);
    // Whether a server is there only the connection tells.
    g.fern = istNetzAdresse(g.pfad);
    g.vorhanden = g.fern || geraetVorhanden(g.pfad);
    return g;
}

}  // namespace krv::platform
