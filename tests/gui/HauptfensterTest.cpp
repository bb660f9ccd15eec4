// The real main window: start-up from the settings (also damaged or read-only ones, and a data
// directory that lost its files), the views, and telegrams from the line down to the LEDs.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

#include "support/GuiRig.hpp"
#include "core/state/StringTable.hpp"
#include "gui/CpuFehlerWindow.hpp"
#include "gui/DemoSimulator.hpp"
#include "gui/HelpWindow.hpp"
#include "gui/PanelLabel.hpp"
#include "gui/ShapeWidget.hpp"
#include "gui/Twips.hpp"

namespace krv::gui::test {
namespace {

const QColor kRot(255, 0, 0), kGruen(0, 255, 0), kGelb(255, 255, 0), kWeiss(255, 255, 255);

TEST(HauptfensterTest, StartsFromTheSettingsWithTheModelListAndTheClosedPort) {
    const struct { std::string ini; QString port, titel; std::size_t com, sprache, hexDump; } faelle[] = {
        {"", "COM1", "KRV Diagnoseprogramm", 1, 0, 0},
        {"[Einstellungen]\nComPort=2\nSprache=10000\nHexDump=1\n", "COM2", "KRV Diagnosis Software", 2, 1,
         1}};
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.ini);
        Sitzung s(f.ini);
        ASSERT_TRUE(s.start());
        const std::string vorher = s.settingsText();
        MainWindow& w = s.w();
        app::MainFormState& c = s.c();
        EXPECT_EQ(w.windowTitle(), f.titel);
        EXPECT_TRUE(w.list1()->isVisible() && s.a(c.mnuHardwareAuswahl)->isChecked());
        EXPECT_FALSE(w.widget(c.fraStatus)->isVisible());
        // Port closed: a red panel with its name, only Start enabled, no timer running.
        EXPECT_FALSE(s.session().serial().isOpen() || w.timer(c.Timer1)->isActive());
        EXPECT_EQ(w.panel(1)->text(), f.port);
        EXPECT_EQ(w.panel(1)->hintergrund(), kRot);
        EXPECT_LE(std::abs(w.widget(c.picContainer)->height() - w.panel(1)->y()), 1);  // above the bar
        EXPECT_EQ(w.panel(2)->text().toStdString(), app::LoadResString(3002, int(f.sprache) * 10000));
        EXPECT_TRUE(s.a(c.mnuDatenuebertragungStart)->isEnabled());
        EXPECT_FALSE(s.a(c.mnuDatenuebertragungStop)->isEnabled() || s.a(c.mnuHexDump)->isVisible());
        for (std::size_t i = 1; i <= 4; ++i) EXPECT_EQ(s.a(c.mnuCom[i])->isChecked(), i == f.com) << i;
        for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(s.a(c.mnuSprache[i])->isChecked(), i == f.sprache) << i;
        for (std::size_t i : {0, 1, 2}) EXPECT_EQ(s.a(c.mnuHexDumpAuswahl[i])->isChecked(), i == f.hexDump);
        EXPECT_TRUE(s.texte().empty());
        EXPECT_EQ(s.settingsText(), vorher);  // start-up writes nothing
    }
}

