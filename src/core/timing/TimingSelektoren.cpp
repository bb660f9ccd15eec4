// The timing diagram's selectors, language texts and playback clicks.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/state/StartupSettings.hpp"
#include "core/timing/TimingDiagramm.hpp"

namespace krv::timing {
namespace {

constexpr int kTextAnzeigeStart = 6000;
constexpr int kTextAnzeigeStop = 6001;
constexpr int kTextFehler = 6014;
constexpr int kTextStart = 6050;
constexpr int kTextStop = 6051;
constexpr int kTextAktuell = 6052;
constexpr int kTextRecorderStart = 6053;
constexpr int kTextRecorderStop = 6054;
constexpr int kTextWiedergabeStart = 6055;
constexpr int kTextWiedergabeStop = 6056;

std::vector<std::string> klemmenListe(std::vector<std::string> anfang) {
    for (int i = 1; i <= kAnzahlKlemmen; ++i) anfang.push_back(std::to_string(i));
    return anfang;
}

// The entry to show for a value, or none when the list has no such entry.
int eintrag(const app::ListControl& cbo, int wert) {
    return wert >= 0 && wert < static_cast<int>(cbo.items().size()) ? wert : -1;
}

}  // namespace

int TimingDiagramm::kanalWert(int index) const {
    return index == kTriggerSelektor ? state_.einstellungen.TriggerModus
                                     : state_.einstellungen.KanalTab[static_cast<std::size_t>(index)];
}

void TimingDiagramm::Init_SpracheTiming() {
    c_.lblTimingStatusStart.setCaption(text(kTextStart));
    c_.lblTimingStatusStop.setCaption(text(kTextStop));
    c_.lblTimingStatusAktuell.setCaption(text(kTextAktuell));
    form_.cmdWiedergabeStart.setCaption(text(kTextWiedergabeStart));
    form_.cmdWiedergabeStop.setCaption(text(kTextWiedergabeStop));

    TimingTexte = {text(kTextAnzeigeStart), text(kTextAnzeigeStop)};
    form_.cmdTimingDiagrammStartStop.setCaption(TimingTexte[TimingAktiv == 1 ? 1 : 0]);

    form_.cmdRecorderStartStop.setCaption(text(form_.mnuOpenLog.enabled() ? kTextRecorderStart : kTextRecorderStop));

    // Refilled in the new language with the same selection. Only the trigger selector's choice is
    // taken over again (the recorder derives its trigger test from it); the channels keep their
    // traces, and nothing is written to the settings file, since no value changed.
    const std::vector<std::string> kanalListe = klemmenListe({"----"});
    for (int i = 0; i < kAnzahlKanaele; ++i) {
        app::ListControl& cbo = c_.cboKlemmen[static_cast<std::size_t>(i)];
        cbo.setItems(kanalListe);
        cbo.setListIndex(eintrag(cbo, kanalWert(i)));
    }
    app::ListControl& trigger = c_.cboKlemmen[kTriggerSelektor];
    trigger.setItems(klemmenListe({"--------", text(kTextFehler)}));
    trigger.setListIndex(eintrag(trigger, kanalWert(kTriggerSelektor)));
    if (state_.playback.SimulationsStatus != 1) {
        triggerAuswahlUebernehmen();
        scrollFokusInWiedergabe();
    }
}

void TimingDiagramm::cboKlemmenAuswahl(int index, int listIndex) {
    if (index < 0 || index >= kAnzahlSelektoren) return;
    c_.cboKlemmen[static_cast<std::size_t>(index)].setListIndex(listIndex);
    cboKlemmen_Click(index);
}

void TimingDiagramm::triggerAuswahlUebernehmen() {
    state_.einstellungen.TriggerModus = std::max(c_.cboKlemmen[kTriggerSelektor].listIndex(), 0);
    if (onTriggerModusGeaendert) onTriggerModusGeaendert();
}

void TimingDiagramm::scrollFokusInWiedergabe() {
    if (state_.playback.SimulationsStatus == 2 && onScrollFokus) onScrollFokus();
}

void TimingDiagramm::cboKlemmen_Click(int index) {
    // While a protocol file is loaded the header records set the selectors; nothing follows.
    if (state_.playback.SimulationsStatus == 1) return;
    if (index < 0 || index >= kAnzahlSelektoren) return;

    if (index == kTriggerSelektor) {
        triggerAuswahlUebernehmen();
    } else {
        const auto k = static_cast<std::size_t>(index);
        state_.einstellungen.KanalTab[k] = std::max(c_.cboKlemmen[k].listIndex(), 0);
        spur(index).clear();
        if (state_.playback.SimulationsStatus > 0) ZeichneAusSpeicher();
    }
    app::writeSetting(profile_, app::timingKanalKey(index), kanalWert(index));
    scrollFokusInWiedergabe();
}

void TimingDiagramm::selektorZeigen(int index) {
    if (index < 0 || index >= kAnzahlSelektoren) return;
    app::ListControl& cbo = c_.cboKlemmen[static_cast<std::size_t>(index)];
    const int neu = eintrag(cbo, kanalWert(index));
    if (cbo.listIndex() == neu) return;
    cbo.setListIndex(neu);
    cboKlemmen_Click(index);
}

void TimingDiagramm::picTimingSpur_MouseDown(int /*index*/, int /*button*/, int /*shift*/, double x, double /*y*/) {
    if (state_.playback.SimulationsStatus != 2) return;
    KlickAufSpur(x);
    if (onScrollFokus) onScrollFokus();
}

void TimingDiagramm::KlickAufSpur(double x) {
    const int spalte = static_cast<int>(std::nearbyint(x)) / 2;
    CursorSpalte = std::clamp(spalte, 0, std::max(MaxSamples(), 0));
    // Right of the last sample of a short window the last sample stands for it.
    const int sample = std::min(CursorSpalte + 1, samples_.AnzahlSamples);
    if (onScrollWertSetzen) onScrollWertSetzen(samples_.SampleDatensatzNr(sample));
}

}  // namespace krv::timing
