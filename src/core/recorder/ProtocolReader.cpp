#include "core/recorder/ProtocolReader.hpp"

#include <algorithm>

#include "core/link/ReceivePath.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/state/Einstellungen.hpp"
#include "core/state/MemoryProfile.hpp"
#include "core/state/PlaybackState.hpp"

namespace krv::recorder {
namespace {

// Notes the first K and T record the dispatcher reads while `aktiv`.
class KopfLeser : public link::DispatchHooks {
public:
    explicit KopfLeser(const app::Einstellungen& settings) : settings_(settings) {}

    bool aktiv = false;
    ProtokollKopf* kopf = nullptr;

    void kopfsatzGelesen(std::uint8_t type, ByteView payload) override {
        if (!aktiv) return;
        if (type == 'K' && !kopf->kanaele) {
            std::array<int, AnzahlKanaele> kanaele{};
            const std::size_t n = std::min<std::size_t>(payload.size(), AnzahlKanaele);
            for (std::size_t j = 0; j < n; ++j) kanaele[j] = payload[j];
            kopf->kanaele = kanaele;
        } else if (type == 'T' && !kopf->trigger) {
            TriggerAngabe t;
            if (payload.size() == 3 && payload[2] < 128) t.anzahl = payload[1] + 256 * payload[2];
            kopf->trigger = t;
            modusErwartet_ = true;
        }
    }
    // The dispatcher has taken the mode byte (the byte behind N, whatever N says).
    void triggerGeaendert() override {
        if (!modusErwartet_) return;
        kopf->trigger->modus = settings_.TriggerModus;
        modusErwartet_ = false;
    }

private:
    const app::Einstellungen& settings_;
    bool modusErwartet_ = false;
};

}  // namespace

LeseErgebnis leseProtokollkopf(ByteView anfang, std::uint64_t dateiLaenge) {
    const ByteView datei = anfang.first(std::min<std::size_t>(anfang.size(), KopfSuchBereich));
    LeseErgebnis ergebnis;
    ProtokollKopf& kopf = ergebnis.kopf;

    app::Einstellungen settings;
    PlaybackState playback;
    app::MemoryProfile profile;
    ports::ManualClock clock;
    KopfLeser leser(settings);
    leser.kopf = &kopf;
    link::ReceivePath path(settings, playback, profile, clock, leser);

    // Only this file's version record counts.
    playback.LogVersion = 0;
    path.ShowData(datei.first(std::min<std::size_t>(datei.size(), 5)));
    kopf.version = playback.LogVersion;
    if (kopf.version < 1) {
        ergebnis.ablehnung = MeldungUnbekannteVersion;
        return ergebnis;
    }

    const auto erster = ersterDatensatzPos(datei);
    if (!erster) {
        ergebnis.ablehnung = MeldungKeineLogDatei;
        return ergebnis;
    }
    kopf.ersterDatensatzPos = *erster;
    kopf.anzahlDatensaetze = anzahlDatensaetze(static_cast<std::size_t>(dateiLaenge), *erster);

    // The header area in one call, as playback hands it over.
    leser.aktiv = true;
    path.ShowData(datei.first(*erster - 1));
    leser.aktiv = false;
    return ergebnis;
}

bool zeigbarerDatensatz(ByteView slot) { return istDatensatz(slot) && slot[3] >= 1; }

LeseErgebnis leseProtokolldatei(ByteView datei) {
    LeseErgebnis ergebnis = leseProtokollkopf(datei, datei.size());
    if (ergebnis.ablehnung) return ergebnis;
    bool probe = false;
    for (std::size_t i = 0; i < ergebnis.kopf.anzahlDatensaetze && !probe; ++i) {
        probe = zeigbarerDatensatz(slot(datei, ergebnis.kopf.ersterDatensatzPos, i));
    }
    if (!probe) ergebnis.ablehnung = MeldungKeineLogDatei;
    return ergebnis;
}

}  // namespace krv::recorder
