// The files the recorder writes, byte for byte.
#include "RecorderTestSupport.hpp"

#include "core/recorder/ProtocolReader.hpp"

namespace krv::recorder::test {
namespace {

using RecorderFileTest = RecorderFixture;

TEST_F(RecorderFileTest, IdenticalTelegramsThenStopGiveOneRecordWithSaturatedCountAndStopTime) {
    state.einstellungen.KanalTab = {1, 2, 3, 4, 5, 6, 7, 8, 36};
    starte();
    link::StatusBlock roh = block(1);
    for (int i = 0; i < 300; ++i) {
        // Bytes 1 and 7..14 are not part of the status, nor bit 1 of byte 3 or bit 0 of byte 4.
        roh[1] = static_cast<std::uint8_t>(i);
        roh[9] = static_cast<std::uint8_t>(i * 3);
        roh[3] = (i % 2) ? 0x02 : 0x00;
        roh[4] = (i % 3) ? 0x01 : 0x00;
        sende(roh);
    }
    stoppe();

    const Bytes erwartet =
        version1() + kanaele({1, 2, 3, 4, 5, 6, 7, 8, 36}) + trigger(0, 200) + satz(roh, 255, zeit(301));
    EXPECT_EQ(datei(), erwartet);
    EXPECT_FALSE(files.isOpen());
    EXPECT_GE(files.syncs, 1);
}

TEST_F(RecorderFileTest, StatusChangesEndRunsStampedWithTheTimeOfTheChange) {
    starte();
    sende(block(1));
    sende(block(1));
    sende(block(2));
    sende(block(1));
    sende(block(1));
    sende(block(1));
    stoppe();

    EXPECT_EQ(datei(), version1() + kanaele({}) + trigger(0, 200) + satz(block(1), 2, zeit(3)) +
                           satz(block(2), 1, zeit(4)) + satz(block(1), 3, zeit(7)));
}

TEST_F(RecorderFileTest, LongTelegramsAreRecordedFromTheirStatusBlock) {
    starte();
    link::StatusBlock cpuFehler = block(7, 0x1D);
    cpuFehler[15] = 0x33;
    sendeRoh(link::langTelegramm(link::langeNutzdaten(cpuFehler, 123456, Bytes(256, 0xAA))));
    stoppe();
    EXPECT_EQ(datei(), version1() + kanaele({}) + trigger(0, 200) + satz(cpuFehler, 1, zeit(2)));
}

TEST_F(RecorderFileTest, NoTelegramInModeZeroLeavesAKeptFileUnchangedAndAReplacedOneEmpty) {
    files.files["/rec/alt.log"] = {'a', 'b', 'c'};
    starte("/rec/alt.log", ports::OpenMode::Append);
    stoppe();
    EXPECT_EQ(datei("/rec/alt.log"), (Bytes{'a', 'b', 'c'}));

    starte("/rec/alt.log", ports::OpenMode::Replace);
    stoppe();
    EXPECT_TRUE(datei("/rec/alt.log").empty());
}

TEST_F(RecorderFileTest, NoTelegramInATriggerModeWritesALoneTriggerRecord) {
    state.einstellungen.TriggerModus = 5;
    starte();
    stoppe();
    EXPECT_EQ(datei(), trigger(5, 200));
}

TEST_F(RecorderFileTest, AppendingPutsASecondHeaderGroupBehindTheOldContent) {
    starte();
    sende(block(1));
    stoppe();
    const Bytes erste = datei();

    state.einstellungen.KanalTab[0] = 9;
    starte("/rec/a.log", ports::OpenMode::Append);
    sende(block(2));
    sende(block(3));
    stoppe();

    EXPECT_EQ(datei(), erste + version1() + kanaele({9}) + trigger(0, 200) + satz(block(2), 1, zeit(3)) +
                           satz(block(3), 1, zeit(4)));
}

TEST_F(RecorderFileTest, TriggerFiresOnTheCpuErrorFlagAndTheRecordingStops30ChangesLater) {
    state.einstellungen.TriggerModus = 1;
    starte();
    std::vector<link::StatusBlock> folge;
    for (int i = 0; i < 5; ++i) folge.push_back(block(i));
    folge.push_back(block(5, 0x15));  // CPU error flag
    for (int i = 6; i < 45; ++i) folge.push_back(block(i));
    Bytes strom;
    for (const auto& b : folge) strom = strom + link::kurzTelegramm(b);
    sendeRoh(strom);

    // The 30th change after the trigger record (telegram 36) ends the recording and stops the
    // data transfer, which empties the receive buffer: the telegrams behind it are never seen.
    EXPECT_FALSE(rec.laeuft());
    EXPECT_EQ(hooks.angenommen, 36);
    EXPECT_EQ(host.transferStops, 1);
    Bytes erwartet = version1() + kanaele({}) + trigger(1, 6);
    for (int i = 0; i < 34; ++i) erwartet = erwartet + satz(folge[i], 1, zeit(i + 2));
    erwartet = erwartet + satz(folge[34], 1, zeit(36));
    EXPECT_EQ(datei(), erwartet);
    EXPECT_EQ(meldungen(), std::vector<std::string>{"Datenrecorder stop. Trigger ausgelöst."});
    EXPECT_EQ(dialogs.boxes[0].icon, ports::MsgIcon::Information);
}

TEST_F(RecorderFileTest, TerminalTriggerComparesWithTheFirstTelegramsBit) {
    state.einstellungen.TriggerModus = 2 + 8 + 3;  // terminal bit 11: byte 3, mask 0x10
    starte();
    link::StatusBlock b0 = block(0);
    b0[3] = 0x10;
    link::StatusBlock b1 = block(1);
    b1[3] = 0x10;
    link::StatusBlock b2 = block(2);  // bit cleared: the trigger
    sende(b0);
    sende(b1);
    sende(b2);
    sende(block(3));
    stoppe();
    EXPECT_EQ(datei(), version1() + kanaele({}) + trigger(13, 3) + satz(b0, 1, zeit(2)) + satz(b1, 1, zeit(3)) +
                           satz(b2, 1, zeit(4)) + satz(block(3), 1, zeit(5)));
}

TEST_F(RecorderFileTest, TriggerOnABitTheFileForcesNeverFires) {
    state.einstellungen.TriggerModus = 2 + 8 + 6;  // byte 3, mask 0x02: always stored as 1
    starte();
    sende(block(0));  // raw bit 0 in every telegram
    sende(block(1));
    sende(block(2));
    stoppe();
    EXPECT_EQ(rec.zustand().RecTriggerIndex, -1);
    EXPECT_EQ(datei(), version1() + kanaele({}) + trigger(16, 200) + satz(block(0), 1, zeit(2)) +
                           satz(block(1), 1, zeit(3)) + satz(block(2), 1, zeit(4)));
}

TEST_F(RecorderFileTest, NeverFiringWithAWrappedRingKeepsTheLast199Records) {
    state.einstellungen.TriggerModus = 1;
    starte();
    for (int i = 0; i < 250; ++i) sende(block(i));
    stoppe();

    // 250 records were built; the ring start moved to 51, so the count is 200 - 51.
    Bytes erwartet = version1() + kanaele({}) + trigger(1, 149);
    for (int i = 51; i < 250; ++i) erwartet = erwartet + satz(block(i), 1, zeit(i + 2));
    EXPECT_EQ(datei(), erwartet);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(RecorderFileTest, MaximumClosesAfterRecord52632AndSaysSo) {
    starte();
    const link::StatusBlock a = block(1);
    const link::StatusBlock b = block(2);
    Bytes erwartet = version1() + kanaele({}) + trigger(0, 200);
    erwartet.reserve(erwartet.size() + 52632 * 19);
    const int telegramme = 52633;
    for (int i = 1; i <= telegramme + 5; ++i) {
        sende(i % 2 ? a : b);
        if (i >= 2 && i <= telegramme) {
            const Bytes s = satz(i % 2 ? b : a, 1, zeit(i));
            erwartet.insert(erwartet.end(), s.begin(), s.end());
        }
    }
    EXPECT_FALSE(rec.laeuft());
    EXPECT_EQ(rec.zustand().RecSatzZaehler, 52632);
    EXPECT_EQ(datei().size(), 25u + 52632u * 19u);
    EXPECT_EQ(datei(), erwartet);
    EXPECT_EQ(meldungen(), std::vector<std::string>{"Maximum der Datenrecorder-Datei erreicht"});
    EXPECT_EQ(host.transferStops, 1);
}

TEST_F(RecorderFileTest, WriteErrorRetryThenCancelEndsTheRecordingWithAReadableFile) {
    starte();
    sende(block(1));
    sende(block(2));  // record 1 written
    files.failingWrites = 2;
    dialogs.answers = {ports::MsgResult::Retry, ports::MsgResult::Cancel};
    sende(block(3));  // record 2 fails twice, then Cancel
    const int versuche = files.writeAttempts;
    sende(block(4));

    ASSERT_EQ(dialogs.boxes.size(), 2u);
    for (const auto& box : dialogs.boxes) {
        EXPECT_EQ(box.text, "No space left on device");
        EXPECT_EQ(box.buttons, ports::MsgButtons::RetryCancel);
        EXPECT_EQ(box.icon, ports::MsgIcon::Critical);
    }
    EXPECT_FALSE(rec.laeuft());
    EXPECT_FALSE(files.isOpen());
    EXPECT_EQ(files.writeAttempts, versuche);  // nothing tried after Cancel
    EXPECT_TRUE(controls.mnuOpenLog.enabled());
    EXPECT_EQ(datei(), version1() + kanaele({}) + trigger(0, 200) + satz(block(1), 1, zeit(2)));

    const LeseErgebnis gelesen = leseProtokolldatei(datei());
    EXPECT_FALSE(gelesen.ablehnung);
    EXPECT_EQ(gelesen.kopf.anzahlDatensaetze, 1u);
}

TEST_F(RecorderFileTest, WriteErrorRetriedSuccessfullyWritesTheRecordOnce) {
    starte();
    sende(block(1));
    files.failingWrites = 1;
    dialogs.answers = {ports::MsgResult::Retry};
    sende(block(2));
    stoppe();
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(datei(), version1() + kanaele({}) + trigger(0, 200) + satz(block(1), 1, zeit(2)) +
                           satz(block(2), 1, zeit(3)));
}

TEST_F(RecorderFileTest, CancelWhileWritingTheHeaderEndsWithoutFurtherWrites) {
    state.einstellungen.TriggerModus = 3;
    starte();
    files.failingWrites = 1;
    dialogs.answers = {ports::MsgResult::Cancel};
    sende(block(1));
    EXPECT_FALSE(rec.laeuft());
    EXPECT_EQ(files.writeAttempts, 1);  // not even the trigger record at the end
    EXPECT_TRUE(datei().empty());
}

TEST_F(RecorderFileTest, EndingWhileThePortIsGoneStillStoresThePendingRunAndTheRing) {
    state.einstellungen.TriggerModus = 1;
    starte();
    sende(block(1));
    sende(block(2));
    host.transferLaeuft = false;  // the device went away and the port was closed
    stoppe();
    EXPECT_EQ(host.transferStops, 0);
    EXPECT_EQ(datei(), version1() + kanaele({}) + trigger(1, 200) + satz(block(1), 1, zeit(2)) +
                           satz(block(2), 1, zeit(3)));
}

}  // namespace
}  // namespace krv::recorder::test
