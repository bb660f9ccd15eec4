// Reading a protocol file as playback opens it.
#include "RecorderTestSupport.hpp"

#include "core/recorder/ProtocolReader.hpp"

namespace krv::recorder::test {
namespace {

Bytes kopfsatz(char typ, const Bytes& nutzdaten) {
    Bytes b{'L', '0', static_cast<std::uint8_t>(typ), static_cast<std::uint8_t>(nutzdaten.size())};
    return b + nutzdaten;
}

const Bytes kEinSatz = satz(block(1), 3, 46000.25);

TEST(ProtocolReaderTest, ARecordedFileGivesItsHeaderAndRecordCount) {
    const Bytes datei = version1() + kanaele({1, 2, 3, 4, 5, 6, 7, 8, 9}) + trigger(7, 12) + kEinSatz + kEinSatz;
    const LeseErgebnis r = leseProtokolldatei(datei);
    ASSERT_FALSE(r.ablehnung);
    EXPECT_EQ(r.kopf.version, 1);
    EXPECT_EQ(r.kopf.kanaele, (std::array<int, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_TRUE(r.kopf.trigger);
    EXPECT_EQ(r.kopf.trigger->modus, 7);
    EXPECT_EQ(r.kopf.trigger->anzahl, 12);
    EXPECT_EQ(r.kopf.ersterDatensatzPos, 26u);
    EXPECT_EQ(r.kopf.anzahlDatensaetze, 2u);
}

TEST(ProtocolReaderTest, TheVersionMustComeFromTheFirstFiveBytes) {
    // Valid data records but no version record in front.
    EXPECT_EQ(leseProtokolldatei(kanaele({}) + trigger(0, 200) + kEinSatz).ablehnung, 6013);
    EXPECT_EQ(leseProtokolldatei(kopfsatz('V', {0}) + kEinSatz).ablehnung, 6013);
    // A version record longer than five bytes is not complete within them.
    EXPECT_EQ(leseProtokolldatei(kopfsatz('V', {1, 0, 0}) + kEinSatz).ablehnung, 6013);
    EXPECT_EQ(leseProtokolldatei(Bytes{'x'} + version1() + kEinSatz).ablehnung, 6013);
    EXPECT_EQ(leseProtokolldatei(Bytes{}).ablehnung, 6013);
    // N = 0: the version is still the byte behind N.
    const LeseErgebnis r = leseProtokolldatei(Bytes{'L', '0', 'V', 0, 4} + kEinSatz);
    EXPECT_FALSE(r.ablehnung);
    EXPECT_EQ(r.kopf.version, 4);
}

TEST(ProtocolReaderTest, AFileWithoutAUsableDataRecordIsNoLogFile) {
    EXPECT_EQ(leseProtokolldatei(version1() + kanaele({}) + trigger(0, 200)).ablehnung, 6010);
    // Both bytes of the first "L3" must lie within the first 128 bytes.
    EXPECT_EQ(leseProtokolldatei(version1() + Bytes(122, 0) + kEinSatz).ablehnung, 6010);
    EXPECT_FALSE(leseProtokolldatei(version1() + Bytes(121, 0) + kEinSatz).ablehnung);
    // Only broken slots, or only records with repeat count 0.
    Bytes kaputt = kEinSatz;
    kaputt[18] ^= 0xFF;
    EXPECT_EQ(leseProtokolldatei(version1() + kaputt + kaputt).ablehnung, 6010);
    EXPECT_EQ(leseProtokolldatei(version1() + satz(block(1), 0, 46000.0)).ablehnung, 6010);
    // A partial slot does not count.
    EXPECT_EQ(leseProtokolldatei(version1() + Bytes(kEinSatz.begin(), kEinSatz.end() - 1)).ablehnung, 6010);
}

TEST(ProtocolReaderTest, PartialLastSlotIsLeftOutAndBadSlotsStillCount) {
    Bytes kaputt = kEinSatz;
    kaputt[18] ^= 0xFF;
    const LeseErgebnis r = leseProtokolldatei(version1() + kaputt + kEinSatz + Bytes(18, 'L'));
    ASSERT_FALSE(r.ablehnung);
    EXPECT_EQ(r.kopf.anzahlDatensaetze, 2u);
}

TEST(ProtocolReaderTest, ChannelsComeFromTheFirstChannelRecordStartingFromZero) {
    const LeseErgebnis kurz = leseProtokolldatei(version1() + kopfsatz('K', {5, 6}) +
                                                 kopfsatz('K', {1, 1, 1, 1, 1, 1, 1, 1, 1}) + kEinSatz);
    EXPECT_EQ(kurz.kopf.kanaele, (std::array<int, 9>{5, 6, 0, 0, 0, 0, 0, 0, 0}));

    const LeseErgebnis lang =
        leseProtokolldatei(version1() + kopfsatz('K', {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) + kEinSatz);
    EXPECT_EQ(lang.kopf.kanaele, (std::array<int, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));

    const LeseErgebnis ohne = leseProtokolldatei(version1() + kEinSatz);
    EXPECT_FALSE(ohne.kopf.kanaele);
    EXPECT_FALSE(ohne.kopf.trigger);
}

TEST(ProtocolReaderTest, TriggerCountOnlyFromAThreeByteRecordUpTo32767) {
    const auto lies = [](const Bytes& t) { return *leseProtokolldatei(version1() + t + kEinSatz).kopf.trigger; };
    EXPECT_EQ(lies(kopfsatz('T', {9})).modus, 9);
    EXPECT_EQ(lies(kopfsatz('T', {9})).anzahl, 65535);
    EXPECT_EQ(lies(kopfsatz('T', {2, 0xFF, 0x7F})).anzahl, 32767);
    EXPECT_EQ(lies(kopfsatz('T', {2, 0x00, 0x80})).anzahl, 65535);
    EXPECT_EQ(lies(kopfsatz('T', {2, 1, 0, 0})).anzahl, 65535);
    // Only the first trigger record counts.
    EXPECT_EQ(lies(trigger(3, 5) + trigger(4, 6)).modus, 3);
}

TEST(ProtocolReaderTest, AnAppendedSecondGroupOnlyOccupiesSlots) {
    const Bytes gruppe = version1() + kanaele({2}) + trigger(0, 200) + kEinSatz;
    const LeseErgebnis r = leseProtokolldatei(gruppe + gruppe);
    ASSERT_FALSE(r.ablehnung);
    EXPECT_EQ(r.kopf.kanaele, (std::array<int, 9>{2, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.kopf.anzahlDatensaetze, (gruppe.size() * 2 - 25) / 19);
}

}  // namespace
}  // namespace krv::recorder::test
