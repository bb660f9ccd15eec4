// Recording through the main window: the files it writes byte for byte, the trigger and its
// ring, the end at the maximum, write errors, and what the menus, buttons and selector show.
#include "support/RecorderRig.hpp"

namespace krv::recorder::test {
namespace {

using Folge = std::vector<link::StatusBlock>;
Folge bloecke(int von, int bis) {
    Folge f;
    for (int i = von; i < bis; ++i) f.push_back(block(i));
    return f;
}
const Bytes kKopf0 = version1() + kanaele({}) + trigger(0, 200);

TEST(RecorderAufnahme, FilesHoldOneRecordPerRunAndTheTriggerModesKeepARing) {
    struct Fall {
        const char* name;
        int modus;
        Folge folge;
        Bytes erwartet;
        const char* meldung = nullptr;  // the recording ended by itself with this text
    };
    std::vector<Fall> faelle;
    faelle.push_back({"runs stamped when they end", 0, {block(1), block(1), block(2), block(1), block(1), block(1)},
                      kKopf0 + satz(block(1), 2, zeit(3)) + satz(block(2), 1, zeit(4)) + satz(block(1), 3, zeit(7))});
    Folge gleich;
    for (int i = 0; i < 300; ++i) {  // bytes 1 and 7..14, bit 1 of byte 3 and bit 0 of byte 4 are no status
        link::StatusBlock b = block(1);
        b[1] = static_cast<std::uint8_t>(i);
        b[9] = static_cast<std::uint8_t>(i * 3);
        b[3] = (i % 2) ? 0x02 : 0x00;
        b[4] = (i % 3) ? 0x01 : 0x00;
        gleich.push_back(b);
    }
    faelle.push_back({"count saturates", 0, gleich, kKopf0 + satz(block(1), 255, zeit(301))});
    faelle.push_back({"no telegram in a trigger mode", 5, {}, trigger(5, 200)});
    faelle.push_back({"no telegram in mode 0", 0, {}, {}});

    Folge cpu = bloecke(0, 45);
    cpu[5] = block(5, 0x19);  // CPU error flag: the trigger of mode 1
    Bytes e = version1() + kanaele({}) + trigger(1, 6);
    for (int i = 0; i < 34; ++i) e = e + satz(cpu[i], 1, zeit(i + 2));
    // The 30th change after the trigger record (telegram 36) stores the pending run and ends.
    faelle.push_back({"CPU error trigger", 1, cpu, e + satz(cpu[34], 1, zeit(36)), "Datenrecorder stop. Trigger ausgelöst."});

    Folge klemme = bloecke(0, 4);  // mode 13 watches byte 3, mask 0x10, compared with the first telegram
    klemme[0][3] = klemme[1][3] = 0x10;
    e = version1() + kanaele({}) + trigger(13, 3);
    for (int i = 0; i < 4; ++i) e = e + satz(klemme[i], 1, zeit(i + 2));
    faelle.push_back({"terminal trigger", 13, klemme, e});
    // Mode 16 watches byte 3, mask 0x02, which the file always stores set: it never fires.
    faelle.push_back({"forced bit", 16, bloecke(0, 3),
                      version1() + kanaele({}) + trigger(16, 200) + satz(block(0), 1, zeit(2)) +
                          satz(block(1), 1, zeit(3)) + satz(block(2), 1, zeit(4))});
    e = version1() + kanaele({}) + trigger(1, 149);  // the ring start moved to 51
    for (int i = 51; i < 250; ++i) e = e + satz(block(i), 1, zeit(i + 2));
    faelle.push_back({"ring wrapped, never fired", 1, bloecke(0, 250), e});

    Folge viele;
    e = kKopf0;
    for (int i = 0; i < 52638; ++i) {
        viele.push_back(block(i % 2));
        const Bytes s = satz(block((i - 1) % 2), 1, zeit(i + 1));
        if (i >= 1 && i <= 52632) e.insert(e.end(), s.begin(), s.end());
    }
    faelle.push_back({"maximum after record 52632", 0, viele, e, "Maximum der Datenrecorder-Datei erreicht"});

    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Fenster r;
        r.state.einstellungen.TriggerModus = f.modus;
        ASSERT_TRUE(r.starte());
        r.state.einstellungen.TriggerModus = 0;  // a "T" record received meanwhile changes nothing
        for (const auto& b : f.folge) r.sende(b);
        EXPECT_EQ(r.form.recorder().laeuft(), f.meldung == nullptr);
        EXPECT_EQ(r.state.PortOffen, f.meldung == nullptr);
        r.stoppe();
        EXPECT_EQ(r.datei(), f.erwartet);
        EXPECT_EQ(r.dialogs.texte(), f.meldung ? std::vector<std::string>{f.meldung} : std::vector<std::string>{});
        EXPECT_FALSE(r.protokoll.isOpen());
    }
}

TEST(RecorderAufnahme, LongTelegramsAndAppendedRecordingsAreWritten) {
    Fenster r;
    ASSERT_TRUE(r.starte());
    link::StatusBlock fehler = block(7, 0x1D);
    fehler[15] = 0x33;
    r.sendeRoh(link::langTelegramm(link::langeNutzdaten(fehler, 123456, Bytes(256, 0xAA))));
    r.stoppe();
    const Bytes erste = kKopf0 + satz(fehler, 1, zeit(2));
    ASSERT_EQ(r.datei(), erste);

    // An existing file: Cancel asks for the file again, No appends behind the old content.
    r.state.einstellungen.KanalTab[0] = 9;
    r.dialogs.fileAnswers.push_back(std::string("/rec/a.log"));
    r.dialogs.answers = {ports::MsgResult::Cancel, ports::MsgResult::No};
    ASSERT_TRUE(r.starte());
    EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>(2, "Bestehende Datei ersetzen - /rec/a.log?"));
    r.sende(block(2));
    r.sende(block(3));
    r.stoppe();
    EXPECT_EQ(r.datei(), erste + version1() + kanaele({9}) + trigger(0, 200) + satz(block(2), 1, zeit(4)) +
                             satz(block(3), 1, zeit(5)));
    r.dialogs.answers = {ports::MsgResult::Yes};
    ASSERT_TRUE(r.starte());
    EXPECT_TRUE(r.datei().empty());
}