TEST(HauptfensterTest, TheViewMenuShowsExactlyOneViewAndAModelClickShowsItsPicture) {
    Sitzung s;
    ASSERT_TRUE(s.start());
    MainWindow& w = s.w();
    app::MainFormState& c = s.c();
    const std::vector<std::pair<const app::Control*, QWidget*>> ansichten = {
        {&c.mnuStatusFenster, w.widget(c.fraStatus)},
        {&c.mnuTimingDiagramm, w.widget(c.fraTimingDiagram)},
        {&c.mnuHardwareAuswahl, w.list1()}};
    // Each twice: choosing the view that is shown keeps the check mark Qt would toggle off.
    for (int n : {1, 1, 0, 2, 2}) {
        SCOPED_TRACE(n);
        s.menu(*ansichten[static_cast<std::size_t>(n)].first);
        EXPECT_EQ(s.state().AnsichtModus, n);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(ansichten[static_cast<std::size_t>(i)].second->isVisible(), i == n) << i;
            EXPECT_EQ(s.a(*ansichten[static_cast<std::size_t>(i)].first)->isChecked(), i == n) << i;
        }
    }
    // A click on a model shows its made-up status block: its model byte, every terminal white.
    QListWidget* liste = w.list1();
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualItemRect(liste->item(9)).center());
    EXPECT_EQ(c.List1.listIndex(), 9);
    ASSERT_FALSE(s.bloecke.empty());
    EXPECT_EQ(s.bloecke.back()[0], 9);
    for (std::size_t i : {0, 1, 7, 15, 42, 43}) {
        EXPECT_TRUE(w.widget(c.shpLed[i])->isVisible()) << i;
        EXPECT_EQ(static_cast<ShapeWidget*>(w.widget(c.shpLed[i]))->fuellFarbe(), kWeiss) << i;
    }
}

