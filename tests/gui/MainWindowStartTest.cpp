// Start-up of the real program: initial view, port panel, menus, check marks from the settings,
// the single-instance refusal.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "GuiTestSupport.hpp"
#include "core/app/StringTable.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PanelLabel.hpp"
#include "platform/LockFileInstance.hpp"

namespace krv::gui::test {
namespace {

const QColor kRot(255, 0, 0);

QStringList namen(const QList<QAction*>& actions) {
    QStringList r;
    for (const QAction* a : actions) r << a->objectName();
    return r;
}

TEST(MainWindowStartTest, WithoutSettingsStartsWithTheModelListAndTheClosedPortOnCom1) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();

    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("KRV Diagnoseprogramm"));

    // The model list is the view; the status window and the timing diagram are hidden.
    EXPECT_TRUE(w.list1()->isVisible());
    EXPECT_FALSE(w.widget(c.fraStatus)->isVisible());
    EXPECT_FALSE(w.widget(c.fraTimingDiagram)->isVisible());
    ASSERT_EQ(w.list1()->count(), 16);
    EXPECT_EQ(w.list1()->item(0)->text(), QStringLiteral("KRV-a/R"));
    EXPECT_EQ(w.list1()->item(15)->text(), QStringLiteral("KRV-cbx/Tx"));
    EXPECT_TRUE(w.action(c.mnuHardwareAuswahl)->isChecked());
    EXPECT_FALSE(w.action(c.mnuStatusFenster)->isChecked());
    EXPECT_FALSE(w.action(c.mnuTimingDiagramm)->isChecked());

    // Port closed: red panel "COM1", the colour legend in the status line, only Start enabled.
    EXPECT_FALSE(t.session().serial().isOpen());
    EXPECT_EQ(w.panel(1)->text(), QStringLiteral("COM1"));
    EXPECT_EQ(w.panel(1)->hintergrund(), kRot);
    EXPECT_EQ(w.panel(2)->text().toStdString(), app::LoadResString(3002, 0));
    EXPECT_TRUE(w.action(c.mnuDatenuebertragungStart)->isEnabled());
    EXPECT_FALSE(w.action(c.mnuDatenuebertragungStop)->isEnabled());
    EXPECT_FALSE(w.timer(c.Timer1)->isActive());
    EXPECT_FALSE(w.timer(c.Timer2)->isActive());

    // Check marks: German, COM1, no hex dump.
    EXPECT_TRUE(w.action(c.mnuSprache[0])->isChecked());
    EXPECT_FALSE(w.action(c.mnuSprache[1])->isChecked());
    EXPECT_TRUE(w.action(c.mnuCom[1])->isChecked());
    for (std::size_t i = 2; i <= 4; ++i) EXPECT_FALSE(w.action(c.mnuCom[i])->isChecked()) << i;
    EXPECT_TRUE(w.action(c.mnuHexDumpAuswahl[0])->isChecked());

    // Recording and playback can start; nothing to stop.
    EXPECT_TRUE(w.action(c.mnuOpenLog)->isEnabled());
    EXPECT_FALSE(w.action(c.mnuCloseLog)->isEnabled());
    EXPECT_TRUE(w.action(c.mnuStartSimulation)->isEnabled());
    EXPECT_FALSE(w.action(c.mnuEndSimulation)->isEnabled());

    EXPECT_TRUE(t.dialogs().boxes.empty());
    EXPECT_EQ(t.settingsText(), "");  // start-up writes nothing
}

