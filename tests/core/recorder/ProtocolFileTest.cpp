// The protocol file's records, date values and the reader's rules, as playback opens a file.
#include <cmath>

#include "core/recorder/ProtocolReader.hpp"
#include "core/recorder/Wiedergabe.hpp"
#include "support/RecorderRig.hpp"

namespace krv::recorder::test {
namespace {

Bytes kopfsatz(char typ, const Bytes& daten) {
    return Bytes{'L', '0', static_cast<std::uint8_t>(typ), static_cast<std::uint8_t>(daten.size())} + daten;
}

// The writer's records against the ones spelled out here (the recorder tests see the rest), and
// date values as the dump shows them.
TEST(ProtocolFile, RecordsAndDateValuesAreWrittenAndReadBack) {
    const StatusBlock roh{0xEC, 0x99, 1, 0, 0, 2, 3, 1, 2, 3, 4, 5, 6, 7, 8, 0x77};
    const Datensatz d = datenSatz(normalisiere(roh), 2, zeit(5));
    Bytes b(d.begin(), d.end());
    EXPECT_EQ(b, satz(roh, 2, zeit(5)));
    EXPECT_EQ(std::tuple(leseDatensatz(d).wiederholungen, leseDatensatz(d).zeit, istDatensatz(b)),
              std::tuple(std::uint8_t{2}, zeit(5), true));
    b[18] ^= 1;
    EXPECT_FALSE(istDatensatz(b) || istDatensatz(link::kurzTelegramm({})));  // nor "L1" with a good CRC
    EXPECT_EQ(std::pair(datumswert({1900, 1, 1, 12}), datumswert({1970, 1, 1, 6})), std::pair(2.5, 25569.25));
    const std::pair<double, const char*> texte[] = {
        {0.0, "1899-12-30 00:00:00.000"}, {1.0 / 2048, "1899-12-30 00:00:42.188"},  // 42187.5 ms: half up
        {46362.0 + 1.0 / 2048, "2026-12-06 00:00:42.188"}, {2958465.5, "9999-12-31 12:00:00.000"},
        {std::nextafter(3.0, 0.0), "1900-01-02 00:00:00.000"},  // just below midnight
        {-0.25, "invalid-time"}, {2958466.0, "invalid-time"}, {std::nan(""), "invalid-time"}};
    for (const auto& [wert, text] : texte) EXPECT_EQ(zeitText(wert), text) << wert;
    // The labels' general date format: to the second, only the date at midnight, only the time on day 0.
    const std::pair<double, const char*> labels[] = {{zeit(-36000), "2026-03-01"}, {7.5 / 24, "07:30:00"},
        {0.0, "00:00:00"}, {zeit(50399) + 0.6 / 86400, "2026-03-02"}, {-5.0, ""}, {std::nan(""), ""}};
    for (const auto& [wert, text] : labels) EXPECT_EQ(allgemeinesDatum(wert), text) << wert;
    const Bytes zwei(10 + 2 * 19, 0);  // slots are whole 19-byte records from the first one
    EXPECT_EQ(std::tuple(slot(zwei, 11, 1).data(), slot(zwei, 11, 2).empty(), anzahlDatensaetze(94, 26)),
              std::tuple(zwei.data() + 29, true, std::size_t{3}));
}

// What playback finds in a file: the rejection, the channels and trigger of the header area,
// where the data area starts and how many whole 19-byte slots it holds.
TEST(ProtocolReader, FilesAreAcceptedOrRefusedAsPlaybackOpensThem) {
    const Bytes s = satz(block(1), 3, 46000.25);
    Bytes kaputt = s;
    kaputt[18] ^= 0xFF;
    struct Fall {
        const char* name;
        Bytes datei;
        int ablehnung;  // 0 = accepted
        std::size_t erster = 0, anzahl = 0;
        std::optional<std::array<int, 9>> kanaele = {};
        int modus = -1, triggerAnzahl = 0;  // modus -1: no trigger record
    };
    using K = std::array<int, 9>;
    const Fall faelle[] = {
        {"recorded", version1() + kanaele({1, 2, 3, 4, 5, 6, 7, 8, 9}) + trigger(7, 12) + s + s, 0, 26, 2,
         K{1, 2, 3, 4, 5, 6, 7, 8, 9}, 7, 12},
        {"no version record", kanaele({}) + trigger(0, 200) + s, 6013}, {"empty", {}, 6013},
        {"version 0", kopfsatz('V', {0}) + s, 6013}, {"version not first", Bytes{'x'} + version1() + s, 6013},
        {"version not within 5 bytes", kopfsatz('V', {1, 0, 0}) + s, 6013},
        {"N = 0 still has the version byte", Bytes{'L', '0', 'V', 0, 4} + s, 0, 6, 1},
        {"header only", version1() + kanaele({}) + trigger(0, 200), 6010},
        {"L3 at 128/129", version1() + Bytes(122, 0) + s, 6010},
        {"L3 at 127/128", version1() + Bytes(121, 0) + s, 0, 127, 1},
        {"bad check bytes only", version1() + kaputt + kaputt, 6010, 6, 2},
        {"count 0 only", version1() + satz(block(1), 0, 46000.0), 6010, 6, 1},
        {"partial slot only", version1() + Bytes(s.begin(), s.end() - 1), 6010, 6, 0},
        {"bad slot and partial slot", version1() + kaputt + s + Bytes(18, 'L'), 0, 6, 2},
        {"short K record, one more", version1() + kopfsatz('K', {5, 6}) + kanaele({}) + s, 0, 0, 1, K{5, 6}},
        {"long channel record", version1() + kopfsatz('K', {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}) + s, 0, 0, 1,
         K{1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"trigger without count", version1() + kopfsatz('T', {9}) + s, 0, 0, 1, {}, 9, 65535},
        {"trigger count 32767", version1() + kopfsatz('T', {2, 0xFF, 0x7F}) + s, 0, 0, 1, {}, 2, 32767},
        {"trigger count 32768", version1() + kopfsatz('T', {2, 0x00, 0x80}) + s, 0, 0, 1, {}, 2, 65535},
        {"trigger N = 4", version1() + kopfsatz('T', {2, 1, 0, 0}) + s, 0, 0, 1, {}, 2, 65535},
        {"first trigger counts", version1() + trigger(3, 5) + trigger(4, 6) + s, 0, 20, 1, {}, 3, 5},
        {"appended group", version1() + kanaele({2}) + s + version1() + kanaele({4}) + s, 0, 19, 2, K{2}}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const LeseErgebnis r = leseProtokolldatei(f.datei);
        EXPECT_EQ(r.ablehnung.value_or(0), f.ablehnung);
        if (f.ablehnung == 6013) continue;
        if (f.erster) { EXPECT_EQ(r.kopf.ersterDatensatzPos, f.erster); }
        EXPECT_EQ(r.kopf.anzahlDatensaetze, f.anzahl);
        if (f.ablehnung) continue;
        EXPECT_EQ(r.kopf.kanaele, f.kanaele);
        const TriggerAngabe t = r.kopf.trigger.value_or(TriggerAngabe{-1, 0});
        EXPECT_EQ(std::pair(t.modus, t.anzahl), std::pair(f.modus, f.triggerAnzahl));
    }
    EXPECT_EQ(leseProtokolldatei(Bytes{'L', '0', 'V', 0, 4} + s).kopf.version, 4);
}

}  // namespace
}  // namespace krv::recorder::test
