// ShowData and the dispatcher, driven through the receive path as the port and playback drive it.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "core/link/Crc8.hpp"
#include "support/LinkRig.hpp"

namespace krv::linktest {
namespace {

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes teil(const Bytes& b, std::size_t von, std::size_t bis) { return {b.begin() + von, b.begin() + bis}; }
Bytes kopf(char type, const Bytes& daten) {
    return Bytes{'L', '0', static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(daten.size())} + daten;
}
Bytes lang(std::uint8_t fill) { return link::langTelegramm(Bytes(256, fill)); }
// A recorded data record "L3": status byte 0, sample count, time (little-endian double), CPU error.
Bytes satz(std::uint8_t status0, std::uint8_t anzahl, double zeit, std::uint8_t cpuFehler) {
    Bytes p{status0, anzahl, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, cpuFehler};
    std::uint64_t bits = 0;
    std::memcpy(&bits, &zeit, 8);
    for (int i = 0; i < 8; ++i) p[7 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    return link::telegramm('3', p);
}
Bytes rueckstau(int anzahl) {
    Bytes all;
    for (int i = 0; i < anzahl; ++i) all = all + kurz(static_cast<std::uint8_t>(i));
    return all;
}

// Everything a header record or a telegram may change, as words "key=value".
std::string stand(test::ReceiveRig& rig) {
    const link::ReceiveState& r = rig.receive.receive();
    const link::DispatchState& d = rig.receive.dispatch();
    std::ostringstream s;
    s.precision(12);
    s << "len=" << r.EmpfangsLaenge() << " pos=" << r.EmpfangsPos << " zust=" << r.EmpfangsZustand
      << " A=" << int{d.SatzAnzahl} << " S=" << int{d.SatzSamples} << " Z=" << d.SatzZeit
      << " F=" << int{d.SatzCpuFehler} << " Tm=" << rig.settings.TriggerModus
      << " Tn=" << rig.playback.TriggerSatzNr << " V=" << rig.playback.LogVersion << " K=";
    for (int k : rig.settings.KanalTab) s << k << ',';
    s << " ini=";
    for (int j = 0; j <= 9; ++j) {
        s << rig.profile.GetPrivateProfileInt("Einstellungen", "TimingKanal" + std::to_string(j), -1) << ',';
    }
    s << " kg=" << rig.hooks.kanaele << " tg=" << rig.hooks.triggerWechsel;
    return s.str();
}

struct Fall {
    const char* name;
    std::vector<Bytes> chunks;  // one ShowData call each
    std::string events;
    std::string stand = {};  // the words of stand() that must be there
    bool laden = false;  // a protocol file is being loaded
};

TEST(Framing, ShowDataCutsChecksAndDispatches) {
    const Bytes k13 = kurz(13);
    const Bytes l = lang(7);
    Bytes falsch = kurz(1);
    falsch[5] = 'L';  // an "L1" inside a damaged telegram is no start
    falsch[6] = '1';
    falsch.back() = link::crc8(teil(falsch, 0, 18)) ^ 0x01;
    Bytes kanaele;
    for (std::uint8_t j = 10; j < 21; ++j) kanaele.push_back(j);
    const Bytes k9 = kopf('K', {1, 2, 3, 4, 5, 6, 7, 8, 9});
    const Fall faelle[] = {
        {"split over three calls", {teil(k13, 0, 2), teil(k13, 2, 12), teil(k13, 12, 19)},
         "|2 |10 blink show1:13 |7", "len=0 pos=1 zust=0"},
        {"garbage before the start", {text("xy") + kurz(3)}, "blink show1:3 |21", "len=0"},
        {"bad CRC: all of it goes, the next one in this call", {falsch + kurz(2)}, "crc blink show1:2 |38"},
        {"one telegram shown per call", {kurz(1) + kurz(2), {}}, "blink show1:1 |38 show1:2 |0", "len=0"},
        {"L5 is no start", {text("L5") + kurz(7)}, "blink show1:7 |21"},
        {"L0 with an unknown type is no header", {kopf('Q', {'a', 'b'}) + kurz(8)}, "blink show1:8 |25"},
        {"fewer than five bytes wait", {text("L1ab")}, "|4", "len=4 pos=1 zust=0"},
        {"long telegram, then damaged", {l, teil(l, 0, 200) + Bytes{8} + teil(l, 201, 259)},
         "blink show2:7 |259 crc |259"},
        {"waiting for the length", {teil(l, 0, 102), teil(l, 102, 259)}, "|102 blink show2:7 |157"},
        {"1024 bytes are kept", {Bytes(1024, 'x')}, "|1024", "len=1024 pos=1021"},
        {"above 1024 cut to the scan position", {Bytes(1025, 'x')}, "|1025", "len=4 pos=1"},
        {"a cut keeps a telegram being collected", {Bytes(1500, 'y') + teil(k13, 0, 10), teil(k13, 10, 19)},
         "|1510 blink show1:13 |9", "len=0"},
        {"version record moves on by five", {kopf('V', Bytes{2} + kurz(5))}, "hdrV20 blink show1:5 |24",
         "V=2"},
        {"header record ending the buffer", {kopf('V', {3})}, "hdrV1 |5", "V=3 len=5"},
        {"trigger count, then one above 32767", {kopf('T', {5, 0xFF, 0x7F}) + text("....."),
                                                 kopf('T', {6, 0x00, 0x80}) + text(".....")},
         "hdrT3 |12 hdrT3 |12", "Tm=6 Tn=32767 tg=2 ini=-1,-1,-1,-1,-1,-1,-1,-1,-1,6,"},
        {"trigger without count",
         {kopf('T', {5, 0x2C, 0x01}) + text("....."), kopf('T', {7}) + text(".....")},
         "hdrT3 |12 hdrT1 |10", "Tm=7 Tn=65535"},
        {"channels: nine taken, scan goes on behind", {kopf('K', kanaele) + kurz(1)},
         "hdrK11 blink show1:1 |34",
         "K=10,11,12,13,14,15,16,17,18, ini=10,11,12,13,14,15,16,17,18,-1, kg=012345678 tg=0"},
        {"incomplete header record waits", {teil(k9, 0, 8), teil(k9, 8, 13) + text("....")}, "|8 hdrK9 |9",
         "K=1,2,3,4,5,6,7,8,9,"},
        {"date record", {kopf('D', text(" +46000,5 ")) + text("....")}, "hdrD10 |18", "Z=46000.5"},
        {"date record without a number",
         {kopf('D', text("46000.5")) + text("...."), kopf('D', text("4 5")) + text("....")},
         "hdrD7 |15 hdrD3 |11", "Z=46000.5"},
        {"data record fields", {satz(0x1D, 7, 46000.25, 0x21)}, "blink show3:29 |19",
         "A=7 S=4 Z=46000.25 F=33"},
        {"CPU error number only with its flag", {satz(0x0D, 2, 0.5, 0x21)}, "blink show3:13 |19",
         "A=2 S=2 F=0"},
        {"live telegram: no count, one sample", {satz(0x1D, 7, 9.5, 3), kurz(0)}, "", "A=0 S=1 Z=9.5 F=3"},
        {"long telegram: no count, one sample", {satz(0x1D, 7, 9.5, 3), l}, "", "A=0 S=1"},
        {"samples stored while loading, no blinking", {satz(0, 7, 1, 0), satz(0, 0, 1, 0)},
         "new4 show3:0 end4 |19 new0 show3:0 end0 |19", "", true},
        {"no samples while not loading", {satz(0, 7, 1, 0), satz(0, 0, 1, 0)},
         "blink show3:0 |19 show3:0 |19"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        test::ReceiveRig rig;
        rig.playback.SimulationsStatus = f.laden ? 1 : 0;
        for (const Bytes& c : f.chunks) rig.receive.ShowData(c);
        if (!f.events.empty()) { EXPECT_EQ(rig.hooks.events, f.events); }
        std::istringstream woerter(f.stand);
        const std::string ist = " " + stand(rig) + " ";
        for (std::string w; woerter >> w;) EXPECT_NE(ist.find(" " + w + " "), std::string::npos) << w << ist;
    }
}

// With a long queue telegrams are recorded but not shown until fewer than 512 bytes wait; then one
// telegram per call again, until everything has been taken.
TEST(Framing, BackLogIsRecordedWithoutDisplayUntilItHasShrunk) {
    const struct {
        const char* name;
        std::vector<Bytes> chunks;
        std::size_t telegramme;
        std::string nichtGezeigt;  // number of telegrams skipped, then the one shown, if any
        std::size_t rest;          // bytes left in the end
    } faelle[] = {
        {"5016 bytes waiting", {rueckstau(264)}, 264, "238 blink show1:238", 0},
        {"4096 waiting are too many", {Bytes(11, 'x') + rueckstau(215)}, 215, "189 blink show1:189", 0},
        {"4095 waiting are shown", {Bytes(10, 'x') + rueckstau(215)}, 215, "0 blink show1:0", 0},
        {"512 are too many catching up", {rueckstau(240) + Bytes(18, 'x')}, 240, "215 blink show1:215", 18},
        {"the low threshold holds across calls", {rueckstau(216) + Bytes(600, 'x'), kurz(0)}, 217, "217", 0},
        {"190,000 bytes in one call, beyond 16 bits", {rueckstau(10000)}, 10000, "9974 blink show1:246", 0},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        test::ReceiveRig rig;
        for (const Bytes& c : f.chunks) rig.receive.ShowData(c);
        std::istringstream woerter(std::exchange(rig.hooks.events, ""));
        int skip = 0;
        std::string gezeigt;
        for (std::string w; woerter >> w;) {
            if (w.rfind("skip", 0) == 0) ++skip;
            else gezeigt += " " + w;
        }
        EXPECT_EQ(std::to_string(skip) + gezeigt.substr(0, gezeigt.find(" |")), f.nichtGezeigt);
        const bool gezeigtEiner = gezeigt.find("show") != std::string::npos;
        EXPECT_EQ(rig.receive.dispatch().AnzeigeSchwelle, gezeigtEiner ? 4096 : 512);
        rig.receive.drain();
        EXPECT_EQ(rig.hooks.events.find("skip"), std::string::npos);
        EXPECT_EQ(rig.hooks.telegrams.size(), f.telegramme);
        EXPECT_EQ(rig.receive.receive().EmpfangsLaenge(), f.rest);
    }
}

TEST(Framing, ActivityIndicatorChangesAtMostOncePerElapsedSecond) {
    test::ReceiveRig rig;
    rig.clock.setMonotonicMs(86'399'000);  // just before midnight: elapsed time counts, not the time of day
    const std::pair<int, bool> schritte[] = {{0, true}, {400, false}, {1200, true}, {1400, false}, {1, true}};
    for (const auto& [nachMs, blinkt] : schritte) {
        rig.clock.advanceMs(nachMs);
        rig.hooks.events.clear();
        rig.receive.ShowData(kurz(0));
        EXPECT_EQ(rig.hooks.events, blinkt ? "blink show1:0 |19" : "show1:0 |19") << nachMs;
    }
}

TEST(Framing, Crc8AndTheTelegramsBuiltWithIt) {
    // Polynomial 0x9B; the step indexes with the old accumulator and XORs the byte in afterwards.
    const std::pair<Bytes, int> faelle[] = {{{}, 0}, {text("abc"), 0xC3}, {{1, 0}, 0x9B}, {{0xFF, 0}, 0x7B}};
    for (const auto& [daten, crc] : faelle) EXPECT_EQ(link::crc8(daten), crc) << daten.size();
    EXPECT_EQ(link::kurzTelegramm({}), text("L1") + Bytes(16, 0) + Bytes{0x42});
    // A long payload: status block at 224, relay cycles from 116, least significant byte first.
    const Bytes p = link::langeNutzdaten({0x0D, 1}, 0x01E240, Bytes(256, 0x11));
    EXPECT_EQ(teil(p, 114, 120), (Bytes{0x11, 0x11, 0x40, 0xE2, 0x01, 0x11}));
    EXPECT_EQ(teil(p, 222, 242), (Bytes{0x11, 0x11, 0x0D, 1} + Bytes(14, 0) + Bytes{0x11, 0x11}));
    EXPECT_EQ(link::langTelegramm(p), text("L2") + p + Bytes{link::crc8(text("L2") + p)});
    for (const auto& [kind, laenge] : {std::pair{'1', 256}, {'2', 16}, {'5', 16}}) {
        EXPECT_THROW(link::telegramm(kind, Bytes(laenge, 0)), std::invalid_argument) << kind;
    }
}

}  // namespace
}  // namespace krv::linktest
