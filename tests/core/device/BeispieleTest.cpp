// The worked examples of the command-line tool fed through the headless program: after each
// displayed telegram the device picture, the status window and the CPU error window read as
// the example's lines say.
#include <gtest/gtest.h>

#include <iterator>

#include "core/app/HeadlessProgramm.hpp"
#include "core/device/DeviceSnapshot.hpp"
#include "support/DiagRig.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::device {
namespace {

struct Zeilen : link::DispatchHooks {
    explicit Zeilen(app::HeadlessProgramm& p) : p(p) {}
    void Anzeige(const link::ReceiveState&) override {
        const app::MainFormState& c = p.controls;
        std::string status = "status";
        for (std::size_t i = 0; i < c.lblDiagStatusWert.size(); ++i) {
            const app::Control& w = c.lblDiagStatusWert[i];
            if (i != 11) status += " " + std::to_string(i) + "=\"" + w.caption() + '"' + (w.opaque() ? "*" : "");
        }
        const diag::CpuFehlerFenster& f = p.form().cpuFehlerFenster();
        angezeigt.push_back({{"model", modelZeile(p.state)}, {"modules", modulesZeile(c)},
                             {"terminals", terminalsZeile(c)}, {"status", status},
                             {"cpu-error", f.sichtbar() ? "cpu-error \"" + f.controls().lblCpuFehlermeldung.caption() + '"'
                                                        : "cpu-error none"}});
    }
    app::HeadlessProgramm& p;
    std::vector<std::map<std::string, std::string>> angezeigt;
};

TEST(GeraetBeispiele, EveryDisplayedTelegramShowsTheExampleLines) {
    const test::TempVerzeichnis ohneFehlertexte;
    const std::tuple<const char*, int, std::string> beispiele[] = {
        {"show-model9-cpu-error", 0, std::string(KRVDIAG_TEST_DATA_DIR) + "/cli-examples/data/"},
        {"show-english-service", 10000, ohneFehlertexte.programmPfad()},  // in service mode
    };
    for (const auto& [name, sprache, daten] : beispiele) {
        SCOPED_TRACE(name);
        app::HeadlessProgramm p("[Einstellungen]\nSprache=" + std::to_string(sprache) + "\n", daten);
        p.form().mnuDatenuebertragungStart_Click();
        p.state.ServiceModus1 = p.state.ServiceModus2 = p.state.ServiceModus3 = sprache != 0;
        Zeilen zeilen(p);
        p.form().beobachter = &zeilen;
        std::ifstream in(std::string(KRVDIAG_TEST_DATA_DIR) + "/cli-examples/" + name + ".in", std::ios::binary);
        link::feedInChunks(p.form().receivePath(), Bytes(std::istreambuf_iterator<char>(in), {}), 19);

        const auto erwartet = test::leseBeispiel(name);
        ASSERT_EQ(zeilen.angezeigt.size(), erwartet.size());
        ASSERT_FALSE(erwartet.empty());
        for (std::size_t i = 0; i < erwartet.size(); ++i) {
            for (const auto& [wort, zeile] : zeilen.angezeigt[i]) EXPECT_EQ(zeile, erwartet[i].at(wort)) << i + 1;
        }
    }
}

}  // namespace
}  // namespace krv::device
