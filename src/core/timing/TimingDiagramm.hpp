#pragma once
// The timing diagram of the main window: nine trace strips fed live by the terminal LED
// rendering or redrawn from the sample store during playback, the channel and trigger
// selectors with their settings, the start/stop button, and the cursor and trigger lines.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/ports/ProfileStore.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"
#include "core/timing/SampleStore.hpp"
#include "core/timing/Spur.hpp"
#include "core/timing/TimingFormState.hpp"

namespace krv::timing {

// Terminal bit to LED index of the active model (255 = the model has no such terminal).
using KonvertBitToLedFn = std::function<std::int16_t(std::int16_t)>;

// The channel selectors list the terminals 1..36; the trigger selector "error" and the same 36.
inline constexpr int kAnzahlKlemmen = 36;
inline constexpr int kTriggerFehler = 1;
inline constexpr std::int32_t kKeinTrigger = 65535;

// The size of the strips until the window supplies its own (about the frame's width).
inline constexpr int kStandardSpurBreite = 300;
inline constexpr int kStandardSpurHoehe = 20;

class TimingDiagramm {
public:
    TimingDiagramm(app::ProgramState& state, app::MainFormState& form, TimingFormState& controls,
                   ports::ProfileStore& profile, KonvertBitToLedFn konvertBitToLed);
    TimingDiagramm(const TimingDiagramm&) = delete;
    TimingDiagramm& operator=(const TimingDiagramm&) = delete;

    // --- Public state of the diagram.
    int TimingAktiv = 0;                      // 1 traces running, 0 stopped
    std::array<std::string, 2> TimingTexte;   // button captions: 0 start text, 1 stop text
    std::array<int, kAnzahlKanaele> SpurX{};  // x of the next sample per channel
    std::array<int, kAnzahlKanaele> SpurY{};  // level y of the last sample per channel
    int SpurMaxX = 0;                         // usable trace width: strip width - 7
    int CursorSpalte = 0;                     // sample column clicked last (playback)

    SampleStore& samples() { return samples_; }
    const SampleStore& samples() const { return samples_; }

    // --- Strips. Until the window supplies its own, the diagram draws into in-memory strips of
    // the standard size. The window's strips must outlive the diagram or be replaced again.
    void setzeSpuren(const std::array<Spur*, kAnzahlKanaele>& spuren);
    Spur& spur(int kanal) { return *spuren_[static_cast<std::size_t>(kanal)]; }
    // The window resized its strips: SpurMaxX follows the new width; a loaded playback window is
    // redrawn. Live traces move left on the next sample if they now stand beyond the edge.
    void SpurGroesseGeaendert();

    // --- Drawing.
    // One sample of channel kanal (0..8) at level zustand (0..2) with the record's repeat count.
    void ZeichneSpur(int kanal, std::uint8_t zustand, std::uint8_t anzahl);
    // All channels one sample on; live, a full strip moves left by 5 pixels.
    void SpurVorschub();
    void TimingLoeschen();
    void TimingStart();
    void TimingStop();
    void cmdTimingDiagrammStartStop_Click();
    // Form load and start of a playback: cleared strips, cursor at 0, no trigger, running.
    void Init_TimingWiedergabe();
    // Samples that fit a strip.
    int MaxSamples() const { return SpurMaxX / 2; }
    // Playback: all strips anew from the sample store, with the trigger marker.
    void ZeichneAusSpeicher();
    // Playback: every cursor line to x.
    void setzeCursorLinien(int x);
    void zeigeCursorLinien(bool sichtbar);

    // --- Selectors and language.
    void Init_SpracheTiming();
    // The user picked an entry: the selector shows it, then its click handling runs.
    void cboKlemmenAuswahl(int index, int listIndex);
    void cboKlemmen_Click(int index);
    // A header record of a protocol file changed KanalTab(index) or, for index 9, TriggerModus:
    // the selector shows that entry (nothing selected when it has no such entry); like a
    // selection made in code it raises the click handling, which ignores itself while loading.
    void selektorZeigen(int index);

    // --- Playback clicks.
    void picTimingSpur_MouseDown(int index, int button, int shift, double x, double y);
    void KlickAufSpur(double x);

    // --- Where the rest of the window joins in; each may stay empty.
    // TriggerModus changed: the recorder derives its trigger position and mask from it.
    std::function<void()> onTriggerModusGeaendert;
    // hsbTimingDiagram.Value = value; the scroll bar's Change event shows that record.
    std::function<void(std::int32_t value)> onScrollWertSetzen;
    // Give hsbTimingDiagram the input focus.
    std::function<void()> onScrollFokus;

private:
    const std::string& text(int id) const;
    int kanalWert(int index) const;
    void triggerAuswahlUebernehmen();
    void scrollFokusInWiedergabe();

    app::ProgramState& state_;
    app::MainFormState& form_;
    TimingFormState& c_;
    ports::ProfileStore& profile_;
    KonvertBitToLedFn konvertBitToLed_;
    SampleStore samples_;
    std::array<std::unique_ptr<Spur>, kAnzahlKanaele> eigeneSpuren_;
    std::array<Spur*, kAnzahlKanaele> spuren_{};
};

}  // namespace krv::timing
