#pragma once
// The timing diagram on in-memory strips, next to the device picture that feeds it, and a
// receive path wired the way the main window wires them: samples before and after the display,
// the terminal rendering drawing the traces, the header records showing in the selectors.
#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "core/app/MainFormState.hpp"
#include "core/app/MemoryProfile.hpp"
#include "core/app/ProgramState.hpp"
#include "core/device/DeviceDisplay.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/ports/ScriptedPictures.hpp"
#include "core/timing/RasterSpur.hpp"
#include "core/timing/TimingDiagramm.hpp"

namespace krv::timing::test {

struct TimingRig : link::DispatchHooks {
    explicit TimingRig(int breite = 40, int hoehe = 16, const std::string& ini = "") : profile(ini) {
        std::array<Spur*, kAnzahlKanaele> zeiger{};
        for (std::size_t i = 0; i < spuren.size(); ++i) {
            spuren[i] = std::make_unique<RasterSpur>(breite, hoehe);
            zeiger[i] = spuren[i].get();
        }
        timing.setzeSpuren(zeiger);
        device.ZeichneSpur = [this](int kanal, std::uint8_t zustand, std::uint8_t anzahl) {
            timing.ZeichneSpur(kanal, zustand, anzahl);
        };
        device.SampleKlemmen = [this](int spalte, std::uint8_t zustand) {
            timing.samples().SampleKlemmenSetzen(spalte, zustand);
        };
    }

    app::ProgramState state;
    app::MainFormState form;
    TimingFormState controls;
    app::MemoryProfile profile;
    ports::ManualClock clock;
    ports::AlwaysLoads pictures;
    ports::ScriptedDialogs dialogs;
    device::DeviceDisplay device{state, form, pictures, dialogs};
    TimingDiagramm timing{state, form, controls, profile,
                          [this](std::int16_t bit) { return device.KonvertBitToLed(bit); }};
    std::array<std::unique_ptr<RasterSpur>, kAnzahlKanaele> spuren;
    link::ReceivePath path{state.einstellungen, state.playback, profile, clock, *this};

    RasterSpur& spur(int kanal) { return *spuren[static_cast<std::size_t>(kanal)]; }
    SampleStore& samples() { return timing.samples(); }

    // What the main window does at load: texts, then the diagram prepared.
    void laden() {
        timing.Init_SpracheTiming();
        timing.Init_TimingWiedergabe();
    }

    // --- The main window's dispatch steps, as it wires them.
    void samplesAnlegen(const link::DispatchState& d, int k) override {
        samples().samplesAnlegen(d, state.playback.AktuellerDatensatz, k);
    }
    void samplesAbschliessen(int k) override { samples().samplesAbschliessen(k); }
    void Anzeige(const link::ReceiveState& s) override {
        device::GeraeteBytes bytes{};
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = s.datenByte(i);
        device.AnzeigeGeraet(bytes);
        if (state.playback.SimulationsStatus != 1) timing.SpurVorschub();
        state.AnzeigeGueltig = 1;
    }
    void kanalGeaendert(int j) override { timing.selektorZeigen(j); }
    void triggerGeaendert() override { timing.selektorZeigen(kTriggerSelektor); }

    void feed(const Bytes& bytes) {
        path.ShowData(bytes);
        path.drain();
    }
};

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A live short telegram with status bytes 0, 2 and 3 (the rest 0).
inline Bytes live(std::uint8_t byte0, std::uint8_t byte2, std::uint8_t byte3 = 0, std::uint8_t byte6 = 0) {
    Bytes p(16, 0);
    p[0] = byte0;
    p[2] = byte2;
    p[3] = byte3;
    p[6] = byte6;
    return link::telegramm('1', p);
}

// A protocol file data record.
inline Bytes datensatz(std::uint8_t byte0, std::uint8_t anzahl, std::uint8_t byte2, double zeit = 0.0,
                       std::uint8_t cpuFehler = 0) {
    Bytes p(16, 0);
    p[0] = byte0;
    p[1] = anzahl;
    p[2] = byte2;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &zeit, sizeof bits);
    for (int i = 0; i < 8; ++i) p[static_cast<std::size_t>(7 + i)] = static_cast<std::uint8_t>(bits >> (8 * i));
    p[15] = cpuFehler;
    return link::telegramm('3', p);
}

inline Bytes kopfsatz(char typ, const Bytes& payload) {
    Bytes h{'L', '0', static_cast<std::uint8_t>(typ), static_cast<std::uint8_t>(payload.size())};
    h.insert(h.end(), payload.begin(), payload.end());
    return h;
}

}  // namespace krv::timing::test
