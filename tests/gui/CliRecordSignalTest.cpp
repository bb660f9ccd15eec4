// `krvdiag-cli record` on a live stream (standard input, a pipe that stays open) ended by
// SIGINT, SIGTERM or SIGHUP: the records written so far stay, the pending run is written as
// at the end of the input, and the tool exits normally with a complete file.
#include <signal.h>

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "FaultTestSupport.hpp"
#include "GuiTestSupport.hpp"

namespace krv::gui::test {
namespace {

class CliRecordSignalTest : public ::testing::TestWithParam<int> {};

TEST_P(CliRecordSignalTest, SignalFinishesTheFileWithThePendingRun) {
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("strom.log"));
    QProcess cli;
    cli.start(QStringLiteral(KRVDIAG_CLI_PATH), {"record", "--chunk", "19", "-", datei});
    ASSERT_TRUE(cli.waitForStarted(10000));

    // Runs 1, 2 (twice), 3: runs 1 and 2 are written when the next one begins, 3 is pending.
    for (int lauf : {1, 2, 2, 3}) {
        const Bytes t = link::kurzTelegramm(laufBlock(lauf));
        cli.write(reinterpret_cast<const char*>(t.data()), static_cast<qint64>(t.size()));
    }
    ASSERT_TRUE(cli.waitForBytesWritten(10000));
    const qint64 zweiSaetze = 5 + 13 + 7 + 2 * 19;
    ASSERT_TRUE(warteBis([&] { return QFileInfo(datei).size() == zweiSaetze; }, 10000))
        << QFileInfo(datei).size() << ' ' << cli.readAllStandardError().toStdString();
    EXPECT_EQ(cli.state(), QProcess::Running);  // the input is still open: it waits for more

    ASSERT_EQ(::kill(static_cast<pid_t>(cli.processId()), GetParam()), 0);
    ASSERT_TRUE(cli.waitForFinished(10000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());

    const QStringList zeilen = dumpZeilen(datei.toStdString());
    ASSERT_EQ(zeilen.size(), 7) << zeilen.join('\n').toStdString();
    EXPECT_EQ(zeilen[3], QStringLiteral("records 3"));
    EXPECT_EQ(slotZaehlerUndKlemmen(zeilen[4]), QStringLiteral("1 0102010000"));
    EXPECT_EQ(slotZaehlerUndKlemmen(zeilen[5]), QStringLiteral("2 0202010000"));
    EXPECT_EQ(slotZaehlerUndKlemmen(zeilen[6]), QStringLiteral("1 0302010000"));
}

INSTANTIATE_TEST_SUITE_P(Signale, CliRecordSignalTest, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT    ? "SIGINT"
                                                : info.param == SIGTERM ? "SIGTERM"
                                                                        : "SIGHUP");
                         });

}  // namespace
}  // namespace krv::gui::test
