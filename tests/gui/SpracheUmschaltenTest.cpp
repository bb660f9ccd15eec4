// Switching the language in the real program: Extras -> Languages rewrites the menus, the status
// window, the status bar and the windows in use, stores the choice, and the next start keeps it.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <fstream>

#include "GuiTestSupport.hpp"
#include "core/app/StringTable.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "gui/CpuFehlerWindow.hpp"
#include "gui/HexDumpWindow.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PanelLabel.hpp"

// Failure messages show the text of a QString.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace krv::gui::test {
namespace {

constexpr std::uint8_t kModell13 = 0x0D;
constexpr std::uint8_t kFehlerBit = 0x10;

QString res(int id, int sprache) { return QString::fromStdString(app::LoadResString(id, sprache)); }

struct SprachSitzung {
    Geraet geraet;
    TestSitzung t;
    int angezeigt = 0;

    explicit SprachSitzung(const std::string& iniZusatz = {}) : t("[Ports]\nCOM1=" + geraet.pfad() + "\n" + iniZusatz) {
        std::ofstream(t.configDir() + "/Fehler0.txt") << "3,Not-Halt Kanal A\r\n";
        std::ofstream(t.configDir() + "/Fehler1.txt") << "3,Emergency stop channel A\r\n";
        EXPECT_TRUE(t.start());
        t.form().onAnzeige = [this](const link::ReceiveState&) { ++angezeigt; };
    }

