// Recordings in the real window from the test's serial line, and everything that can end them:
// the stop button, the device going away, SIGINT/SIGTERM/SIGHUP, a full disk; the same signals
// for `krvdiag-cli record`; and playing a recording back from the menu.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <filesystem>

#include <fstream>

#include "support/GuiRig.hpp"
#include "support/Ser2net.hpp"
#include "gui/PanelLabel.hpp"
#include "gui/ShapeWidget.hpp"
#include "gui/SignalClose.hpp"
#include "gui/TimingView.hpp"

namespace krv::gui::test {
namespace {

const char* signalName(int s) { return s == SIGINT ? "SIGINT" : s == SIGTERM ? "SIGTERM" : "SIGHUP"; }

// Starts a recording into datei from the menu; the recorder starts the data transfer itself.
void nimmAuf(Sitzung& s, const std::string& datei) {
    s.dialogs().fileAnswers.push_back(datei);
    s.menu(s.c().mnuOpenLog);
    ASSERT_TRUE(s.form().recorder().laeuft());
    ASSERT_TRUE(s.session().serial().isOpen());
    EXPECT_FALSE(s.a(s.c().mnuOpenLog)->isEnabled());
    EXPECT_TRUE(s.a(s.c().mnuCloseLog)->isEnabled());
}

// How a running recording ends: 0 the recorder's stop button, -1 the device hanging up, -2 the
// ser2net in front of it (COM1 mapped to its RFC 2217 address) stopping, else the signal. Each way
// the pending run is written, the file closed and the port released.
class AufnahmeEndeTest : public ::testing::TestWithParam<int> {};

TEST_P(AufnahmeEndeTest, PendingRunIsWrittenFileClosedAndPortReleased) {
    const int ende = GetParam();
    if (ende > 0) std::signal(ende, SIG_DFL);  // as a program started from a terminal has it
    Sitzung s;
    std::unique_ptr<krv::test::Ser2net> server;
    if (ende == -2) {
        server = std::make_unique<krv::test::Ser2net>(s.geraet.pfad());
        std::ofstream(s.datei("KrvDiag.ini")) << "[Ports]\nCOM1=" << server->adresse() << "\n";
    }
    ASSERT_TRUE(s.start());
    const SignalClose signale(s.w());
    bool geschlossen = false;
    QObject::connect(&s.w(), &MainWindow::geschlossen, [&] { geschlossen = true; });
    QTemporaryDir dir;
    const std::string datei = dir.filePath("aufnahme.log").toStdString();
    nimmAuf(s, datei);
    if (server) QTest::qWait(300);  // the server opens the line once the port is connected
    const int fd = s.session().serial().fd();
    // Runs 1, 2 (twice), 3: the last run is still pending when the recording ends.
    for (int lauf : {1, 2, 2, 3}) s.sende(laufBlock(lauf));
    ASSERT_TRUE(s.texte().empty());
    if (ende == 0) {
        qobject_cast<QPushButton*>(s.w().widget(s.c().cmdRecorderStartStop))->click();
    } else if (ende < 0) {
        server ? server->stop() : s.geraet.auflegen();
        ASSERT_TRUE(warteBis([&] { return !s.texte().empty(); }));
        QTest::qWait(200);  // anything else the loss could still raise: one message naming the device
        EXPECT_EQ(s.texte(), std::vector<std::string>{"Die Verbindung zum Gerät über " +
                                                      (server ? server->adresse() : s.geraet.pfad()) +
                                                      " wurde unterbrochen."});
        EXPECT_EQ(s.w().panel(1)->hintergrund(), QColor(255, 0, 0));
    } else {
        ASSERT_EQ(::raise(ende), 0);
        ASSERT_TRUE(warteBis([&] { return geschlossen; }));
        EXPECT_FALSE(s.w().isVisible());
        EXPECT_TRUE(s.texte().empty());
    }
    EXPECT_FALSE(s.form().recorder().laeuft());
    EXPECT_FALSE(s.session().serial().isOpen());
    EXPECT_TRUE(ende > 0 || !s.state().PortOffen);  // the unloaded form keeps its last state
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);  // the descriptor is really closed
    EXPECT_TRUE(s.a(s.c().mnuOpenLog)->isEnabled() && !s.a(s.c().mnuCloseLog)->isEnabled());
    EXPECT_FALSE(dateiNochOffen(datei));
    const QStringList zeilen = dumpZeilen(datei);
    ASSERT_EQ(zeilen.size(), 7) << zeilen.join('\n').toStdString();
    EXPECT_EQ(zeilen.mid(0, 4),
              (QStringList{"version 1", "channels 0 0 0 0 0 0 0 0 0", "trigger 0 200", "records 3"}));
    EXPECT_EQ(slotZeilen(zeilen), kLaeufe1223);
}

INSTANTIATE_TEST_SUITE_P(Wege, AufnahmeEndeTest, ::testing::Values(0, -1, -2, SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& i) {
                             return std::string(i.param == 0    ? "StopButton"
                                                : i.param == -1 ? "HangUp"
                                                : i.param < 0   ? "Ser2netStops"
                                                                : signalName(i.param));
                         });

// /dev/full: the first write shows Retry/Cancel with the system's reason, Retry tries the same
// record again, Cancel ends the recording with the window back in its idle state.
TEST(AufnahmeTest, FullDiskOffersRetryWithTheReasonAndCancelEndsTheRecording) {
    Sitzung s;
    // The file exists: replacing it is confirmed, then every write fails.
    s.dialogs().answers = {ports::MsgResult::Yes, ports::MsgResult::Retry, ports::MsgResult::Retry,
                           ports::MsgResult::Cancel};
    ASSERT_TRUE(s.start());
    nimmAuf(s, "/dev/full");
    ASSERT_EQ(s.dialogs().boxes.size(), 1u);  // the replace question
    s.geraet.sende(link::kurzTelegramm(laufBlock(1)));
    ASSERT_TRUE(warteBis([&] { return s.dialogs().boxes.size() >= 4; }));
    QTest::qWait(100);
    ASSERT_EQ(s.dialogs().boxes.size(), 4u);
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(s.dialogs().boxes[i].text, "/dev/full: No space left on device");
        EXPECT_EQ(s.dialogs().boxes[i].buttons, ports::MsgButtons::RetryCancel);
        EXPECT_EQ(s.dialogs().boxes[i].icon, ports::MsgIcon::Critical);
    }
    EXPECT_FALSE(s.form().recorder().laeuft());
    EXPECT_TRUE(s.a(s.c().mnuOpenLog)->isEnabled());
    EXPECT_FALSE(s.a(s.c().mnuCloseLog)->isEnabled());
    EXPECT_FALSE(dateiNochOffen("/dev/full"));
    EXPECT_FALSE(s.session().serial().isOpen());  // ending it stops the transfer it started
}

