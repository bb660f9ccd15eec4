// The recorder writing through the real file port onto a full disk, where the kernel lets the file
// grow only up to N bytes (a file size limit: a record that does not fit is written in part).
#include <sys/resource.h>

#include <csignal>

#include "platform/PosixFileSink.hpp"
#include "support/RecorderRig.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::recorder::test {
namespace {

Bytes lies(const std::string& p) {
    const std::string s = krv::test::TempVerzeichnis::lies(p);
    return {s.begin(), s.end()};
}

// The Retry/Cancel box carries the system's reason, Retry writes the same record again once there
// is room, and after Cancel the file holds exactly the records written before, also when the header
// did not fit.
TEST(RecorderDiskFull, RetryWritesTheRecordOnceThereIsRoomAndCancelKeepsEveryRecordBefore) {
    constexpr rlim_t kKopf = 5 + 13 + 7;
    const rlimit alt = [] { rlimit a{}; return ::getrlimit(RLIMIT_FSIZE, &a), a; }();
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
    EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>(2, p + ": File too large"));
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

    r.state.einstellungen.TriggerModus = 3;  // a trigger mode writes its ring at the end: not after Cancel
    r.dialogs.answers = {ports::MsgResult::No, ports::MsgResult::Cancel};  // append; the header fails
    ASSERT_TRUE(r.starte(p));
    grenze(erwartet.size() + 3);
    r.sende(block(7));
    r.stoppe();
    EXPECT_EQ(std::pair(r.dialogs.boxes.size(), lies(p)), std::pair(std::size_t{5}, erwartet));
}

}  // namespace
}  // namespace krv::recorder::test
