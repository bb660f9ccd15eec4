// CPU data through the main window: every chunk that reaches ShowData stored as it came, the
// Retry/Cancel rule on write errors, and the replay in 512-byte chunks with its drain and stop.
#include "support/RecorderRig.hpp"

namespace krv::recorder::test {
namespace {

Bytes telegramme(int n) {
    Bytes b;
    for (int i = 0; i < n; ++i) b = b + link::kurzTelegramm(block(i));
    return b;
}

TEST(CpuDaten, StoredLiveDataReplaysToTheSameTelegramsAndWriteErrorsAskRetryOrCancel) {
    Fenster r;
    Bytes kaputt = link::kurzTelegramm(block(5));
    kaputt.back() ^= 0xFF;
    const Bytes lang = link::langTelegramm(link::langeNutzdaten({0x0C, 0, 0xF0}, 1234, Bytes(256, 0x4C)));
    const Bytes strom = link::kurzTelegramm(block(1)) + Bytes{0, 'x', 'L'} + link::kurzTelegramm(block(2)) +
                        kaputt + lang + link::kurzTelegramm(block(3, 0x19)) + version1() + Bytes{'L', '1'};
    link::ReceivePath& pfad = r.form.receivePath();
    r.cpuDatei.files["/k.bin"] = {'a'};
    r.dialogs.fileAnswers = {std::string("/k.bin"), std::string("/k.bin")};
    r.dialogs.answers = {ports::MsgResult::Cancel, ports::MsgResult::No};  // choose again, then append
    r.form.mnuOpenCpuDatenAbspeichern_Click();
    EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>(2, "Bestehende Datei ersetzen - /k.bin?"));
    const app::Control& auf = r.controls.mnuOpenCpuDatenAbspeichern;
    const app::Control& zu = r.controls.mnuCloseCpuDatenAbspeichern;
    EXPECT_EQ(std::pair(auf.enabled(), zu.enabled()), std::pair(false, true));
    r.form.mnuDatenuebertragungStart_Click();
    for (std::size_t pos = 0; pos < strom.size(); pos += 7) {  // none completes two telegrams
        pfad.ShowData(ByteView(strom).subspan(pos, std::min<std::size_t>(7, strom.size() - pos)));
    }
    pfad.ShowData({});  // an empty call writes nothing
    const std::vector<Bytes> live = std::exchange(r.angezeigt, {});
    ASSERT_EQ(live.size(), 4u);
    EXPECT_EQ(r.cpuDatei.writeAttempts, static_cast<int>((strom.size() + 6) / 7));
    r.form.mnuDatenuebertragungStop_Click();

    r.cpuDatei.failingWrites = 1;
    r.dialogs.waehrendBox = [&](std::size_t kasten) {
        if (kasten == 3) pfad.ShowData(asBytes("B"));  // arrives while the box is open
    };
    pfad.ShowData(asBytes("A"));  // Retry is the default answer
    EXPECT_EQ(r.dialogs.texte().back(), "No space left on device");
    EXPECT_EQ(r.dialogs.boxes.back().buttons, ports::MsgButtons::RetryCancel);
    r.form.mnuCloseCpuDatenAbspeichern_Click();
    EXPECT_EQ(std::pair(auf.enabled(), zu.enabled()), std::pair(true, false));
    EXPECT_EQ(r.cpuDatei.files.at("/k.bin"), Bytes{'a'} + strom + asBytes("AB"));
    r.spiele(r.cpuDatei.files.at("/k.bin"), "/k.bin", true);
    EXPECT_EQ(r.angezeigt, live);
    EXPECT_EQ(r.state.AnsichtModus, 0);  // the status window is shown