// A signal while a box waits for its answer (the recorder's Retry/Cancel box sits inside its
// write loop): the box is answered as Esc would answer it, and the window closes after it.
TEST(AufnahmeTest, SignalDuringAnOpenBoxAnswersItFirstAndClosesTheWindowAfterIt) {
    std::signal(SIGTERM, SIG_DFL);
    Sitzung s;
    ASSERT_TRUE(s.start());
    const SignalClose signale(s.w());
    bool geschlossen = false;
    QObject::connect(&s.w(), &MainWindow::geschlossen, [&] { geschlossen = true; });
    QMessageBox box(QMessageBox::Warning, "KrvDiag", "No space left on device",
                    QMessageBox::Retry | QMessageBox::Cancel, &s.w());
    QTimer signal;
    QObject::connect(&signal, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != &box) return;
        signal.stop();
        ::raise(SIGTERM);
    });
    signal.start(10);
    QTimer::singleShot(5000, &box, [&] { box.done(-1); });  // a box nobody answers ends the test
    const int antwort = box.exec();
    EXPECT_EQ(antwort, QMessageBox::Cancel);
    EXPECT_FALSE(geschlossen);
    EXPECT_TRUE(warteBis([&] { return geschlossen; }));
}

// `krvdiag-cli record` on standard input that stays open, ended by a signal: the records so far
// stay, the pending run is written as at the end of the input, and the tool exits normally. The
// same from a pseudo-terminal behind ser2net (`--port rfc2217://...`, row 0), ended by stopping
// the server: the same records, one message naming the address, exit status 3.
class CliRecordSignalTest : public ::testing::TestWithParam<int> {};

