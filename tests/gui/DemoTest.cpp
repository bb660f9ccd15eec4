// Demo mode: the simulator behind the selected port for this run only.
#include <gtest/gtest.h>

#include <QListWidget>

#include "GuiTestSupport.hpp"
#include "gui/DemoSimulator.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PanelLabel.hpp"

namespace krv::gui::test {
namespace {

TEST(DemoTest, MissingSimulatorIsReportedAndTheProgramGoesOnWithoutDemo) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    DemoSimulator sim;
    EXPECT_FALSE(starteDemo(t.session(), sim, QString(), t.dialogs()));
    ASSERT_EQ(t.dialogs().boxes.size(), 1u);
    EXPECT_NE(t.dialogs().boxes[0].text.find("krvdiag-sim"), std::string::npos);
    EXPECT_FALSE(t.session().serial().isOpen());
    EXPECT_EQ(t.window().windowTitle(), QStringLiteral("KRV Diagnoseprogramm"));

    // A program that is not the simulator says no pseudo-terminal and exits.
    EXPECT_FALSE(starteDemo(t.session(), sim, QStringLiteral("/bin/true"), t.dialogs()));
    EXPECT_EQ(t.dialogs().boxes.size(), 2u);
    EXPECT_FALSE(sim.laeuft());
}

TEST(DemoTest, SimulatorIsFoundNextToTheProgramInTheBuildTree) {
#ifndef KRVDIAG_HAVE_SIM
    GTEST_SKIP() << "krvdiag-sim is not part of this build";
#else
    const QFileInfo sim(QStringLiteral(KRVDIAG_SIM_PATH));
    // The build tree has src/gui/krvdiag and src/sim/krvdiag-sim.
    const QString guiDir = QDir(sim.absolutePath() + QStringLiteral("/../gui")).absolutePath();
    EXPECT_EQ(DemoSimulator::finde(guiDir), QDir::cleanPath(sim.absoluteFilePath()));
#endif
}

TEST(DemoTest, DemoConnectsThePortToTheSimulatorStartsAndWritesNothing) {
#ifndef KRVDIAG_HAVE_SIM
    GTEST_SKIP() << "krvdiag-sim is not part of this build";
#else
    TestSitzung t("[Einstellungen]\nComPort=2\n");
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    int anzeigen = 0;
    t.form().onAnzeige = [&](const link::ReceiveState&) { ++anzeigen; };

    DemoSimulator sim;
    ASSERT_TRUE(starteDemo(t.session(), sim, QStringLiteral(KRVDIAG_SIM_PATH), t.dialogs()))
        << (t.dialogs().boxes.empty() ? std::string() : t.dialogs().boxes[0].text);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("KRV Diagnoseprogramm (Demo)"));
    EXPECT_EQ(t.session().serial().deviceName(), sim.geraet().toStdString());
    EXPECT_TRUE(t.session().serial().isOpen());
    EXPECT_EQ(w.panel(1)->text(), QStringLiteral("COM2"));
    EXPECT_EQ(w.panel(1)->hintergrund(), QColor(0, 255, 0));
    EXPECT_FALSE(w.list1()->isVisible());
    // The simulator paces at the line rate: a few telegrams a second.
    EXPECT_TRUE(warteBis([&] { return anzeigen >= 3; }, 5000)) << anzeigen;

    // Stopping and starting again work as usual.
    w.action(t.c().mnuDatenuebertragungStop)->trigger();
    EXPECT_FALSE(t.session().serial().isOpen());
    w.action(t.c().mnuDatenuebertragungStart)->trigger();
    EXPECT_TRUE(t.session().serial().isOpen());
    const int vorher = anzeigen;
    EXPECT_TRUE(warteBis([&] { return anzeigen > vorher; }, 5000));

    if (const char* bild = std::getenv("KRVDIAG_SCREENSHOT")) w.grab().save(QString::fromLocal8Bit(bild));

    w.close();
    EXPECT_EQ(t.settingsText(), "[Einstellungen]\nComPort=2\n");
    EXPECT_TRUE(t.dialogs().boxes.empty());
    sim.beende();
    EXPECT_FALSE(sim.laeuft());
#endif
}

}  // namespace
}  // namespace krv::gui::test
