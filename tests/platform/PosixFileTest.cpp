// The real file ports: reads at offsets of files that change underneath, and the recorder writing
// onto a full disk, where the kernel lets the file grow only up to N bytes (a file size limit: a
// record that does not fit is written in part).
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
std::string text(const ports::ReadResult& r) {
    return r.error.value_or(std::string(r.bytes.begin(), r.bytes.end()));
}

// Reads at offsets, fewer bytes at the end; a file that changed fails the next read.
TEST(PosixFileSource, ReadsAtOffsetsAndRefusesWhatIsNoLongerTheFileItOpened) {
    krv::test::TempVerzeichnis dir;
    platform::PosixFileSource quelle;
    const std::string a = dir.schreibe("a.log", "0123456789");
    ports::OpenResult da = quelle.open(a), db = quelle.open(dir.schreibe("b.log", "xyz"));
    ASSERT_TRUE(da.file && db.file);
    EXPECT_EQ(std::tuple(da.file->size().size, text(da.file->read(2, 3)), text(da.file->read(8, 5)),
                         text(da.file->read(1000, 4)), text(db.file->read(1, 5))),
              std::tuple(10u, "234", "89", "", "yz"));
    EXPECT_FALSE(quelle.exists(dir.pfad("fehlt.log")).exists || quelle.exists(a + "/x.log").error);
    ASSERT_EQ(::mkfifo(dir.pfad("fifo").c_str(), 0600), 0);
    EXPECT_EQ(std::tuple(quelle.open(dir.pfad("fehlt.log")).error, quelle.open(dir.pfad().string()).error,
                         quelle.open(dir.pfad("fifo")).error),  // a FIFO: without waiting for a writer
              std::tuple("No such file or directory", "Is a directory", "Illegal seek"));
    ports::OpenResult dc = quelle.open(dir.schreibe("c.log", "0123456789"));
    ASSERT_EQ(::truncate(a.c_str(), 4) | std::remove(dir.pfad("b.log").c_str()), 0);
    std::rename(dir.schreibe("neu.log", "anderes").c_str(), dir.pfad("c.log").c_str());
    EXPECT_EQ(std::tuple(text(da.file->read(0, 2)), text(db.file->read(0, 2)), text(dc.file->read(0, 2))),
              std::tuple("No data available", "No such file or directory", "No such file or directory"));
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
    const std::shared_ptr<void> zurueck(nullptr, [&](void*) {
        ::setrlimit(RLIMIT_FSIZE, &alt), std::signal(SIGXFSZ, altesSignal);
    });
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
    EXPECT_EQ(lies(p).size(), kKopf + 3 * 19);  // the half record was taken out, the retried one is in

    grenze(kKopf + 3 * 19 + 11);  // full again: record 4 does not fit, and the user cancels
    r.dialogs.answers = {ports::MsgResult::Cancel};
    r.sende(block(5));
    grenze(0);
    EXPECT_EQ(std::tuple(r.form.recorder().laeuft(), sink.isOpen(), r.state.PortOffen),
              std::tuple(false, false, false));
    const Bytes erwartet = version1() + kanaele({}) + trigger(0, 200) + satz(block(1), 1, zeit(2)) +
                           satz(block(2), 1, zeit(3)) + satz(block(3), 1, zeit(4));
    EXPECT_EQ(lies(p), erwartet);
    r.sende(block(6));  // nothing more is written or asked for
    EXPECT_EQ(r.dialogs.boxes.size(), 3u);
    EXPECT_EQ(lies(p), erwartet);
}

}  // namespace
}  // namespace krv::recorder::test
