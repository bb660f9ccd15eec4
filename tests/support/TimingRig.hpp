#pragma once
// The headless program with the timing diagram drawing into in-memory strips set up after the
// main window's load, as the window sets up its own, so that telegrams and protocol file
// records reach the diagram through the main window's wiring.
#include <cstring>
#include <memory>

#include "core/app/HeadlessProgramm.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/timing/RasterSpur.hpp"

namespace krv::test {

struct TimingRig : app::HeadlessProgramm {
    explicit TimingRig(int breite = 40, const std::string& ini = "") : HeadlessProgramm(ini) {
        std::array<timing::Spur*, timing::kAnzahlKanaele> zeiger{};
        for (std::size_t i = 0; i < spuren.size(); ++i) {
            spuren[i] = std::make_unique<timing::RasterSpur>(breite, 16);
            zeiger[i] = spuren[i].get();
        }
        timing().setzeSpuren(zeiger);
    }
    ~TimingRig() { timing().setzeSpuren({}); }  // the strips go before the program

    std::array<std::unique_ptr<timing::RasterSpur>, timing::kAnzahlKanaele> spuren;
    timing::TimingDiagramm& timing() { return form().timing(); }
    timing::TimingFormState& selektoren() { return form().timingControls(); }
    timing::SampleStore& samples() { return timing().samples(); }
    timing::RasterSpur& spur(int kanal) { return *spuren[static_cast<std::size_t>(kanal)]; }
    std::string leer() const { return timing::RasterSpur(breite(), spuren[0]->scaleHeight()).bild(); }
    int breite() const { return spuren[0]->scaleWidth(); }
    void feed(const Bytes& bytes) {
        form().receivePath().ShowData(bytes);
        form().receivePath().drain();
    }
    // Protocol file records as the playback loads them, record numbers counted from `nr`.
    void lade(std::int32_t nr, const std::vector<Bytes>& saetze) {
        state.playback.SimulationsStatus = 1;
        for (const Bytes& s : saetze) state.playback.AktuellerDatensatz = nr++, feed(s);
        state.playback.SimulationsStatus = 2;
    }
};

// A live telegram ('1') or protocol file data record ('3'): status bytes 0 and 2, 3 and 6 live,
// the repeat count (byte 1), time stamp (7..14) and CPU error number (15) of a record.
inline Bytes live(int byte0, int byte2, int byte3 = 0, int byte6 = 0) {
    using B = std::uint8_t;
    const Bytes p{B(byte0), 0, B(byte2), B(byte3), 0, 0, B(byte6), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    return link::telegramm('1', p);
}
inline Bytes datensatz(int byte0, int anzahl, int byte2, double zeit = 0.0, int cpuFehler = 0) {
    using B = std::uint8_t;
    Bytes p{B(byte0), B(anzahl), B(byte2), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, B(cpuFehler)};
    std::memcpy(&p[7], &zeit, sizeof zeit);
    return link::telegramm('3', p);
}

}  // namespace krv::test
