#include "platform/PosixFileSink.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/app/MainFormState.hpp"
#include "core/app/ProgramState.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/recorder/Recorder.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::platform {
namespace {

namespace fs = std::filesystem;

class PosixFileSinkTest : public ::testing::Test {
protected:
    std::string pfad(const std::string& name) const { return dir_.pfad(name); }
    static Bytes inhalt(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    test::TempVerzeichnis dir_;
    PosixFileSink sink_;
};

TEST_F(PosixFileSinkTest, EveryWriteReachesTheFileBeforeItReturns) {
    const std::string p = pfad("a.log");
    EXPECT_FALSE(sink_.exists(p).exists);
    ASSERT_FALSE(sink_.open(p, ports::OpenMode::Replace));
    EXPECT_TRUE(sink_.exists(p).exists);
    ASSERT_FALSE(sink_.write(asBytes("L0V\x01\x01")));
    // Another reader sees it while the file is still open: nothing is held back in the program.
    EXPECT_EQ(inhalt(p), (Bytes{'L', '0', 'V', 1, 1}));
    ASSERT_FALSE(sink_.write(asBytes("abc")));
    EXPECT_EQ(inhalt(p).size(), 8u);
    EXPECT_FALSE(sink_.close());
    EXPECT_FALSE(sink_.isOpen());
}

TEST_F(PosixFileSinkTest, AppendKeepsAndReplaceDiscardsTheOldContent) {
    const std::string p = pfad("b.log");
    ASSERT_FALSE(sink_.open(p, ports::OpenMode::Append));  // created when missing
    ASSERT_FALSE(sink_.write(asBytes("old")));
    ASSERT_FALSE(sink_.close());
    ASSERT_FALSE(sink_.open(p, ports::OpenMode::Append));
    ASSERT_FALSE(sink_.write(asBytes("+new")));
    ASSERT_FALSE(sink_.close());
    EXPECT_EQ(inhalt(p), (Bytes{'o', 'l', 'd', '+', 'n', 'e', 'w'}));

    ASSERT_FALSE(sink_.open(p, ports::OpenMode::Replace));
    ASSERT_FALSE(sink_.close());
    EXPECT_TRUE(inhalt(p).empty());
}

TEST_F(PosixFileSinkTest, FailuresCarryTheSystemsReason) {
    EXPECT_EQ(sink_.open(pfad("fehlt/c.log"), ports::OpenMode::Replace), "No such file or directory");
    EXPECT_FALSE(sink_.isOpen());

    ASSERT_FALSE(sink_.open("/dev/full", ports::OpenMode::Append));
    EXPECT_EQ(sink_.write(asBytes("L0V\x01\x01")), "No space left on device");
    EXPECT_FALSE(sink_.close());  // a device has nothing to sync
}

TEST_F(PosixFileSinkTest, AHalfWrittenRecordIsTakenBackOut) {
    const std::string p = pfad("d.log");
    ASSERT_FALSE(sink_.open(p, ports::OpenMode::Replace));
    const Bytes satz(19, 'x');
    ASSERT_FALSE(sink_.write(satz));

    // A file size limit of 30 bytes lets the second record in only partly.
    rlimit alt{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &alt), 0);
    const auto altesSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit grenze = alt;
    grenze.rlim_cur = 30;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &grenze), 0);
    const auto fehler = sink_.write(satz);
    ::setrlimit(RLIMIT_FSIZE, &alt);
    std::signal(SIGXFSZ, altesSignal);

    EXPECT_EQ(fehler, "File too large");
    EXPECT_EQ(inhalt(p).size(), 19u);
    ASSERT_FALSE(sink_.write(satz));  // the retry lands on the slot grid
    EXPECT_EQ(inhalt(p), Bytes(38, 'x'));
}

// What the user sees when the disk is full: Retry/Cancel with the reason, and Cancel ends the
// recording with the file closed.
struct StillerHost : recorder::RecorderHost {
    bool datenuebertragungLaeuft() const override { return false; }
    void datenuebertragungStarten() override {}
    void datenuebertragungStoppen() override {}
    void TimingStart() override {}
    void TimingStop() override {}
    void mnuTimingDiagramm_Click() override {}
    void setTriggerAuswahlEnabled(bool) override {}
    void setTriggerAuswahlFarbe(std::optional<app::Colour>) override {}
    void setDateiname(const std::string&) override {}
};

TEST_F(PosixFileSinkTest, RecorderOnAFullDeviceOffersRetryAndEndsOnCancel) {
    app::ProgramState state;
    app::MainFormState controls;
    ports::ScriptedDialogs dialogs;
    dialogs.answers = {ports::MsgResult::Retry, ports::MsgResult::Cancel};
    ports::ManualClock uhr;
    StillerHost host;
    recorder::Recorder rec(state, controls, dialogs, uhr, sink_, host);
    ASSERT_TRUE(rec.starteAufzeichnung("/dev/full", ports::OpenMode::Append));

    link::ReceiveState s;
    s.EmpfangsString.append(Bytes(16, 0x05));
    s.DatenStart = 1;
    s.DatenLaenge = 16;
    rec.RecorderTelegramm(s);

    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, "No space left on device");
    EXPECT_EQ(dialogs.boxes[1].buttons, ports::MsgButtons::RetryCancel);
    EXPECT_FALSE(rec.laeuft());
    EXPECT_FALSE(sink_.isOpen());
}

}  // namespace
}  // namespace krv::platform