    r.dialogs.fileAnswers = {std::string("/k.bin")};
    r.dialogs.answers = {ports::MsgResult::Yes, ports::MsgResult::Cancel};  // replace; then a write fails
    r.form.mnuOpenCpuDatenAbspeichern_Click();
    r.cpuDatei.failingWrites = 1;
    pfad.ShowData(asBytes("C"));
    const int versuche = r.cpuDatei.writeAttempts;
    pfad.ShowData(asBytes("D"));
    EXPECT_EQ(std::tuple(r.form.cpuDaten().speichert(), auf.enabled(), r.cpuDatei.writeAttempts),
              std::tuple(false, true, versuche));  // closed by Cancel: nothing more tried
    EXPECT_TRUE(r.cpuDatei.files.at("/k.bin").empty());
}

TEST(CpuDaten, ReplaysRunToTheEndOfTheFileOrToTheStopOrToAFileError) {
    // 513 bytes: a chunk of 26 telegrams and a bit, then one byte. In the last 56-byte chunk of "lang",
    // showing telegram 26 cuts 37 bytes of noise and itself: the length stays, yet 27 waits complete.
    const Bytes t = telegramme(28);
    Bytes lang(t.begin(), t.begin() + 25 * 19);
    lang.resize(lang.size() + 37, 0x00);
    lang.insert(lang.end(), t.begin() + 25 * 19, t.end() - 1);
    const char* p = "Permission denied";
    const std::tuple<const char*, Bytes, std::size_t, const char*, const char*> faelle[] = {
        {"empty", {}, 0, "", nullptr}, {"513 bytes", telegramme(27), 27, "513/513", nullptr},
        {"drain with unchanged length", lang, 27, "568/568", nullptr},
        {"stopped after the first chunk", telegramme(100), 1, "512/1900", nullptr},
        {"stopped and started again", telegramme(100), 1 + 27, "513/513", nullptr},  // the old one stays out
        {"read error after the first chunk", telegramme(100), 26, "512/1900", "Input/output error"},
        {"exists fails", telegramme(9), 0, "", p}, {"open fails", telegramme(9), 0, "", p},
        {"missing, then chosen again", telegramme(100), 100, "1900/1900", "/weg.bin nicht gefunden!"}};
    for (const auto& [name, inhalt, angezeigt, fortschritt, meldung] : faelle) {
        SCOPED_TRACE(name);
        const std::string fall = name;
        Fenster r;
        r.beimPumpen = [&, fall] {
            if (r.pumpen != 1) return;
            if (fall.starts_with("read")) r.quelle.failingReads = 1;
            if (fall.starts_with("stopped")) r.form.mnuStopCpuDatenWiedergabe_Click();
            if (fall.ends_with("again") && fall[0] == 's') r.spiele(telegramme(27), "/zwei.bin", true);
        };
        if (fall.ends_with("fails")) (fall[0] == 'o' ? r.quelle.openError : r.quelle.existsError) = meldung;
        if (fall.starts_with("missing")) r.dialogs.fileAnswers.push_back(std::string("/weg.bin"));
        r.spiele(inhalt, "/roh.bin", true);
        EXPECT_EQ(r.angezeigt.size(), angezeigt);
        const int letzter = angezeigt == 28 ? 26 : static_cast<int>(angezeigt) - 1;
        if (angezeigt > 1) { EXPECT_EQ(r.angezeigt.back()[2], block(letzter)[2]); }
        EXPECT_EQ(r.controls.SSPanel3.caption(), fortschritt);
        EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>(meldung != nullptr, meldung ? meldung : ""));
        // Nothing waits in the buffer afterwards.
        if (fall[0] != 's') { EXPECT_LT(r.form.receivePath().receive().EmpfangsLaenge(), 19u); }
        const app::MainFormState& c = r.controls;
        EXPECT_EQ(std::tuple(r.form.cpuDaten().wiedergabeLaeuft(), r.state.CpuWiedergabeAktiv,
                             r.quelle.openFiles, c.mnuStartCpuDatenWiedergabe.enabled(),
                             c.mnuStopCpuDatenWiedergabe.enabled(), c.mnuDatenuebertragungStart.enabled()),
                  std::tuple(false, false, 0, true, false, true));
    }
}

}  // namespace
}  // namespace krv::recorder::test
