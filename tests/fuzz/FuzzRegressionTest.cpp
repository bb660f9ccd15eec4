// Every stored corpus file through its fuzz harness, built by the normal compiler: the seeds and
// what the fuzzer kept, so an input that once broke a rule keeps being tried. A broken rule
// aborts inside the harness (the file being run is printed first); the expectations below check
// that the seeds still reach the code they were written for.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/recorder/ProtocolFile.hpp"
#include "fuzz/targets/CpuFehlerTextTarget.hpp"
#include "fuzz/targets/PlaybackTarget.hpp"
#include "fuzz/targets/ReceivePathTarget.hpp"
#include "fuzz/targets/SettingsTarget.hpp"

namespace krv::fuzz {
namespace {

namespace fs = std::filesystem;

struct KorpusDatei {
    std::string name;
    Bytes inhalt;
};

std::vector<KorpusDatei> korpus(const std::string& harness) {
    std::vector<fs::path> pfade;
    for (const auto& eintrag : fs::directory_iterator(fs::path(KRVDIAG_FUZZ_CORPUS_DIR) / harness))
        if (eintrag.is_regular_file()) pfade.push_back(eintrag.path());
    std::sort(pfade.begin(), pfade.end());
    std::vector<KorpusDatei> dateien;
    for (const fs::path& p : pfade) {
        std::ifstream in(p, std::ios::binary);
        dateien.push_back({p.filename().string(), Bytes(std::istreambuf_iterator<char>(in), {})});
    }
    return dateien;
}

bool beginntMit(const std::string& name, const char* vorsilbe) { return name.rfind(vorsilbe, 0) == 0; }
bool enthaelt(const std::string& name, const char* teil) { return name.find(teil) != std::string::npos; }

// So that an abort inside a harness names its input.
void ankuendigen(const char* harness, const KorpusDatei& d) {
    std::fprintf(stderr, "[fuzz regression] %s/%s\n", harness, d.name.c_str());
}

TEST(FuzzKorpus, EachHarnessHasSeedsAndStaysSmall) {
    for (const char* harness : {"receive_path", "playback", "settings", "cpu_fehler_text"}) {
        const auto dateien = korpus(harness);
        const auto seeds = std::count_if(dateien.begin(), dateien.end(),
                                         [](const KorpusDatei& d) { return beginntMit(d.name, "seed-"); });
        std::size_t bytes = 0;
        for (const auto& d : dateien) bytes += d.inhalt.size();
        EXPECT_GE(seeds, 3) << harness;
        EXPECT_LE(dateien.size(), 250u) << harness;
        EXPECT_LE(bytes, 2u * 1024 * 1024) << harness;
    }
}

TEST(FuzzKorpus, ReceivePath) {
    for (const KorpusDatei& d : korpus("receive_path")) {
        SCOPED_TRACE(d.name);
        ankuendigen("receive_path", d);
        const EmpfangsErgebnis e = empfangsPfadZiel(d.inhalt);
        EXPECT_LE(e.groessterPuffer, kEmpfangsPufferGrenze);
        if (!beginntMit(d.name, "seed-")) continue;
        // The seeds are real telegram streams: each one shows telegrams, in the state it names.
        EXPECT_GE(e.angezeigt, 1);
        for (int status = 0; status <= 2; ++status) {
            if (enthaelt(d.name, ("status" + std::to_string(status)).c_str())) {
                EXPECT_EQ(e.simulationsStatus, status);
            }
        }
        if (enthaelt(d.name, "backlog")) {
            EXPECT_GT(e.nichtAngezeigt, 0);
        }
        if (enthaelt(d.name, "faults")) {
            EXPECT_GT(e.crcFehler, 0);
        }
        if (enthaelt(d.name, "header-records")) {
            EXPECT_GE(e.kopfsaetze, 2);
        }
        if (enthaelt(d.name, "recorder")) {
            EXPECT_GT(e.aufgezeichneteBytes, 0u);
        }
    }
}

TEST(FuzzKorpus, Playback) {
    for (const KorpusDatei& d : korpus("playback")) {
        SCOPED_TRACE(d.name);
        ankuendigen("playback", d);
        const WiedergabeErgebnis e = wiedergabeZiel(d.inhalt);
        if (beginntMit(d.name, "seed-")) {
            EXPECT_FALSE(e.leserAblehnung.has_value());
            EXPECT_GE(e.anzahlDatensaetze, 1u);
            EXPECT_TRUE(e.wiedergabeLief);
            EXPECT_EQ(e.meldungen, 0);
        } else if (beginntMit(d.name, "refused-")) {
            EXPECT_TRUE(e.leserAblehnung.has_value());
            EXPECT_FALSE(e.wiedergabeLief);
            EXPECT_GE(e.meldungen, 1);
        }
    }
}

TEST(FuzzKorpus, Settings) {
    for (const KorpusDatei& d : korpus("settings")) {
        SCOPED_TRACE(d.name);
        ankuendigen("settings", d);
        const EinstellungsErgebnis e = einstellungsZiel(d.inhalt);
        if (!beginntMit(d.name, "seed-")) continue;
        EXPECT_TRUE(e.geschrieben);
        EXPECT_NE(e.neuerText.find(e.schluessel + "=" + std::to_string(e.wert)), std::string::npos);
        if (enthaelt(d.name, "english")) {
            EXPECT_EQ(e.gelesen.SprachOffset, 10000);
        }
        if (enthaelt(d.name, "com3")) {
            EXPECT_EQ(e.gelesen.ComPortNr, 3);
        }
    }
}

TEST(FuzzKorpus, CpuFehlerText) {
    for (const KorpusDatei& d : korpus("cpu_fehler_text")) {
        SCOPED_TRACE(d.name);
        ankuendigen("cpu_fehler_text", d);
        const FehlerTextErgebnis e = cpuFehlerTextZiel(d.inhalt);
        if (beginntMit(d.name, "seed-")) {
            EXPECT_TRUE(e.dateiGueltig);
            // Each seed asks for a number it holds.
            EXPECT_TRUE(e.text.has_value());
            EXPECT_EQ(e.fensterText, e.text.value_or(""));
        } else if (beginntMit(d.name, "invalid-")) {
            EXPECT_FALSE(e.dateiGueltig);
        }
        if (enthaelt(d.name, "cp1252")) {
            EXPECT_NE(e.fensterText.find("\xC3\x9C"), std::string::npos);  // "Ü"
        }
    }
}

}  // namespace
}  // namespace krv::fuzz
