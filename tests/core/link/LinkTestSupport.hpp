#pragma once
// A receive path with recording hooks, and telegram builders for the framing tests.
#include <string>
#include <vector>

#include "core/app/Einstellungen.hpp"
#include "core/app/MemoryProfile.hpp"
#include "core/link/Crc8.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/recorder/PlaybackState.hpp"

namespace krv::link::test {

inline Bytes telegram(char kind, const Bytes& payload) {
    Bytes t{'L', static_cast<std::uint8_t>(kind)};
    t.insert(t.end(), payload.begin(), payload.end());
    t.push_back(crc8(t));
    return t;
}

inline Bytes shortTelegram(std::uint8_t first = 0, std::uint8_t fill = 0) {
    Bytes payload(16, fill);
    payload[0] = first;
    return telegram('1', payload);
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Records what the dispatcher hands on, one entry per event.
struct RecordingHooks : DispatchHooks {
    std::vector<std::string> events;
    std::vector<Bytes> displayed;
    int recorded = 0;
    int toggles = 0;
    std::vector<int> samplesBegun;
    std::vector<int> samplesEnded;
    std::vector<std::size_t> chunkSizes;

    void RecorderTelegramm(const ReceiveState&) override { ++recorded; }
    void samplesAnlegen(const DispatchState&, int k) override { samplesBegun.push_back(k); }
    void samplesAbschliessen(int k) override { samplesEnded.push_back(k); }
    void aktivitaetsAnzeigeUmschalten() override { ++toggles; }
    void Anzeige(const ReceiveState& s) override {
        events.push_back(std::string("display ") + static_cast<char>(s.kind()));
        displayed.emplace_back(s.payload().begin(), s.payload().end());
    }
    void nichtAngezeigt(const ReceiveState& s) override {
        events.push_back(std::string("skip ") + static_cast<char>(s.kind()));
    }
    void crcFehler() override { events.push_back("crc-error"); }
    void kopfsatzGelesen(std::uint8_t type, ByteView payload) override {
        events.push_back(std::string("header ") + static_cast<char>(type) + " " + std::to_string(payload.size()));
    }
    void aufrufEnde(ByteView chunk) override { chunkSizes.push_back(chunk.size()); }
};

struct LinkFixture {
    app::Einstellungen settings;
    recorder::PlaybackState playback;
    app::MemoryProfile profile;
    ports::ManualClock clock;
    RecordingHooks hooks;
    ReceivePath path{settings, playback, profile, clock, hooks};

    void feed(const Bytes& bytes) { path.ShowData(bytes); }
    std::size_t bufferLength() const { return path.receive().EmpfangsLaenge(); }
};

}  // namespace krv::link::test
