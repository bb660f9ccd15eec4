#pragma once
// What the simulated controller sends: a machine with an emergency stop and a guard door, both
// two-channel, safety outputs behind a restart interlock, a muting section, and now and then a
// long telegram. Optional episodes: CPU errors, damaged CRCs, stray bytes.
//
// Everything happens on the line's clock: the time of a telegram is the number of bytes sent
// before it at 960 bytes/s. So the same seed gives the same bytes whether they are paced or not.
#include <cstdint>
#include <random>

#include "core/common/Bytes.hpp"
#include "core/link/TelegramBuilder.hpp"

namespace krv::sim {

struct ScenarioOptions {
    int model = 13;
    std::uint32_t seed = 1;
    bool cpuErrors = false;
    bool crcErrors = false;
    bool garbage = false;
};

// Terminal bit numbers the scenario drives (bit n: status byte 2 + n / 8, mask 0x80 >> n % 8).
namespace Klemme {
inline constexpr int NotHaltA = 12;  // emergency stop, two channels
inline constexpr int NotHaltB = 13;
inline constexpr int TuerA = 19;     // guard door, two channels
inline constexpr int TuerB = 20;
inline constexpr int Start = 22;     // start button of the restart interlock
inline constexpr int Ausgang1 = 5;   // safety outputs
inline constexpr int Ausgang2 = 6;
inline constexpr int Rueckfuehrung = 9;  // feedback loop, closed while the outputs are off
inline constexpr int AusgangMeldung = 11;
inline constexpr int MutingSensor1 = 24;
inline constexpr int MutingSensor2 = 25;
inline constexpr int MutingLampe = 26;
}  // namespace Klemme

class Scenario {
public:
    static constexpr int BytesProSekunde = 960;

    explicit Scenario(const ScenarioOptions& options);

    // The next telegram, with stray bytes in front or a damaged CRC when those episodes are on.
    Bytes next();

    // Line time of the next telegram in milliseconds.
    std::int64_t zeitMs() const { return static_cast<std::int64_t>(bytes_ * 1000 / BytesProSekunde); }
    // The status block of the last telegram.
    const link::StatusBlock& status() const { return status_; }

private:
    struct Kanal {
        bool a = true;  // closed
        bool b = true;
        std::int64_t bFolgt = -1;  // when channel b takes over a's state
    };

    std::int64_t zufall(std::int64_t lo, std::int64_t hi);
    void schalte(Kanal& k, bool geschlossen, std::int64_t t);
    static void folge(Kanal& k, std::int64_t t);
    void ablauf(std::int64_t t);
    link::StatusBlock statusBlock() const;

    ScenarioOptions options_;
    std::mt19937 rng_;
    std::uint64_t bytes_ = 0;
    link::StatusBlock status_{};

    Kanal notHalt_;
    Kanal tuer_;
    std::int64_t naechsterNotHalt_;
    std::int64_t naechsteTuer_;
    std::int64_t startDruck_ = -1;     // when the operator presses start, -1 = not planned
    std::int64_t startLoslassen_ = -1;
    bool startGedrueckt_ = false;
    bool ausgaenge_ = false;
    std::uint32_t relaisZyklen_;
    std::int64_t naechstesMuting_;
    std::int64_t mutingEnde_ = -1;
    std::int64_t sensor2Ein_ = -1;
    bool sensor1_ = false;
    bool sensor2_ = false;
    std::int64_t naechsterCpuFehler_;
    std::int64_t cpuFehlerEnde_ = -1;
    std::uint8_t cpuFehler_ = 0;
    std::int64_t naechsterLangerTelegramm_;
};

}  // namespace krv::sim
