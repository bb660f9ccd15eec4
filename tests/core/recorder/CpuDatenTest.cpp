// CPU data through the real main window: storing every chunk that reaches ShowData, the
// Retry/Cancel rule on write errors, and the replay in 512-byte chunks with its drain, its
// stop and its file errors.
#include "core/recorder/CpuDaten.hpp"

#include <gtest/gtest.h>

#include "../link/PortTestDoubles.hpp"
#include "core/app/MainForm.hpp"
#include "core/app/ProgramEntry.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/MemoryFileSource.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedPictures.hpp"
#include "core/recorder/RecorderTestSupport.hpp"

namespace krv::recorder {
namespace {

class FreieInstanz : public ports::InstanceLock {
public:
    bool acquire() override { return true; }
};

// Message boxes are modal, but the window's events go on while one is open: a test can run
// something "during" the next box.
class Dialoge : public ports::ScriptedDialogs {
public:
    std::function<void()> waehrendBox;
    ports::MsgResult messageBox(const ports::MessageBoxRequest& request) override {
        if (waehrendBox) std::exchange(waehrendBox, {})();
        return ScriptedDialogs::messageBox(request);
    }
};

using test::FormHost;

// The main window's end-of-call step, as it hands every chunk to the CPU data file.
struct AufrufEnde : link::DispatchHooks {
    CpuDaten* cpu = nullptr;
    std::vector<Bytes> chunks;  // the non-empty chunks
    void aufrufEnde(ByteView chunk) override {
        if (!chunk.empty()) chunks.emplace_back(chunk.begin(), chunk.end());
        cpu->aufrufEnde(chunk);
    }
};

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes kurz(std::uint8_t byte0, std::uint8_t byte2, std::uint8_t byte15 = 0) {
    link::StatusBlock block{};
    block[0] = byte0;
    block[2] = byte2;
    block[15] = byte15;
    return link::kurzTelegramm(block);
}

// n short telegrams of model 9, each one different.
Bytes telegramme(int n) {
    Bytes b;
    for (int i = 0; i < n; ++i) b = b + kurz(0x09, static_cast<std::uint8_t>(i));
    return b;
}

struct Rig {
    Rig() {
        ProgrammStartVorDemHauptfenster(state, profile, dialogs, lock, "/data/", {});
        form.Form_Load();
        ProgrammStartNachDemLaden(state, form);
        ende.cpu = &cpu;
        form.beobachter = &ende;
        form.onAnzeige = [this](const link::ReceiveState& s) {
            angezeigt.emplace_back(s.payload().begin(), s.payload().end());
        };
        cpu.ereignisseVerarbeiten = [this] {
            ++pumpen;
            if (beimPumpen) beimPumpen();
        };
    }

    void spiele(const Bytes& inhalt, const std::string& pfad = "/cpu/roh.bin") {
        dateien.files[pfad] = inhalt;
        dialogs.fileAnswers.push_back(pfad);
        cpu.mnuStartCpuDatenWiedergabe_Click();
    }
    void speichere(const std::string& pfad = "/cpu/kopie.bin") {
        dialogs.fileAnswers.push_back(pfad);
        cpu.mnuOpenCpuDatenAbspeichern_Click();
    }
    std::vector<std::string> meldungen() const {
        std::vector<std::string> texte;
        for (const auto& box : dialogs.boxes) texte.push_back(box.text);
        return texte;
    }
    void erwarteWiedergabeBeendet() {
        EXPECT_FALSE(cpu.wiedergabeLaeuft());
        EXPECT_FALSE(state.CpuWiedergabeAktiv);
        EXPECT_EQ(dateien.openFiles, 0);
        EXPECT_TRUE(controls.mnuStartCpuDatenWiedergabe.enabled());
        EXPECT_FALSE(controls.mnuStopCpuDatenWiedergabe.enabled());
        EXPECT_TRUE(controls.mnuDatenuebertragungStart.enabled());
    }

