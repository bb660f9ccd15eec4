// The real file ports: writes that reach the disk at once, the system's reasons, a half-written
// record taken back out, reads at offsets of files that change underneath; and the recorder on a
// full disk, where the kernel lets the file grow only up to N bytes (a file size limit: a record
// that does not fit is written in part, then refused).
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>

#include "core/recorder/ProtocolReader.hpp"
#include "platform/PosixFileSink.hpp"
#include "platform/PosixFileSource.hpp"
#include "support/RecorderRig.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::recorder::test {
namespace {

Bytes lies(const std::string& pfad) {
    const std::string s = krv::test::TempVerzeichnis::lies(pfad);
    return Bytes(s.begin(), s.end());
}
std::string text(const Bytes& b) { return std::string(b.begin(), b.end()); }

// While it lives, files of this process grow to at most the set number of bytes; writing beyond
// gives "File too large" instead of the signal that would end the process.
class Dateigrenze {
public:
    Dateigrenze() : altesSignal_(std::signal(SIGXFSZ, SIG_IGN)) { ::getrlimit(RLIMIT_FSIZE, &alt_); }
    ~Dateigrenze() {
        aufheben();
        std::signal(SIGXFSZ, altesSignal_);
    }
    void setze(rlim_t bytes) {
        rlimit neu = alt_;
        neu.rlim_cur = bytes;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &neu), 0);
    }
    void aufheben() { ::setrlimit(RLIMIT_FSIZE, &alt_); }

private:
    void (*altesSignal_)(int);
    rlimit alt_{};
};

TEST(PosixFileSink, WritesReachTheFileAtOnceAndFailuresCarryTheSystemsReason) {
    krv::test::TempVerzeichnis dir;
    platform::PosixFileSink sink;
    const std::string p = dir.pfad("a.log");
    EXPECT_FALSE(sink.exists(p).exists);
    ASSERT_FALSE(sink.open(p, ports::OpenMode::Append));  // created when missing
    EXPECT_TRUE(sink.exists(p).exists);
    ASSERT_FALSE(sink.write(asBytes("old")));
    EXPECT_EQ(text(lies(p)), "old");  // another reader sees it while the file is open
    ASSERT_FALSE(sink.close());
    ASSERT_FALSE(sink.open(p, ports::OpenMode::Append));
    ASSERT_FALSE(sink.write(asBytes("+new")));
    EXPECT_EQ(text(lies(p)), "old+new");
    ASSERT_FALSE(sink.close());
    EXPECT_FALSE(sink.isOpen());
    ASSERT_FALSE(sink.open(p, ports::OpenMode::Replace));
    ASSERT_FALSE(sink.close());
    EXPECT_TRUE(lies(p).empty());

    EXPECT_EQ(sink.open(dir.pfad("fehlt/c.log"), ports::OpenMode::Replace), "No such file or directory");
    EXPECT_FALSE(sink.isOpen());
    ASSERT_FALSE(sink.open("/dev/full", ports::OpenMode::Append));
    EXPECT_EQ(sink.write(asBytes("L0V")), "No space left on device");
    EXPECT_FALSE(sink.close());  // a device has nothing to sync

    // A file size limit of 30 bytes lets a second record in only partly: it is taken back out.
    ASSERT_FALSE(sink.open(p, ports::OpenMode::Replace));
    ASSERT_FALSE(sink.write(Bytes(19, 'x')));
    {
        Dateigrenze grenze;
        grenze.setze(30);
        EXPECT_EQ(sink.write(Bytes(19, 'x')), "File too large");
    }
    EXPECT_EQ(lies(p).size(), 19u);
    ASSERT_FALSE(sink.write(Bytes(19, 'x')));  // the retry lands on the slot grid
    EXPECT_EQ(lies(p), Bytes(38, 'x'));
}

TEST(PosixFileSource, ReadsAtOffsetsAndRefusesWhatIsNoLongerTheFileItOpened) {
    krv::test::TempVerzeichnis dir;
    platform::PosixFileSource quelle;
    const std::string a = dir.schreibe("a.log", "0123456789");
    ports::OpenResult da = quelle.open(a);
    ports::OpenResult db = quelle.open(dir.schreibe("b.log", "xyz"));  // two files open at once
    ASSERT_TRUE(da.file && db.file);
    EXPECT_EQ(da.file->size().size, 10u);
    EXPECT_EQ(text(da.file->read(2, 3).bytes), "234");
    EXPECT_EQ(text(db.file->read(1, 5).bytes), "yz");
    EXPECT_EQ(text(da.file->read(8, 5).bytes), "89");  // fewer at the end, no error
    EXPECT_FALSE(da.file->read(8, 5).error);
    EXPECT_TRUE(da.file->read(1000, 4).bytes.empty());
    std::ofstream(a, std::ios::binary | std::ios::app) << "AB";  // growing is harmless
    EXPECT_EQ(text(da.file->read(9, 3).bytes), "9AB");

    EXPECT_FALSE(quelle.exists(dir.pfad("fehlt.log")).exists);
    EXPECT_FALSE(quelle.exists(a + "/unter.log").error);  // a file is no directory: just missing
    EXPECT_EQ(quelle.open(dir.pfad("fehlt.log")).error, "No such file or directory");
    EXPECT_EQ(quelle.open(dir.pfad().string()).error, "Is a directory");
    ASSERT_EQ(::mkfifo(dir.pfad("fifo").c_str(), 0600), 0);
    EXPECT_EQ(quelle.open(dir.pfad("fifo")).error, "Illegal seek");  // and it does not wait for a writer

    ASSERT_EQ(::truncate(a.c_str(), 4), 0);
    EXPECT_EQ(da.file->read(0, 2).error, "No data available");
    ASSERT_EQ(std::remove(dir.pfad("b.log").c_str()), 0);
    EXPECT_EQ(db.file->read(0, 2).error, "No such file or directory");
    ports::OpenResult dc = quelle.open(dir.schreibe("c.log", "0123456789"));
    std::rename(dir.schreibe("neu.log", "anderes").c_str(), dir.pfad("c.log").c_str());
    EXPECT_EQ(dc.file->read(0, 2).error, "No such file or directory");
}