    MainWindow& w() { return t.window(); }
    const app::MainFormState& c() { return t.c(); }
    QString titel(const app::Control& menu) { return w().menu(menu)->title(); }
    QString text(const app::Control& item) { return w().action(item)->text(); }
    QString label(const app::Control& control) { return qobject_cast<QLabel*>(w().widget(control))->text(); }
    void sprache(int index) {
        w().action(c().mnuSprache[static_cast<std::size_t>(index)])->trigger();
        QCoreApplication::processEvents();
    }
    void sende(std::uint8_t byte0, std::uint8_t nr) {
        link::StatusBlock s{};
        s[0] = byte0;
        s[15] = nr;
        const int vorher = angezeigt;
        geraet.sende(link::kurzTelegramm(s));
        ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
        QCoreApplication::processEvents();
    }
};

TEST(SpracheUmschaltenTest, EnglishAndBackRewritesTheWholeWindowAndStoresTheChoice) {
    SprachSitzung s;
    MainWindow& w = s.w();
    const app::MainFormState& c = s.c();
    w.action(c.mnuStatusFenster)->trigger();  // the status window with its labels
    EXPECT_EQ(s.titel(c.mnuAnsicht), QStringLiteral("&Ansicht"));
    EXPECT_EQ(s.label(c.lblDiagStatusText[0]), res(4001, 0));

    s.sprache(1);
    EXPECT_EQ(s.titel(c.mnuFile), QStringLiteral("&File"));
    EXPECT_EQ(s.titel(c.mnuAnsicht), QStringLiteral("&View"));
    EXPECT_EQ(s.titel(c.mnuSprachen), QStringLiteral("&Language"));
    EXPECT_EQ(s.text(c.mnuStatusFenster), QStringLiteral("&Statuswindow"));
    EXPECT_EQ(s.text(c.mnuHardwareAuswahl), QStringLiteral("&KRV selection"));
    EXPECT_EQ(s.text(c.mnuHexDumpAuswahl[2]), QStringLiteral("always visible"));
    EXPECT_EQ(s.text(c.mnuInfo), QStringLiteral("&About"));
    EXPECT_EQ(s.label(c.lblDiagStatusText[0]), QStringLiteral("Program version:  "));
    EXPECT_EQ(w.panel(1)->text(), QStringLiteral("COM1"));
    EXPECT_EQ(w.panel(2)->text(), res(13002, 0));
    // The model list keeps the names it was filled with; they are the same in both languages.
    ASSERT_EQ(w.list1()->count(), 16);
    EXPECT_EQ(w.list1()->item(0)->text(), QStringLiteral("KRV-a/R"));
    EXPECT_TRUE(w.action(c.mnuSprache[1])->isChecked());
    EXPECT_FALSE(w.action(c.mnuSprache[0])->isChecked());
    EXPECT_NE(s.t.settingsText().find("Sprache=10000"), std::string::npos);

    s.sprache(0);
    EXPECT_EQ(s.titel(c.mnuAnsicht), QStringLiteral("&Ansicht"));
    EXPECT_EQ(s.text(c.mnuHardwareAuswahl), QStringLiteral("&KRV-Auswahl"));
    EXPECT_EQ(s.label(c.lblDiagStatusText[0]), res(4001, 0));
    EXPECT_EQ(w.panel(2)->text(), res(3002, 0));
    EXPECT_TRUE(w.action(c.mnuSprache[0])->isChecked());
    EXPECT_FALSE(w.action(c.mnuSprache[1])->isChecked());
    const std::string ini = s.t.settingsText();
    EXPECT_NE(ini.find("Sprache=0"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("Sprache=10000"), std::string::npos) << ini;
}

TEST(SpracheUmschaltenTest, TheHexDumpAndTheErrorWindowFollowWhileShown) {
    SprachSitzung s("[Einstellungen]\nHexDump=1\n");
    app::ServiceZugang& service = s.t.session().programm().service;
    service.Show();
    service.txtPassword_Change("Tovk");
    service.cmdOK_Click();
    s.w().action(s.c().mnuDatenuebertragungStart)->trigger();
    s.sende(static_cast<std::uint8_t>(kModell13 | kFehlerBit), 3);

    HexDumpWindow* hex = s.t.session().hexDumpWindow();
    CpuFehlerWindow* fehler = s.t.session().cpuFehlerWindow();
    ASSERT_TRUE(warteBis([&] { return hex->isVisible() && fehler->isVisible(); }));
    EXPECT_EQ(hex->windowTitle(), QStringLiteral("HexDump"));
    EXPECT_EQ(hex->option(0)->text(), QStringLiteral(" Anzeige ASCII"));
    EXPECT_EQ(fehler->windowTitle(), QStringLiteral("Fehlermeldung"));

    s.sprache(1);
    EXPECT_EQ(hex->windowTitle(), QStringLiteral("HexDump"));
    EXPECT_EQ(hex->option(0)->text(), QStringLiteral(" Display ASCII"));
    EXPECT_EQ(hex->option(1)->text(), QStringLiteral(" Display HEX"));
    EXPECT_EQ(hex->druckKnopf()->text(), QStringLiteral("Print"));
    EXPECT_EQ(fehler->windowTitle(), QStringLiteral("Error"));
    EXPECT_TRUE(hex->isVisible());
    EXPECT_TRUE(fehler->isVisible());

    s.sprache(0);
    EXPECT_EQ(hex->option(1)->text(), QStringLiteral(" Anzeige HEX"));
    EXPECT_EQ(fehler->windowTitle(), QStringLiteral("Fehlermeldung"));
}

TEST(SpracheUmschaltenTest, TheNextStartKeepsTheChoice) {
    std::string ini;
    {
        SprachSitzung s;
        s.sprache(1);
        EXPECT_TRUE(s.w().close());
        ini = s.t.settingsText();
    }
    TestSitzung t(ini);
    ASSERT_TRUE(t.start());
    EXPECT_EQ(t.window().windowTitle(), QStringLiteral("KRV Diagnosis Software"));
    EXPECT_EQ(t.window().menu(t.c().mnuAnsicht)->title(), QStringLiteral("&View"));
    EXPECT_TRUE(t.window().action(t.c().mnuSprache[1])->isChecked());
    EXPECT_FALSE(t.window().action(t.c().mnuSprache[0])->isChecked());
}

}  // namespace
}  // namespace krv::gui::test
