// The disk fills while the program records: the whole program without a window, writing its
// protocol file through the real file port, where the kernel lets the file grow only up to N
// bytes (a file size limit: a record that does not fit is written in part, then refused).
// The Retry/Cancel box carries the system's reason, Retry writes the same record again once
// there is room, and after Cancel the file holds exactly the records written before.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "core/app/MemoryProfile.hpp"
#include "core/app/ProgramEntry.hpp"
#include "core/app/Programm.hpp"
#include "core/ports/InstanceLock.hpp"
#include "core/ports/NullSerialPort.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedPictures.hpp"
#include "core/recorder/ProtocolReader.hpp"
#include "core/recorder/RecorderTestSupport.hpp"
#include "platform/PosixFileSink.hpp"
#include "platform/PosixFileSource.hpp"

namespace krv::platform {
namespace {

namespace fs = std::filesystem;
using recorder::test::kanaele;
using recorder::test::satz;
using recorder::test::trigger;
using recorder::test::version1;
using recorder::test::operator+;

// Scripted answers, and before the n-th answer a step of the test's own (the user frees
// space while the box is open).
struct Benutzer : ports::ScriptedDialogs {
    std::function<void(std::size_t kasten)> vorDerAntwort;
    ports::MsgResult messageBox(const ports::MessageBoxRequest& request) override {
        if (vorDerAntwort) vorDerAntwort(boxes.size() + 1);
        return ScriptedDialogs::messageBox(request);
    }
};

// While it lives, files of this process grow to at most the set number of bytes; writing
// beyond gives "File too large" instead of the signal that would end the process.
class Dateigrenze {
public:
    Dateigrenze() {
        ::getrlimit(RLIMIT_FSIZE, &alt_);
        altesSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~Dateigrenze() {
        aufheben();
        std::signal(SIGXFSZ, altesSignal_);
    }
    Dateigrenze(const Dateigrenze&) = delete;
    Dateigrenze& operator=(const Dateigrenze&) = delete;

    void setze(rlim_t bytes) {
        rlimit neu = alt_;
        neu.rlim_cur = bytes;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &neu), 0);
    }
    void aufheben() { ::setrlimit(RLIMIT_FSIZE, &alt_); }

private:
    rlimit alt_{};
    void (*altesSignal_)(int) = SIG_DFL;
};

struct KeineAndereKopie : ports::InstanceLock {
    bool acquire() override { return true; }
};

// The program as the command-line tool builds it, with the real protocol file port.
class RecorderDiskFullTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string muster = (fs::temp_directory_path() / "krvdiag-voll-XXXXXX").string();
        ASSERT_NE(::mkdtemp(muster.data()), nullptr);
        dir_ = muster;
        datei_ = (dir_ / "voll.log").string();
        ASSERT_TRUE(app::ProgrammStartVorDemHauptfenster(state_, profile_, benutzer_, lock_, dir_.string() + "/", {}));
        programm_.form.Form_Load();
        app::ProgrammStartNachDemLaden(state_, programm_.form);
    }
    void TearDown() override {
        grenze_.aufheben();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Time stamp of telegram k: 2026-03-01 10:00:00 + k seconds.
    static double zeit(int k) { return recorder::datumswert({2026, 3, 1, 10, 0, k, 0}); }

    void starte() {
        benutzer_.fileAnswers.push_back(datei_);
        programm_.form.mnuOpenLog_Click();
        ASSERT_TRUE(programm_.form.recorder().laeuft());
        ASSERT_TRUE(state_.PortOffen);
    }
    // The k-th telegram arrives at zeit(k).
    void sende(int k, const link::StatusBlock& b) {
        uhr_.setDateValue(zeit(k));
        programm_.form.receivePath().ShowData(link::kurzTelegramm(b));
        programm_.form.receivePath().drain();
    }
    Bytes inhalt() const {
        std::ifstream in(datei_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path dir_;
    std::string datei_;
    Dateigrenze grenze_;
    app::MemoryProfile profile_;
    ports::ManualClock uhr_;
    Benutzer benutzer_;
    ports::NullSerialPort port_;
    ports::AlwaysLoads bilder_;
    ports::RecordingPrinter drucker_;
    PosixFileSink protokoll_;
    PosixFileSink cpuDaten_;
    PosixFileSource quelle_;
    KeineAndereKopie lock_;
    app::ProgramState state_;
    app::MainFormState controls_;
    app::Programm programm_{state_, controls_,
                            app::Ports{profile_, uhr_, benutzer_, port_, bilder_, drucker_, protokoll_, cpuDaten_,
                                       quelle_}};
};

constexpr std::size_t kKopf = 5 + 13 + 7;
constexpr std::size_t kSatz = 19;

TEST_F(RecorderDiskFullTest, RetryWritesTheRecordOnceThereIsRoomAndCancelKeepsEveryRecordBefore) {
    starte();
    // Room for the header group, two records and 7 bytes of the third.
    grenze_.setze(kKopf + 2 * kSatz + 7);
    benutzer_.answers = {ports::MsgResult::Retry, ports::MsgResult::Retry, ports::MsgResult::Cancel};
    benutzer_.vorDerAntwort = [this](std::size_t kasten) {
        // The first Retry meets the same full disk; before the second the user made room.
        if (kasten == 2) grenze_.aufheben();
    };
    for (int k = 1; k <= 4; ++k) sende(k, recorder::test::block(k));

    ASSERT_EQ(benutzer_.boxes.size(), 2u);
    for (const auto& box : benutzer_.boxes) {
        EXPECT_EQ(box.text, "File too large");
        EXPECT_EQ(box.buttons, ports::MsgButtons::RetryCancel);
        EXPECT_EQ(box.icon, ports::MsgIcon::Critical);
    }
    // The half record the kernel took was taken out again; the retried record is there once.
    EXPECT_EQ(inhalt().size(), kKopf + 3 * kSatz);
    EXPECT_TRUE(programm_.form.recorder().laeuft());

    // The disk fills again: record 4 does not fit, and the user cancels.
    grenze_.setze(kKopf + 3 * kSatz + 11);
    sende(5, recorder::test::block(5));
    ASSERT_EQ(benutzer_.boxes.size(), 3u);
    EXPECT_EQ(benutzer_.boxes[2].buttons, ports::MsgButtons::RetryCancel);
    grenze_.aufheben();

    EXPECT_FALSE(programm_.form.recorder().laeuft());
    EXPECT_FALSE(protokoll_.isOpen());
    EXPECT_FALSE(state_.PortOffen);
    EXPECT_TRUE(controls_.mnuOpenLog.enabled());
    const Bytes erwartet = version1() + kanaele({}) + trigger(0, 200) + satz(recorder::test::block(1), 1, zeit(2)) +
                           satz(recorder::test::block(2), 1, zeit(3)) + satz(recorder::test::block(3), 1, zeit(4));
    const Bytes gelesen = inhalt();
    EXPECT_EQ(gelesen, erwartet);
    const recorder::LeseErgebnis lesen = recorder::leseProtokolldatei(gelesen);
    EXPECT_FALSE(lesen.ablehnung);
    EXPECT_EQ(lesen.kopf.anzahlDatensaetze, 3u);

    // Nothing more is written or asked for what still arrives.
    sende(6, recorder::test::block(6));
    EXPECT_EQ(benutzer_.boxes.size(), 3u);
    EXPECT_EQ(inhalt(), erwartet);
}

TEST_F(RecorderDiskFullTest, StoppingOnAFullDiskAsksForThePendingRunAndClosesTheFileOnCancel) {
    starte();
    sende(1, recorder::test::block(1));
    sende(2, recorder::test::block(2));
    sende(3, recorder::test::block(2));
    // The pending run (block 2, twice) is written at the stop, onto a full disk.
    grenze_.setze(kKopf + kSatz);
    benutzer_.answers = {ports::MsgResult::Cancel};
    uhr_.setDateValue(zeit(4));
    programm_.form.mnuCloseLog_Click();
    grenze_.aufheben();

    ASSERT_EQ(benutzer_.boxes.size(), 1u);
    EXPECT_EQ(benutzer_.boxes[0].text, "File too large");
    EXPECT_FALSE(programm_.form.recorder().laeuft());
    EXPECT_FALSE(protokoll_.isOpen());
    const Bytes gelesen = inhalt();
    EXPECT_EQ(gelesen, version1() + kanaele({}) + trigger(0, 200) + satz(recorder::test::block(1), 1, zeit(2)));
    EXPECT_EQ(recorder::leseProtokolldatei(gelesen).kopf.anzahlDatensaetze, 1u);
}

}  // namespace
}  // namespace krv::platform
