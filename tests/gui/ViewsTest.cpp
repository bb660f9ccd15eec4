// The views beside the picture, the model list's clicks and focus, and how the window renders
// the controls: places, shapes, colours, texts.
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "GuiTestSupport.hpp"
#include "core/app/FormLayout.hpp"
#include "gui/ControlBindings.hpp"
#include "gui/DesignLayout.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PanelLabel.hpp"
#include "gui/PictureArea.hpp"
#include "gui/ShapeWidget.hpp"
#include "gui/Twips.hpp"

namespace krv::gui::test {
namespace {

TEST(ViewsTest, ViewMenuShowsExactlyOneViewAndKeepsItsCheckMark) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();
    QWidget* status = w.widget(c.fraStatus);
    QWidget* zeit = w.widget(c.fraTimingDiagram);

    w.action(c.mnuTimingDiagramm)->trigger();
    EXPECT_TRUE(zeit->isVisible());
    EXPECT_FALSE(status->isVisible());
    EXPECT_FALSE(w.list1()->isVisible());
    EXPECT_TRUE(w.action(c.mnuTimingDiagramm)->isChecked());
    EXPECT_FALSE(w.action(c.mnuHardwareAuswahl)->isChecked());
    EXPECT_EQ(t.state().AnsichtModus, 1);
    // The frame's buttons as the load sequence left them.
    EXPECT_TRUE(w.widget(c.cmdTimingDiagrammStartStop)->isVisible());
    EXPECT_TRUE(w.widget(c.cmdWiedergabeStart)->isVisible());
    EXPECT_FALSE(w.widget(c.cmdWiedergabeStop)->isVisible());
    EXPECT_EQ(static_cast<QPushButton*>(w.widget(c.cmdWiedergabeStart))->text(), QStringLiteral("Wiedergabe start"));

    w.action(c.mnuStatusFenster)->trigger();
    EXPECT_TRUE(status->isVisible());
    EXPECT_FALSE(zeit->isVisible());
    // Choosing the view that is already shown keeps the check mark that Qt would toggle off.
    w.action(c.mnuStatusFenster)->trigger();
    EXPECT_TRUE(w.action(c.mnuStatusFenster)->isChecked());
    EXPECT_TRUE(status->isVisible());

    w.action(c.mnuHardwareAuswahl)->trigger();
    EXPECT_TRUE(w.list1()->isVisible());
    EXPECT_FALSE(status->isVisible());
    EXPECT_EQ(t.state().AnsichtModus, 2);
}

TEST(ViewsTest, ClickingAModelShowsItAndSelectionsFromTheFormRaiseNoClick) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    std::vector<Bytes> angezeigt;
    t.form().onAnzeige = [&](const link::ReceiveState& s) { angezeigt.push_back(statusBlock(s)); };

    QListWidget* liste = w.list1();
    const QRect zeile = liste->visualItemRect(liste->item(3));
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, zeile.center());
    EXPECT_EQ(t.c().List1.listIndex(), 3);
    ASSERT_FALSE(angezeigt.empty());
    EXPECT_EQ(angezeigt.back()[0], 3);  // the chosen model's made-up status block
    EXPECT_EQ(angezeigt.back()[1], 0);

    // The form selecting an entry moves the list's selection without a click of its own.
    angezeigt.clear();
    t.c().List1.setListIndex(7);
    EXPECT_EQ(liste->currentRow(), 7);
    EXPECT_TRUE(liste->item(7)->isSelected());
    EXPECT_TRUE(angezeigt.empty());
    t.c().List1.setListIndex(-1);
    EXPECT_TRUE(liste->selectedItems().isEmpty());
}

