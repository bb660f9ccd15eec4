// The real file ports: writes that reach the disk at once, the system's reasons, reads at offsets
// of files that change underneath; and the recorder on a full disk, where the kernel lets the file
// grow only up to N bytes (a file size limit: a record that does not fit is written in part).
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

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
Bytes b(std::string_view s) { return Bytes(s.begin(), s.end()); }
std::string text(ports::ReadResult r) { return r.error.value_or(std::string(r.bytes.begin(), r.bytes.end())); }

TEST(PosixFileSink, WritesReachTheFileAtOnceAndFailuresCarryTheSystemsReason) {
    krv::test::TempVerzeichnis dir;
    platform::PosixFileSink sink;
    const std::string p = dir.pfad("a.log");
    EXPECT_FALSE(sink.exists(p).exists);
    ASSERT_FALSE(sink.open(p, ports::OpenMode::Append) || sink.write(asBytes("old")));  // created when missing
    EXPECT_EQ(lies(p), b("old"));  // another reader sees it while the file is open
    ASSERT_FALSE(sink.close() || sink.open(p, ports::OpenMode::Append) || sink.write(asBytes("+new")));
    EXPECT_EQ(lies(p), b("old+new"));
    ASSERT_FALSE(sink.close() || sink.open(p, ports::OpenMode::Replace) || sink.close());
    EXPECT_TRUE(lies(p).empty());
    EXPECT_EQ(sink.open(dir.pfad("fehlt/c.log"), ports::OpenMode::Replace), "No such file or directory");
    ASSERT_FALSE(sink.open("/dev/full", ports::OpenMode::Append));
    EXPECT_EQ(sink.write(asBytes("L0V")), "No space left on device");
    EXPECT_FALSE(sink.close());  // a device has nothing to sync
}

TEST(PosixFileSource, ReadsAtOffsetsAndRefusesWhatIsNoLongerTheFileItOpened) {
    krv::test::TempVerzeichnis dir;
    platform::PosixFileSource quelle;
    const std::string a = dir.schreibe("a.log", "0123456789");
    ports::OpenResult da = quelle.open(a);
    ports::OpenResult db = quelle.open(dir.schreibe("b.log", "xyz"));  // two files open at once
    ASSERT_TRUE(da.file && db.file);
    EXPECT_EQ(da.file->size().size, 10u);
    // Fewer bytes at the end, no error; growing is harmless.
    for (const auto& [von, n, erwartet] : {std::tuple{2, 3, "234"}, {8, 5, "89"}, {1000, 4, ""}}) {
        EXPECT_EQ(text(da.file->read(von, n)), erwartet) << von;
    }
    EXPECT_EQ(text(db.file->read(1, 5)), "yz");
    std::ofstream(a, std::ios::binary | std::ios::app) << "AB";
    EXPECT_EQ(text(da.file->read(9, 3)), "9AB");

    EXPECT_FALSE(quelle.exists(dir.pfad("fehlt.log")).exists || quelle.exists(a + "/x.log").error);
    EXPECT_EQ(quelle.open(dir.pfad("fehlt.log")).error, "No such file or directory");
    EXPECT_EQ(quelle.open(dir.pfad().string()).error, "Is a directory");
    ASSERT_EQ(::mkfifo(dir.pfad("fifo").c_str(), 0600), 0);
    EXPECT_EQ(quelle.open(dir.pfad("fifo")).error, "Illegal seek");  // and it does not wait for a writer

    ASSERT_EQ(::truncate(a.c_str(), 4), 0);
    EXPECT_EQ(text(da.file->read(0, 2)), "No data available");
    ASSERT_EQ(std::remove(dir.pfad("b.log").c_str()), 0);
    EXPECT_EQ(text(db.file->read(0, 2)), "No such file or directory");
    ports::OpenResult dc = quelle.open(dir.schreibe("c.log", "0123456789"));
    std::rename(dir.schreibe("neu.log", "anderes").c_str(), dir.pfad("c.log").c_str());
    EXPECT_EQ(text(dc.file->read(0, 2)), "No such file or directory");
}

// The Retry/Cancel box carries the system's reason, Retry writes the same record again once
// there is room, and after Cancel the file holds exactly the records written before.
TEST(RecorderDiskFull, RetryWritesTheRecordOnceThereIsRoomAndCancelKeepsEveryRecordBefore) {
    constexpr rlim_t kKopf = 5 + 13 + 7;
    rlimit alt{};
    ::getrlimit(RLIMIT_FSIZE, &alt);
    const auto grenze = [&](rlim_t bytes) {  // writing beyond gives "File too large", not the signal
        const rlimit neu{bytes, alt.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, bytes ? &neu : &alt), 0);
    };
    const auto altesSignal = std::signal(SIGXFSZ, SIG_IGN);
    const std::shared_ptr<void> zurueck(nullptr, [&](void*) { ::setrlimit(RLIMIT_FSIZE, &alt), std::signal(SIGXFSZ, altesSignal); });
    krv::test::TempVerzeichnis dir;
    platform::PosixFileSink sink;
    Fenster r(&sink);
    const std::string p = dir.pfad("voll.log");
    ASSERT_TRUE(r.starte(p));
    grenze(kKopf + 2 * 19 + 7);  // room for the header group, two records and 7 bytes
    r.dialogs.waehrendBox = [&](std::size_t kasten) {
        if (kasten == 2) grenze(0);  // the first Retry meets the same full disk
    };
    for (int i = 1; i <= 4; ++i) r.sende(block(i));
    EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>(2, "File too large"));
    EXPECT_EQ(r.dialogs.boxes[1].buttons, ports::MsgButtons::RetryCancel);
    EXPECT_EQ(lies(p).size(), kKopf + 3 * 19);  // the half record was taken out, the retried one is in once

    grenze(kKopf + 3 * 19 + 11);  // full again: record 4 does not fit, and the user cancels
    r.dialogs.answers = {ports::MsgResult::Cancel};
    r.sende(block(5));
    grenze(0);
    EXPECT_EQ(std::tuple(r.form.recorder().laeuft(), sink.isOpen(), r.state.PortOffen), std::tuple(false, false, false));
    const Bytes erwartet = version1() + kanaele({}) + trigger(0, 200) + satz(block(1), 1, zeit(2)) +
                           satz(block(2), 1, zeit(3)) + satz(block(3), 1, zeit(4));
    EXPECT_EQ(lies(p), erwartet);
    r.sende(block(6));  // nothing more is written or asked for
    EXPECT_EQ(r.dialogs.boxes.size(), 3u);
    EXPECT_EQ(lies(p), erwartet);

    // Stopping on a full disk: the pending run (block 2, twice) does not fit; Cancel closes.
    const std::string q = dir.pfad("stopp.log");
    ASSERT_TRUE(r.starte(q));
    for (int i : {1, 2, 2}) r.sende(block(i));
    grenze(kKopf + 19);
    r.dialogs.answers = {ports::MsgResult::Cancel};
    r.stoppe();
    grenze(0);
    EXPECT_EQ(std::pair(r.dialogs.texte().back(), sink.isOpen()), std::pair(std::string("File too large"), false));
    EXPECT_EQ(lies(q), version1() + kanaele({}) + trigger(0, 200) + satz(block(1), 1, zeit(8)));
}

}  // namespace
}  // namespace krv::recorder::test
