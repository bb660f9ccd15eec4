#include "sim/Scenario.hpp"

#include <algorithm>

namespace krv::sim {
namespace {

void setzeKlemme(link::StatusBlock& s, int bit, bool ein) {
    if (!ein) return;
    s[2 + bit / 8] |= static_cast<std::uint8_t>(0x80U >> (bit % 8));
}

// Configuration of the simulated device.
constexpr std::uint8_t kProgrammVersion = 118;  // shown as 1.18
constexpr std::uint8_t kFreigabe = 3;
constexpr std::uint8_t kMutingWerte = 0x1E;
// S1, S2 "4 relais" (the emergency stop's contacts), S3, S4 "4 electr." (the door switches).
constexpr std::uint8_t kEingangstypS = 0x02 | 0x02 << 2 | 0x01 << 4 | 0x01 << 6;
// ME1, ME2 testable muting sensors, ME3 standard, ME4 not connected.
constexpr std::uint8_t kEingangstypME = 0x03 | 0x03 << 2 | 0x01 << 4;
// SS1a, SS1b "2 electr.", SS2a, SS2b not connected.
constexpr std::uint8_t kEingangstypSS = 0x03 | 0x03 << 2;
// Restart interlock and feedback loop monitoring on, relay pre-warning at 200k, long time
// monitoring, no start test emulation, dynamic feedback loop.
constexpr std::uint8_t kBetriebsart = 0x01 | 0x02 | 0x01 << 2;
// Muting sensor test and muting timeout on, single muting.
constexpr std::uint8_t kMutingArt = 0x02 | 0x04 | 0x08;

// CPU error numbers the episodes use.
constexpr std::uint8_t kCpuFehler[] = {3, 7};

}  // namespace

Scenario::Scenario(const ScenarioOptions& options) : options_(options), rng_(options.seed) {
    options_.model &= 0x0F;
    naechsterNotHalt_ = zufall(20000, 40000);
    naechsteTuer_ = zufall(4000, 9000);
    relaisZyklen_ = static_cast<std::uint32_t>(250000 + zufall(0, 100000));
    naechstesMuting_ = zufall(8000, 15000);
    naechsterCpuFehler_ = zufall(15000, 30000);
    naechsterLangerTelegramm_ = zufall(2000, 5000);
}

std::int64_t Scenario::zufall(std::int64_t lo, std::int64_t hi) {
    // Plain modulo rather than a distribution: the same seed must give the same bytes everywhere.
    return lo + static_cast<std::int64_t>(rng_() % static_cast<std::uint32_t>(hi - lo + 1));
}

void Scenario::schalte(Kanal& k, bool geschlossen, std::int64_t t) {
    // The two contacts of a switch never move at exactly the same moment.
    k.a = geschlossen;
    k.bFolgt = t + zufall(20, 80);
}

void Scenario::folge(Kanal& k, std::int64_t t) {
    if (k.bFolgt >= 0 && t >= k.bFolgt) {
        k.b = k.a;
        k.bFolgt = -1;
    }
}

void Scenario::ablauf(std::int64_t t) {
    if (t >= naechsterNotHalt_) {
        schalte(notHalt_, !notHalt_.a, t);
        naechsterNotHalt_ = t + (notHalt_.a ? zufall(20000, 45000) : zufall(3000, 6000));
    }
    folge(notHalt_, t);

    if (t >= naechsteTuer_) {
        schalte(tuer_, !tuer_.a, t);
        naechsteTuer_ = t + (tuer_.a ? zufall(6000, 15000) : zufall(2000, 5000));
    }
    folge(tuer_, t);

    if (options_.cpuErrors) {
        if (cpuFehler_ == 0 && t >= naechsterCpuFehler_) {
            cpuFehler_ = kCpuFehler[zufall(0, std::size(kCpuFehler) - 1)];
            cpuFehlerEnde_ = t + zufall(2500, 4000);
        } else if (cpuFehler_ != 0 && t >= cpuFehlerEnde_) {
            cpuFehler_ = 0;
            naechsterCpuFehler_ = t + zufall(30000, 60000);
        }
    }

    // Restart interlock: the outputs switch on when start is released with every input closed.
    const bool eingaengeOk = notHalt_.a && notHalt_.b && tuer_.a && tuer_.b && cpuFehler_ == 0;
    if (!eingaengeOk) {
        ausgaenge_ = false;
        if (!startGedrueckt_) startDruck_ = -1;
    } else if (!ausgaenge_ && !startGedrueckt_ && startDruck_ < 0) {
        startDruck_ = t + zufall(1000, 3000);  // the operator walks to the button
    }
    if (startDruck_ >= 0 && t >= startDruck_ && !startGedrueckt_) {
        startGedrueckt_ = true;
        startLoslassen_ = t + zufall(200, 500);
        startDruck_ = -1;
    }
    if (startGedrueckt_ && t >= startLoslassen_) {
        startGedrueckt_ = false;
        if (eingaengeOk && !ausgaenge_) {
            ausgaenge_ = true;
            ++relaisZyklen_;
        }
    }

    // While the machine runs, a pallet passes the muting sensors one after the other.
    if (!sensor1_ && ausgaenge_ && t >= naechstesMuting_) {
        sensor1_ = true;
        sensor2Ein_ = t + zufall(300, 600);
        mutingEnde_ = t + zufall(1500, 3000);
    }
    if (sensor1_ && !sensor2_ && t >= sensor2Ein_ && t < mutingEnde_) sensor2_ = true;
    if (sensor1_ && t >= mutingEnde_) {
        sensor1_ = false;
        sensor2_ = false;
        naechstesMuting_ = t + zufall(10000, 20000);
    }
}

link::StatusBlock Scenario::statusBlock() const {
    link::StatusBlock s{};
    const bool notHaltOk = notHalt_.a && notHalt_.b;
    const bool tuerZu = tuer_.a && tuer_.b;
    const bool muting = sensor1_ && sensor2_;
    const bool wartetAufStart = !ausgaenge_ && notHaltOk && tuerZu && cpuFehler_ == 0;

    // Byte 0: model, CPU module lamps; byte 1: output module (low) and extension module (high).
    s[0] = static_cast<std::uint8_t>(options_.model | (cpuFehler_ ? 0x10 : 0) | (notHaltOk ? 0x20 : 0) |
                                     (tuerZu ? 0x40 : 0));
    s[1] = static_cast<std::uint8_t>((cpuFehler_ ? 0x01 : 0) | (wartetAufStart ? 0x02 : 0) | (ausgaenge_ ? 0x04 : 0) |
                                     (muting ? 0x20 : 0) | (sensor2_ ? 0x40 : 0) | (sensor1_ ? 0x80 : 0));

    // Supply and test pulse terminals are always at 24 V.
    for (int bit : {3, 8, 14, 21, 23}) setzeKlemme(s, bit, true);
    setzeKlemme(s, Klemme::NotHaltA, notHalt_.a);
    setzeKlemme(s, Klemme::NotHaltB, notHalt_.b);
    setzeKlemme(s, Klemme::TuerA, tuer_.a);
    setzeKlemme(s, Klemme::TuerB, tuer_.b);
    setzeKlemme(s, Klemme::Start, startGedrueckt_);
    setzeKlemme(s, Klemme::Ausgang1, ausgaenge_);
    setzeKlemme(s, Klemme::Ausgang2, ausgaenge_);
    setzeKlemme(s, Klemme::Rueckfuehrung, !ausgaenge_);
    setzeKlemme(s, Klemme::AusgangMeldung, ausgaenge_);
    setzeKlemme(s, Klemme::MutingSensor1, sensor1_);
    setzeKlemme(s, Klemme::MutingSensor2, sensor2_);
    setzeKlemme(s, Klemme::MutingLampe, muting);

    // Relay cycles of a short telegram in units of 1024, 10 bits.
    const std::uint32_t zyklen = std::min<std::uint32_t>(relaisZyklen_ >> 10, 1023);
    s[7] = kProgrammVersion;
    s[8] = kFreigabe;
    s[9] = kMutingWerte;
    s[10] = kEingangstypS;
    s[11] = kEingangstypME;
    s[12] = kEingangstypSS;
    s[13] = kBetriebsart;
    s[14] = static_cast<std::uint8_t>(kMutingArt | (zyklen >> 8) << 6);
    s[15] = cpuFehler_ ? cpuFehler_ : static_cast<std::uint8_t>(zyklen);
    return s;
}

Bytes Scenario::next() {
    const std::int64_t t = zeitMs();
    ablauf(t);
    status_ = statusBlock();

    Bytes out;
    if (options_.garbage && zufall(1, 30) == 1) {
        // Stray bytes; an "L" among them is never followed by a kind digit, so no telegram is lost.
        const auto n = zufall(1, 8);
        for (std::int64_t i = 0; i < n; ++i) {
            std::uint8_t b = static_cast<std::uint8_t>(zufall(0, 255));
            if (b == 'L') b = 'l';
            out.push_back(b);
        }
        if (zufall(0, 2) == 0) {
            out.push_back('L');
            out.push_back(static_cast<std::uint8_t>(zufall('4', '9')));
        }
    }

    Bytes telegramm;
    if (t >= naechsterLangerTelegramm_) {
        telegramm = link::langTelegramm(link::langeNutzdaten(status_, relaisZyklen_));
        naechsterLangerTelegramm_ = t + zufall(8000, 12000);
    } else {
        telegramm = link::kurzTelegramm(status_);
    }
    if (options_.crcErrors && zufall(1, 40) == 1) {
        // One bit flipped on the line, in the payload or the check byte.
        const auto pos = static_cast<std::size_t>(zufall(2, static_cast<std::int64_t>(telegramm.size()) - 1));
        telegramm[pos] ^= static_cast<std::uint8_t>(1U << zufall(0, 7));
    }
    out.insert(out.end(), telegramm.begin(), telegramm.end());
    bytes_ += out.size();
    return out;
}

}  // namespace krv::sim
