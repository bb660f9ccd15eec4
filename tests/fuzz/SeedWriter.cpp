// Writes the seed files of the receive path and playback corpora: telegram streams of the
// simulated controller in the receive harness's chunk layout, and protocol files written by the
// recorder of the real program. Usage: fuzz_seed_writer <corpus root, e.g. tests/data/fuzz>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/link/TelegramBuilder.hpp"
#include "core/recorder/ProtocolFile.hpp"
#include "fuzz/targets/HeadlessProgramm.hpp"
#include "sim/Scenario.hpp"

namespace {

namespace fs = std::filesystem;
using krv::Bytes;
using krv::ByteView;

void schreibe(const fs::path& datei, const Bytes& inhalt) {
    fs::create_directories(datei.parent_path());
    std::ofstream out(datei, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(inhalt.data()), static_cast<std::streamsize>(inhalt.size()));
    std::printf("%s: %zu bytes\n", datei.string().c_str(), inhalt.size());
}

// `anzahl` telegrams of the simulated controller after skipping `vorlauf` of them.
Bytes simulator(const krv::sim::ScenarioOptions& optionen, int vorlauf, int anzahl) {
    krv::sim::Scenario s(optionen);
    for (int i = 0; i < vorlauf; ++i) s.next();
    Bytes strom;
    for (int i = 0; i < anzahl; ++i) {
        const Bytes t = s.next();
        strom.insert(strom.end(), t.begin(), t.end());
    }
    return strom;
}

// The receive harness's layout: options, trigger mode, then chunks of the given sizes in turn
// (a header byte each, the long form above 111 bytes); `leeren` asks for the drain after each.
Bytes inChunks(std::uint8_t optionen, std::uint8_t trigger, ByteView strom, const std::vector<std::size_t>& groessen,
               bool leeren) {
    Bytes out{optionen, trigger};
    std::size_t pos = 0;
    for (std::size_t i = 0; pos < strom.size(); ++i) {
        const std::size_t n = std::min(groessen[i % groessen.size()], strom.size() - pos);
        const std::uint8_t drain = leeren ? 0x80 : 0x00;
        if (n < 0x70) {
            out.push_back(static_cast<std::uint8_t>(n | drain));
        } else {
            out.push_back(static_cast<std::uint8_t>((0x6F + n / 256) | drain));
            out.push_back(static_cast<std::uint8_t>(n % 256));
        }
        out.insert(out.end(), strom.begin() + static_cast<std::ptrdiff_t>(pos),
                   strom.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    }
    return out;
}

// A protocol file recorded by the program from `anzahl` simulator telegrams, one per receive
// event, 20 ms apart, with trigger mode `trigger`.
Bytes aufnahme(const krv::sim::ScenarioOptions& optionen, int vorlauf, int anzahl, int trigger) {
    krv::fuzz::HeadlessProgramm p("[Einstellungen]\nSprache=0\nTimingKanal9=" + std::to_string(trigger) + "\n");
    p.clock.setDateValue(krv::recorder::datumswert({2026, 3, 1, 10, 0, 0, 0}));
    p.form().mnuDatenuebertragungStart_Click();
    p.dialogs.fileAnswers.push_back("/seed.log");
    p.form().mnuOpenLog_Click();
    krv::sim::Scenario s(optionen);
    for (int i = 0; i < vorlauf; ++i) s.next();
    for (int i = 0; i < anzahl; ++i) {
        p.form().receivePath().ShowData(s.next());
        p.clock.advanceMs(20);
    }
    p.form().mnuCloseLog_Click();
    return p.protokollDateien.files["/seed.log"];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seed_writer <corpus root>\n");
        return 2;
    }
    const fs::path wurzel = argv[1];
    const fs::path empfang = wurzel / "receive_path";
    const fs::path wiedergabe = wurzel / "playback";

    krv::sim::ScenarioOptions normal;
    krv::sim::ScenarioOptions gestoert;
    gestoert.model = 9;
    gestoert.seed = 7;
    gestoert.cpuErrors = true;
    gestoert.crcErrors = true;
    gestoert.garbage = true;

    // Receive path: each SimulationsStatus, chunkings from single bytes to the long form.
    const Bytes ruhig = simulator(normal, 0, 40);
    const Bytes stoerungen = simulator(gestoert, 1400, 150);
    schreibe(empfang / "seed-status0-telegrams", inChunks(0x00, 0, ruhig, {19}, false));
    schreibe(empfang / "seed-status0-split-chunks", inChunks(0x00, 0, ruhig, {2, 10, 7, 1, 33}, false));
    schreibe(empfang / "seed-status0-faults-service", inChunks(0x04 | 0x08 | 0x80, 0, stoerungen, {19, 40}, true));
    schreibe(empfang / "seed-status0-recorder-trigger", inChunks(0x20 | 0x40, 3, stoerungen, {25}, false));
    schreibe(empfang / "seed-status0-english-cpudaten", inChunks(0x10 | 0x40, 0, stoerungen, {300}, true));
    schreibe(empfang / "seed-status0-backlog", inChunks(0x00, 0, simulator(normal, 0, 260), {4351}, false));
    schreibe(empfang / "seed-status2-long-chunks", inChunks(0x02, 0, simulator(gestoert, 300, 60), {512}, true));

    // Playback files, recorded by the program; one of them fed as status 1 data, 19 bytes a call,
    // as the window loader feeds it.
    const Bytes ohneTrigger = aufnahme(gestoert, 0, 3000, 0);
    const Bytes mitTrigger = aufnahme(normal, 0, 6000, 21);  // the guard door, channel A
    schreibe(wiedergabe / "seed-recorded.log", ohneTrigger);
    schreibe(wiedergabe / "seed-recorded-trigger.log", mitTrigger);
    schreibe(empfang / "seed-status1-protocol-file", inChunks(0x01, 0, ohneTrigger, {19}, false));
    schreibe(empfang / "seed-status1-header-records", inChunks(0x01, 0, ohneTrigger, {5, 13, 7, 19}, true));

    // Files playback refuses: no version record; a version but no data record.
    Bytes ohneVersion(ohneTrigger.begin() + 5, ohneTrigger.end());
    schreibe(wiedergabe / "refused-no-version.log", ohneVersion);
    schreibe(wiedergabe / "refused-no-data.log", krv::recorder::versionsSatz());
    return 0;
}
