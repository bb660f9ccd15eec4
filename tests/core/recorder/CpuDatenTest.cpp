// CPU data through the main window: every chunk that reaches ShowData stored as it came, the
// Retry/Cancel rule on write errors, and the replay in 512-byte chunks with its drain and stop.
#include "core/recorder/CpuDaten.hpp"
#include "support/RecorderRig.hpp"

namespace krv::recorder::test {
namespace {

// n short telegrams of model 9, each one different.
Bytes telegramme(int n) {
    Bytes b;
    for (int i = 0; i < n; ++i) b = b + link::kurzTelegramm(block(i));
    return b;
}

void erwarteBeendet(Fenster& r) {
    EXPECT_FALSE(r.form.cpuDaten().wiedergabeLaeuft());
    EXPECT_FALSE(r.state.CpuWiedergabeAktiv);
    EXPECT_EQ(r.quelle.openFiles, 0);
    EXPECT_TRUE(r.controls.mnuStartCpuDatenWiedergabe.enabled());
    EXPECT_FALSE(r.controls.mnuStopCpuDatenWiedergabe.enabled());
    EXPECT_TRUE(r.controls.mnuDatenuebertragungStart.enabled());
}

TEST(CpuDaten, AStoredLiveStreamReplaysToTheSameTelegramsAndLeds) {
    Fenster r;
    Bytes kaputt = link::kurzTelegramm(block(5));
    kaputt.back() ^= 0xFF;
    const Bytes strom = link::kurzTelegramm(block(1)) + Bytes{0x00, 'x', 'L'} + link::kurzTelegramm(block(2)) +
                        kaputt + link::langTelegramm(link::langeNutzdaten({0x0C, 0, 0xF0}, 1234, Bytes(256, 0x4C))) +
                        link::kurzTelegramm(block(3, 0x19)) + version1() + link::kurzTelegramm(block(4)) +
                        Bytes{'L', '1'};
    r.dialogs.fileAnswers.push_back(std::string("/cpu/kopie.bin"));
    r.form.mnuOpenCpuDatenAbspeichern_Click();
    EXPECT_FALSE(r.controls.mnuOpenCpuDatenAbspeichern.enabled());
    EXPECT_TRUE(r.controls.mnuCloseCpuDatenAbspeichern.enabled());
    r.form.mnuDatenuebertragungStart_Click();
    // Small chunks: none completes more than one telegram, so live shows every one.
    for (std::size_t pos = 0; pos < strom.size(); pos += 7) {
        r.form.receivePath().ShowData(ByteView(strom).subspan(pos, std::min<std::size_t>(7, strom.size() - pos)));
    }
    r.form.receivePath().ShowData({});  // an empty call writes nothing
    const std::vector<Bytes> live = std::exchange(r.angezeigt, {});
    ASSERT_EQ(live.size(), 5u);
    std::vector<app::Colour> ledsLive;
    for (const app::Control& led : r.controls.shpLed) ledsLive.push_back(led.colour());
    r.form.mnuDatenuebertragungStop_Click();
    r.form.mnuCloseCpuDatenAbspeichern_Click();
    EXPECT_TRUE(r.controls.mnuOpenCpuDatenAbspeichern.enabled());
    EXPECT_FALSE(r.cpuDatei.isOpen());
    EXPECT_EQ(r.cpuDatei.writeAttempts, static_cast<int>((strom.size() + 6) / 7));
    ASSERT_EQ(r.cpuDatei.files.at("/cpu/kopie.bin"), strom);

    r.spieleCpu(strom);
    EXPECT_EQ(r.angezeigt, live);
    std::vector<app::Colour> ledsWiedergabe;
    for (const app::Control& led : r.controls.shpLed) ledsWiedergabe.push_back(led.colour());
    EXPECT_EQ(ledsWiedergabe, ledsLive);
    EXPECT_EQ(r.state.AnsichtModus, 0);  // the status window is shown
    EXPECT_GT(r.pumpen, 1);
    erwarteBeendet(r);
}

TEST(CpuDaten, ReplaysRunToTheEndOfTheFileOrToTheStop) {
    // 27 telegrams: a 512-byte chunk holding 26 and a bit, then one byte. The 568-byte file:
    // 25 telegrams and 37 bytes of noise, then telegrams 26 and 27 and 18 bytes of a 28th in
    // a last chunk of 56 bytes; showing 26 cuts 56 bytes, so the buffer's length stays the same
    // while telegram 27 waits complete behind it.
    const Bytes t = telegramme(28);
    Bytes lang(t.begin(), t.begin() + 25 * 19);
    lang.resize(lang.size() + 37, 0x00);
    lang.insert(lang.end(), t.begin() + 25 * 19, t.end() - 1);
    struct Fall {
        const char* name;
        Bytes inhalt;
        int stoppNach;  // the user stops while events run after this chunk; 0 = never
        std::size_t angezeigt;
        const char* fortschritt;
    };
    const Fall faelle[] = {
        {"empty", {}, 0, 0, ""},
        {"513 bytes", telegramme(27), 0, 27, "513/513"},
        {"drain with unchanged length", lang, 0, 27, "568/568"},
        {"stopped after the first chunk", telegramme(100), 1, 1, "512/1900"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Fenster r;
        r.beimPumpen = [&] {
            if (r.pumpen == f.stoppNach) r.form.mnuStopCpuDatenWiedergabe_Click();
        };
        r.spieleCpu(f.inhalt);
        EXPECT_EQ(r.angezeigt.size(), f.angezeigt);
        if (f.angezeigt > 1) EXPECT_EQ(r.angezeigt.back()[2], block(26)[2]);
        EXPECT_EQ(r.controls.SSPanel3.caption(), f.fortschritt);
        EXPECT_TRUE(r.dialogs.boxes.empty());
        if (!f.stoppNach) EXPECT_LT(r.form.receivePath().receive().EmpfangsLaenge(), 19u);  // no telegram waits
        erwarteBeendet(r);
    }

    // Stopped and started again while the first replay waits: the new one runs to its end,
    // the old one does not come back.
    Fenster r;
    r.beimPumpen = [&] {
        if (r.pumpen != 1) return;
        r.form.mnuStopCpuDatenWiedergabe_Click();
        r.spieleCpu(telegramme(27), "/cpu/zwei.bin");
    };
    r.spieleCpu(telegramme(100));
    EXPECT_EQ(r.angezeigt.size(), 1u + 27u);
    erwarteBeendet(r);
}

TEST(CpuDaten, DialogAndFileErrorsEndTheReplay) {
    for (int fall = 0; fall < 4; ++fall) {
        SCOPED_TRACE(fall);
        Fenster r;
        if (fall == 0) r.quelle.existsError = "Permission denied";
        if (fall == 1) r.quelle.openError = "Permission denied";
        if (fall == 2) r.beimPumpen = [&] { r.quelle.failingReads = 1; };  // after the first chunk
        if (fall == 3) r.dialogs.fileAnswers.push_back(std::string("/cpu/weg.bin"));
        r.spieleCpu(telegramme(100));
        const char* texte[] = {"Permission denied", "Permission denied", "Input/output error",
                               "/cpu/weg.bin nicht gefunden!"};
        EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>{texte[fall]});
        EXPECT_EQ(r.dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
        EXPECT_EQ(r.angezeigt.size(), fall == 2 ? 26u : fall == 3 ? 100u : 0u);  // the first chunk is worked off
        erwarteBeendet(r);
    }
}

TEST(CpuDaten, StoringAsksBeforeReplacingAndWriteErrorsAskRetryOrCancelKeepingTheOrder) {
    Fenster r;
    r.cpuDatei.files["/cpu/alt.bin"] = {'a', 'b'};
    r.form.receivePath().ShowData(asBytes("-"));  // nothing is stored while no file is open
    r.dialogs.fileAnswers = {std::string("/cpu/alt.bin"), std::string("/cpu/alt.bin")};
    r.dialogs.answers = {ports::MsgResult::Cancel, ports::MsgResult::No};  // choose again, then append
    r.form.mnuOpenCpuDatenAbspeichern_Click();
    ASSERT_TRUE(r.form.cpuDaten().speichert());
    EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>(2, "Bestehende Datei ersetzen - /cpu/alt.bin?"));
    link::ReceivePath& pfad = r.form.receivePath();

    r.cpuDatei.failingWrites = 1;
    r.dialogs.waehrendBox = [&](std::size_t kasten) {
        if (kasten == 3) pfad.ShowData(asBytes("B"));  // arrives while the box is open
    };
    pfad.ShowData(asBytes("A"));  // Retry is the default answer
    ASSERT_EQ(r.dialogs.boxes.size(), 3u);
    EXPECT_EQ(r.dialogs.boxes[2].text, "No space left on device");
    EXPECT_EQ(r.dialogs.boxes[2].buttons, ports::MsgButtons::RetryCancel);
    EXPECT_EQ(r.cpuDatei.files.at("/cpu/alt.bin"), (Bytes{'a', 'b', 'A', 'B'}));

    r.cpuDatei.failingWrites = 1;
    r.dialogs.answers = {ports::MsgResult::Cancel};
    pfad.ShowData(asBytes("C"));
    EXPECT_FALSE(r.form.cpuDaten().speichert());
    EXPECT_TRUE(r.controls.mnuOpenCpuDatenAbspeichern.enabled());
    EXPECT_FALSE(r.controls.mnuCloseCpuDatenAbspeichern.enabled());
    const int versuche = r.cpuDatei.writeAttempts;
    pfad.ShowData(asBytes("D"));
    EXPECT_EQ(r.cpuDatei.writeAttempts, versuche);

    // Yes replaces; storing while replaying keeps the replayed bytes and goes on afterwards.
    r.dialogs.fileAnswers = {std::string("/cpu/alt.bin")};
    r.dialogs.answers = {ports::MsgResult::Yes};
    r.form.mnuOpenCpuDatenAbspeichern_Click();
    const Bytes inhalt = telegramme(60) + Bytes{'L', '1', 0x09};
    r.spieleCpu(inhalt);
    EXPECT_TRUE(r.form.cpuDaten().speichert());
    EXPECT_EQ(r.cpuDatei.files.at("/cpu/alt.bin"), inhalt);

    Fenster fehler;
    fehler.cpuDatei.openError = "Read-only file system";
    fehler.dialogs.fileAnswers = {std::string("/cpu/x.bin")};
    fehler.form.mnuOpenCpuDatenAbspeichern_Click();
    EXPECT_FALSE(fehler.form.cpuDaten().speichert());
    EXPECT_EQ(fehler.dialogs.texte(), std::vector<std::string>{"Read-only file system"});
    EXPECT_TRUE(fehler.controls.mnuOpenCpuDatenAbspeichern.enabled());
}

}  // namespace
}  // namespace krv::recorder::test
