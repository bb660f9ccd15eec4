// The device lines of the command-line tool's worked examples ("model", "modules",
// "terminals" after each displayed telegram), reproduced from the examples' status blocks.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DeviceTestRig.hpp"
#include "core/device/DeviceSnapshot.hpp"

namespace krv::device {
namespace {

using test::DeviceRig;

struct Anzeige {
    GeraeteBytes bytes;
    std::vector<std::string> zeilen;  // model, modules, terminals as printed
};

std::string lies(const std::string& pfad) {
    std::ifstream f(pfad);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// The displayed blocks of an example's expected output, each with the device lines after it.
std::vector<Anzeige> angezeigteBloecke(const std::string& ausgabe) {
    std::vector<Anzeige> bloecke;
    std::istringstream in(ausgabe);
    std::string zeile;
    while (std::getline(in, zeile)) {
        if (zeile.rfind("display 1 ", 0) == 0) {
            Anzeige a{};
            const std::string hex = zeile.substr(10);
            for (std::size_t i = 0; i < a.bytes.size(); ++i) {
                a.bytes[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
            }
            bloecke.push_back(a);
        } else if (!bloecke.empty() && (zeile.rfind("model ", 0) == 0 || zeile.rfind("modules", 0) == 0 ||
                                        zeile.rfind("terminals", 0) == 0)) {
            bloecke.back().zeilen.push_back(zeile);
        }
    }
    return bloecke;
}

void pruefeBeispiel(const std::string& name, int sprachOffset) {
    const std::string ausgabe = lies(std::string(KRVDIAG_TEST_DATA_DIR) + "/cli-examples/" + name + ".out");
    const std::vector<Anzeige> bloecke = angezeigteBloecke(ausgabe);
    ASSERT_FALSE(bloecke.empty()) << name;

    // The program starts: pictures emptied, model 13 shown from the model list, then the data
    // transfer starts.
    DeviceRig rig;
    rig.state.einstellungen.SprachOffset = sprachOffset;
    rig.display.BildLeeren();
    rig.zeigeModell(13);
    rig.portOeffnen();

    for (std::size_t i = 0; i < bloecke.size(); ++i) {
        rig.zeige(bloecke[i].bytes);
        const std::vector<std::string> zeilen{modelZeile(rig.state), modulesZeile(rig.controls),
                                              terminalsZeile(rig.controls)};
        EXPECT_EQ(zeilen, bloecke[i].zeilen) << name << " telegram " << i + 1;
    }
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

TEST(CliBeispieleGeraet, EnglishServiceModel0) { pruefeBeispiel("show-english-service", 10000); }

TEST(CliBeispieleGeraet, Model9WithCpuError) { pruefeBeispiel("show-model9-cpu-error", 0); }

TEST(GeraeteZeilen, ColourNames) {
    EXPECT_EQ(farbName(app::kRot), "red");
    EXPECT_EQ(farbName(app::kGruen), "green");
    EXPECT_EQ(farbName(app::kGelb), "yellow");
    EXPECT_EQ(farbName(app::kWeiss), "white");
    EXPECT_EQ(farbName(0xFF0000), "#0000FF");  // 0x00BBGGRR
    EXPECT_EQ(farbName(0x123456), "#563412");
}

TEST(GeraeteZeilen, ModelListShowsWhiteTerminalsAndRedOutputState) {
    DeviceRig rig;
    rig.zeigeModell(2);
    EXPECT_EQ(modelZeile(rig.state), "model 2 KRV-a/T");
    EXPECT_EQ(modulesZeile(rig.controls),
              "modules OutputFault=white OutputLocked=white OutputState=red CpuFault=white CpuS1S2=white");
    EXPECT_EQ(terminalsZeile(rig.controls),
              "terminals 0=white 1=white 2=white 3=white 4=white 6=white 7=white 22=white 28=white 29=white "
              "31=white 32=white");
}

}  // namespace
}  // namespace krv::device
