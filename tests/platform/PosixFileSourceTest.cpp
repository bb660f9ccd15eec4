#include "platform/PosixFileSource.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "../core/link/PortTestDoubles.hpp"
#include "core/ports/MemoryFileSource.hpp"
#include "core/app/MainForm.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedPictures.hpp"
#include "core/recorder/CpuDaten.hpp"
#include "platform/PosixFileSink.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::platform {
namespace {

namespace fs = std::filesystem;

class PosixFileSourceTest : public ::testing::Test {
protected:
    std::string pfad(const std::string& name) const { return dir_.pfad(name); }
    std::string schreibe(const std::string& name, const std::string& inhalt) const { return dir_.schreibe(name, inhalt); }
    static std::string text(const Bytes& b) { return std::string(b.begin(), b.end()); }

    test::TempVerzeichnis dir_;
    PosixFileSource quelle_;
};

TEST_F(PosixFileSourceTest, ReadsAtAnyOffsetAndFewerBytesAtTheEnd) {
    const std::string a = schreibe("a.log", "0123456789");
    const std::string b = schreibe("b.log", "xyz");
    EXPECT_TRUE(quelle_.exists(a).exists);
    ports::OpenResult da = quelle_.open(a);
    ports::OpenResult db = quelle_.open(b);  // two files open at once
    ASSERT_FALSE(da.error);
    ASSERT_FALSE(db.error);
    EXPECT_EQ(da.file->size().size, 10u);
    EXPECT_EQ(text(da.file->read(2, 3).bytes), "234");
    EXPECT_EQ(text(db.file->read(1, 5).bytes), "yz");
    const ports::ReadResult ende = da.file->read(8, 5);
    EXPECT_FALSE(ende.error);
    EXPECT_EQ(text(ende.bytes), "89");
    EXPECT_TRUE(da.file->read(10, 4).bytes.empty());
    EXPECT_TRUE(da.file->read(1000, 4).bytes.empty());

    // Growing is harmless: the file still holds what it held.
    std::ofstream(a, std::ios::binary | std::ios::app) << "AB";
    EXPECT_EQ(da.file->size().size, 12u);
    EXPECT_EQ(text(da.file->read(9, 3).bytes), "9AB");
}

TEST_F(PosixFileSourceTest, MissingFilesDirectoriesAndPipesAreRefusedWithTheSystemsText) {
    const ports::ExistsResult fehlt = quelle_.exists(pfad("fehlt.log"));
    EXPECT_FALSE(fehlt.exists);
    EXPECT_FALSE(fehlt.error);
    const std::string datei = schreibe("datei", "x");
    EXPECT_FALSE(quelle_.exists(datei + "/unter.log").exists);  // a file is no directory: just missing
    EXPECT_FALSE(quelle_.exists(datei + "/unter.log").error);

    EXPECT_EQ(quelle_.open(pfad("fehlt.log")).error, "No such file or directory");
    EXPECT_EQ(quelle_.open(dir_.pfad().string()).error, "Is a directory");
    // A FIFO has no offsets; opening it must not wait for a writer either.
    ASSERT_EQ(::mkfifo(pfad("fifo").c_str(), 0600), 0);
    const ports::OpenResult fifo = quelle_.open(pfad("fifo"));
    EXPECT_EQ(fifo.error, "Illegal seek");
    EXPECT_FALSE(fifo.file);
}

TEST_F(PosixFileSourceTest, ADeletedReplacedOrShortenedFileFailsItsNextRead) {
    const std::string a = schreibe("a.log", "0123456789");
    ports::OpenResult offen = quelle_.open(a);
    ASSERT_TRUE(offen.file);
    ASSERT_EQ(::truncate(a.c_str(), 4), 0);
    EXPECT_EQ(offen.file->read(0, 2).error, "No data available");

    schreibe("b.log", "0123456789");
    offen = quelle_.open(pfad("b.log"));
    ASSERT_TRUE(offen.file);
    ASSERT_EQ(std::remove(pfad("b.log").c_str()), 0);
    EXPECT_EQ(offen.file->read(0, 2).error, "No such file or directory");

    schreibe("c.log", "0123456789");
    offen = quelle_.open(pfad("c.log"));
    schreibe("neu.log", "anderes");
    ASSERT_EQ(std::rename(pfad("neu.log").c_str(), pfad("c.log").c_str()), 0);
    EXPECT_EQ(offen.file->read(0, 2).error, "No such file or directory");
}

// Storing CPU data into the very file being replayed: the replay takes the file as it was at
// its start and ends, and the file then holds the old content twice.
TEST_F(PosixFileSourceTest, ReplayingTheFileThatIsBeingStoredIntoEnds) {
    struct Ende : link::DispatchHooks {
        recorder::CpuDaten* cpu = nullptr;
        void aufrufEnde(ByteView chunk) override { cpu->aufrufEnde(chunk); }
    };

    Bytes telegramme;
    for (int i = 0; i < 80; ++i) {
        link::StatusBlock block{};
        block[0] = 0x09;
        block[2] = static_cast<std::uint8_t>(i);
        const Bytes t = link::kurzTelegramm(block);
        telegramme.insert(telegramme.end(), t.begin(), t.end());
    }
    const std::string p = schreibe("roh.bin", text(telegramme));

    test::Log log;
    app::MemoryProfile profile;
    ports::ManualClock clock;
    ports::ScriptedDialogs dialogs;
    test::ScriptedSerialPort port{log};
    ports::AlwaysLoads pictures;
    ports::RecordingPrinter printer;
    ports::MemoryFileSink protokoll;
    app::ProgramState state;
    app::MainFormState controls;
    // The window's own CPU data file and file reader; the tests drive separate ones.
    ports::MemoryFileSink formCpuDatei;
    ports::MemoryFileSource formQuelle;
    app::MainForm form{state, controls,
                       app::Ports{profile, clock, dialogs, port, pictures, printer, protokoll, formCpuDatei, formQuelle}};
    form.Form_Load();
    PosixFileSink speicher;
    recorder::CpuDaten cpu{state, controls, dialogs, speicher, quelle_, form};
    Ende ende;
    ende.cpu = &cpu;
    form.beobachter = &ende;
    int angezeigt = 0;
    form.onAnzeige = [&](const link::ReceiveState&) { ++angezeigt; };

    dialogs.fileAnswers = {p, p};
    dialogs.answers = {ports::MsgResult::No};  // append
    cpu.mnuOpenCpuDatenAbspeichern_Click();
    ASSERT_TRUE(cpu.speichert());
    cpu.mnuStartCpuDatenWiedergabe_Click();
    cpu.mnuCloseCpuDatenAbspeichern_Click();

    EXPECT_EQ(angezeigt, 80);
    EXPECT_FALSE(cpu.wiedergabeLaeuft());
    std::ifstream in(p, std::ios::binary);
    const Bytes danach((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Bytes doppelt = telegramme;
    doppelt.insert(doppelt.end(), telegramme.begin(), telegramme.end());
    EXPECT_EQ(danach, doppelt);
}

}  // namespace
}  // namespace krv::platform
