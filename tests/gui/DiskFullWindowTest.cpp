// A recording in the real window onto a device that is always full (/dev/full): the first
// write shows the Retry/Cancel box with the system's reason, Retry tries the same record
// again, Cancel ends the recording with the window back in its idle state.
#include <gtest/gtest.h>

#include <QPushButton>

#include "FaultTestSupport.hpp"
#include "GuiTestSupport.hpp"
#include "gui/MainWindow.hpp"

namespace krv::gui::test {
namespace {

TEST(DiskFullWindowTest, FullDeviceOffersRetryWithTheReasonAndCancelEndsTheRecording) {
    Geraet geraet;
    TestSitzung t("[Ports]\nCOM1=" + geraet.pfad() + "\n");
    ASSERT_TRUE(t.start());

    // The file exists: replacing it is confirmed, then every write fails.
    t.dialogs().fileAnswers.push_back("/dev/full");
    t.dialogs().answers = {ports::MsgResult::Yes, ports::MsgResult::Retry, ports::MsgResult::Retry,
                           ports::MsgResult::Cancel};
    t.window().action(t.c().mnuOpenLog)->trigger();
    ASSERT_TRUE(t.form().recorder().laeuft());
    ASSERT_EQ(t.dialogs().boxes.size(), 1u);  // the replace question

    geraet.sende(link::kurzTelegramm(laufBlock(1)));
    ASSERT_TRUE(warteBis([&] { return t.dialogs().boxes.size() >= 4; }));

    // The version record is tried three times: two Retries, then Cancel.
    ASSERT_EQ(t.dialogs().boxes.size(), 4u);
    for (std::size_t i = 1; i < 4; ++i) {
        const ports::MessageBoxRequest& box = t.dialogs().boxes[i];
        EXPECT_EQ(box.text, "No space left on device");
        EXPECT_EQ(box.buttons, ports::MsgButtons::RetryCancel);
        EXPECT_EQ(box.icon, ports::MsgIcon::Critical);
    }
    EXPECT_FALSE(t.form().recorder().laeuft());
    EXPECT_TRUE(t.window().action(t.c().mnuOpenLog)->isEnabled());
    EXPECT_FALSE(t.window().action(t.c().mnuCloseLog)->isEnabled());
    EXPECT_TRUE(t.window().action(t.c().mnuStartSimulation)->isEnabled());
    EXPECT_FALSE(dateiNochOffen("/dev/full"));
    // Ending the recording stops the data transfer it started.
    EXPECT_FALSE(t.session().serial().isOpen());

    // Nothing more is asked for the telegrams that still arrive.
    geraet.sende(link::kurzTelegramm(laufBlock(2)));
    QTest::qWait(100);
    EXPECT_EQ(t.dialogs().boxes.size(), 4u);
}

}  // namespace
}  // namespace krv::gui::test