    krv::test::Log log;
    app::MemoryProfile profile;
    ports::ManualClock clock;
    Dialoge dialogs;
    krv::test::ScriptedSerialPort port{log};
    FreieInstanz lock;
    ports::AlwaysLoads pictures;
    ports::RecordingPrinter printer;
    ports::MemoryFileSink protokoll;
    ports::MemoryFileSink speicher;
    ports::MemoryFileSource dateien;
    app::ProgramState state;
    app::MainFormState controls;
    // The window's own CPU data file and file reader; the tests drive separate ones.
    ports::MemoryFileSink formCpuDatei;
    ports::MemoryFileSource formQuelle;
    app::MainForm form{state, controls,
                       app::Ports{profile, clock, dialogs, port, pictures, printer, protokoll, formCpuDatei, formQuelle}};
    FormHost host{form};
    CpuDaten cpu{state, controls, dialogs, speicher, dateien, host};
    AufrufEnde ende;
    std::vector<Bytes> angezeigt;
    int pumpen = 0;
    std::function<void()> beimPumpen;
};

// ---- Live, stored, replayed ----------------------------------------------------------------------

TEST(CpuDatenWiedergabe, AStoredLiveStreamReplaysToTheSameTelegramsAndLeds) {
    Rig rig;
    Bytes kaputt = kurz(0x09, 0x55);
    kaputt.back() ^= 0xFF;
    const Bytes strom = kurz(0x09, 0x80) + Bytes{0x00, 'x', 'L'} + kurz(0x09, 0x40) + kaputt +
                        link::langTelegramm(link::langeNutzdaten({0x0C, 0, 0xF0}, 1234, Bytes(256, 0x4C))) +
                        kurz(0x19, 0x20, 5) + Bytes{'L', '0', 'V', 1, 1} + kurz(0x09, 0xC3) + Bytes{'L', '1'};

    rig.speichere();
    EXPECT_FALSE(rig.controls.mnuOpenCpuDatenAbspeichern.enabled());
    EXPECT_TRUE(rig.controls.mnuCloseCpuDatenAbspeichern.enabled());
    rig.form.mnuDatenuebertragungStart_Click();
    // Small chunks: no event completes more than one telegram, so live shows every one.
    for (std::size_t pos = 0; pos < strom.size(); pos += 7) {
        rig.port.wartend.assign(strom.begin() + static_cast<std::ptrdiff_t>(pos),
                                strom.begin() + static_cast<std::ptrdiff_t>(std::min(pos + 7, strom.size())));
        rig.port.raise(ports::CommEvent::Empfang);
    }
    const std::vector<Bytes> live = std::exchange(rig.angezeigt, {});
    ASSERT_EQ(live.size(), 5u);
    std::vector<app::Colour> ledsLive;
    for (const app::Control& led : rig.controls.shpLed) ledsLive.push_back(led.colour());
    rig.form.mnuDatenuebertragungStop_Click();
    rig.cpu.mnuCloseCpuDatenAbspeichern_Click();
    EXPECT_TRUE(rig.controls.mnuOpenCpuDatenAbspeichern.enabled());
    EXPECT_FALSE(rig.controls.mnuCloseCpuDatenAbspeichern.enabled());
    EXPECT_FALSE(rig.speicher.isOpen());
    ASSERT_EQ(rig.speicher.files.at("/cpu/kopie.bin"), strom);

    rig.ende.chunks.clear();
    rig.spiele(rig.speicher.files.at("/cpu/kopie.bin"));
    EXPECT_EQ(rig.angezeigt, live);
    std::vector<app::Colour> ledsWiedergabe;
    for (const app::Control& led : rig.controls.shpLed) ledsWiedergabe.push_back(led.colour());
    EXPECT_EQ(ledsWiedergabe, ledsLive);
    ASSERT_EQ(rig.ende.chunks.size(), 1u);  // the file is shorter than one chunk
    EXPECT_EQ(rig.ende.chunks[0], strom);

    EXPECT_EQ(rig.host.initPort, 1);
    EXPECT_EQ(rig.state.AnsichtModus, 0);  // the status window is shown
    EXPECT_EQ(rig.form.receivePath().dispatch().SatzZeit, 0.0);
    EXPECT_GT(rig.pumpen, 1);
    ASSERT_EQ(rig.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(rig.dialogs.fileDialogs[1].title, "Protokolldatei öffnen zur Wiedergabe");
    EXPECT_EQ(rig.dialogs.fileDialogs[1].initialName, "default.log");
    rig.erwarteWiedergabeBeendet();
}

TEST(CpuDatenWiedergabe, AnEmptyFileEndsAtOnceAndA513ByteFileIsReplayedCompletely) {
    Rig rig;
    rig.spiele({});
    EXPECT_TRUE(rig.ende.chunks.empty());
    EXPECT_TRUE(rig.angezeigt.empty());
    EXPECT_TRUE(rig.dialogs.boxes.empty());
    rig.erwarteWiedergabeBeendet();

    // 27 telegrams of 19 bytes: a 512-byte chunk holding 26 and a bit, then one byte.
    const Bytes inhalt = telegramme(27);
    ASSERT_EQ(inhalt.size(), 513u);
    rig.spiele(inhalt);
    ASSERT_EQ(rig.ende.chunks.size(), 2u);
    EXPECT_EQ(rig.ende.chunks[0].size(), 512u);
    EXPECT_EQ(rig.ende.chunks[1].size(), 1u);
    ASSERT_EQ(rig.angezeigt.size(), 27u);
    EXPECT_EQ(rig.angezeigt.back()[2], 26);
    EXPECT_EQ(rig.controls.SSPanel3.caption(), "513/513");
    EXPECT_EQ(rig.form.receivePath().receive().EmpfangsLaenge(), 0u);
    rig.erwarteWiedergabeBeendet();
}

TEST(CpuDatenWiedergabe, ALastChunkThatCutsAsManyBytesAsItBringsHasItsTelegramsShown) {
    // Chunk 1: 25 telegrams and 37 bytes of noise. Chunk 2 (56 bytes): telegrams 26 and 27 and
    // 18 bytes of a 28th. Showing telegram 26 cuts the noise and itself, 56 bytes: the buffer's
    // length does not change, yet telegram 27 waits complete behind it.
    Rig rig;
    const Bytes t = telegramme(28);
    Bytes inhalt(t.begin(), t.begin() + 25 * 19);
    inhalt.resize(inhalt.size() + 37, 0x00);
    inhalt.insert(inhalt.end(), t.begin() + 25 * 19, t.end() - 1);
    ASSERT_EQ(inhalt.size(), 568u);
    rig.spiele(inhalt);
    ASSERT_EQ(rig.ende.chunks.size(), 2u);
    ASSERT_EQ(rig.angezeigt.size(), 27u);
    EXPECT_EQ(rig.angezeigt.back()[2], 26);
}

TEST(CpuDatenWiedergabe, AStopChosenDuringTheReplayEndsItBeforeTheNextChunk) {
    Rig rig;
    rig.beimPumpen = [&] {
        if (rig.pumpen == 1) rig.cpu.mnuStopCpuDatenWiedergabe_Click();
    };
    rig.spiele(telegramme(100));
    EXPECT_EQ(rig.ende.chunks.size(), 1u);
    EXPECT_EQ(rig.angezeigt.size(), 1u);
    EXPECT_EQ(rig.pumpen, 1);
    EXPECT_EQ(rig.controls.SSPanel3.caption(), "512/1900");
    rig.erwarteWiedergabeBeendet();

    // Stopped and started again while the first replay waits: the new one runs to its end,
    // the old one does not come back.
    Rig neu;
    neu.beimPumpen = [&] {
        if (neu.pumpen != 1) return;
        neu.cpu.mnuStopCpuDatenWiedergabe_Click();
        neu.spiele(telegramme(27), "/cpu/zwei.bin");
    };
    neu.spiele(telegramme(100));
    EXPECT_EQ(neu.angezeigt.size(), 1u + 27u);
    EXPECT_EQ(neu.ende.chunks.size(), 3u);
    neu.erwarteWiedergabeBeendet();
}

TEST(CpuDatenWiedergabe, DialogAndFileErrorsEndTheReplay) {
    Rig rig;
    rig.cpu.mnuStartCpuDatenWiedergabe_Click();  // cancelled
    rig.erwarteWiedergabeBeendet();

    rig.dateien.files["/cpu/da.bin"] = telegramme(3);
    rig.dialogs.fileAnswers = {std::string("/cpu/weg.bin"), std::string("/cpu/da.bin")};
    rig.cpu.mnuStartCpuDatenWiedergabe_Click();
    EXPECT_EQ(rig.meldungen(), std::vector<std::string>{"/cpu/weg.bin nicht gefunden!"});
    EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
    EXPECT_EQ(rig.angezeigt.size(), 3u);

    for (int fall = 0; fall < 3; ++fall) {
        Rig r;
        if (fall == 0) r.dateien.existsError = "Permission denied";
        if (fall == 1) r.dateien.openError = "Permission denied";
        if (fall == 2) r.beimPumpen = [&] { r.dateien.failingReads = 1; };  // after the first chunk
        r.spiele(telegramme(100));
        EXPECT_EQ(r.meldungen(), std::vector<std::string>{fall == 2 ? "Input/output error" : "Permission denied"})
            << fall;
        EXPECT_EQ(r.angezeigt.size(), fall == 2 ? 26u : 0u) << fall;  // the first chunk is worked off
        r.erwarteWiedergabeBeendet();
    }
}

// ---- Storing ---------------------------------------------------------------------------------------

TEST(CpuDatenSpeichern, AnExistingFileIsReplacedOrAppendedAfterTheQuestion) {
    Rig rig;
    rig.speicher.files["/cpu/alt.bin"] = {'a', 'b'};
    rig.dialogs.fileAnswers = {std::string("/cpu/alt.bin"), std::string("/cpu/alt.bin")};
    rig.dialogs.answers = {ports::MsgResult::Cancel, ports::MsgResult::No};  // choose again, then append
    rig.cpu.mnuOpenCpuDatenAbspeichern_Click();
    ASSERT_TRUE(rig.cpu.speichert());
    ASSERT_EQ(rig.dialogs.boxes.size(), 2u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "Bestehende Datei ersetzen - /cpu/alt.bin?");
    EXPECT_EQ(rig.dialogs.boxes[0].buttons, ports::MsgButtons::YesNoCancel);
    EXPECT_EQ(rig.dialogs.fileDialogs[0].title, "Protokolldatei öffnen");
    EXPECT_EQ(rig.dialogs.fileDialogs[0].initialName, "default.log");
    rig.form.receivePath().ShowData(asBytes("xy"));
    rig.form.receivePath().ShowData({});  // an empty call writes nothing
    rig.cpu.mnuCloseCpuDatenAbspeichern_Click();
    EXPECT_EQ(rig.speicher.files.at("/cpu/alt.bin"), (Bytes{'a', 'b', 'x', 'y'}));
    EXPECT_EQ(rig.speicher.writeAttempts, 1);

    rig.dialogs.fileAnswers = {std::string("/cpu/alt.bin")};
    rig.dialogs.answers = {ports::MsgResult::Yes};
    rig.cpu.mnuOpenCpuDatenAbspeichern_Click();
    rig.form.receivePath().ShowData(asBytes("z"));
    EXPECT_EQ(rig.speicher.files.at("/cpu/alt.bin"), (Bytes{'z'}));

    Rig fehler;
    fehler.speicher.openError = "Read-only file system";
    fehler.speichere();
    EXPECT_FALSE(fehler.cpu.speichert());
    EXPECT_EQ(fehler.meldungen(), std::vector<std::string>{"Read-only file system"});
    EXPECT_TRUE(fehler.controls.mnuOpenCpuDatenAbspeichern.enabled());
    EXPECT_FALSE(fehler.controls.mnuCloseCpuDatenAbspeichern.enabled());
}

TEST(CpuDatenSpeichern, WriteErrorsAskRetryOrCancelAndKeepTheOrderOfTheChunks) {
    Rig rig;
    rig.speichere();
    link::ReceivePath& pfad = rig.form.receivePath();

    rig.speicher.failingWrites = 1;
    rig.dialogs.waehrendBox = [&] { pfad.ShowData(asBytes("B")); };  // arrives while the box is open
    pfad.ShowData(asBytes("A"));  // Retry is the default answer
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "No space left on device");
    EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::Critical);
    EXPECT_EQ(rig.dialogs.boxes[0].buttons, ports::MsgButtons::RetryCancel);
    EXPECT_EQ(rig.speicher.content(), (Bytes{'A', 'B'}));

