#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "core/link/TelegramBuilder.hpp"
#include "core/recorder/ProtocolFile.hpp"

namespace krv::recorder {
namespace {

Bytes hex(const std::string& text) {
    Bytes b;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        b.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return b;
}

TEST(ProtocolFileTest, NormalisationClearsWhatTheFileDoesNotKeep) {
    const StatusBlock roh{0xEC, 0x99, 0x01, 0x00, 0x00, 0x02, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 0x77};
    EXPECT_EQ(normalisiere(roh), (StatusBlock{0x0C, 0, 0x01, 0x02, 0x01, 0x02, 0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    // With the CPU error flag the error number stays.
    const StatusBlock fehler{0xF9, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x22};
    EXPECT_EQ(normalisiere(fehler), (StatusBlock{0x19, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x22}));
}

TEST(ProtocolFileTest, DataRecordMatchesTheWorkedExample) {
    // First telegram of the record-mode0 example, run of 2, ended at 2026-12-06 08:00:00.750.
    const Bytes payload = hex("19ecef8d1ffe547d77b212646c5e6622");
    StatusBlock roh{};
    std::copy(payload.begin(), payload.end(), roh.begin());
    const Datensatz satz = datenSatz(normalisiere(roh), 2, datumswert({2026, 12, 6, 8, 0, 0, 750}));
    EXPECT_EQ(Bytes(satz.begin(), satz.end()), hex("4c33" "1902ef8f1ffe5401dfbcaa4aa3e64022" "1d"));
    EXPECT_TRUE(istDatensatz(satz));
}

TEST(ProtocolFileTest, HeaderRecords) {
    EXPECT_EQ(versionsSatz(), hex("4c30560101"));
    EXPECT_EQ(kanalSatz({1, 0, 36, 0, 0, 0, 0, 0, 9}), hex("4c304b09" "010024000000000009"));
    EXPECT_EQ(triggerSatz(37, 200), hex("4c305403" "25c800"));
    EXPECT_EQ(triggerSatz(1, -2), hex("4c305403" "01feff"));
}

TEST(ProtocolFileTest, TriggerModesWatchTheTerminalBitsMostSignificantFirst) {
    const std::pair<int, TriggerBit> tabelle[] = {
        {1, {0, 0x10}}, {2, {2, 0x80}}, {9, {2, 0x01}}, {10, {3, 0x80}}, {17, {3, 0x01}}, {37, {6, 0x10}}};
    for (const auto& [modus, bit] : tabelle) {
        const auto b = triggerBit(modus);
        ASSERT_TRUE(b) << modus;
        EXPECT_EQ(b->byte, bit.byte) << modus;
        EXPECT_EQ(b->maske, bit.maske) << modus;
    }
    EXPECT_FALSE(triggerBit(0));
    EXPECT_FALSE(triggerBit(38));
}

TEST(ProtocolFileTest, DateValueCountsDaysFrom1899_12_30) {
    EXPECT_EQ(datumswert({1899, 12, 30, 0, 0, 0, 0}), 0.0);
    EXPECT_EQ(datumswert({1900, 1, 1, 12, 0, 0, 0}), 2.5);
    EXPECT_EQ(datumswert({1970, 1, 1, 6, 0, 0, 0}), 25569.25);
    const double wert = datumswert({2026, 12, 6, 8, 0, 0, 750});
    std::uint64_t bits = 0;
    std::memcpy(&bits, &wert, 8);
    EXPECT_EQ(bits, 0x40e6a34aaabcdf01u);
}

TEST(ProtocolFileTest, DateValuesRoundTripToTheMillisecond) {
    for (int jahr : {1900, 1999, 2026, 9999}) {
        for (int ms = 0; ms < 86'400'000; ms += 7'777'777) {
            const Zeitpunkt z{jahr, 12, 31, ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60, ms % 1000};
            const auto zurueck = zeitpunkt(datumswert(z));
            ASSERT_TRUE(zurueck);
            EXPECT_EQ(zeitText(datumswert(z)), zeitText(datumswert(*zurueck)));
            EXPECT_EQ(zurueck->millisekunde, z.millisekunde);
            EXPECT_EQ(zurueck->sekunde, z.sekunde);
            EXPECT_EQ(zurueck->stunde, z.stunde);
        }
    }
}

TEST(ProtocolFileTest, TimeTextRoundsHalfUpAndRejectsValuesOutsideTheRange) {
    // 1/2048 day is exactly 42187.5 ms.
    EXPECT_EQ(zeitText(1.0 / 2048), "1899-12-30 00:00:42.188");
    EXPECT_EQ(zeitText(46362.0 + 1.0 / 2048), "2026-12-06 00:00:42.188");
    // Just below midnight rounds into the next day.
    EXPECT_EQ(zeitText(std::nextafter(3.0, 0.0)), "1900-01-02 00:00:00.000");
    EXPECT_EQ(zeitText(2958465.5), "9999-12-31 12:00:00.000");
    EXPECT_EQ(zeitText(0.0), "1899-12-30 00:00:00.000");
    EXPECT_EQ(zeitText(-0.25), "invalid-time");
    EXPECT_EQ(zeitText(2958466.0), "invalid-time");
    EXPECT_EQ(zeitText(std::numeric_limits<double>::quiet_NaN()), "invalid-time");
    EXPECT_EQ(zeitText(std::numeric_limits<double>::infinity()), "invalid-time");
}

TEST(ProtocolFileTest, FirstDataRecordMustLieWithinTheFirst128Bytes) {
    Bytes datei(200, 0);
    datei[127] = 'L';
    datei[128] = '3';
    EXPECT_FALSE(ersterDatensatzPos(datei));  // "3" is byte 129
    datei[126] = 'L';
    datei[127] = '3';
    EXPECT_EQ(ersterDatensatzPos(datei), 127u);
    EXPECT_FALSE(ersterDatensatzPos(Bytes{'L'}));
}

TEST(ProtocolFileTest, SlotsAreWhole19ByteRecordsFromTheFirstDataRecord) {
    EXPECT_EQ(anzahlDatensaetze(25 + 3 * 19 + 18, 26), 3u);
    EXPECT_EQ(anzahlDatensaetze(25, 26), 0u);
    Bytes datei(10 + 2 * 19, 0);
    EXPECT_EQ(slot(datei, 11, 1).data(), datei.data() + 29);
    EXPECT_TRUE(slot(datei, 11, 2).empty());
}

TEST(ProtocolFileTest, ASlotIsARecordOnlyWithL3AndAMatchingCheckByte) {
    const Datensatz satz = datenSatz(normalisiere(StatusBlock{}), 1, 45000.5);
    Bytes b(satz.begin(), satz.end());
    EXPECT_TRUE(istDatensatz(b));
    b[18] ^= 1;
    EXPECT_FALSE(istDatensatz(b));
    // An "L1" telegram with a correct CRC is no data record.
    const Bytes l1 = link::kurzTelegramm(link::StatusBlock{});
    EXPECT_FALSE(istDatensatz(l1));

    const DatensatzInhalt inhalt = leseDatensatz(satz);
    EXPECT_EQ(inhalt.wiederholungen, 1);
    EXPECT_EQ(inhalt.zeit, 45000.5);
    EXPECT_EQ(inhalt.block[3], 0x02);
}

}  // namespace
}  // namespace krv::recorder
