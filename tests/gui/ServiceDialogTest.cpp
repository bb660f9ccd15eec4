// Service access on screen: Ctrl+L on the focused device picture opens the password dialog;
// every opening locks again, the codes unlock their items, a wrong code, Abbrechen, Escape and the
// close box leave everything locked.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include "GuiTestSupport.hpp"
#include "gui/HexDumpWindow.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PasswordDialog.hpp"

// Failure messages show the text of a QString.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace krv::gui::test {
namespace {

struct ServiceSitzung {
    TestSitzung t;

    explicit ServiceSitzung(const std::string& ini = {}) : t(ini) {
        EXPECT_TRUE(t.start());
        t.window().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&t.window()));
    }

    QWidget* bild() { return t.window().widget(t.c().picContainer); }
    PasswordDialog* dialog() { return t.session().passwordDialog(); }
    bool sichtbar(const app::Control& c) { return t.window().action(c)->isVisible(); }
    bool cpuDatenSichtbar() {
        const app::MainFormState& c = t.c();
        return sichtbar(c.mnuOpenCpuDatenAbspeichern) && sichtbar(c.mnuCloseCpuDatenAbspeichern) &&
               sichtbar(c.mnuStartCpuDatenWiedergabe) && sichtbar(c.mnuStopCpuDatenWiedergabe);
    }
    bool cpuDatenVersteckt() {
        const app::MainFormState& c = t.c();
        return !sichtbar(c.mnuOpenCpuDatenAbspeichern) && !sichtbar(c.mnuCloseCpuDatenAbspeichern) &&
               !sichtbar(c.mnuStartCpuDatenWiedergabe) && !sichtbar(c.mnuStopCpuDatenWiedergabe);
    }
    bool statusZeilenSichtbar() {
        for (std::size_t i : {1, 2, 3}) {
            if (t.window().widget(t.c().lblDiagStatusText[i])->isHidden()) return false;
        }
        return true;
    }

    // A click into the picture (of the active main window) gives it the focus; then the key
    // goes to it.
    void taste(Qt::Key key, Qt::KeyboardModifiers mod) {
        // Without a window manager nothing activates the main window when the dialog goes.
        QApplication::setActiveWindow(&t.window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&t.window()));
        QTest::mouseClick(bild(), Qt::LeftButton, {}, QPoint(3, 3));
        ASSERT_TRUE(bild()->hasFocus());
        QTest::keyClick(bild(), key, mod);
        QCoreApplication::processEvents();
    }
    void oeffnen() {
        taste(Qt::Key_L, Qt::ControlModifier);
        ASSERT_TRUE(warteBis([&] { return dialog()->isVisible(); }));
    }
    void eingeben(const QString& code) {
        dialog()->txtPassword()->setFocus();
        QTest::keyClicks(dialog()->txtPassword(), code);
    }
    void ok() {
        QTest::mouseClick(dialog()->cmdOK(), Qt::LeftButton);
        ASSERT_FALSE(dialog()->isVisible());
    }
};

