// Playback of protocol files through the real main window: the start and its rejections, the
// window loader's choices, the cursor and labels, the picture following the cursor, files that
// fail while they are played, and the scroll bar control.
#include "core/recorder/Wiedergabe.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "../link/PortTestDoubles.hpp"
#include "core/app/MainForm.hpp"
#include "core/app/ProgramEntry.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/MemoryFileSource.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedPictures.hpp"
#include "core/recorder/ProtocolFile.hpp"
#include "core/timing/RasterSpur.hpp"
#include "core/recorder/RecorderTestSupport.hpp"

namespace krv::recorder {
namespace {

class FreieInstanz : public ports::InstanceLock {
public:
    bool acquire() override { return true; }
};

using test::FormHost;

// Every chunk that reached ShowData.
struct Aufrufe : link::DispatchHooks {
    std::vector<std::size_t> laengen;
    void aufrufEnde(ByteView chunk) override { laengen.push_back(chunk.size()); }
};

const char* const kLegende = " Klemmen- und LED-Farben: rot=0V/offen, grün=24V/geschlossen, gelb=hochohmig";

// Record i of the test files: model 9, terminal bit 0 on for odd i, 10:00:00 + i seconds.
double zeit(int sekunden) { return datumswert({2026, 3, 1, 10, 0, 0, 0}) + sekunden / 86400.0; }

Bytes satz(int i, std::uint8_t anzahl = 1, std::uint8_t cpuFehler = 0) {
    StatusBlock block{};
    block[0] = static_cast<std::uint8_t>(0x09 | (cpuFehler ? 0x10 : 0));
    block[2] = (i % 2) ? 0x80 : 0x00;
    block[15] = cpuFehler;
    const Datensatz d = datenSatz(normalisiere(block), anzahl, zeit(i));
    return Bytes(d.begin(), d.end());
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Version, channels (channel 0 shows terminal bit 0, channel 8 terminal 36) and trigger: 25 bytes.
Bytes kopf() { return versionsSatz() + kanalSatz({1, 0, 0, 0, 0, 0, 0, 0, 36}) + triggerSatz(3, 12); }

// The first n bytes of record i: a record cut off by the end of the file.
Bytes satzAnfang(int i, std::size_t n) {
    Bytes s = satz(i);
    s.resize(n);
    return s;
}

Bytes datei(int saetze) {
    Bytes b = kopf();
    for (int i = 0; i < saetze; ++i) {
        const Bytes s = satz(i);
        b.insert(b.end(), s.begin(), s.end());
    }
    return b;
}

// The main window as the program starts it, with strips 27 pixels wide: 10 samples fit.
struct Rig {
    Rig() {
        ProgrammStartVorDemHauptfenster(state, profile, dialogs, lock, "/data/", {});
        form.Form_Load();
        ProgrammStartNachDemLaden(state, form);
        std::array<timing::Spur*, timing::kAnzahlKanaele> zeiger{};
        for (std::size_t i = 0; i < spuren.size(); ++i) {
            spuren[i] = std::make_unique<timing::RasterSpur>(27, 16);
            zeiger[i] = spuren[i].get();
        }
        form.timing().setzeSpuren(zeiger);
        form.timing().onScrollWertSetzen = [this](std::int32_t v) { hsb.setValue(v); };
        form.timing().onScrollFokus = [this] { hsb.setFocus(); };
        form.beobachter = &aufrufe;
    }

    bool spiele(const Bytes& inhalt, const std::string& pfad = "/log/a.log") {
        dateien.files[pfad] = inhalt;
        dialogs.fileAnswers.push_back(pfad);
        wiedergabe.mnuStartSimulation_Click();
        return wiedergabe.laeuft();
    }
    const WiedergabeZustand& z() const { return wiedergabe.zustand(); }
    std::pair<std::int32_t, std::int32_t> fenster() const { return {z().FensterStart, z().FensterEnde}; }
    const timing::TimingFormState& tc() { return form.timingControls(); }
    const timing::SampleStore& samples() { return form.timing().samples(); }
    std::vector<std::string> meldungen() const {
        std::vector<std::string> texte;
        for (const auto& box : dialogs.boxes) texte.push_back(box.text);
        return texte;
    }
    app::Control& led(int bit) { return controls.shpLed[static_cast<std::size_t>(form.device().KonvertBitToLed(bit))]; }

    krv::test::Log log;
    app::MemoryProfile profile;
    ports::ManualClock clock;
    ports::ScriptedDialogs dialogs;
    krv::test::ScriptedSerialPort port{log};
    FreieInstanz lock;
    ports::AlwaysLoads pictures;
    ports::RecordingPrinter printer;
    ports::MemoryFileSink protokoll;
    ports::MemoryFileSource dateien;
    app::ProgramState state;
    app::MainFormState controls;
    // The window's own CPU data file and file reader; the tests drive separate ones.
    ports::MemoryFileSink formCpuDatei;
    ports::MemoryFileSource formQuelle;
    app::MainForm form{state, controls,
                       app::Ports{profile, clock, dialogs, port, pictures, printer, protokoll, formCpuDatei, formQuelle}};
    app::ScrollBarControl hsb{"hsbTimingDiagram"};
    FormHost host{form};
    Wiedergabe wiedergabe{state, controls, hsb, dialogs, dateien, host};
    std::array<std::unique_ptr<timing::RasterSpur>, timing::kAnzahlKanaele> spuren;
    Aufrufe aufrufe;
};

// ---- Start and end -----------------------------------------------------------------------

TEST(WiedergabeStart, TheFirstWindowIsLoadedAndEverythingSwitchesToPlayback) {
    Rig rig;
    rig.form.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(rig.port.offen);
    ASSERT_TRUE(rig.spiele(datei(100)));
    const app::MainFormState& c = rig.controls;

    EXPECT_FALSE(rig.port.offen);  // data transfer was stopped first
    EXPECT_EQ(rig.host.transferStops, 1);
    ASSERT_EQ(rig.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(rig.dialogs.fileDialogs[0].title, "Protokolldatei öffnen zur Wiedergabe");
    EXPECT_EQ(rig.dialogs.fileDialogs[0].filter, "Protokolldateien (*.LOG)|*.log");
    EXPECT_EQ(rig.dialogs.fileDialogs[0].initialName, "default.log");
    EXPECT_TRUE(rig.dialogs.boxes.empty());

    EXPECT_EQ(rig.state.playback.SimulationsStatus, 2);
    EXPECT_EQ(rig.z().ErsterDatensatzPos, 26);
    EXPECT_EQ(rig.z().AnzahlDatensaetze, 100);
    EXPECT_EQ(rig.fenster(), std::make_pair(0, 9));
    EXPECT_EQ(rig.z().HalbesFenster, 4);  // 4.5 to the even neighbour
    EXPECT_EQ(rig.samples().AnzahlSamples, 11);  // the eleventh sample ended the window
    EXPECT_EQ(rig.hsb.max(), 99);
    EXPECT_EQ(rig.hsb.value(), 0);
    EXPECT_EQ(rig.hsb.largeChange(), 10);
    EXPECT_TRUE(rig.hsb.visible());
    EXPECT_GE(rig.hsb.focusRequests(), 1u);

    // The header area set channels and trigger.
    EXPECT_EQ(rig.state.einstellungen.KanalTab[0], 1);
    EXPECT_EQ(rig.state.einstellungen.KanalTab[8], 36);
    EXPECT_EQ(rig.state.einstellungen.TriggerModus, 3);
    EXPECT_EQ(rig.state.playback.TriggerSatzNr, 12);
    EXPECT_EQ(rig.tc().cboKlemmen[0].listIndex(), 1);

    EXPECT_EQ(c.SSPanel3.caption(), "1/100");
    EXPECT_EQ(c.SSPanel2.caption(), kLegende);
    EXPECT_EQ(rig.tc().lblDateiname.caption(), "a.log");
    EXPECT_EQ(rig.tc().lblStartDatum.caption(), "2026-03-01 10:00:00");
    EXPECT_EQ(rig.tc().lblEndeDatum.caption(), "2026-03-01 10:01:39");
    EXPECT_EQ(rig.tc().lblAktuelleZeit.caption(), "2026-03-01 10:00:00");
    EXPECT_TRUE(rig.tc().fraTimingStatus.visible());
    EXPECT_FALSE(rig.tc().cboKlemmen[timing::kTriggerSelektor].enabled());
    for (const auto& l : rig.tc().Line1) {
        EXPECT_TRUE(l.visible());
        EXPECT_EQ(l.x(), 0);
    }
    // Channel 0 is drawn from the store: bit 0 alternates, so the trace has edges.
    EXPECT_NE(rig.spuren[0]->bild(), timing::RasterSpur(27, 16).bild());

    EXPECT_EQ(rig.state.AnsichtModus, 1);
    EXPECT_TRUE(c.mnuTimingDiagramm.checked());
    EXPECT_FALSE(c.mnuStatusFenster.enabled());
    EXPECT_FALSE(c.mnuHardwareAuswahl.enabled());
    EXPECT_FALSE(c.mnuStartSimulation.enabled());
    EXPECT_FALSE(c.mnuOpenLog.enabled());
    EXPECT_TRUE(c.mnuEndSimulation.enabled());
    EXPECT_FALSE(c.mnuDatenuebertragungStart.enabled());
    EXPECT_FALSE(c.cmdTimingDiagrammStartStop.visible());
    EXPECT_FALSE(c.cmdRecorderStartStop.visible());
    EXPECT_EQ(c.cmdRecorderStartStop.caption(), "Recorder stop");
    EXPECT_FALSE(c.cmdWiedergabeStart.visible());
    EXPECT_TRUE(c.cmdWiedergabeStop.visible());
    EXPECT_EQ(rig.state.HardwareIndex, 9);

    rig.wiedergabe.cmdWiedergabeStop_Click();
    EXPECT_EQ(rig.state.playback.SimulationsStatus, 0);
    EXPECT_EQ(rig.dateien.openFiles, 0);
    EXPECT_FALSE(rig.hsb.visible());
    EXPECT_FALSE(rig.tc().fraTimingStatus.visible());
    EXPECT_FALSE(rig.tc().Line1[4].visible());
    EXPECT_TRUE(rig.tc().cboKlemmen[timing::kTriggerSelektor].enabled());
    EXPECT_EQ(rig.spuren[0]->bild(), timing::RasterSpur(27, 16).bild());
    EXPECT_TRUE(c.mnuStatusFenster.enabled());
    EXPECT_TRUE(c.mnuHardwareAuswahl.enabled());
    EXPECT_TRUE(c.mnuStartSimulation.enabled());
    EXPECT_TRUE(c.mnuOpenLog.enabled());
    EXPECT_FALSE(c.mnuEndSimulation.enabled());
    EXPECT_TRUE(c.mnuDatenuebertragungStart.enabled());
    EXPECT_TRUE(c.cmdTimingDiagrammStartStop.visible());
    EXPECT_TRUE(c.cmdRecorderStartStop.visible());
    EXPECT_EQ(c.cmdRecorderStartStop.caption(), "Recorder start");
    EXPECT_TRUE(c.cmdWiedergabeStart.visible());
    EXPECT_FALSE(c.cmdWiedergabeStop.visible());

    // The button starts only while the menu item may.
    rig.controls.mnuStartSimulation.setEnabled(false);
    rig.wiedergabe.cmdWiedergabeStart_Click();
    EXPECT_EQ(rig.dialogs.fileDialogs.size(), 1u);
}

TEST(WiedergabeStart, DialogCancelMissingFilesAndFileErrorsEndTheStart) {
    Rig rig;
    rig.wiedergabe.mnuStartSimulation_Click();  // cancelled
    EXPECT_FALSE(rig.wiedergabe.laeuft());
    EXPECT_TRUE(rig.dialogs.boxes.empty());
    EXPECT_TRUE(rig.controls.mnuStartSimulation.enabled());
    EXPECT_FALSE(rig.controls.mnuEndSimulation.enabled());

    // A missing file: its path and the text, then the dialog again.
    rig.dateien.files["/log/da.log"] = datei(3);
    rig.dialogs.fileAnswers = {std::string("/log/weg.log"), std::string("/log/da.log")};
    rig.wiedergabe.mnuStartSimulation_Click();
    EXPECT_TRUE(rig.wiedergabe.laeuft());
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "/log/weg.log nicht gefunden!");
    EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
    rig.wiedergabe.mnuEndSimulation_Click();

    for (const bool beimPruefen : {true, false}) {
        Rig r;
        (beimPruefen ? r.dateien.existsError : r.dateien.openError) = "Permission denied";
        EXPECT_FALSE(r.spiele(datei(3)));
        EXPECT_EQ(r.meldungen(), std::vector<std::string>{"Permission denied"});
        EXPECT_TRUE(r.controls.mnuStartSimulation.enabled());
        EXPECT_FALSE(r.controls.mnuEndSimulation.enabled());
        EXPECT_EQ(r.state.playback.SimulationsStatus, 0);
    }
}

TEST(WiedergabeStart, FilesThatAreNoProtocolFilesAreRefused) {
    struct Fall {
        const char* name;
        Bytes inhalt;
        const char* meldung;
    };
    const Bytes keinKopf = satz(0) + satz(1);
    const Bytes version0 = Bytes{'L', '0', 'V', 1, 0} + kanalSatz({}) + satz(0);
    Bytes muell = kopf() + Bytes{'L', '3'};
    muell.resize(muell.size() + 19 * 40, 0x5A);
    Bytes kaputt = datei(3);
    for (std::size_t i = 25 + 18; i < kaputt.size(); i += 19) kaputt[i] ^= 0xFF;  // every check byte wrong
    const Fall faelle[] = {
        {"empty", {}, "Unbekannte Version der Log-Datei"},
        {"data records without header", keinKopf, "Unbekannte Version der Log-Datei"},
        {"version 0", version0, "Unbekannte Version der Log-Datei"},
        {"header group only", kopf(), "Dies ist keine gültige .log Datei."},
        {"L3 followed by garbage", muell, "Dies ist keine gültige .log Datei."},
        {"partial record only", kopf() + satzAnfang(0, 12), "Dies ist keine gültige .log Datei."},
        {"every check byte wrong", kaputt, "Dies ist keine gültige .log Datei."},
    };
    for (const Fall& f : faelle) {
        Rig rig;
        // A valid file played before does not lend its version to the next one.
        ASSERT_TRUE(rig.spiele(datei(3), "/log/gut.log"));
        rig.wiedergabe.mnuEndSimulation_Click();
        EXPECT_FALSE(rig.spiele(f.inhalt)) << f.name;
        ASSERT_EQ(rig.dialogs.boxes.size(), 1u) << f.name;
        EXPECT_EQ(rig.dialogs.boxes[0].text, f.meldung) << f.name;
        EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::Information) << f.name;
        EXPECT_EQ(rig.state.playback.SimulationsStatus, 0) << f.name;
        EXPECT_TRUE(rig.controls.mnuStartSimulation.enabled()) << f.name;
        EXPECT_EQ(rig.dateien.openFiles, 0) << f.name;
    }
}

// ---- The window loader's choices (10 samples fit, one sample per record) ---------------------

TEST(WiedergabeFenster, SingleStepsMoveTheWindowByAQuarterOnlyWhenTheyLeaveIt) {
    Rig rig;
    ASSERT_TRUE(rig.spiele(datei(100)));
    const int lesen = rig.dateien.reads;
    for (int v = 1; v <= 9; ++v) rig.hsb.setValue(v);
    EXPECT_EQ(rig.dateien.reads, lesen);  // inside the window nothing is read
    EXPECT_EQ(rig.fenster(), std::make_pair(0, 9));

    rig.hsb.setValue(10);  // start + round(4 / 2)
    EXPECT_EQ(rig.fenster(), std::make_pair(2, 11));
    rig.hsb.setValue(11);
    EXPECT_EQ(rig.fenster(), std::make_pair(2, 11));
    rig.hsb.setValue(12);
    EXPECT_EQ(rig.fenster(), std::make_pair(4, 13));

    for (int v = 11; v >= 4; --v) rig.hsb.setValue(v);
    EXPECT_EQ(rig.fenster(), std::make_pair(4, 13));
    rig.hsb.setValue(3);  // pos - round(4 / 2)
    EXPECT_EQ(rig.fenster(), std::make_pair(1, 10));
    EXPECT_EQ(rig.tc().Line1[0].x(), 4);  // record 3 is the window's third sample
}

TEST(WiedergabeFenster, PagingDraggingAndTheLastRecord) {
    Rig rig;
    ASSERT_TRUE(rig.spiele(datei(100)));

    rig.hsb.setValue(rig.hsb.value() + rig.hsb.largeChange());  // page right: behind the window
    EXPECT_EQ(rig.fenster(), std::make_pair(10, 19));
    rig.hsb.setValue(15);
    rig.hsb.setValue(5);  // page left: start - (end - start) = 1
    EXPECT_EQ(rig.fenster(), std::make_pair(1, 10));
    rig.hsb.setValue(rig.hsb.value() - rig.hsb.largeChange());  // to 0: the position is smaller
    EXPECT_EQ(rig.fenster(), std::make_pair(0, 9));

    rig.hsb.ziehen();
    rig.hsb.setValue(70);  // centred: 70 - 4
    EXPECT_EQ(rig.fenster(), std::make_pair(66, 75));
    EXPECT_EQ(rig.z().ScrollGezogen, 0);
    rig.hsb.ziehen();
    rig.hsb.setValue(72);  // inside: no reload
    EXPECT_EQ(rig.fenster(), std::make_pair(66, 75));
    EXPECT_EQ(rig.z().ScrollGezogen, 0);

    rig.hsb.setValue(99);  // the end of the file, HalbesFenster earlier
    EXPECT_EQ(rig.fenster(), std::make_pair(95, 99));
    EXPECT_EQ(rig.z().HalbesFenster, 2);
    EXPECT_EQ(rig.hsb.largeChange(), 5);
    EXPECT_EQ(rig.controls.SSPanel3.caption(), "100/100");
    EXPECT_EQ(rig.tc().Line1[8].x(), 8);
    EXPECT_EQ(rig.tc().lblAktuelleZeit.caption(), "2026-03-01 10:01:39");
}

// ---- Cursor, labels, samples -------------------------------------------------------------------

TEST(WiedergabeCursor, CursorTimeAndPositionFollowTheRecordAlsoFromAClickOnAStrip) {
    Rig rig;
    ASSERT_TRUE(rig.spiele(datei(100)));
    rig.hsb.setValue(7);
    for (const auto& l : rig.tc().Line1) EXPECT_EQ(l.x(), 14);
    EXPECT_EQ(rig.tc().lblAktuelleZeit.caption(), "2026-03-01 10:00:07");
    EXPECT_EQ(rig.controls.SSPanel3.caption(), "8/100");

    rig.form.timing().picTimingSpur_MouseDown(3, 1, 0, 10.0, 5.0);  // column 5
    EXPECT_EQ(rig.hsb.value(), 5);
    EXPECT_EQ(rig.tc().Line1[3].x(), 10);
    EXPECT_EQ(rig.controls.SSPanel3.caption(), "6/100");
}

TEST(WiedergabeCursor, RepeatCountsGiveAtMostFourSamplesAndAPartialLastRecordIsNotFed) {
    Rig rig;
    const std::uint8_t anzahl[] = {1, 7, 0, 1, 1, 1, 1, 1, 1, 1, 1};
    Bytes inhalt = kopf();
    for (int i = 0; i < 11; ++i) inhalt = inhalt + satz(i, anzahl[i]);
    inhalt = inhalt + satzAnfang(11, 10);
    ASSERT_TRUE(rig.spiele(inhalt));

    EXPECT_EQ(rig.z().AnzahlDatensaetze, 11);
    EXPECT_EQ(rig.tc().lblEndeDatum.caption(), "2026-03-01 10:00:10");
    for (const std::size_t n : rig.aufrufe.laengen) EXPECT_NE(n, 10u);
    // Samples 1 | 2..5 | (none for count 0) | 6 7 8 9 10 | 11 ends the window.
    EXPECT_EQ(rig.fenster(), std::make_pair(0, 7));
    for (int s = 2; s <= 5; ++s) EXPECT_EQ(rig.samples().SampleDatensatzNr(s), 1) << s;
    EXPECT_EQ(rig.samples().SampleDatensatzNr(6), 3);
    rig.hsb.setValue(1);
    EXPECT_EQ(rig.tc().Line1[0].x(), 2);
    rig.hsb.setValue(3);
    EXPECT_EQ(rig.tc().Line1[0].x(), 10);
    rig.hsb.setValue(2);  // a record without a sample: sample 0 left of the strip
    EXPECT_EQ(rig.tc().Line1[0].x(), -2);
}

TEST(WiedergabeCursor, TerminalLedsAndTheCpuErrorWindowShowTheRecordUnderTheCursor) {
    Rig rig;
    Bytes inhalt = kopf();
    for (int i = 0; i < 30; ++i) inhalt = inhalt + satz(i, 1, i == 3 ? 7 : 0);
    ASSERT_TRUE(rig.spiele(inhalt));
    const diag::CpuFehlerFenster& fenster = rig.form.cpuFehlerFenster();
    app::Control& led0 = rig.led(0);

    EXPECT_EQ(led0.colour(), app::kRot);
    EXPECT_FALSE(fenster.geladen());
    rig.hsb.setValue(1);
    EXPECT_EQ(led0.colour(), app::kGruen);
    EXPECT_FALSE(fenster.geladen());

    const unsigned fokus = rig.hsb.focusRequests();
    rig.hsb.setValue(3);
    EXPECT_TRUE(fenster.sichtbar());
    EXPECT_TRUE(fenster.imVordergrund());
    EXPECT_EQ(rig.hsb.focusRequests(), fokus + 1);  // the focus goes back to the scroll bar
    EXPECT_EQ(led0.colour(), app::kGruen);

    rig.hsb.setValue(4);
    EXPECT_FALSE(fenster.geladen());
    EXPECT_EQ(led0.colour(), app::kRot);
    const unsigned aenderungen = led0.changes();
    rig.hsb.setValue(6);  // the same colour: not repainted
    EXPECT_EQ(led0.changes(), aenderungen);

    rig.hsb.ziehen();
    rig.hsb.setValue(23);  // in another window
    EXPECT_EQ(led0.colour(), app::kGruen);
}

// ---- Files that fail while they are played, and large files ------------------------------------

TEST(WiedergabeDatei, ADeletedOrShortenedFileEndsPlaybackWithTheSystemsReason) {
    for (const bool loeschen : {true, false}) {
        Rig rig;
        ASSERT_TRUE(rig.spiele(datei(100)));
        if (loeschen) {
            rig.dateien.files.erase("/log/a.log");
        } else {
            rig.dateien.files["/log/a.log"].resize(400);
        }
        rig.hsb.setValue(5);  // inside the window: nothing is read
        EXPECT_TRUE(rig.wiedergabe.laeuft());
        rig.hsb.setValue(50);
        EXPECT_FALSE(rig.wiedergabe.laeuft());
        ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
        EXPECT_EQ(rig.dialogs.boxes[0].text, loeschen ? "No such file or directory" : "No data available");
        EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
        EXPECT_EQ(rig.state.playback.SimulationsStatus, 0);
        EXPECT_EQ(rig.dateien.openFiles, 0);
        EXPECT_TRUE(rig.controls.mnuStartSimulation.enabled());
        EXPECT_FALSE(rig.hsb.visible());
        EXPECT_EQ(rig.controls.SSPanel3.caption(), "6/100");  // the failed move showed nothing
    }

    Rig rig;  // any other read error
    ASSERT_TRUE(rig.spiele(datei(50)));
    rig.dateien.failingReads = 1;
    rig.hsb.setValue(30);
    EXPECT_EQ(rig.meldungen(), std::vector<std::string>{"Input/output error"});
    EXPECT_FALSE(rig.wiedergabe.laeuft());
}

TEST(WiedergabeDatei, MemoryStaysBoundedByTheWindowOnLargeFiles) {
    Rig rig;
    ASSERT_TRUE(rig.spiele(datei(50000)));
    EXPECT_EQ(rig.z().AnzahlDatensaetze, 50000);
    rig.hsb.setValue(49999);
    rig.hsb.ziehen();
    rig.hsb.setValue(25000);
    EXPECT_EQ(rig.fenster(), std::make_pair(24998, 25007));  // 25000 - HalbesFenster of the end window
    EXPECT_LE(rig.dateien.largestRead, 64u * 19u);
    EXPECT_LT(rig.dateien.bytesRead, 6000u);
    EXPECT_LT(rig.samples().obereGrenze(), 130);

    // A data area without records is passed over in bounded steps.
    Rig muell;
    Bytes inhalt = kopf() + satz(0);
    inhalt.resize(inhalt.size() + 19 * 70000, 0x33);
    ASSERT_TRUE(muell.spiele(inhalt));
    EXPECT_EQ(muell.fenster(), std::make_pair(0, kMaxSaetzeProFenster - 1));
    EXPECT_EQ(muell.samples().AnzahlSamples, 1);
}

// ---- A file the recorder wrote -----------------------------------------------------------------

TEST(WiedergabeAufnahme, ARecordingMadeLiveIsPlayedBackRunByRun) {
    Rig rig;
    rig.dialogs.fileAnswers = {std::string("/rec/live.log")};
    rig.form.mnuOpenLog_Click();
    ASSERT_TRUE(rig.port.offen);
    int k = 0;
    auto sende = [&](std::uint8_t byte2) {
        rig.clock.setDateValue(zeit(++k));
        link::StatusBlock block{};
        block[0] = 0x09;
        block[2] = byte2;
        rig.port.wartend = link::kurzTelegramm(block);
        rig.port.raise(ports::CommEvent::Empfang);
    };
    for (const std::uint8_t b : {0x80, 0x80, 0x80, 0x00, 0x80, 0x80}) sende(b);
    rig.clock.setDateValue(zeit(++k));
    rig.form.mnuCloseLog_Click();

    ASSERT_TRUE(rig.spiele(rig.protokoll.files.at("/rec/live.log"), "/rec/live.log"));
    EXPECT_EQ(rig.z().AnzahlDatensaetze, 3);
    EXPECT_EQ(rig.z().ErsterDatensatzPos, 26);
    // Runs of 3, 1 and 2 telegrams, each stamped when it ended.
    EXPECT_EQ(rig.samples().AnzahlSamples, 6);
    EXPECT_EQ(rig.tc().lblStartDatum.caption(), "2026-03-01 10:00:04");
    EXPECT_EQ(rig.tc().lblEndeDatum.caption(), "2026-03-01 10:00:07");
    EXPECT_EQ(rig.led(0).colour(), app::kGruen);
    rig.hsb.setValue(1);
    EXPECT_EQ(rig.tc().Line1[0].x(), 6);
    EXPECT_EQ(rig.led(0).colour(), app::kRot);
    EXPECT_EQ(rig.tc().lblAktuelleZeit.caption(), "2026-03-01 10:00:05");
}

// ---- Helpers -------------------------------------------------------------------------------------

TEST(WiedergabeDatum, DateValuesShowAsTheGeneralDateFormat) {
    EXPECT_EQ(allgemeinesDatum(zeit(65)), "2026-03-01 10:01:05");
    EXPECT_EQ(allgemeinesDatum(datumswert({2026, 3, 1, 0, 0, 0, 0})), "2026-03-01");
    EXPECT_EQ(allgemeinesDatum(datumswert({1899, 12, 30, 7, 8, 9, 0})), "07:08:09");
    EXPECT_EQ(allgemeinesDatum(0.0), "00:00:00");
    EXPECT_EQ(allgemeinesDatum(datumswert({2026, 3, 1, 23, 59, 59, 600})), "2026-03-02");
    EXPECT_EQ(allgemeinesDatum(-5.0), "");
    EXPECT_EQ(allgemeinesDatum(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(ScrollBar, ValueStaysInRangeAndOnlyARealChangeRaisesChange) {
    app::ScrollBarControl hsb("hsb");
    int change = 0;
    int scroll = 0;
    hsb.onChange = [&] { ++change; };
    hsb.onScroll = [&] { ++scroll; };
    hsb.setMax(20);
    hsb.setValue(25);
    EXPECT_EQ(hsb.value(), 20);
    EXPECT_EQ(change, 1);
    hsb.setValue(20);
    EXPECT_EQ(change, 1);
    hsb.setMax(5);  // the position follows into the range
    EXPECT_EQ(hsb.value(), 5);
    EXPECT_EQ(change, 2);
    hsb.setValue(-3);
    EXPECT_EQ(hsb.value(), 0);
    hsb.ziehen();
    EXPECT_EQ(scroll, 1);
    EXPECT_EQ(change, 3);
    hsb.setLargeChange(0);
    EXPECT_EQ(hsb.largeChange(), 1);
}

TEST(ScrollBar, ChangesWithoutAPlaybackDoNothing) {
    Rig rig;
    rig.hsb.setMax(100);
    rig.hsb.setValue(40);
    EXPECT_EQ(rig.dateien.reads, 0);
    EXPECT_EQ(rig.state.playback.SimulationsStatus, 0);
}

}  // namespace
}  // namespace krv::recorder
