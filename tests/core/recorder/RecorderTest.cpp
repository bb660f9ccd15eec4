// Recording through the main window: the files it writes byte for byte, the trigger and its ring,
// the end at the maximum, and what the menus, buttons and trigger selector show.
#include "support/RecorderRig.hpp"

namespace krv::recorder::test {
namespace {

using Folge = std::vector<link::StatusBlock>;
Folge bloecke(int von, int bis) {
    Folge f;
    for (int i = von; i < bis; ++i) f.push_back(block(i));
    return f;
}
// Header and the records of f[von..bis), each ended by the next telegram (telegram k at zeit(k)).
Bytes saetze(int modus, int anzahl, const Folge& f, int von, int bis) {
    Bytes b = version1() + kanaele({}) + trigger(static_cast<std::uint8_t>(modus), anzahl);
    for (int i = von; i < bis; ++i) b = std::move(b) + satz(f[i], 1, zeit(i + 2));
    return b;
}

TEST(RecorderAufnahme, FilesHoldOneRecordPerRunAndTheTriggerModesKeepARing) {
    Folge gleich(300, block(1));  // bytes 1 and 7..14, bit 1 of byte 3 and bit 0 of byte 4 are no status
    for (int i = 0; i < 300; ++i) gleich[i][3] = 2 * (gleich[i][1] = gleich[i][9] = gleich[i][4] = i % 2);
    Folge cpu = bloecke(0, 45);
    cpu[5] = block(5, 0x19);       // CPU error flag: the trigger of mode 1
    Folge klemme = bloecke(0, 4);  // mode 37 watches byte 6, mask 0x10, against the first telegram
    klemme[0][6] = klemme[1][6] = 0x10;
    const Folge sofort{block(0, 0x19), block(1)};  // fired in the ring's first slot
    Folge viele;
    for (int i = 0; i < 52638; ++i) viele.push_back(block(i % 2));
    const Bytes lauf = saetze(0, 200, {}, 0, 0);
    const std::tuple<const char*, int, Folge, Bytes, const char*> faelle[] = {
        {"runs stamped when they end", 0, {block(1), block(1), block(2), block(1), block(1), block(1)},
         lauf + satz(block(1), 2, zeit(3)) + satz(block(2), 1, zeit(4)) + satz(block(1), 3, zeit(7)),
         nullptr},
        {"count saturates", 0, gleich, lauf + satz(block(1), 255, zeit(301)), nullptr},
        {"no telegram in a trigger mode", 5, {}, trigger(5, 200), nullptr},
        {"no telegram in mode 0", 0, {}, {}, nullptr},
        // The 30th change after the trigger record (telegram 36) stores the pending run and ends.
        {"CPU error trigger", 1, cpu, saetze(1, 6, cpu, 0, 34) + satz(cpu[34], 1, zeit(36)),
         "Datenrecorder stop. Trigger ausgelöst."},
        {"terminal trigger", 37, klemme, saetze(37, 3, klemme, 0, 4), nullptr},
        {"trigger in the first record", 1, sofort, saetze(1, 1, sofort, 0, 2), nullptr},
        // Mode 16 watches byte 3, mask 0x02, which the file always stores set: it never fires.
        {"forced bit", 16, bloecke(0, 3), saetze(16, 200, bloecke(0, 3), 0, 3), nullptr},
        {"ring wrapped, never fired", 1, bloecke(0, 250), saetze(1, 149, bloecke(0, 250), 51, 250), nullptr},
        {"maximum after record 52632", 0, viele, saetze(0, 200, viele, 0, 52632),
         "Maximum der Datenrecorder-Datei erreicht"}};
    for (const auto& [name, modus, folge, erwartet, meldung] : faelle) {
        SCOPED_TRACE(name);
        Fenster r;
        r.state.einstellungen.TriggerModus = modus;
        ASSERT_TRUE(r.starte());
        r.state.einstellungen.TriggerModus = 0;  // a "T" record received meanwhile changes nothing
        for (const auto& b : folge) r.sende(b);
        EXPECT_EQ(std::pair(r.form.recorder().laeuft(), r.state.PortOffen), std::pair(!meldung, !meldung));
        r.stoppe();
        EXPECT_EQ(r.datei(), erwartet);
        EXPECT_EQ(r.dialogs.texte(), std::vector<std::string>(meldung != nullptr, meldung ? meldung : ""));
        EXPECT_FALSE(r.protokoll.isOpen());
    }
}

TEST(RecorderAufnahme, MenusButtonsAndTheTriggerSelectorFollowTheRecording) {
    Fenster r;
    r.form.mnuOpenLog_Click();  // cancelled
    r.sende(block(1));          // nothing is recorded while idle
    EXPECT_TRUE(r.protokoll.files.empty());
    for (std::optional<std::string>* fehler : {&r.protokoll.existsError, &r.protokoll.openError}) {
        *fehler = "Permission denied";
        EXPECT_TRUE(!r.starte() && !r.state.PortOffen && r.dialogs.texte().back() == *fehler);
        fehler->reset();
    }
    app::MainFormState& c = r.controls;
    app::Control& selektor = r.tc().cboKlemmen[timing::kTriggerSelektor];
    r.state.einstellungen.TriggerModus = 1;
    r.state.einstellungen.SprachOffset = 10000;  // one sample of the second language
    r.dialogs.fileAnswers.push_back(std::string("/rec/neu.log"));
    r.form.cmdRecorderStartStop_Click();
    EXPECT_TRUE(r.tc().lblDateiname.caption() == "neu.log" && c.mnuTimingDiagramm.checked());
    EXPECT_EQ(selektor.colour(), app::kWeiss);
    link::StatusBlock fehler = block(7, 0xFD);  // a long telegram's status block, with the CPU error flag
    fehler[15] = 0x33;
    r.sendeRoh(link::langTelegramm(link::langeNutzdaten(fehler, 123456, Bytes(256, 0xAA))));
    EXPECT_EQ(selektor.colour(), app::kGelb);  // armed
    r.sende(block(3));
    EXPECT_EQ(selektor.colour(), app::kGruen);  // the record with the flag fired it
    // Enabled while recording; the stop switches them back.
    const std::pair<const app::Control*, bool> bedienbar[] = {
        {&c.mnuOpenLog, false}, {&c.mnuCloseLog, true}, {&c.mnuStartSimulation, false}, {&selektor, false}};
    for (const bool danach : {false, true}) {
        if (danach) r.form.cmdRecorderStartStop_Click();
        EXPECT_EQ(std::pair(r.form.recorder().laeuft(), r.state.PortOffen), std::pair(!danach, !danach));
        for (const auto& [e, an] : bedienbar) EXPECT_EQ(e->enabled(), an != danach) << e->name() << danach;
        EXPECT_EQ(c.cmdWiedergabeStart.visible(), danach);
        const std::string titel = danach ? "recording start" : "recording stop";
        EXPECT_EQ(c.cmdRecorderStartStop.caption(), titel);
        c.cmdRecorderStartStop.setCaption({});
        r.form.recorder().Init_SpracheRecorder();
        EXPECT_EQ(c.cmdRecorderStartStop.caption(), titel);
    }
    EXPECT_TRUE(selektor.colour() == app::kWeiss && c.mnuDatenuebertragungStart.enabled());
    r.form.mnuCloseLog_Click();  // a second stop (at shutdown) does nothing
    EXPECT_EQ(std::pair(r.protokoll.closes, r.dialogs.fileDialogs.size()), std::pair(1, std::size_t{4}));
    const Bytes datei = trigger(1, 1) + satz(fehler, 1, zeit(3)) + satz(block(3), 1, zeit(3));
    EXPECT_EQ(r.protokoll.files.at("/rec/neu.log"), version1() + kanaele({}) + datei);
    // The file exists: Cancel asks for a file again, No appends (a lone trigger record, mode 1).
    r.dialogs.fileAnswers = {std::string("/rec/neu.log"), std::string("/rec/neu.log")};
    r.dialogs.answers = {ports::MsgResult::Cancel, ports::MsgResult::No};
    r.form.mnuOpenLog_Click();
    r.stoppe();
    EXPECT_EQ(r.dialogs.texte().back(), "replace File - /rec/neu.log?");
    EXPECT_EQ(r.protokoll.files.at("/rec/neu.log"), version1() + kanaele({}) + datei + trigger(1, 200));
}

}  // namespace
}  // namespace krv::recorder::test