TEST_P(CliRecordSignalTest, SignalFinishesTheFileWithThePendingRun) {
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("strom.log"));
    Geraet geraet;
    std::unique_ptr<krv::test::Ser2net> server;
    QStringList args{"record", "--chunk", "19", "-", datei};
    if (GetParam() == 0) {
        server = std::make_unique<krv::test::Ser2net>(geraet.pfad());
        args = {"record", "--port", QString::fromStdString(server->adresse()), datei};
    }
    QProcess cli;
    cli.start(QStringLiteral(KRVDIAG_CLI_PATH), args);
    ASSERT_TRUE(cli.waitForStarted(10000));
    if (server) QTest::qWait(500);  // connected, and the server has opened the line
    for (int lauf : {1, 2, 2, 3}) {
        const Bytes t = link::kurzTelegramm(laufBlock(lauf));
        if (server) geraet.sende(t);
        else cli.write(reinterpret_cast<const char*>(t.data()), static_cast<qint64>(t.size()));
    }
    ASSERT_TRUE(server || cli.waitForBytesWritten(10000));
    // Runs 1 and 2 are written when the next one begins; 3 is pending.
    const qint64 zweiSaetze = 5 + 13 + 7 + 2 * 19;
    ASSERT_TRUE(warteBis([&] { return QFileInfo(datei).size() == zweiSaetze; }, 10000))
        << QFileInfo(datei).size();
    EXPECT_EQ(cli.state(), QProcess::Running);
    if (server) server->stop();
    else ASSERT_EQ(::kill(static_cast<pid_t>(cli.processId()), GetParam()), 0);
    ASSERT_TRUE(cli.waitForFinished(10000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    const std::string fehler = cli.readAllStandardError().toStdString();
    EXPECT_EQ(cli.exitCode(), server ? 3 : 0) << fehler;
    EXPECT_EQ(fehler, server ? "krvdiag-cli: Die Verbindung zum Gerät über " + server->adresse() +
                                   " wurde unterbrochen.\n"
                             : "");
    const QStringList zeilen = dumpZeilen(datei.toStdString());
    ASSERT_EQ(zeilen.size(), 7) << zeilen.join('\n').toStdString();
    EXPECT_EQ(zeilen[3], QStringLiteral("records 3"));
    EXPECT_EQ(slotZeilen(zeilen), kLaeufe1223);
}

INSTANTIATE_TEST_SUITE_P(Signale, CliRecordSignalTest, ::testing::Values(SIGINT, SIGTERM, SIGHUP, 0),
                         [](const auto& i) { return std::string(i.param ? signalName(i.param) : "Ser2netStops"); });

// What the window recorded is opened from the menu and scrolled through with the picture
// following: terminal bit 0 of model 13 lights LED 42 and alternates record by record.
TEST(AufnahmeTest, ARecordingIsPlayedBackAndScrolledThroughWithThePictureFollowing) {
    QTemporaryDir dir;
    const std::string datei = dir.filePath("gestern.log").toStdString();
    Sitzung s;
    ASSERT_TRUE(s.start());
    nimmAuf(s, datei);
    for (int i = 0; i < 40; ++i) s.sende(block({0x0D, 0, static_cast<std::uint8_t>(i % 2 ? 0x00 : 0x80)}));
    s.menu(s.c().mnuCloseLog);
    ASSERT_FALSE(s.session().serial().isOpen());
    s.dialogs().fileAnswers.push_back(datei);
    s.menu(s.c().mnuStartSimulation);
    ASSERT_EQ(s.state().playback.SimulationsStatus, 2) << ::testing::PrintToString(s.texte());
    MainWindow& w = s.w();
    EXPECT_TRUE(w.widget(s.c().fraTimingDiagram)->isVisible() && s.a(s.c().mnuEndSimulation)->isEnabled());
    EXPECT_FALSE(s.a(s.c().mnuStartSimulation)->isEnabled());
    QScrollBar* hsb = w.timingView()->hsbTimingDiagram();
    ASSERT_TRUE(hsb->isVisible());
    EXPECT_EQ(hsb->maximum(), 39);
    const QColor gruen(0, 255, 0), rot(255, 0, 0);
    const struct { int wert; QString panel; QColor led; } schritte[] = {
        {0, "1/40", gruen}, {5, "6/40", rot}, {6, "7/40", gruen}, {39, "40/40", rot}};
    for (const auto& schritt : schritte) {
        SCOPED_TRACE(schritt.wert);
        hsb->setValue(schritt.wert);  // as the user does with an arrow or the keyboard
        QCoreApplication::processEvents();
        EXPECT_EQ(w.panel(3)->text(), schritt.panel);
        EXPECT_EQ(static_cast<ShapeWidget*>(w.widget(s.c().shpLed[42]))->fuellFarbe(), schritt.led);
    }

    // The file leaves as VCD (terminal 1 changes with every record) and as the CSV of `dump
    // --csv`, the view as a PNG of the picture area; a file that cannot be written is named.
    const QString vcd = dir.filePath("a.vcd"), csv = dir.filePath("a.csv"), png = dir.filePath("a.png");
    for (const QString& ziel : {vcd, csv, QStringLiteral("/nirgends/a.vcd")}) {
        s.dialogs().fileAnswers.push_back(ziel.toStdString());
        s.menu(s.c().mnuExportieren);
    }
    s.dialogs().fileAnswers.push_back(png.toStdString());
    s.menu(s.c().mnuBildSpeichern);
    auto lies = [](const QString& pfad) {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? QString(f.readAll()) : QString();
    };
    EXPECT_EQ(lies(csv).split('\n', Qt::SkipEmptyParts), dumpZeilen(datei, {"--csv"}));
    const QRegularExpression t1("^[01]A$", QRegularExpression::MultilineOption);  // terminal 1's wire
    EXPECT_EQ(lies(vcd).count(t1), 40) << lies(vcd).toStdString();
    EXPECT_EQ(s.texte(), std::vector<std::string>{"Die Datei kann nicht geschrieben werden.\n"
                                                  "/nirgends/a.vcd: No such file or directory"});
    const QWidget* bild = w.widget(s.c().picContainer);
    EXPECT_EQ(QImage(png).size(), bild->size() * bild->devicePixelRatio());
    EXPECT_EQ(w.panel(2)->text(), "Bild gespeichert: " + png);
    qobject_cast<QPushButton*>(w.widget(s.c().cmdWiedergabeStop))->click();
    EXPECT_EQ(s.state().playback.SimulationsStatus, 0);
    EXPECT_TRUE(s.a(s.c().mnuStartSimulation)->isEnabled() && !s.a(s.c().mnuEndSimulation)->isEnabled());
}

// A directory chosen where a file belongs, for each file the window opens: one box naming it and
// the system's reason, nothing started, and the window goes on receiving and recording.
TEST(AufnahmeTest, ADirectoryChosenForAFileGivesTheBoxAndTheWindowGoesOn) {
    Sitzung s;
    s.verbinde();
    s.serviceCode("Tovk");  // the CPU data menus
    const std::string dir = s.configDir();
    for (const app::Control* item : {&s.c().mnuOpenLog, &s.c().mnuStartSimulation,
                                     &s.c().mnuOpenCpuDatenAbspeichern, &s.c().mnuStartCpuDatenWiedergabe}) {
        SCOPED_TRACE(item->caption());
        const std::size_t vorher = s.texte().size();
        s.dialogs().fileAnswers.push_back(dir);
        s.menu(*item);
        ASSERT_EQ(s.texte().size(), vorher + 1) << ::testing::PrintToString(s.texte());
        EXPECT_NE(s.texte().back().find(dir + ": is a directory, not a file"), std::string::npos) << s.texte().back();
        EXPECT_FALSE(s.form().recorder().laeuft());
        EXPECT_EQ(s.state().playback.SimulationsStatus, 0);
        EXPECT_TRUE(item->enabled());
        if (!s.session().serial().isOpen()) s.menu(s.c().mnuDatenuebertragungStart);
        const int angezeigt = s.angezeigt;
        s.sende(laufBlock(angezeigt + 1));
        EXPECT_EQ(s.angezeigt, angezeigt + 1);
    }
    nimmAuf(s, s.datei("danach.log"));  // recording still works afterwards
    s.sende(laufBlock(1));
    s.menu(s.c().mnuCloseLog);
    EXPECT_EQ(slotZeilen(dumpZeilen(s.datei("danach.log"))), QStringList{"1 0102010000"});

    Sitzung t;  // the settings file a directory: the defaults apply, and that is said once
    const std::string ini = t.datei("KrvDiag.ini");
    ASSERT_TRUE(std::filesystem::remove(ini) && std::filesystem::create_directory(ini));
    ASSERT_TRUE(t.start());
    t.menu(t.c().mnuCom[3]);
    warteBis([&] { return !t.texte().empty(); }, 500);
    EXPECT_EQ(t.texte(), std::vector<std::string>{"Die Einstellungsdatei kann nicht gelesen werden, es gelten die "
                                                  "Standardwerte:\n" + ini + ": is a directory, not a file"});
}

}  // namespace
}  // namespace krv::gui::test