TEST(ServiceDialogTest, OnlyCtrlLOnTheFocusedPictureOpensTheDialogWithItsFixedTexts) {
    ServiceSitzung s("[Einstellungen]\nSprache=10000\n");
    PasswordDialog* d = s.dialog();
    ASSERT_NE(d, nullptr);

    s.taste(Qt::Key_L, Qt::NoModifier);
    s.taste(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    s.taste(Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    s.taste(Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(s.t.session().programm().service.geladen());

    // With the model list focused, the key reaches the picture area but not as its own.
    s.t.window().list1()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(s.t.window().list1()->hasFocus());
    QTest::keyClick(s.t.window().list1(), Qt::Key_L, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_FALSE(d->isVisible());

    s.oeffnen();
    EXPECT_FALSE(d->isModal());
    // Not translated, although the program speaks English.
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Insert password"));
    EXPECT_EQ(d->lblPassword()->text(), QStringLiteral("Password: "));
    EXPECT_EQ(d->cmdOK()->text(), QStringLiteral("OK"));
    EXPECT_EQ(d->cmdAbbrechen()->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(s.t.window().windowTitle(), QStringLiteral("KRV Diagnosis Software"));

    // The typed text is masked with '*'.
    s.eingeben(QStringLiteral("Tovk"));
    EXPECT_EQ(d->txtPassword()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(d->txtPassword()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, d->txtPassword()),
              '*');
    EXPECT_EQ(d->txtPassword()->displayText(), QStringLiteral("****"));
    EXPECT_EQ(s.t.session().programm().service.controls().txtPassword.caption(), "Tovk");
}

TEST(ServiceDialogTest, WrongCodeRightCodesAndCancelInSeveralOpenings) {
    ServiceSitzung s;
    const app::MainFormState& c = s.t.c();
    EXPECT_FALSE(s.sichtbar(c.mnuHexDump));
    EXPECT_TRUE(s.cpuDatenVersteckt());

    // The first code in the wrong case unlocks nothing.
    s.oeffnen();
    s.eingeben(QStringLiteral("tovk"));
    s.ok();
    EXPECT_FALSE(s.sichtbar(c.mnuHexDump));
    EXPECT_FALSE(s.t.state().ServiceModus1);

    // The second code unlocks the CPU data items only.
    s.oeffnen();
    EXPECT_TRUE(s.dialog()->txtPassword()->text().isEmpty());  // a fresh dialog
    s.eingeben(QStringLiteral("Hesto"));
    s.ok();
    EXPECT_TRUE(s.cpuDatenSichtbar());
    EXPECT_FALSE(s.sichtbar(c.mnuHexDump));

    // The next opening locks them again at once; the first code, confirmed with Enter, leaves
    // only its own items unlocked.
    s.oeffnen();
    EXPECT_TRUE(s.cpuDatenVersteckt());
    s.eingeben(QStringLiteral("Tovk"));
    QTest::keyClick(s.dialog()->txtPassword(), Qt::Key_Return);
    ASSERT_FALSE(s.dialog()->isVisible());
    EXPECT_TRUE(s.sichtbar(c.mnuHexDump));
    EXPECT_TRUE(s.statusZeilenSichtbar());
    EXPECT_TRUE(s.t.state().ServiceModus1 && s.t.state().ServiceModus2 && s.t.state().ServiceModus3);
    EXPECT_TRUE(s.cpuDatenVersteckt());
    // Mode "keine Anzeige": the hex dump window stays closed.
    EXPECT_FALSE(s.t.session().hexDumpWindow()->isVisible());

    // Opening locks; Escape, Abbrechen and the close box each leave everything locked.
    const auto abbrechen = [&](const std::function<void()>& wie) {
        s.oeffnen();
        s.eingeben(QStringLiteral("Tovk"));
        wie();
        QCoreApplication::processEvents();
        EXPECT_FALSE(s.dialog()->isVisible());
        EXPECT_FALSE(s.t.session().programm().service.geladen());
        EXPECT_FALSE(s.sichtbar(c.mnuHexDump));
        EXPECT_FALSE(s.t.state().ServiceModus1);
        for (std::size_t i : {1, 2, 3}) {
            EXPECT_TRUE(s.t.window().widget(c.lblDiagStatusText[i])->isHidden()) << i;
            EXPECT_EQ(qobject_cast<QLabel*>(s.t.window().widget(c.lblDiagStatusWert[i]))->text(), QString()) << i;
        }
    };
    abbrechen([&] { QTest::keyClick(s.dialog()->txtPassword(), Qt::Key_Escape); });
    abbrechen([&] { QTest::mouseClick(s.dialog()->cmdAbbrechen(), Qt::LeftButton); });
    abbrechen([&] { s.dialog()->close(); });
}

TEST(ServiceDialogTest, CtrlLWhileOpenKeepsTheTypedTextAndTheFirstCodeOpensAHexDumpInUse) {
    ServiceSitzung s("[Einstellungen]\nHexDump=1\n");
    s.oeffnen();
    s.eingeben(QStringLiteral("To"));

    // Back to the picture, Ctrl+L again: the same dialog comes up, nothing is reset.
    s.t.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.t.window()));
    s.taste(Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(s.dialog()->isVisible());
    EXPECT_EQ(s.dialog()->txtPassword()->text(), QStringLiteral("To"));
    EXPECT_EQ(s.t.session().programm().service.nachVorne(), 1u);

    s.eingeben(QStringLiteral("vk"));
    s.ok();
    HexDumpWindow* hex = s.t.session().hexDumpWindow();
    ASSERT_TRUE(warteBis([&] { return hex->isVisible(); }));
    EXPECT_EQ(hex->windowTitle(), QStringLiteral("HexDump"));

    // Opening the dialog again closes the hex dump window with the rest.
    s.oeffnen();
    ASSERT_TRUE(warteBis([&] { return !hex->isVisible(); }));
    EXPECT_FALSE(s.sichtbar(s.t.c().mnuHexDump));
}

}  // namespace
}  // namespace krv::gui::test