    rig.speicher.failingWrites = 1;
    rig.dialogs.answers = {ports::MsgResult::Cancel};
    pfad.ShowData(asBytes("C"));
    EXPECT_FALSE(rig.cpu.speichert());
    EXPECT_TRUE(rig.controls.mnuOpenCpuDatenAbspeichern.enabled());
    EXPECT_FALSE(rig.controls.mnuCloseCpuDatenAbspeichern.enabled());
    const int versuche = rig.speicher.writeAttempts;
    pfad.ShowData(asBytes("D"));
    EXPECT_EQ(rig.speicher.writeAttempts, versuche);
    EXPECT_EQ(rig.speicher.files.at("/cpu/kopie.bin"), (Bytes{'A', 'B'}));
}

TEST(CpuDatenSpeichern, StoringWhileReplayingKeepsTheReplayedBytes) {
    Rig rig;
    const Bytes inhalt = telegramme(60) + Bytes{'L', '1', 0x09};
    rig.speichere();
    rig.spiele(inhalt);
    EXPECT_TRUE(rig.cpu.speichert());  // storing goes on after the replay
    EXPECT_EQ(rig.speicher.content(), inhalt);
    EXPECT_EQ(rig.angezeigt.size(), 60u);
}

}  // namespace
}  // namespace krv::recorder
