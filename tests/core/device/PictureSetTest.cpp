// The device pictures the build draws (resources/picgen): every file the model catalogue names
// exists, is read by the program's metafile parser, is framed for its picture area, and carries
// its rings and terminals exactly where the LED shapes lie.
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

struct Text {
    wmf::Point16 p;
    std::string text;
};

// What a picture draws, as far as these tests look at it.
struct Picture {
    bool ok = false;
    std::optional<wmf::PlaceableHeader> placeable;
    std::optional<wmf::Point16> windowOrg;
    std::optional<wmf::Point16> windowExt;
    std::vector<wmf::Rect16> ellipses;
    std::vector<wmf::Rect16> rectangles;
    std::vector<Text> texts;
};

Picture load(std::string_view file) {
    Picture pic;
    std::ifstream in(kDataDir / std::string(file), std::ios::binary);
    if (!in) {
        ADD_FAILURE() << file << " missing in " << kDataDir;
        return pic;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    wmf::ParseResult parsed = wmf::WmfParser().parse(std::move(bytes));
    if (!parsed.ok()) {
        ADD_FAILURE() << file << ": " << parsed.error;
        return pic;
    }
    const wmf::Metafile& mf = *parsed.metafile;
    pic.placeable = mf.placeable;
    pic.windowOrg = mf.firstWindowOrg;
    pic.windowExt = mf.firstWindowExt;
    wmf::Record rec;
    std::string error;
    for (const wmf::RecordRef& ref : mf.records) {
        if (!wmf::decodeRecord(mf, ref, rec, error)) {
            ADD_FAILURE() << file << ": " << error;
            return pic;
        }
        if (ref.function == wmf::fn::Ellipse) pic.ellipses.push_back(std::get<wmf::args::Rect>(rec.args).r);
        if (ref.function == wmf::fn::Rectangle) pic.rectangles.push_back(std::get<wmf::args::Rect>(rec.args).r);
        if (ref.function == wmf::fn::TextOut) {
            const auto& t = std::get<wmf::args::Text>(rec.args);
            pic.texts.push_back({t.p, std::string(t.text.begin(), t.text.end())});
        }
    }
    pic.ok = true;
    return pic;
}

bool hasText(const Picture& pic, std::string_view text) {
    return std::any_of(pic.texts.begin(), pic.texts.end(), [&](const Text& t) { return t.text == text; });
}

// A ring around the module LED: an ellipse centred on the LED that encloses it.
bool hasRing(const Picture& pic, int cx, int cy) {
    return std::any_of(pic.ellipses.begin(), pic.ellipses.end(), [&](const wmf::Rect16& e) {
        const int ex = (e.left + e.right) / 2;
        const int ey = (e.top + e.bottom) / 2;
        return std::abs(ex - cx) <= 2 && std::abs(ey - cy) <= 2 && e.right - e.left >= kModulLedGroesse &&
               e.bottom - e.top >= kModulLedGroesse;
    });
}

app::TwipRect areaOf(Modul modul) {
    return modul == Modul::Output ? kPlatzImage1 : modul == Modul::Cpu ? kPlatzImage2 : kPlatzImage3;
}

struct ModuleFile {
    std::string_view file;
    Modul modul;
    int ledCount;
};

std::vector<ModuleFile> moduleFiles(const Modell& m) {
    std::vector<ModuleFile> out{{m.bildOutput, Modul::Output, m.ledAnzahlOutput}, {m.bildCpu, Modul::Cpu, m.ledAnzahlCpu}};
    if (!m.bildErweiterung.empty()) out.push_back({m.bildErweiterung, Modul::Erweiterung, m.ledAnzahlErweiterung});
    return out;
}

TEST(PictureSet, HoldsExactlyTheFilesTheCatalogueNames) {
    std::set<std::string> named;
    for (const Modell& m : modellKatalog()) {
        for (const ModuleFile& f : moduleFiles(m)) named.insert(std::string(f.file));
        named.insert(std::string(m.bildStrom));
    }
    EXPECT_EQ(named.size(), 30u);
    std::set<std::string> present;
    ASSERT_TRUE(std::filesystem::is_directory(kDataDir)) << kDataDir;
    for (const auto& entry : std::filesystem::directory_iterator(kDataDir)) {
        if (entry.path().extension() == ".WMF") present.insert(entry.path().filename().string());
    }
    EXPECT_EQ(present, named);
}

TEST(PictureSet, EveryPictureIsAPlaceableMetafileFramedForItsArea) {
    for (const Modell& m : modellKatalog()) {
        std::vector<std::pair<std::string_view, app::TwipRect>> files{{m.bildStrom, kPlatzImgStrom}};
        for (const ModuleFile& f : moduleFiles(m)) files.emplace_back(f.file, areaOf(f.modul));
        for (const auto& [file, area] : files) {
            SCOPED_TRACE(std::string(file));
            const Picture pic = load(file);
            ASSERT_TRUE(pic.ok);
            ASSERT_TRUE(pic.placeable.has_value());
            // One unit is one twip of the area: box, resolution and window all say so.
            EXPECT_EQ(pic.placeable->bbox.left, 0);
            EXPECT_EQ(pic.placeable->bbox.top, 0);
            EXPECT_EQ(pic.placeable->bbox.right, area.width);
            EXPECT_EQ(pic.placeable->bbox.bottom, area.height);
            EXPECT_EQ(pic.placeable->inch, 1440);
            EXPECT_TRUE(pic.placeable->checksumValid);
            ASSERT_TRUE(pic.windowOrg && pic.windowExt);
            EXPECT_EQ(pic.windowOrg->x, 0);
            EXPECT_EQ(pic.windowOrg->y, 0);
            EXPECT_EQ(pic.windowExt->x, area.width);
            EXPECT_EQ(pic.windowExt->y, area.height);
        }
    }
}

TEST(PictureSet, ModuleFrontsRingExactlyTheLedsTheModuleHas) {
    for (const Modell& m : modellKatalog()) {
        for (const ModuleFile& f : moduleFiles(m)) {
            SCOPED_TRACE(std::string(f.file));
            const Picture pic = load(f.file);
            ASSERT_TRUE(pic.ok);
            const app::TwipRect area = areaOf(f.modul);
            int rings = 0;
            for (const ModulLed& led : kModulLeds) {
                if (led.modul != f.modul) continue;
                // LED places are container twips; the picture starts at its area's corner.
                const int cx = led.platz.left - area.left + led.platz.width / 2;
                const int cy = led.platz.top - area.top + led.platz.height / 2;
                const bool present = f.ledCount >= std::max(1, led.mindestAnzahl);
                EXPECT_EQ(hasRing(pic, cx, cy), present) << led.name;
                rings += present ? 1 : 0;
            }
            EXPECT_EQ(rings, f.ledCount);
        }
    }
}

TEST(PictureSet, ModuleFrontsCarryTheModuleName) {
    const Modell& cbxRx = modell(13);  // "KRV-cbx/Rx"
    EXPECT_TRUE(hasText(load(cbxRx.bildCpu), "KRV-cbx"));
    EXPECT_TRUE(hasText(load(cbxRx.bildOutput), "Rx"));
    EXPECT_TRUE(hasText(load(cbxRx.bildErweiterung), "IO-CX"));
    const Modell& aT = modell(2);  // "KRV-a/T"
    EXPECT_TRUE(hasText(load(aT.bildCpu), "KRV-a"));
    EXPECT_TRUE(hasText(load(aT.bildOutput), "T"));
    EXPECT_TRUE(hasText(load(modell(8).bildErweiterung), "IO-C"));
}

TEST(PictureSet, WiringPicturesLabelEveryTerminalLedWithItsSelectorNumber) {
    const int height = kPlatzImgStrom.height;
    for (const Modell& m : modellKatalog()) {
        SCOPED_TRACE(std::string(m.bildStrom));
        const Picture pic = load(m.bildStrom);
        ASSERT_TRUE(pic.ok);
        EXPECT_TRUE(hasText(pic, modellName(m.index, 0)));

        std::set<std::string> expected;
        for (int bit = 0; bit <= MAX_BIT; ++bit) {
            const int led = m.ledTabelle()[static_cast<std::size_t>(bit)];
            if (led == kKeineLed) continue;
            // The channel selector of the timing diagram names terminal bit n "n + 1".
            const std::string label = std::to_string(bit + 1);
            expected.insert(label);
            const LedPlatz& place = kKlemmenLeds[static_cast<std::size_t>(led)];
            const int cx = place.left - kPlatzImgStrom.left + place.width / 2;
            const bool top = place.top < kPlatzImgStrom.top;

            // The label sits under the LED, in the terminal row along the edge the LED is on.
            const auto labelled = std::find_if(pic.texts.begin(), pic.texts.end(), [&](const Text& t) {
                return t.text == label && std::abs(t.p.x - cx) <= 2 &&
                       (top ? t.p.y < height / 4 : t.p.y > height * 3 / 4);
            });
            EXPECT_NE(labelled, pic.texts.end()) << "terminal " << label << " (LED " << led << ")";

            // So does its terminal cell, reaching the edge where the LED shape lies on it.
            const bool cell = std::any_of(pic.rectangles.begin(), pic.rectangles.end(), [&](const wmf::Rect16& r) {
                return r.left < cx && cx < r.right && r.right - r.left < 330 &&
                       (top ? r.top <= 10 : r.bottom >= height - 10);
            });
            EXPECT_TRUE(cell) << "terminal " << label << " (LED " << led << ")";
        }

        // No terminal is drawn that the model does not have.
        std::set<std::string> numbers;
        for (const Text& t : pic.texts) {
            if (!t.text.empty() && std::all_of(t.text.begin(), t.text.end(), ::isdigit)) numbers.insert(t.text);
        }
        EXPECT_EQ(numbers, expected);
    }
}

}  // namespace
}  // namespace krv::device