TEST(HauptfensterTest, ShortAndLongTelegramsAndACrcErrorFromTheLine) {
    Sitzung s;
    s.verbinde();
    MainWindow& w = s.w();
    s.bloecke.clear();
    for (int k = 16; k < 20; ++k) s.sende(laufBlock(k));
    const link::StatusBlock lang = block({0x09, 0, 0xA5});
    s.sende(link::langTelegramm(link::langeNutzdaten(lang, 1234)));  // its block sits at 224..239
    const link::StatusBlock soll[] = {laufBlock(16), laufBlock(17), laufBlock(18), laufBlock(19), lang};
    ASSERT_EQ(s.bloecke.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(s.bloecke[i], Bytes(soll[i].begin(), soll[i].end())) << i;
    Bytes kaputt = link::kurzTelegramm(laufBlock(0x33));
    kaputt.back() ^= 0x5A;
    s.geraet.sende(kaputt);
    ASSERT_TRUE(warteBis([&] { return w.panel(2)->text() == QStringLiteral("CRC Fehler"); }));
    EXPECT_EQ(s.bloecke.size(), 5u);
    QTimer* timer2 = w.timer(s.c().Timer2);
    ASSERT_TRUE(timer2->isActive() && timer2->interval() == 5000);
    timer2->setInterval(20);  // let the real timer fire soon instead of after five seconds
    ASSERT_TRUE(warteBis([&] { return w.panel(2)->text().toStdString() == app::LoadResString(3002, 0); }));
    EXPECT_FALSE(timer2->isActive());
    s.sende(laufBlock(0x44));  // the port stayed open
}

// Module lamps from status bytes 0 and 1, terminal LEDs from the terminal bits through the
// model's LED table, yellow for a high-impedance terminal whatever its bit says; one sample each.
TEST(HauptfensterTest, TelegramsPaintTheLampsAndTerminalLedsOfTheirModel) {
    Sitzung s;
    s.verbinde();
    app::MainFormState& c = s.c();
    // Green port panel; the status window took the model list's place; only Stop enabled.
    EXPECT_EQ(s.w().panel(1)->hintergrund(), kGruen);
    EXPECT_FALSE(s.w().list1()->isVisible());
    EXPECT_TRUE(s.w().widget(c.fraStatus)->isVisible() && s.a(c.mnuStatusFenster)->isChecked());
    EXPECT_FALSE(s.a(c.mnuDatenuebertragungStart)->isEnabled());
    EXPECT_TRUE(s.a(c.mnuDatenuebertragungStop)->isEnabled() && s.w().timer(c.Timer1)->isActive());
    const QColor kAus;  // hidden
    using Soll = std::vector<std::pair<const app::Control*, QColor>>;
    const struct { link::StatusBlock b; Soll soll; } faelle[] = {
        // Model 13; bits 0, 3, 11, 16, 20, 32 set, 12 and 20 high impedance.
        {block({0x2D, 0x95, 0x90, 0x10, 0x88, 0x01, 0x8A}),
         {{&c.shpOutputFault, kRot}, {&c.shpOutputLocked, kWeiss}, {&c.shpOutputState, kGruen},
          {&c.shpCpuFault, kWeiss}, {&c.shpCpuS1S2, kGruen}, {&c.shpErwFault, kRot},
          {&c.shpErwSwitch1, kGruen},
          {&c.shpLed[42], kGruen}, {&c.shpLed[43], kRot}, {&c.shpLed[0], kGruen}, {&c.shpLed[40], kGruen},
          {&c.shpLed[41], kRot}, {&c.shpLed[15], kGelb}, {&c.shpLed[16], kRot}, {&c.shpLed[14], kGelb},
          {&c.shpLed[29], kGruen}, {&c.shpLed[28], kRot}, {&c.shpLed[17], kAus}}},
        // High impedance off: the yellow terminals show their bits; bit 9 is the inverse of 11.
        {block({0x0D, 0x00, 0x90, 0x08, 0x88, 0x01, 0x80}),
         {{&c.shpLed[15], kGruen}, {&c.shpLed[14], kGruen}, {&c.shpLed[40], kRot}, {&c.shpLed[41], kGruen},
          {&c.shpOutputState, kRot}, {&c.shpOutputFault, kWeiss}, {&c.shpCpuS1S2, kWeiss}}},
        // Model 2: three output lamps, two CPU lamps, no extension; bit 7 lights LED 32.
        {block({0x62, 0x0F, 0x01}),
         {{&c.shpOutputLocked, kGelb}, {&c.shpCpuS1S2, kGruen}, {&c.shpLed[32], kGruen},
          {&c.shpLed[31], kRot},
          {&c.shpOutputWarn, kAus}, {&c.shpCpuS3S4, kAus}, {&c.shpErwFault, kAus}, {&c.shpErwSwitch1, kAus},
          {&c.shpLed[42], kAus}}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(static_cast<int>(f.b[0]));
        s.sende(f.b);
        for (const auto& [control, farbe] : f.soll) {
            auto* shape = static_cast<ShapeWidget*>(s.w().widget(*control));
            EXPECT_EQ(shape->isVisible(), farbe.isValid()) << control->name();
            if (farbe.isValid()) {
                EXPECT_EQ(shape->fuellFarbe().name(), farbe.name()) << control->name();
            }
        }
        EXPECT_TRUE(s.w().widget(c.shpLed[23])->isVisible());
    }
}

std::string binaerMuell() {
    std::string s;
    std::uint32_t x = 12345;
    for (int i = 0; i < 65536; ++i) {
        x = x * 1103515245u + 12345u;
        s += static_cast<char>(x >> 24);
    }
    // Fragments that look like the real thing do not make the rest readable.
    return s + std::string("\0[Einstellungen\r=\n\xff", 19) + s.substr(0, 4096);
}

// A line of 8 MB without a break, a section name and numbers of 1 MB.
std::string riesigeZeilen() {
    const std::string mb(1 << 20, '7');
    return std::string(8 << 20, 'x') + "\n[" + mb + "]\nComPort=3\n[Einstellungen]\nComPort=" + mb +
           "\nSprache=" + mb + "\n" + std::string(1 << 20, '=') + "\n";
}

const char* const kUngueltig =
    "[Einstellungen]\nSprache=zehntausend\nComPort=-3\nHexDump=99999999999999999999\nHexDumpDisplay=0x1\n"
    "TimingKanal0=-7\nTimingKanal1=\nTimingKanal2= =5\nTimingKanal9=38\n"
    "[HilfeFenster]\nlinks=-99999999999\noben=2147483647\nbreite=99999999999\nhoehe=-5\n";

class SettingsFaultTest : public ::testing::TestWithParam<std::pair<const char*, std::string>> {};

TEST_P(SettingsFaultTest, StartsWithTheDefaultsWithoutAMessageAndStoresWhatTheUserChanges) {
    Sitzung s(GetParam().second, {{"Hilfe0.txt", "Hilfe"}});
    ASSERT_TRUE(s.start());
    EXPECT_TRUE(s.texte().empty()) << s.texte()[0];
    const app::Einstellungen& e = s.state().einstellungen;
    EXPECT_EQ(e.SprachOffset, 0);
    EXPECT_EQ(e.ComPortNr, 1);
    EXPECT_EQ(e.HexDumpModus, 0);
    EXPECT_EQ(e.HexDumpAnzeige, 0);
    EXPECT_EQ(e.TriggerModus, 0);
    for (int k : e.KanalTab) EXPECT_EQ(k, 0);
    EXPECT_EQ(s.w().panel(1)->text(), QStringLiteral("COM1"));
    // The help window reads its place from the same file: without a usable one, the default.
    s.menu(s.c().mnuHilfe);
    HelpWindow* hilfe = s.session().helpWindow();
    ASSERT_TRUE(hilfe->isVisible());
    const Twips twips(*hilfe);
    EXPECT_EQ(hilfe->frameGeometry(), QRect(twips.x(1000), twips.y(1000), twips.x(8000), twips.y(8000)));
    s.menu(s.c().mnuCom[3]);
    EXPECT_EQ(s.state().einstellungen.ComPortNr, 3);
    EXPECT_NE(s.settingsText().find("ComPort=3"), std::string::npos);
    EXPECT_TRUE(s.texte().empty());
}

INSTANTIATE_TEST_SUITE_P(Faelle, SettingsFaultTest,
                         ::testing::Values(std::pair{"BinaryJunk", binaerMuell()},
                                           std::pair{"HugeLines", riesigeZeilen()},
                                           std::pair{"NoSections", std::string("Sprache=10000\nComPort=3\n")},
                                           std::pair{"InvalidNumbers", std::string(kUngueltig)}),
                         [](const auto& info) { return std::string(info.param.first); });

TEST(SettingsReadOnlyTest, ReadOnlyDirectoryStartsFromTheFileAndLosesChangesQuietly) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    QTemporaryDir sperrDir;
    const std::string lock = sperrDir.filePath("krvdiag.lock").toStdString();
    Sitzung s("[Einstellungen]\nComPort=2\nSprache=10000\n", {}, lock);
    const std::string text = s.settingsText();
    ASSERT_EQ(::chmod(s.configDir().c_str(), 0500), 0);
    const bool gestartet = s.start();
    if (gestartet) s.menu(s.c().mnuCom[3]);
    const std::string danach = s.settingsText();
    ::chmod(s.configDir().c_str(), 0700);
    ASSERT_TRUE(gestartet);
    EXPECT_TRUE(s.texte().empty()) << s.texte()[0];
    EXPECT_EQ(s.state().einstellungen.SprachOffset, 10000);
    EXPECT_EQ(s.state().einstellungen.ComPortNr, 3);  // switched for this run only
    EXPECT_TRUE(s.a(s.c().mnuCom[3])->isChecked());
    EXPECT_EQ(danach, text);
}

// No pictures, no help text, no error texts: message 13 with the missing file whenever a model's
// pictures are loaded, an empty help window with a box naming its file, and the file error text
// in the CPU error window.
TEST(MissingDataFilesTest, EachMissingFileIsReportedWhereItIsNeededAndTheProgramRunsOn) {
    Sitzung s;
    QDir daten(QString::fromStdString(s.configDir()));
    for (const QString& name : daten.entryList({QStringLiteral("*.WMF")}, QDir::Files)) daten.remove(name);
    const std::string bilderFehlen = ".WMF-Datei nicht gefunden.";
    const std::string fehlt = ": No such file or directory";
    ASSERT_TRUE(s.start());
    ASSERT_EQ(s.texte().size(), 1u);  // model 13's initial picture
    EXPECT_EQ(s.texte()[0].substr(0, s.texte()[0].find('\n')), bilderFehlen);
    EXPECT_NE(s.texte()[0].find("\n" + s.datei(""), 0), std::string::npos) << s.texte()[0];
    EXPECT_NE(s.texte()[0].find(".WMF" + fehlt), std::string::npos) << s.texte()[0];
    EXPECT_EQ(s.dialogs().boxes[0].buttons, ports::MsgButtons::Ok);
    s.menu(s.c().mnuHilfe);
    ASSERT_TRUE(s.session().helpWindow()->isVisible());
    EXPECT_TRUE(s.session().helpWindow()->txtHilfe()->toPlainText().isEmpty());
    ASSERT_EQ(s.texte().size(), 2u);
    EXPECT_EQ(s.texte()[1], "Die Hilfedatei kann nicht gelesen werden:\n" + s.datei("Hilfe0.txt") + fehlt);
    s.dialogs().boxes.erase(s.dialogs().boxes.begin() + 1);
    // A new connection loads its first model's pictures again; the same model does not.
    s.menu(s.c().mnuDatenuebertragungStart);
    const struct { link::StatusBlock b; std::size_t meldungen; bool fehlerFenster; } faelle[] = {
        {block({0x1D}, 7), 2, true}, {block({0x1D}, 7), 2, true}, {block({0x0D}), 2, false},
        {block({0x0F}), 3, false}};
    CpuFehlerWindow* fehler = s.session().cpuFehlerWindow();
    for (const auto& f : faelle) {
        s.sende(f.b);
        std::vector<std::string> koepfe;
        for (const std::string& t : s.texte()) koepfe.push_back(t.substr(0, t.find('\n')));
        EXPECT_EQ(koepfe, std::vector<std::string>(f.meldungen, bilderFehlen));
        EXPECT_EQ(fehler->isVisible(), f.fehlerFenster);
        if (f.fehlerFenster) {
            EXPECT_EQ(fehler->meldung()->text(), "Datei nicht gefunden oder Fehler in der Datei: ");
        }
    }
    EXPECT_TRUE(s.session().serial().isOpen());
}

// `krvdiag --demo` (the README's start command): the simulator behind the selected port for this
// run only; a program that is not there, or is no simulator, is reported and no demo starts.
TEST(HauptfensterTest, DemoRunsTheSimulatorBehindThePortAndLeavesTheSettingsAlone) {
    Sitzung s("[Einstellungen]\nComPort=2\n");
    ASSERT_TRUE(s.start());
    const std::string einstellungen = s.settingsText();
    DemoSimulator sim;
    EXPECT_FALSE(starteDemo(s.session(), sim, QString(), s.dialogs()));
    EXPECT_FALSE(starteDemo(s.session(), sim, QStringLiteral("/bin/true"), s.dialogs()));
    EXPECT_EQ(s.dialogs().boxes.size(), 2u);
    EXPECT_FALSE(sim.laeuft());
    EXPECT_FALSE(s.session().serial().isOpen());

    int anzeigen = 0;
    s.form().onAnzeige = [&](const link::ReceiveState&) { ++anzeigen; };
    ASSERT_TRUE(starteDemo(s.session(), sim, QStringLiteral(KRVDIAG_SIM_PATH), s.dialogs()));
    EXPECT_EQ(s.w().windowTitle(), QStringLiteral("KRV Diagnoseprogramm (Demo)"));
    EXPECT_EQ(s.session().serial().deviceName(), sim.geraet().toStdString());
    EXPECT_EQ(s.w().panel(1)->text(), QStringLiteral("COM2"));
    EXPECT_TRUE(warteBis([&] { return anzeigen >= 3; })) << anzeigen;
    // The timing channels show the simulator's busiest terminals, E-stop to muting sensor.
    const int kanaele[] = {13, 14, 20, 21, 23, 6, 7, 10, 25};
    const auto& selektoren = s.form().timingControls().cboKlemmen;
    for (std::size_t k = 0; k < 9; ++k) EXPECT_EQ(selektoren[k].listIndex(), kanaele[k]);
    s.w().close();
    EXPECT_EQ(s.settingsText(), einstellungen);
    EXPECT_EQ(s.dialogs().boxes.size(), 2u);
    sim.beende();
    EXPECT_FALSE(sim.laeuft());
}

}  // namespace
}  // namespace krv::gui::test
