// Playback of a protocol file in the real window: opened from the menu, scrolled with the scroll
// bar, ended with the stop button.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <fstream>

#include "GuiTestSupport.hpp"
#include "core/recorder/ProtocolFile.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PanelLabel.hpp"
#include "gui/ShapeWidget.hpp"
#include "gui/TimingView.hpp"

namespace krv::gui::test {
namespace {

// A recording of model 13: 40 records, terminal byte 2 alternating 0x80 / 0x00.
std::string schreibeAufnahme(const QTemporaryDir& dir) {
    const std::string pfad = dir.filePath("gestern.log").toStdString();
    std::ofstream datei(pfad, std::ios::binary);
    Bytes inhalt = recorder::versionsSatz();
    const Bytes kanaele = recorder::kanalSatz({1, 0, 0, 0, 0, 0, 0, 0, 0});
    const Bytes trigger = recorder::triggerSatz(0, 200);
    inhalt.insert(inhalt.end(), kanaele.begin(), kanaele.end());
    inhalt.insert(inhalt.end(), trigger.begin(), trigger.end());
    for (int i = 0; i < 40; ++i) {
        recorder::StatusBlock block{};
        block[0] = 0x0D;
        block[2] = (i % 2) ? 0x00 : 0x80;
        block[3] = 0x02;
        block[4] = 0x01;
        const auto satz = recorder::datenSatz(block, 1, 46000.0 + i / 86400.0);
        inhalt.insert(inhalt.end(), satz.begin(), satz.end());
    }
    datei.write(reinterpret_cast<const char*>(inhalt.data()), static_cast<std::streamsize>(inhalt.size()));
    return pfad;
}

TEST(WiedergabeWindowTest, ARecordingIsScrolledThroughWithThePictureFollowing) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    QTemporaryDir dir;
    t.dialogs().fileAnswers.push_back(schreibeAufnahme(dir));
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();

    w.action(c.mnuStartSimulation)->trigger();
    ASSERT_EQ(t.state().playback.SimulationsStatus, 2) << (t.dialogs().boxes.empty() ? "" : t.dialogs().boxes[0].text);
    EXPECT_TRUE(w.widget(c.fraTimingDiagram)->isVisible());
    EXPECT_FALSE(w.action(c.mnuStartSimulation)->isEnabled());
    EXPECT_TRUE(w.action(c.mnuEndSimulation)->isEnabled());
    EXPECT_EQ(w.panel(3)->text(), QStringLiteral("1/40"));
    QScrollBar* hsb = w.timingView()->hsbTimingDiagram();
    ASSERT_TRUE(hsb->isVisible());
    EXPECT_EQ(hsb->maximum(), 39);

    // Terminal bit 0 of model 13 lights LED 42; it alternates from record to record.
    auto led42 = [&] { return static_cast<ShapeWidget*>(w.widget(c.shpLed[42]))->fuellFarbe(); };
    const QColor gerade = led42();
    EXPECT_NE(gerade, QColor(255, 255, 255));
    hsb->setValue(5);  // as the user does with an arrow or the keyboard
    EXPECT_EQ(w.panel(3)->text(), QStringLiteral("6/40"));
    const QColor ungerade = led42();
    EXPECT_NE(ungerade, gerade);
    EXPECT_NE(ungerade, QColor(255, 255, 255));
    hsb->setValue(6);
    EXPECT_EQ(led42(), gerade);
    hsb->setValue(39);
    EXPECT_EQ(w.panel(3)->text(), QStringLiteral("40/40"));

    auto* stop = qobject_cast<QPushButton*>(w.widget(c.cmdWiedergabeStop));
    ASSERT_NE(stop, nullptr);
    stop->click();
    EXPECT_EQ(t.state().playback.SimulationsStatus, 0);
    EXPECT_TRUE(w.action(c.mnuStartSimulation)->isEnabled());
    EXPECT_FALSE(w.action(c.mnuEndSimulation)->isEnabled());
}

}  // namespace
}  // namespace krv::gui::test