TEST(RecorderAufnahme, WriteErrorsAskRetryOrCancelAndCancelKeepsTheRecordsBefore) {
    struct Fall {
        const char* name;
        int modus, vorher, fehlschlaege;
        std::deque<ports::MsgResult> antworten;
        Bytes erwartet;
        bool laeuft;
    };
    const Fall faelle[] = {
        {"retry then cancel", 0, 2, 2, {ports::MsgResult::Retry, ports::MsgResult::Cancel},
         kKopf0 + satz(block(0), 1, zeit(2)), false},
        {"retry succeeds", 0, 2, 1, {ports::MsgResult::Retry},
         kKopf0 + satz(block(0), 1, zeit(2)) + satz(block(1), 1, zeit(3)) + satz(block(2), 1, zeit(4)) +
             satz(block(3), 1, zeit(5)),
         true},
        {"cancel on the header", 3, 0, 1, {ports::MsgResult::Cancel}, {}, false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Fenster r;
        r.state.einstellungen.TriggerModus = f.modus;
        ASSERT_TRUE(r.starte());
        for (int i = 0; i < f.vorher; ++i) r.sende(block(i));
        r.protokoll.failingWrites = f.fehlschlaege;
        r.dialogs.answers = f.antworten;
        r.sende(block(f.vorher));
        const int versuche = r.protokoll.writeAttempts;
        ASSERT_EQ(r.dialogs.boxes.size(), f.antworten.size());
        EXPECT_EQ(r.dialogs.boxes[0].text, "No space left on device");
        EXPECT_EQ(r.dialogs.boxes[0].buttons, ports::MsgButtons::RetryCancel);
        EXPECT_EQ(r.form.recorder().laeuft(), f.laeuft);
        r.sende(block(f.vorher + 1));
        r.stoppe();
        if (!f.laeuft) EXPECT_EQ(r.protokoll.writeAttempts, versuche);  // nothing tried after Cancel
        EXPECT_EQ(r.datei(), f.erwartet);
        EXPECT_TRUE(r.controls.mnuOpenLog.enabled());
    }
}

TEST(RecorderAufnahme, MenusButtonsAndTheTriggerSelectorFollowTheRecording) {
    Fenster r;
    r.form.mnuOpenLog_Click();  // cancelled
    EXPECT_FALSE(r.form.recorder().laeuft());
    EXPECT_TRUE(r.protokoll.files.empty());
    r.sende(block(1));  // nothing is recorded while idle
    EXPECT_EQ(r.protokoll.writeAttempts, 0);

    for (std::optional<std::string>* fehler : {&r.protokoll.existsError, &r.protokoll.openError}) {
        *fehler = "Permission denied";
        EXPECT_FALSE(r.starte());
        EXPECT_EQ(r.dialogs.texte().back(), "Permission denied");
        EXPECT_FALSE(r.state.PortOffen);
        fehler->reset();
    }

    const app::MainFormState& c = r.controls;
    app::Control& selektor = r.tc().cboKlemmen[timing::kTriggerSelektor];
    r.state.einstellungen.TriggerModus = 1;
    r.dialogs.fileAnswers.push_back(std::string("/rec/neu.log"));
    r.form.cmdRecorderStartStop_Click();
    ASSERT_TRUE(r.form.recorder().laeuft());
    EXPECT_EQ(r.tc().lblDateiname.caption(), "neu.log");
    EXPECT_TRUE(r.state.PortOffen);
    EXPECT_TRUE(c.mnuTimingDiagramm.checked());
    EXPECT_FALSE(c.mnuOpenLog.enabled());
    EXPECT_TRUE(c.mnuCloseLog.enabled());
    EXPECT_EQ(c.cmdRecorderStartStop.caption(), "Recorder stop");
    EXPECT_FALSE(c.cmdWiedergabeStart.visible());
    EXPECT_FALSE(c.mnuStartSimulation.enabled());
    EXPECT_FALSE(selektor.enabled());
    r.state.einstellungen.SprachOffset = 10000;
    r.form.recorder().Init_SpracheRecorder();
    EXPECT_EQ(c.cmdRecorderStartStop.caption(), "recording stop");

    EXPECT_EQ(selektor.colour(), app::kWeiss);
    r.sende(block(2, 0x19));
    EXPECT_EQ(selektor.colour(), app::kGelb);  // armed
    r.sende(block(3));
    EXPECT_EQ(selektor.colour(), app::kGruen);  // the record with the flag fired it

    r.form.cmdRecorderStartStop_Click();
    EXPECT_FALSE(r.form.recorder().laeuft());
    EXPECT_EQ(selektor.colour(), app::kWeiss);
    EXPECT_TRUE(selektor.enabled());
    EXPECT_FALSE(r.state.PortOffen);
    EXPECT_TRUE(c.mnuOpenLog.enabled());
    EXPECT_FALSE(c.mnuCloseLog.enabled());
    EXPECT_EQ(c.cmdRecorderStartStop.caption(), "recording start");
    EXPECT_TRUE(c.cmdWiedergabeStart.visible());
    EXPECT_TRUE(c.mnuStartSimulation.enabled());
    EXPECT_TRUE(c.mnuDatenuebertragungStart.enabled());
    EXPECT_EQ(r.protokoll.closes, 1);
    r.form.mnuCloseLog_Click();  // a second stop (at shutdown) does nothing
    EXPECT_EQ(r.protokoll.closes, 1);
    EXPECT_EQ(r.dialogs.fileDialogs.size(), 4u);
}

}  // namespace
}  // namespace krv::recorder::test
