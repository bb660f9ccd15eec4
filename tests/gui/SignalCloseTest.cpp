// SIGINT, SIGTERM and SIGHUP while the window records from a serial line: the window closes
// as its close box closes it, so the pending run is written, the file closed and the port
// released, instead of the program ending on the spot.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <csignal>

#include "FaultTestSupport.hpp"
#include "GuiTestSupport.hpp"
#include "gui/MainWindow.hpp"
#include "gui/SignalClose.hpp"

namespace krv::gui::test {
namespace {

class SignalCloseTest : public ::testing::TestWithParam<int> {};

TEST_P(SignalCloseTest, EndsARunningRecordingAsClosingTheWindowDoes) {
    const int signal = GetParam();
    // As a program started from a terminal has it, whatever the test runner set.
    std::signal(signal, SIG_DFL);

    Geraet geraet;
    TestSitzung t("[Ports]\nCOM1=" + geraet.pfad() + "\n");
    ASSERT_TRUE(t.start());
    const SignalClose signale(t.window());
    bool geschlossen = false;
    QObject::connect(&t.window(), &MainWindow::geschlossen, [&] { geschlossen = true; });
    int angezeigt = 0;
    t.form().onAnzeige = [&](const link::ReceiveState&) { ++angezeigt; };

    QTemporaryDir dir;
    const std::string datei = dir.filePath("signal.log").toStdString();
    t.dialogs().fileAnswers.push_back(datei);
    t.window().action(t.c().mnuOpenLog)->trigger();
    ASSERT_TRUE(t.form().recorder().laeuft());
    const int fd = t.session().serial().fd();
    for (int lauf : {1, 2, 2}) {
        const int vorher = angezeigt;
        geraet.sende(link::kurzTelegramm(laufBlock(lauf)));
        ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
    }

    ASSERT_EQ(::raise(signal), 0);
    ASSERT_TRUE(warteBis([&] { return geschlossen; }));
    EXPECT_FALSE(t.window().isVisible());
    EXPECT_TRUE(t.dialogs().boxes.empty());

    // The port is released: its descriptor is gone and the device can be opened again.
    EXPECT_FALSE(t.session().serial().isOpen());
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
    platform::LinuxSerialPort wieder(t.session().profile());
    EXPECT_EQ(wieder.open(), std::nullopt);

    // The recording was finished: run 2 was still pending and is in the file.
    EXPECT_FALSE(t.form().recorder().laeuft());
    EXPECT_FALSE(dateiNochOffen(datei));
    const QStringList zeilen = dumpZeilen(datei);
    ASSERT_EQ(zeilen.size(), 6) << zeilen.join('\n').toStdString();
    EXPECT_EQ(zeilen[3], QStringLiteral("records 2"));
    EXPECT_EQ(slotZaehlerUndKlemmen(zeilen[4]), QStringLiteral("1 0102010000"));
    EXPECT_EQ(slotZaehlerUndKlemmen(zeilen[5]), QStringLiteral("2 0202010000"));
}

TEST(SignalCloseLifetimeTest, AnIgnoredSignalStaysIgnoredAndTheOldHandlingComesBack) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    std::signal(SIGHUP, SIG_IGN);  // as nohup starts a program
    std::signal(SIGTERM, SIG_DFL);
    {
        const SignalClose signale(t.window());
        ::raise(SIGHUP);
        QTest::qWait(100);
        EXPECT_TRUE(t.window().isVisible());
        struct sigaction sa {};
        ::sigaction(SIGTERM, nullptr, &sa);
        EXPECT_NE(sa.sa_handler, SIG_DFL);
    }
    struct sigaction hup {}, term {};
    ::sigaction(SIGHUP, nullptr, &hup);
    ::sigaction(SIGTERM, nullptr, &term);
    EXPECT_EQ(hup.sa_handler, SIG_IGN);
    EXPECT_EQ(term.sa_handler, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
}

// A signal while a box waits for an answer (the recorder's Retry/Cancel box sits inside its write
// loop): the box is answered as Esc would answer it, and the window closes only once the box has
// returned, not from inside it.
TEST(SignalCloseModalTest, AnOpenBoxIsAnsweredFirstAndTheWindowClosesAfterIt) {
    std::signal(SIGTERM, SIG_DFL);
    TestSitzung t;
    ASSERT_TRUE(t.start());
    const SignalClose signale(t.window());
    bool geschlossen = false;
    QObject::connect(&t.window(), &MainWindow::geschlossen, [&] { geschlossen = true; });

    QMessageBox box(QMessageBox::Warning, "KrvDiag", "No space left on device",
                    QMessageBox::Retry | QMessageBox::Cancel, &t.window());
    // The signal comes once the box waits for its answer; a box nobody answers ends the test.
    QTimer signal;
    QObject::connect(&signal, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != &box) return;
        signal.stop();
        ::raise(SIGTERM);
    });
    signal.start(10);
    QTimer::singleShot(5000, &box, [&] { box.done(-1); });
    const int antwort = box.exec();
    const bool geschlossenInDerBox = geschlossen;

    EXPECT_EQ(antwort, QMessageBox::Cancel);
    EXPECT_FALSE(geschlossenInDerBox);
    EXPECT_TRUE(warteBis([&] { return geschlossen; }));
}

INSTANTIATE_TEST_SUITE_P(Signale, SignalCloseTest, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT    ? "SIGINT"
                                                : info.param == SIGTERM ? "SIGTERM"
                                                                        : "SIGHUP");
                         });

}  // namespace
}  // namespace krv::gui::test
