// A recording started and stopped in the real window while telegrams arrive on a serial line,
// then read back with `krvdiag-cli dump`.
#include <gtest/gtest.h>

#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include "GuiTestSupport.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "gui/MainWindow.hpp"

namespace krv::gui::test {
namespace {

TEST(RecorderWindowTest, RecordingStartedFromTheMenuHoldsTheTelegramsThatArrived) {
    Geraet geraet;
    TestSitzung t("[Ports]\nCOM1=" + geraet.pfad() + "\n");
    ASSERT_TRUE(t.start());
    QTemporaryDir dir;
    const std::string datei = dir.filePath("aufnahme.log").toStdString();
    int angezeigt = 0;
    t.form().onAnzeige = [&](const link::ReceiveState&) { ++angezeigt; };

    // The recorder starts the data transfer itself when it is not running.
    t.dialogs().fileAnswers.push_back(datei);
    t.window().action(t.c().mnuOpenLog)->trigger();
    ASSERT_TRUE(t.session().serial().isOpen());
    EXPECT_FALSE(t.window().action(t.c().mnuOpenLog)->isEnabled());
    EXPECT_TRUE(t.window().action(t.c().mnuCloseLog)->isEnabled());

    // Three runs: model 13 with terminal byte 0x80, 0x40, 0x40.
    const std::uint8_t klemmen[] = {0x80, 0x40, 0x40};
    for (std::uint8_t k : klemmen) {
        link::StatusBlock block{};
        block[0] = 0x0D;
        block[2] = k;
        geraet.sende(link::kurzTelegramm(block));
        const int vorher = angezeigt;
        ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
    }
    auto* knopf = qobject_cast<QPushButton*>(t.window().widget(t.c().cmdRecorderStartStop));
    ASSERT_NE(knopf, nullptr);
    knopf->click();  // stops the recording
    EXPECT_TRUE(t.window().action(t.c().mnuOpenLog)->isEnabled());

    QProcess dump;
    dump.start(QStringLiteral(KRVDIAG_CLI_PATH), {"dump", QString::fromStdString(datei)});
    ASSERT_TRUE(dump.waitForFinished(10000));
    ASSERT_EQ(dump.exitCode(), 0) << dump.readAllStandardError().toStdString();
    const QStringList zeilen = QString::fromUtf8(dump.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(zeilen.size(), 6);
    EXPECT_EQ(zeilen[0], QStringLiteral("version 1"));
    EXPECT_EQ(zeilen[1], QStringLiteral("channels 0 0 0 0 0 0 0 0 0"));
    EXPECT_EQ(zeilen[2], QStringLiteral("trigger 0 200"));
    EXPECT_EQ(zeilen[3], QStringLiteral("records 2"));
    // Block byte 0, the repeat count, bytes 2..6 normalised (byte 3 bit 1 and byte 4 bit 0
    // forced), the time stamp, no CPU error; the second run counted twice.
    EXPECT_TRUE(zeilen[4].startsWith("0 ")) << zeilen[4].toStdString();
    EXPECT_TRUE(zeilen[4].contains(" 1 0d01800201000")) << zeilen[4].toStdString();
    EXPECT_TRUE(zeilen[4].endsWith("00")) << zeilen[4].toStdString();
    EXPECT_TRUE(zeilen[5].startsWith("1 ")) << zeilen[5].toStdString();
    EXPECT_TRUE(zeilen[5].contains(" 2 0d02400201000")) << zeilen[5].toStdString();
}

}  // namespace
}  // namespace krv::gui::test