TEST(MainWindowStartTest, MenusAreInOrderWithTheirCaptionsAndServiceItemsHidden) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();

    const QList<QAction*> top = w.menuBar()->actions();
    EXPECT_EQ(namen(top), (QStringList{"mnuFile", "mnuDatenübertragung", "mnuExtras", "mnuAnsicht", "mnuFragezeichen"}));
    QStringList titel;
    for (const QAction* a : top) titel << a->text();
    EXPECT_EQ(titel, (QStringList{"&Datei", "Datenü&bertragung", "&Extras", "&Ansicht", "&?"}));

    const QList<QAction*> datei = w.menu(c.mnuFile)->actions();
    EXPECT_EQ(namen(datei),
              (QStringList{"mnuOpenLog", "mnuCloseLog", "mnuOpenCpuDatenAbspeichern", "mnuCloseCpuDatenAbspeichern",
                           "M11", "mnuStartSimulation", "mnuEndSimulation", "mnuStartCpuDatenWiedergabe",
                           "mnuStopCpuDatenWiedergabe", "M12", "mnuPrint", "M13", "mnuFileExit"}));
    EXPECT_EQ(datei[0]->text(), QStringLiteral("Datenrecorder &starten..."));
    EXPECT_EQ(datei[12]->text(), QStringLiteral("&Beenden"));
    for (int i : {4, 9, 11}) EXPECT_TRUE(datei[i]->isSeparator()) << i;
    for (int i : {2, 3, 7, 8}) EXPECT_FALSE(datei[i]->isVisible()) << i;  // service mode only

    const QList<QAction*> extras = w.menu(c.mnuExtras)->actions();
    EXPECT_EQ(namen(extras), (QStringList{"mnuSprachen", "mnuComAnschluss", "mnuHexDump"}));
    EXPECT_FALSE(extras[2]->isVisible());
    EXPECT_EQ(namen(w.menu(c.mnuComAnschluss)->actions()),
              (QStringList{"mnuCom(1)", "mnuCom(2)", "mnuCom(3)", "mnuCom(4)"}));
    EXPECT_EQ(w.action(c.mnuCom[3])->text(), QStringLiteral("Com &3"));
    EXPECT_EQ(namen(w.menu(c.mnuAnsicht)->actions()),
              (QStringList{"mnuStatusFenster", "mnuTimingDiagramm", "mnuHardwareAuswahl"}));
    EXPECT_EQ(namen(w.menu(c.mnuFragezeichen)->actions()), (QStringList{"mnuHilfe", "mnuInfo"}));

    // A service access shows the hidden items without rebuilding anything.
    c.mnuHexDump.setVisible(true);
    c.mnuOpenCpuDatenAbspeichern.setVisible(true);
    EXPECT_TRUE(extras[2]->isVisible());
    EXPECT_TRUE(datei[2]->isVisible());
}

TEST(MainWindowStartTest, SettingsFileGivesPortLanguageAndHexDumpCheckMarks) {
    TestSitzung t("[Einstellungen]\nComPort=2\nSprache=10000\nHexDump=1\n");
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();

    EXPECT_EQ(w.panel(1)->text(), QStringLiteral("COM2"));
    EXPECT_EQ(w.panel(1)->hintergrund(), kRot);
    EXPECT_TRUE(w.action(c.mnuCom[2])->isChecked());
    EXPECT_FALSE(w.action(c.mnuCom[1])->isChecked());
    EXPECT_TRUE(w.action(c.mnuSprache[1])->isChecked());
    EXPECT_FALSE(w.action(c.mnuSprache[0])->isChecked());
    EXPECT_TRUE(w.action(c.mnuHexDumpAuswahl[1])->isChecked());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("KRV Diagnosis Software"));
    EXPECT_EQ(w.menuBar()->actions().first()->text(), QStringLiteral("&File"));
    EXPECT_EQ(t.session().serial().commPort(), 2);
}

TEST(MainWindowStartTest, SecondCopyIsRefusedWithText17AndTheFirstKeepsRunning) {
    TestSitzung erste;
    ASSERT_TRUE(erste.start());

    TestSitzung zweite({}, erste.lockFile());
    EXPECT_FALSE(zweite.start());
    ASSERT_EQ(zweite.dialogs().boxes.size(), 1u);
    const ports::MessageBoxRequest& box = zweite.dialogs().boxes[0];
    EXPECT_EQ(box.text, "Das Programm wurde bereits gestartet");
    EXPECT_EQ(box.icon, ports::MsgIcon::None);
    EXPECT_EQ(box.buttons, ports::MsgButtons::Ok);
    EXPECT_EQ(box.title, "");  // the application title

    // The first copy is untouched and still answers.
    EXPECT_TRUE(erste.window().isVisible());
    erste.window().action(erste.c().mnuStatusFenster)->trigger();
    EXPECT_TRUE(erste.window().widget(erste.c().fraStatus)->isVisible());
}

TEST(MainWindowStartTest, SecondCopyTalksInTheLanguageOfItsSettings) {
    QTemporaryDir dir;
    platform::LockFileInstance laufend(dir.filePath(QStringLiteral("krvdiag.lock")).toStdString());
    ASSERT_TRUE(laufend.acquire());
    TestSitzung t("[Einstellungen]\nSprache=10000\n", laufend.path().string());
    EXPECT_FALSE(t.start());
    ASSERT_EQ(t.dialogs().boxes.size(), 1u);
    EXPECT_EQ(t.dialogs().boxes[0].text, "Another Instance is already running");
}

}  // namespace
}  // namespace krv::gui::test
