#pragma once
// What one call of ShowData does with an accepted telegram or a header record: the fixed
// order recorder, sample store, back-log rule, activity indicator, display; the header
// records' effects; and the raw copy of every chunk at the end of the call.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/link/TelegramScanner.hpp"
#include "core/ports/Clock.hpp"
#include "core/ports/ProfileStore.hpp"
#include "core/state/Einstellungen.hpp"
#include "core/state/PlaybackState.hpp"

namespace krv::link {

struct DispatchState {
    static constexpr int SchwelleNormal = 4096;
    static constexpr int SchwelleAufholen = 512;

    int AnzeigeSchwelle = SchwelleNormal;
    // Monotonic milliseconds, rounded to a whole second, of the last activity indicator change.
    std::optional<std::int64_t> LetzteSekunde;

    // Record fields of the telegram being dispatched.
    double SatzZeit = 0.0;
    std::uint8_t SatzAnzahl = 0;
    std::uint8_t SatzSamples = 1;
    std::uint8_t SatzCpuFehler = 0;
};

// The steps that other subsystems fill in; every one defaults to doing nothing.
class DispatchHooks {
public:
    virtual ~DispatchHooks() = default;
    virtual void RecorderTelegramm(const ReceiveState&) {}
    // While a protocol file is loaded: before the display, AnzahlSamples grows by one and
    // k samples are filled from the record fields; after it, AnzahlSamples grows by k - 1.
    virtual void samplesAnlegen(const DispatchState&, int /*k*/) {}
    virtual void samplesAbschliessen(int /*k*/) {}
    virtual void aktivitaetsAnzeigeUmschalten() {}
    virtual void Anzeige(const ReceiveState&) {}
    // Accepted but not displayed (back-log rule).
    virtual void nichtAngezeigt(const ReceiveState&) {}
    virtual void crcFehler() {}
    // A header record was consumed; payload = its M bytes.
    virtual void kopfsatzGelesen(std::uint8_t /*type*/, ByteView /*payload*/) {}
    // Channel j (0..8) or the trigger selector shows a new list entry.
    virtual void kanalGeaendert(int /*j*/) {}
    virtual void triggerGeaendert() {}
    // End of every call: the raw copy to the CPU data file.
    virtual void aufrufEnde(ByteView /*chunk*/) {}
};

class Dispatcher : public ScanConsumer {
public:
    Dispatcher(app::Einstellungen& settings, recorder::PlaybackState& playback,
               ports::ProfileStore& profile, ports::Clock& clock, DispatchHooks& hooks)
        : settings_(settings), playback_(playback), profile_(profile), clock_(clock), hooks_(hooks) {}

    DispatchState& state() { return state_; }
    const DispatchState& state() const { return state_; }

    void telegrammErkannt(std::uint8_t kind) override;
    bool telegrammAkzeptiert(ReceiveState& s) override;
    void kopfsatz(ReceiveState& s, std::size_t p) override;
    void crcFehler() override { hooks_.crcFehler(); }
    void aufrufEnde(ByteView chunk) override { hooks_.aufrufEnde(chunk); }

private:
    void satzfelderAusDatensatz(const ReceiveState& s);
    void aktivitaetsAnzeige();
    void kopfsatzDatum(ReceiveState& s, std::size_t p, std::size_t m);
    void kopfsatzKanaele(ReceiveState& s, std::size_t p, std::size_t m);
    void kopfsatzTrigger(ReceiveState& s, std::size_t p, std::size_t m);

    DispatchState state_;
    app::Einstellungen& settings_;
    recorder::PlaybackState& playback_;
    ports::ProfileStore& profile_;
    ports::Clock& clock_;
    DispatchHooks& hooks_;
};

}  // namespace krv::link
