// The serial device goes away in the middle of a recording: the adapter is pulled, here the
// pseudo-terminal's device side is closed while the window receives and records. The user is
// told once, the port is closed and released, and the protocol file is complete and closed,
// readable by `krvdiag-cli dump` with every run received before the loss.
#include <fcntl.h>

#include <gtest/gtest.h>

#include "FaultTestSupport.hpp"
#include "GuiTestSupport.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PanelLabel.hpp"
#include "gui/SerialNotifier.hpp"

namespace krv::gui::test {
namespace {

TEST(DeviceLossRecordingTest, HangUpWhileRecordingGivesOneMessageAClosedPortAndACompleteFile) {
    Geraet geraet;
    TestSitzung t("[Ports]\nCOM1=" + geraet.pfad() + "\n");
    ASSERT_TRUE(t.start());
    QTemporaryDir dir;
    const std::string datei = dir.filePath("verlust.log").toStdString();
    int angezeigt = 0;
    t.form().onAnzeige = [&](const link::ReceiveState&) { ++angezeigt; };

    t.dialogs().fileAnswers.push_back(datei);
    t.window().action(t.c().mnuOpenLog)->trigger();
    ASSERT_TRUE(t.form().recorder().laeuft());
    const int fd = t.session().serial().fd();
    ASSERT_GE(fd, 0);

    // Runs 1, 2 (twice), 3: the last run is still pending when the line goes dead.
    for (int lauf : {1, 2, 2, 3}) {
        const int vorher = angezeigt;
        geraet.sende(link::kurzTelegramm(laufBlock(lauf)));
        ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
    }
    ASSERT_TRUE(t.dialogs().boxes.empty());
    geraet.auflegen();

    ASSERT_TRUE(warteBis([&] { return !t.dialogs().boxes.empty(); }));
    QTest::qWait(200);  // anything else the loss could still raise
    ASSERT_EQ(t.dialogs().boxes.size(), 1u);
    EXPECT_EQ(t.dialogs().boxes[0].text, "Die Verbindung zum Gerät über " + geraet.pfad() + " wurde unterbrochen.");

    // The port is closed, its descriptor released and no longer watched.
    EXPECT_FALSE(t.session().serial().isOpen());
    EXPECT_FALSE(t.state().PortOffen);
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
    EXPECT_EQ(t.window().panel(1)->hintergrund(), QColor(255, 0, 0));
    // The recording ended as its stop menu item ends it, and the file is closed (and so synced).
    EXPECT_FALSE(t.form().recorder().laeuft());
    EXPECT_TRUE(t.window().action(t.c().mnuOpenLog)->isEnabled());
    EXPECT_FALSE(t.window().action(t.c().mnuCloseLog)->isEnabled());
    EXPECT_FALSE(dateiNochOffen(datei));

    const QStringList zeilen = dumpZeilen(datei);
    ASSERT_EQ(zeilen.size(), 7) << zeilen.join('\n').toStdString();
    EXPECT_EQ(zeilen[0], QStringLiteral("version 1"));
    EXPECT_EQ(zeilen[2], QStringLiteral("trigger 0 200"));
    EXPECT_EQ(zeilen[3], QStringLiteral("records 3"));
    // Each run once with its repeat count and terminal byte (bytes 3 and 4 carry the forced bits).
    EXPECT_EQ(slotZaehlerUndKlemmen(zeilen[4]), QStringLiteral("1 0102010000"));
    EXPECT_EQ(slotZaehlerUndKlemmen(zeilen[5]), QStringLiteral("2 0202010000"));
    EXPECT_EQ(slotZaehlerUndKlemmen(zeilen[6]), QStringLiteral("1 0302010000"));

    // Recording again after the device is back works as before.
    Geraet zurueck;
    t.session().profile().WritePrivateProfileString("Ports", "COM1", zurueck.pfad());
    t.dialogs().fileAnswers.push_back(dir.filePath("wieder.log").toStdString());
    t.window().action(t.c().mnuOpenLog)->trigger();
    EXPECT_TRUE(t.session().serial().isOpen());
    EXPECT_TRUE(t.form().recorder().laeuft());
}

}  // namespace
}  // namespace krv::gui::test