TEST(ViewsTest, ModelListFocusSelectsTheShownModelAndLosingItClearsTheSelection) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    std::vector<Bytes> angezeigt;
    t.form().onAnzeige = [&](const link::ReceiveState& s) { angezeigt.push_back(statusBlock(s)); };

    w.list1()->clearFocus();
    t.state().HardwareIndex = 5;
    w.list1()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(warteBis([&] { return w.list1()->hasFocus(); }, 1000));
    EXPECT_EQ(t.c().List1.listIndex(), 5);
    EXPECT_EQ(w.list1()->currentRow(), 5);
    ASSERT_FALSE(angezeigt.empty());
    EXPECT_EQ(angezeigt.back()[0], 5);  // selecting raised the click handling

    // Another program or a menu taking the focus for a while is no move between controls.
    QFocusEvent weg(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(w.list1(), &weg);
    QFocusEvent menue(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(w.list1(), &menue);
    EXPECT_EQ(t.c().List1.listIndex(), 5);

    w.list1()->clearFocus();
    EXPECT_EQ(t.c().List1.listIndex(), -1);
    EXPECT_TRUE(w.list1()->selectedItems().isEmpty());
}

TEST(ViewsTest, ControlsPaintTheirWidgets) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();

    auto* led = static_cast<ShapeWidget*>(w.widget(c.shpLed[5]));
    c.shpLed[5].setVisible(true);
    c.shpLed[5].setColour(app::kGruen);
    EXPECT_TRUE(led->isVisible());
    EXPECT_EQ(led->fuellFarbe(), QColor(0, 255, 0));
    c.shpLed[5].setColour(app::kGelb);
    EXPECT_EQ(led->fuellFarbe(), QColor(255, 255, 0));
    c.shpLed[5].setVisible(false);
    EXPECT_FALSE(led->isVisible());

    auto* modulLed = static_cast<ShapeWidget*>(w.widget(c.shpOutputState));
    EXPECT_EQ(modulLed->form(), ShapeWidget::Form::Kreis);
    c.shpOutputState.setColour(app::kRot);
    EXPECT_EQ(modulLed->fuellFarbe(), QColor(255, 0, 0));

    auto* bild = static_cast<PictureArea*>(w.widget(c.imgStrom));
    c.imgStrom.setCaption("/opt/krv/ST-CBXRX.WMF");
    EXPECT_EQ(bild->angezeigterName(), QStringLiteral("ST-CBXRX.WMF"));
    c.imgStrom.setCaption("");
    EXPECT_EQ(bild->angezeigterName(), QString());

    auto* text = static_cast<QLabel*>(w.widget(c.lblDiagStatusText[19]));
    auto* wert = static_cast<QLabel*>(w.widget(c.lblDiagStatusWert[19]));
    c.lblDiagStatusText[19].setCaption("Wiederanlauf");
    c.lblDiagStatusWert[19].setCaption("automatisch");
    EXPECT_EQ(text->text(), QStringLiteral("Wiederanlauf"));
    EXPECT_EQ(wert->text(), QStringLiteral("automatisch"));
    EXPECT_EQ(w.widget(c.lblDiagStatusText[11]), nullptr);  // label pair 11 does not exist

    // A value label shows its red background only while opaque.
    auto* eingang = static_cast<QLabel*>(w.widget(c.lblDiagStatusWert[5]));
    c.lblDiagStatusWert[5].setColour(app::kRot);
    c.lblDiagStatusWert[5].setOpaque(true);
    EXPECT_TRUE(eingang->autoFillBackground());
    EXPECT_EQ(eingang->palette().color(QPalette::Window), QColor(255, 0, 0));
    c.lblDiagStatusWert[5].setOpaque(false);
    EXPECT_FALSE(eingang->autoFillBackground());

    c.SSPanel3.setCaption("rechts");
    EXPECT_EQ(w.panel(3)->text(), QStringLiteral("rechts"));
    c.frmKrvDiag.setCaption("Neu");
    w.setTitelZusatz(QStringLiteral(" (Demo)"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Neu (Demo)"));
}

TEST(ViewsTest, ElementsSitAtTheirDesignPlacesAndLed23IsACircle) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();
    const Twips twips(w);

    EXPECT_EQ(w.list1()->geometry(), twips.rect(design::List1));
    EXPECT_EQ(w.widget(c.fraStatus)->geometry(), twips.rect(2880, 120, 5150, 3030));
    EXPECT_EQ(w.widget(c.Image2)->geometry(), twips.rect(990, 110, 870, 3195));
    EXPECT_EQ(w.widget(c.shpLed[0])->geometry(), twips.rect(330, 3420, 330, 150));
    EXPECT_EQ(w.widget(c.shpLed[43])->geometry(), twips.rect(7440, 6900, 330, 150));
    EXPECT_EQ(w.widget(c.shpErwSwitch1)->geometry(), twips.rect(2130, 1095, 180, 180));
    EXPECT_EQ(static_cast<ShapeWidget*>(w.widget(c.shpLed[23]))->form(), ShapeWidget::Form::Kreis);
    EXPECT_EQ(static_cast<ShapeWidget*>(w.widget(c.shpLed[22]))->form(), ShapeWidget::Form::Rechteck);

    // Status window: third column and row 10 of the middle column, with their colours.
    EXPECT_EQ(w.widget(c.lblDiagStatusText[29])->geometry(), twips.rect(2720, 240 + 2400, 1500, 255));
    EXPECT_EQ(w.widget(c.lblDiagStatusWert[29])->geometry(), twips.rect(4220, 240 + 2400, 850, 255));
    EXPECT_EQ(w.widget(c.lblDiagStatusText[18])->geometry(), twips.rect(1420, 240 + 2400, 500, 255));
    EXPECT_EQ(w.widget(c.lblDiagStatusText[0])->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(w.widget(c.lblDiagStatusText[12])->palette().color(QPalette::Window), QColor(0x80, 0xFF, 0x80));
    EXPECT_EQ(w.widget(c.fraStatus)->palette().color(QPalette::Window), QColor(0xC0, 0xFF, 0xC0));
}

TEST(ViewsTest, ResizingLaysOutTheStatusBarAndTheContainer) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    QWidget* client = w.centralWidget();
    const Twips twips(w);

    for (const QSize groesse : {QSize(900, 650), QSize(500, 400), QSize(120, 10)}) {
        w.resize(groesse);
        QCoreApplication::processEvents();
        const app::FormLayout l =
            app::Form_Resize(twips.scaleWidth(client->width()), twips.scaleHeight(client->height()));
        EXPECT_EQ(w.panel(1)->geometry(), twips.rect(l.SSPanel1)) << groesse.width();
        EXPECT_EQ(w.panel(2)->geometry(), twips.rect(l.SSPanel2)) << groesse.width();
        EXPECT_EQ(w.panel(3)->geometry(), twips.rect(l.SSPanel3)) << groesse.width();
        EXPECT_EQ(w.widget(t.c().picContainer)->geometry(), twips.rect(l.picContainer)) << groesse.width();
        EXPECT_LE(std::abs(w.panel(1)->geometry().bottom() + 1 - client->height()), 1);
    }
    // Wide enough: the panels fill the bottom edge from left to right.
    w.resize(900, 650);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.panel(1)->x(), 0);
    EXPECT_EQ(w.panel(2)->x(), w.panel(1)->geometry().right() + 1);
    EXPECT_LE(std::abs(w.panel(3)->geometry().right() + 1 - client->width()), 1);
}

TEST(ControlBindingsTest, AChangeRunsOnlyTheUpdatesOfItsControl) {
    app::Control a{"a"}, b{"b"};
    ControlBindings bindings;
    int aLaeufe = 0, bLaeufe = 0;
    bindings.bind(a, [&] { ++aLaeufe; });
    bindings.bind(b, [&] { ++bLaeufe; });
    EXPECT_EQ(aLaeufe, 1);  // once at binding time
    bindings.changed(a);
    EXPECT_EQ(aLaeufe, 2);
    EXPECT_EQ(bLaeufe, 1);
}

}  // namespace
}  // namespace krv::gui::test
