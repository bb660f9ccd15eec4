#include "core/timing/TimingDiagramm.hpp"

#include <algorithm>
#include <cmath>

#include "core/state/StringTable.hpp"
#include "core/timing/RasterSpur.hpp"
#include "core/timing/SpurGeometrie.hpp"

namespace krv::timing {
namespace {

constexpr int kTextAnzeigeStart = 6000;
constexpr int kTextAnzeigeStop = 6001;
constexpr std::int16_t kKeineLed = 255;

// Half the strip's height as the integer property takes it (halves to the even neighbour).
int halbeHoehe(const Spur& spur) { return static_cast<int>(std::nearbyint(spur.scaleHeight() / 2.0)); }

}  // namespace

TimingDiagramm::TimingDiagramm(app::ProgramState& state, app::MainFormState& form, TimingFormState& controls,
                               ports::ProfileStore& profile, KonvertBitToLedFn konvertBitToLed)
    : state_(state), form_(form), c_(controls), profile_(profile), konvertBitToLed_(std::move(konvertBitToLed)) {
    for (std::size_t i = 0; i < spuren_.size(); ++i) {
        eigeneSpuren_[i] = std::make_unique<RasterSpur>(kStandardSpurBreite, kStandardSpurHoehe);
        spuren_[i] = eigeneSpuren_[i].get();
        SpurY[i] = halbeHoehe(*spuren_[i]);
    }
    SpurMaxX = spur(0).scaleWidth() - kRandPixel;
    TimingTexte = {text(kTextAnzeigeStart), text(kTextAnzeigeStop)};
}

const std::string& TimingDiagramm::text(int id) const { return app::LoadResString(id, state_.sprachOffset()); }

void TimingDiagramm::setzeSpuren(const std::array<Spur*, kAnzahlKanaele>& spuren) {
    for (std::size_t i = 0; i < spuren_.size(); ++i) spuren_[i] = spuren[i] ? spuren[i] : eigeneSpuren_[i].get();
    SpurMaxX = spur(0).scaleWidth() - kRandPixel;
}

void TimingDiagramm::SpurGroesseGeaendert() {
    SpurMaxX = spur(0).scaleWidth() - kRandPixel;
    if (state_.playback.SimulationsStatus == 2) ZeichneAusSpeicher();
}

void TimingDiagramm::ZeichneSpur(int kanal, std::uint8_t zustand, std::uint8_t anzahl) {
    if (TimingAktiv != 1) return;
    if (kanal < 0 || kanal >= kAnzahlKanaele || zustand >= kAnzahlPegel) return;
    const auto k = static_cast<std::size_t>(kanal);
    SpurY[k] = zeichneSample(spur(kanal), SpurX[k], SpurY[k], zustand, anzahl);
}

void TimingDiagramm::SpurVorschub() {
    if (TimingAktiv != 1) return;
    const bool live = state_.playback.SimulationsStatus == 0;
    for (int kanal = 0; kanal < kAnzahlKanaele; ++kanal) {
        int& x = SpurX[static_cast<std::size_t>(kanal)];
        x += kPixelProSample;
        if (!live) continue;
        // A full strip moves left in 5-pixel steps; the picture is copied, not redrawn.
        while (x >= SpurMaxX) {
            schiebeLinks(spur(kanal));
            x -= kVorschubPixel;
        }
    }
}

void TimingDiagramm::TimingLoeschen() {
    for (int kanal = 0; kanal < kAnzahlKanaele; ++kanal) {
        const auto k = static_cast<std::size_t>(kanal);
        SpurX[k] = 0;
        SpurY[k] = halbeHoehe(spur(kanal));
        spur(kanal).clear();
        // A marker over cleared strips would mark nothing.
        c_.LineTrigger[k].setVisible(false);
    }
}

void TimingDiagramm::TimingStart() {
    TimingLoeschen();
    TimingAktiv = 1;
    form_.cmdTimingDiagrammStartStop.setCaption(TimingTexte[1]);
}

void TimingDiagramm::TimingStop() {
    TimingAktiv = 0;
    form_.cmdTimingDiagrammStartStop.setCaption(TimingTexte[0]);
}

void TimingDiagramm::cmdTimingDiagrammStartStop_Click() {
    if (TimingAktiv != 0) {
        TimingStop();  // the traces stay
    } else {
        TimingStart();
    }
}

void TimingDiagramm::Init_TimingWiedergabe() {
    CursorSpalte = 0;
    state_.playback.TriggerSatzNr = kKeinTrigger;
    TimingLoeschen();
    setzeCursorLinien(CursorSpalte);
    TimingAktiv = 1;
    form_.cmdTimingDiagrammStartStop.setCaption(TimingTexte[1]);
    SpurMaxX = spur(0).scaleWidth() - kRandPixel;
}

void TimingDiagramm::setzeCursorLinien(int x) {
    for (LinienControl& l : c_.Line1) l.setX(x);
}

void TimingDiagramm::zeigeCursorLinien(bool sichtbar) {
    for (LinienControl& l : c_.Line1) l.setVisible(sichtbar);
}

void TimingDiagramm::ZeichneAusSpeicher() {
    TimingStart();
    const int n = std::min(MaxSamples(), samples_.AnzahlSamples);

    // Which channels show a terminal the active model has; the model does not change meanwhile.
    std::array<int, kAnzahlKanaele> spalte{};
    for (int i = 0; i < kAnzahlKanaele; ++i) {
        const int k = state_.einstellungen.KanalTab[static_cast<std::size_t>(i)];
        const bool zeigbar = k >= 1 && k <= kAnzahlKlemmen && konvertBitToLed_ &&
                             konvertBitToLed_(static_cast<std::int16_t>(k - 1)) != kKeineLed;
        spalte[static_cast<std::size_t>(i)] = zeigbar ? k : 0;
    }

    // A file recorded without trigger still carries a trigger count; it marks no event.
    const std::int32_t trigger = state_.playback.TriggerSatzNr;
    const bool markerMoeglich = state_.einstellungen.TriggerModus != 0 && trigger != kKeinTrigger;
    bool triggerGesehen = false;

    for (int s = 1; s <= n; ++s) {
        for (int i = 0; i < kAnzahlKanaele; ++i) {
            const int k = spalte[static_cast<std::size_t>(i)];
            if (k != 0) ZeichneSpur(i, samples_.SampleKlemmen(k, s), samples_.SampleAnzahl(s));
        }
        if (markerMoeglich && samples_.SampleDatensatzNr(s) == trigger - 1) {
            triggerGesehen = true;
            for (LinienControl& l : c_.LineTrigger) l.setX(kPixelProSample * (s - 1));
        }
        for (LinienControl& l : c_.LineTrigger) l.setVisible(triggerGesehen);
        SpurVorschub();
    }
}

}  // namespace krv::timing
