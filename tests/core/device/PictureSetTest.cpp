// The device pictures the build draws (resources/picgen): exactly the files the model catalogue
// names, framed for their picture areas, with rings and terminal labels where the LED shapes lie.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/device/LedPlaces.hpp"
#include "core/device/ModelCatalogue.hpp"
#include "core/device/wmf/WmfFormat.hpp"
#include "core/device/wmf/WmfParser.hpp"
#include "core/device/wmf/WmfRecords.hpp"

namespace krv::device {
namespace {

const std::filesystem::path kDataDir = std::filesystem::path(KRVDIAG_BINARY_DIR) / "share" / "krvdiag";

struct Bild {
    std::optional<wmf::Metafile> mf;
    std::vector<wmf::Rect16> ellipsen;
    std::vector<std::pair<wmf::Point16, std::string>> texte;
};

Bild lade(std::string_view datei) {
    Bild b;
    std::ifstream in(kDataDir / std::string(datei), std::ios::binary);
    wmf::ParseResult p = wmf::WmfParser().parse({std::istreambuf_iterator<char>(in), {}});
    if (!p.ok()) return b;
    b.mf = std::move(*p.metafile);
    wmf::Record rec;
    std::string fehler;
    for (const wmf::RecordRef& ref : b.mf->records) {
        if (!wmf::decodeRecord(*b.mf, ref, rec, fehler)) return {};
        if (ref.function == wmf::fn::Ellipse) b.ellipsen.push_back(std::get<wmf::args::Rect>(rec.args).r);
        if (ref.function == wmf::fn::TextOut) {
            const auto& t = std::get<wmf::args::Text>(rec.args);
            b.texte.emplace_back(t.p, std::string(t.text.begin(), t.text.end()));
        }
    }
    return b;
}

// A ring: an ellipse centred on the LED (within 2 twips) that encloses it.
bool hatRing(const Bild& b, int cx, int cy) {
    return std::any_of(b.ellipsen.begin(), b.ellipsen.end(), [&](const wmf::Rect16& e) {
        return std::abs((e.left + e.right) / 2 - cx) <= 2 && std::abs((e.top + e.bottom) / 2 - cy) <= 2 &&
               e.right - e.left >= kModulLedGroesse && e.bottom - e.top >= kModulLedGroesse;
    });
}

TEST(PictureSet, EveryNamedPictureIsFramedForItsAreaAndRingsExactlyItsLeds) {
    std::set<std::string> genannt, vorhanden;
    for (const auto& e : std::filesystem::directory_iterator(kDataDir))
        if (e.path().extension() == ".WMF") vorhanden.insert(e.path().filename().string());
    for (const Modell& m : modellKatalog()) {
        struct Datei { std::string_view name; Modul modul; int leds; app::TwipRect platz; };
        std::vector<Datei> dateien{{m.bildStrom, Modul::Output, -1, kPlatzImgStrom},
                                   {m.bildOutput, Modul::Output, m.ledAnzahlOutput, kPlatzImage1},
                                   {m.bildCpu, Modul::Cpu, m.ledAnzahlCpu, kPlatzImage2}};
        if (!m.bildErweiterung.empty())
            dateien.push_back({m.bildErweiterung, Modul::Erweiterung, m.ledAnzahlErweiterung, kPlatzImage3});
        for (const Datei& d : dateien) {
            SCOPED_TRACE(std::string(d.name));
            genannt.insert(std::string(d.name));
            const Bild b = lade(d.name);
            ASSERT_TRUE(b.mf && b.mf->placeable && b.mf->firstWindowExt);
            // One unit is one twip of the area.
            EXPECT_EQ(b.mf->placeable->bbox.right, d.platz.width);
            EXPECT_EQ(b.mf->placeable->bbox.bottom, d.platz.height);
            EXPECT_EQ(b.mf->placeable->inch, 1440);
            EXPECT_EQ(b.mf->firstWindowExt->x, d.platz.width);
            if (d.leds < 0) continue;
            int ringe = 0;
            for (const ModulLed& led : kModulLeds) {
                if (led.modul != d.modul) continue;
                const bool da = d.leds >= std::max(1, led.mindestAnzahl);
                EXPECT_EQ(hatRing(b, led.platz.left - d.platz.left + led.platz.width / 2,
                                  led.platz.top - d.platz.top + led.platz.height / 2), da) << led.name;
                ringe += da;
            }
            EXPECT_EQ(ringe, d.leds);
        }
    }
    EXPECT_EQ(vorhanden, genannt);
}

// The channel selectors name terminal bit n "n + 1": the wiring picture labels each terminal LED
// so, right under it, and draws no terminal the model does not have.
TEST(PictureSet, WiringPicturesLabelEveryTerminalLedWithItsSelectorNumber) {
    for (const Modell& m : modellKatalog()) {
        SCOPED_TRACE(std::string(m.bildStrom));
        const Bild b = lade(m.bildStrom);
        ASSERT_TRUE(b.mf);
        std::set<std::string> erwartet, gezeichnet;
        for (int bit = 0; bit <= MAX_BIT; ++bit) {
            const int led = m.ledTabelle()[static_cast<std::size_t>(bit)];
            if (led == kKeineLed) continue;
            const std::string label = std::to_string(bit + 1);
            erwartet.insert(label);
            const LedPlatz& platz = kKlemmenLeds[static_cast<std::size_t>(led)];
            const int cx = platz.left - kPlatzImgStrom.left + platz.width / 2;
            EXPECT_TRUE(std::any_of(b.texte.begin(), b.texte.end(), [&](const auto& t) {
                return t.second == label && std::abs(t.first.x - cx) <= 2;
            })) << "terminal " << label;
        }
        for (const auto& t : b.texte)
            if (!t.second.empty() && std::all_of(t.second.begin(), t.second.end(), ::isdigit))
                gezeichnet.insert(t.second);
        EXPECT_EQ(gezeichnet, erwartet);
    }
}

}  // namespace
}  // namespace krv::device
