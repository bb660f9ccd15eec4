// The protocol file's records, date values and the reader's rules, as playback opens a file.
#include <cmath>
#include <limits>

#include "core/recorder/ProtocolReader.hpp"
#include "support/RecorderRig.hpp"

namespace krv::recorder::test {
namespace {

Bytes hex(const std::string& text) {
    Bytes b;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) b.push_back(std::stoi(text.substr(i, 2), nullptr, 16));
    return b;
}
Bytes kopfsatz(char typ, const Bytes& nutzdaten) {
    return Bytes{'L', '0', static_cast<std::uint8_t>(typ), static_cast<std::uint8_t>(nutzdaten.size())} + nutzdaten;
}

TEST(ProtocolFile, RecordsAreWrittenByteForByte) {
    // A run of 2 of the record-mode0 example's first telegram, ended at 2026-12-06 08:00:00.750.
    const Bytes payload = hex("19ecef8d1ffe547d77b212646c5e6622");
    StatusBlock roh{};
    std::copy(payload.begin(), payload.end(), roh.begin());
    const Datensatz d = datenSatz(normalisiere(roh), 2, datumswert({2026, 12, 6, 8, 0, 0, 750}));
    EXPECT_EQ(Bytes(d.begin(), d.end()), hex("4c331902ef8f1ffe5401dfbcaa4aa3e640221d"));
    // Without the CPU error flag byte 15 is not kept; bits 1 of byte 3 and 0 of byte 4 always set.
    EXPECT_EQ(normalisiere({0xEC, 0x99, 1, 0, 0, 2, 3, 1, 2, 3, 4, 5, 6, 7, 8, 0x77}),
              (StatusBlock{0x0C, 0, 1, 2, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(versionsSatz(), version1());
    EXPECT_EQ(kanalSatz({1, 0, 36, 0, 0, 0, 0, 0, 9}), kanaele({1, 0, 36, 0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(triggerSatz(37, 200), trigger(37, 200));
    EXPECT_EQ(triggerSatz(1, -2), trigger(1, 0xFFFE));

    const DatensatzInhalt inhalt = leseDatensatz(d);
    EXPECT_EQ(inhalt.wiederholungen, 2);
    EXPECT_EQ(zeitText(inhalt.zeit), "2026-12-06 08:00:00.750");
    Bytes b(d.begin(), d.end());
    EXPECT_TRUE(istDatensatz(b));
    b[18] ^= 1;
    EXPECT_FALSE(istDatensatz(b));
    EXPECT_FALSE(istDatensatz(link::kurzTelegramm(link::StatusBlock{})));  // "L1" with a good CRC
}

TEST(ProtocolFile, TriggerModesWatchTheTerminalBitsMostSignificantFirst) {
    const std::tuple<int, std::size_t, std::uint8_t> tabelle[] = {
        {1, 0, 0x10}, {2, 2, 0x80}, {9, 2, 0x01}, {10, 3, 0x80}, {17, 3, 0x01}, {37, 6, 0x10}, {0, 0, 0}, {38, 0, 0}};
    for (const auto& [modus, byte, maske] : tabelle) {
        SCOPED_TRACE(modus);
        const auto b = triggerBit(modus);
        ASSERT_EQ(b.has_value(), maske != 0);
        if (b) EXPECT_EQ(std::make_pair(b->byte, b->maske), std::make_pair(byte, maske));
    }
}

TEST(ProtocolFile, DateValuesCountDaysFrom1899_12_30AndShowToTheMillisecond) {
    EXPECT_EQ(datumswert({1900, 1, 1, 12, 0, 0, 0}), 2.5);
    EXPECT_EQ(datumswert({1970, 1, 1, 6, 0, 0, 0}), 25569.25);
    const std::pair<double, const char*> texte[] = {
        {0.0, "1899-12-30 00:00:00.000"},
        {1.0 / 2048, "1899-12-30 00:00:42.188"},  // exactly 42187.5 ms: half up
        {46362.0 + 1.0 / 2048, "2026-12-06 00:00:42.188"},
        {std::nextafter(3.0, 0.0), "1900-01-02 00:00:00.000"},  // just below midnight
        {2958465.5, "9999-12-31 12:00:00.000"},
        {-0.25, "invalid-time"},
        {2958466.0, "invalid-time"},
        {std::numeric_limits<double>::quiet_NaN(), "invalid-time"}};
    for (const auto& [wert, text] : texte) EXPECT_EQ(zeitText(wert), text) << wert;
    for (int ms = 0; ms < 86'400'000; ms += 7'777'777) {
        const Zeitpunkt z{2026, 12, 31, ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60, ms % 1000};
        char erwartet[32];
        std::snprintf(erwartet, sizeof erwartet, "2026-12-31 %02d:%02d:%02d.%03d", z.stunde, z.minute, z.sekunde,
                      z.millisekunde);
        EXPECT_EQ(zeitText(datumswert(z)), erwartet);
    }
}

// What playback finds in a file: the rejection, the channels and trigger of the header area,
// where the data area starts and how many whole 19-byte slots it holds.
TEST(ProtocolReader, FilesAreAcceptedOrRefusedAsPlaybackOpensThem) {
    const Bytes s = satz(block(1), 3, 46000.25);
    Bytes kaputt = s;
    kaputt[18] ^= 0xFF;
    const std::array<int, 9> ohne{};
    struct Fall {
        const char* name;
        Bytes datei;
        int ablehnung;  // 0 = accepted
        std::size_t erster, anzahl;
        std::optional<std::array<int, 9>> kanaele;
        int modus, triggerAnzahl;  // modus -1: no trigger record
    };
    const Fall faelle[] = {
        {"recorded", version1() + kanaele({1, 2, 3, 4, 5, 6, 7, 8, 9}) + trigger(7, 12) + s + s, 0, 26, 2,
         std::array<int, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}, 7, 12},
        {"no version record", kanaele({}) + trigger(0, 200) + s, 6013, 0, 0, {}, -1, 0},
        {"version 0", kopfsatz('V', {0}) + s, 6013, 0, 0, {}, -1, 0},
        {"version not within 5 bytes", kopfsatz('V', {1, 0, 0}) + s, 6013, 0, 0, {}, -1, 0},
        {"version not first", Bytes{'x'} + version1() + s, 6013, 0, 0, {}, -1, 0},
        {"empty", {}, 6013, 0, 0, {}, -1, 0},
        {"N = 0 still has the version byte", Bytes{'L', '0', 'V', 0, 4} + s, 0, 6, 1, {}, -1, 0},
        {"header only", version1() + kanaele({}) + trigger(0, 200), 6010, 0, 0, ohne, 0, 200},
        {"L3 at 128/129", version1() + Bytes(122, 0) + s, 6010, 0, 0, {}, -1, 0},
        {"L3 at 127/128", version1() + Bytes(121, 0) + s, 0, 127, 1, {}, -1, 0},
        {"bad check bytes only", version1() + kaputt + kaputt, 6010, 6, 2, {}, -1, 0},
        {"count 0 only", version1() + satz(block(1), 0, 46000.0), 6010, 6, 1, {}, -1, 0},
        {"partial slot only", version1() + Bytes(s.begin(), s.end() - 1), 6010, 6, 0, {}, -1, 0},
        {"bad slot and partial slot", version1() + kaputt + s + Bytes(18, 'L'), 0, 6, 2, {}, -1, 0},
        {"short and second channel record", version1() + kopfsatz('K', {5, 6}) + kanaele({1, 1, 1}) + s, 0, 0, 1,
         std::array<int, 9>{5, 6}, -1, 0},
        {"long channel record", version1() + kopfsatz('K', {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) + s, 0, 0, 1,
         std::array<int, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}, -1, 0},
        {"trigger without count", version1() + kopfsatz('T', {9}) + s, 0, 0, 1, {}, 9, 65535},
        {"trigger count 32767", version1() + kopfsatz('T', {2, 0xFF, 0x7F}) + s, 0, 0, 1, {}, 2, 32767},
        {"trigger count 32768", version1() + kopfsatz('T', {2, 0x00, 0x80}) + s, 0, 0, 1, {}, 2, 65535},
        {"trigger N = 4", version1() + kopfsatz('T', {2, 1, 0, 0}) + s, 0, 0, 1, {}, 2, 65535},
        {"first trigger counts", version1() + trigger(3, 5) + trigger(4, 6) + s, 0, 20, 1, {}, 3, 5},
        {"appended group", version1() + kanaele({2}) + s + version1() + kanaele({4}) + s, 0, 19, 2,
         std::array<int, 9>{2}, -1, 0},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const LeseErgebnis r = leseProtokolldatei(f.datei);
        EXPECT_EQ(r.ablehnung.value_or(0), f.ablehnung);
        if (f.ablehnung == 6013) continue;
        if (f.erster) EXPECT_EQ(r.kopf.ersterDatensatzPos, f.erster);
        EXPECT_EQ(r.kopf.anzahlDatensaetze, f.anzahl);
        if (f.ablehnung) continue;
        EXPECT_GE(r.kopf.version, 1);
        EXPECT_EQ(r.kopf.kanaele, f.kanaele);
        ASSERT_EQ(r.kopf.trigger.has_value(), f.modus >= 0);
        if (r.kopf.trigger) EXPECT_EQ(std::make_pair(r.kopf.trigger->modus, r.kopf.trigger->anzahl),
                                      std::make_pair(f.modus, f.triggerAnzahl));
    }
    EXPECT_EQ(leseProtokolldatei(Bytes{'L', '0', 'V', 0, 4} + s).kopf.version, 4);
}

}  // namespace
}  // namespace krv::recorder::test