// Storing CPU data into the very file being replayed: the replay takes the file as it was at its
// start and ends, and the file then holds the old content twice.
TEST(PosixFileSource, ReplayingTheFileThatIsBeingStoredIntoEnds) {
    krv::test::TempVerzeichnis dir;
    platform::PosixFileSink speicher;
    platform::PosixFileSource quelle;
    Fenster r(nullptr, &speicher, &quelle);
    Bytes t;
    for (int i = 0; i < 80; ++i) t = t + link::kurzTelegramm(block(i));
    const std::string p = dir.schreibe("roh.bin", text(t));
    r.dialogs.fileAnswers = {p, p};
    r.dialogs.answers = {ports::MsgResult::No};  // append
    r.form.mnuOpenCpuDatenAbspeichern_Click();
    r.form.mnuStartCpuDatenWiedergabe_Click();
    r.form.mnuCloseCpuDatenAbspeichern_Click();
    EXPECT_EQ(r.angezeigt.size(), 80u);
    EXPECT_FALSE(r.form.cpuDaten().wiedergabeLaeuft());
    EXPECT_EQ(lies(p), t + t);
}

// The Retry/Cancel box carries the system's reason, Retry writes the same record again once
// there is room, and after Cancel the file holds exactly the records written before.
TEST(RecorderDiskFull, RetryWritesTheRecordOnceThereIsRoomAndCancelKeepsEveryRecordBefore) {
    constexpr std::size_t kKopf = 5 + 13 + 7;
    krv::test::TempVerzeichnis dir;
    platform::PosixFileSink sink;
    Fenster r(&sink);
    Dateigrenze grenze;
    const std::string p = dir.pfad("voll.log");
    ASSERT_TRUE(r.starte(p));
    grenze.setze(kKopf + 2 * 19 + 7);  // room for the header group, two records and 7 bytes
    r.dialogs.answers = {ports::MsgResult::Retry, ports::MsgResult::Retry};
    r.dialogs.waehrendBox = [&](std::size_t kasten) {
        if (kasten == 2) grenze.aufheben();  // the first Retry meets the same full disk
    };
    for (int i = 1; i <= 4; ++i) r.sende(block(i));
    ASSERT_EQ(r.dialogs.texte(), std::vector<std::string>(2, "File too large"));
    EXPECT_EQ(r.dialogs.boxes[1].buttons, ports::MsgButtons::RetryCancel);
    EXPECT_EQ(lies(p).size(), kKopf + 3 * 19);  // the half record was taken out, the retried one is there once
    EXPECT_TRUE(r.form.recorder().laeuft());

    grenze.setze(kKopf + 3 * 19 + 11);  // full again: record 4 does not fit, and the user cancels
    r.dialogs.answers = {ports::MsgResult::Cancel};
    r.sende(block(5));
    grenze.aufheben();
    EXPECT_EQ(r.dialogs.boxes.size(), 3u);
    EXPECT_FALSE(r.form.recorder().laeuft());
    EXPECT_FALSE(sink.isOpen());
    EXPECT_FALSE(r.state.PortOffen);
    const Bytes erwartet = version1() + kanaele({}) + trigger(0, 200) + satz(block(1), 1, zeit(2)) +
                           satz(block(2), 1, zeit(3)) + satz(block(3), 1, zeit(4));
    EXPECT_EQ(lies(p), erwartet);
    EXPECT_EQ(leseProtokolldatei(lies(p)).kopf.anzahlDatensaetze, 3u);
    r.sende(block(6));  // nothing more is written or asked for
    EXPECT_EQ(r.dialogs.boxes.size(), 3u);
    EXPECT_EQ(lies(p), erwartet);

    // Stopping on a full disk: the pending run (block 2, twice) does not fit; Cancel closes.
    const std::string q = dir.pfad("stopp.log");
    ASSERT_TRUE(r.starte(q));
    for (int i : {1, 2, 2}) r.sende(block(i));
    grenze.setze(kKopf + 19);
    r.dialogs.answers = {ports::MsgResult::Cancel};
    r.stoppe();
    grenze.aufheben();
    EXPECT_EQ(r.dialogs.texte().back(), "File too large");
    EXPECT_FALSE(sink.isOpen());
    EXPECT_EQ(lies(q), version1() + kanaele({}) + trigger(0, 200) + satz(block(1), 1, zeit(8)));
}

}  // namespace
}  // namespace krv::recorder::test
