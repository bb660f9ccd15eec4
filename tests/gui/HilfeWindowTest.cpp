// The help and info windows on screen: Help opens the help text of the current language from
// the data directory at its stored place and size, lays out its text box on resizing, and closing
// stores the geometry for the next opening; About shows the splash window until it is clicked.
#include <gtest/gtest.h>

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "GuiTestSupport.hpp"
#include "core/app/VersionText.hpp"
#include "gui/HelpWindow.hpp"
#include "gui/MainWindow.hpp"
#include "gui/SplashWindow.hpp"
#include "gui/Twips.hpp"

// Failure messages show the text of a QString.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace krv::gui::test {
namespace {

struct HilfeSitzung {
    TestSitzung t;

    explicit HilfeSitzung(const std::string& ini = {}) : t(ini) {
        // The test session's data directory is its temporary directory.
        std::ofstream(t.configDir() + "/Hilfe0.txt", std::ios::binary) << "Hilfe\r\n\r\n  1. Anschluss\r\n";
        std::ofstream(t.configDir() + "/Hilfe1.txt", std::ios::binary) << "Help\r\n\r\n  1. Connecting\r\n";
        EXPECT_TRUE(t.start());
    }

    HelpWindow* w() { return t.session().helpWindow(); }
    void oeffnen() {
        t.window().action(t.c().mnuHilfe)->trigger();
        ASSERT_TRUE(w()->isVisible());
    }
    // The stored geometry as the settings file holds it.
    std::string abschnitt() {
        const std::string ini = t.settingsText();
        const auto pos = ini.find("[HilfeFenster]");
        return pos == std::string::npos ? std::string() : ini.substr(pos);
    }
};

TEST(HilfeWindowTest, EnglishShowsHilfe1ReadOnlyAtTheDefaultPlaceWithTheTextBoxLaidOut) {
    HilfeSitzung s("[Einstellungen]\nSprache=10000\n");
    HelpWindow* w = s.w();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isVisible());

    s.oeffnen();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Help"));
    EXPECT_EQ(w->cmdHilfeDrucken()->text(), QStringLiteral("Print"));
    EXPECT_EQ(w->txtHilfe()->toPlainText(), QStringLiteral("Help\n\n  1. Connecting\n"));
    EXPECT_TRUE(w->txtHilfe()->isReadOnly());

    // No stored geometry: left 1000, top 1000, 8000 x 8000 twips (no frame on this platform).
    const Twips twips(*w);
    EXPECT_EQ(w->frameGeometry(), QRect(twips.x(1000), twips.y(1000), twips.x(8000), twips.y(8000)));
    // The text box from (240, 480) to the inner edges; the strip across the top.
    EXPECT_EQ(w->txtHilfe()->geometry(), QRect(twips.x(240), twips.y(480), w->width() - twips.x(240),
                                               w->height() - twips.y(480)));
    EXPECT_EQ(w->lblObererRand()->geometry(), QRect(0, 0, w->width(), twips.y(480)));
    EXPECT_EQ(w->cmdHilfeDrucken()->parentWidget(), w->lblObererRand());

    // Resizing lays the text box out anew; narrower than its left edge it becomes 0 wide.
    w->resize(twips.x(6000), twips.y(3000));
    EXPECT_EQ(w->txtHilfe()->geometry(), QRect(twips.x(240), twips.y(480), twips.x(6000) - twips.x(240),
                                               twips.y(3000) - twips.y(480)));
    w->resize(twips.x(200), twips.y(300));
    EXPECT_EQ(w->txtHilfe()->width(), 0);
    EXPECT_EQ(w->txtHilfe()->height(), 0);
    EXPECT_EQ(w->lblObererRand()->width(), w->width());

    const QPixmap bild = w->grab();
    EXPECT_FALSE(bild.isNull());
}

TEST(HilfeWindowTest, GermanTextAndAStoredGeometryComeBackUnchanged) {
    HilfeSitzung s("[HilfeFenster]\nlinks=1500\noben=750\nbreite=6000\nhoehe=4500\n");
    s.oeffnen();
    HelpWindow* w = s.w();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Hilfe"));
    EXPECT_EQ(w->cmdHilfeDrucken()->text(), QStringLiteral("Drucken"));
    EXPECT_EQ(w->txtHilfe()->toPlainText(), QStringLiteral("Hilfe\n\n  1. Anschluss\n"));
    const Twips twips(*w);
    EXPECT_EQ(w->frameGeometry(), QRect(twips.x(1500), twips.y(750), twips.x(6000), twips.y(4500)));

    // Closed without being moved: the same values, to the twip.
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(s.abschnitt(), "[HilfeFenster]\nlinks=1500\noben=750\nbreite=6000\nhoehe=4500\n");
}

TEST(HilfeWindowTest, MovedAndResizedItReopensThereAndTheMainWindowsUnloadStoresItToo) {
    HilfeSitzung s;
    s.oeffnen();
    HelpWindow* w = s.w();
    const Twips twips(*w);
    // The user drags it to 2880, 1440 and its outer edges to 7200 x 5760 twips.
    const QSize rahmen = w->frameGeometry().size() - w->size();
    w->move(twips.x(2880), twips.y(1440));
    w->resize(QSize(twips.x(7200), twips.y(5760)) - rahmen);
    QCoreApplication::processEvents();

    // A second Help while it is open only brings it up.
    s.t.window().action(s.t.c().mnuHilfe)->trigger();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(s.t.session().programm().hilfe.nachVorne(), 1u);
    EXPECT_EQ(w->pos(), QPoint(twips.x(2880), twips.y(1440)));

    EXPECT_TRUE(w->close());
    EXPECT_EQ(s.abschnitt(), "[HilfeFenster]\nlinks=2880\noben=1440\nbreite=7200\nhoehe=5760\n");

    s.oeffnen();
    EXPECT_EQ(w->frameGeometry(), QRect(twips.x(2880), twips.y(1440), twips.x(7200), twips.y(5760)));
    EXPECT_EQ(w->txtHilfe()->toPlainText(), QStringLiteral("Hilfe\n\n  1. Anschluss\n"));

    // Moved again, then the program ends with the window open.
    w->move(twips.x(720), twips.y(2160));
    QCoreApplication::processEvents();
    EXPECT_TRUE(s.t.window().close());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(s.abschnitt(), "[HilfeFenster]\nlinks=720\noben=2160\nbreite=7200\nhoehe=5760\n");
}

TEST(HilfeWindowTest, ScreenshotOfTheRealHelpText) {
    // The help file that ships with the program, in the data directory of this session.
    HilfeSitzung s;
    const std::filesystem::path datei =
        std::filesystem::path(__FILE__).parent_path() / "../../resources/data/Hilfe0.txt";
    std::ifstream quelle(datei, std::ios::binary);
    ASSERT_TRUE(quelle.good());
    std::ofstream(s.t.configDir() + "/Hilfe0.txt", std::ios::binary) << quelle.rdbuf();
    s.oeffnen();
    EXPECT_TRUE(s.w()->txtHilfe()->toPlainText().startsWith(QStringLiteral("KRV")));
    const QPixmap bild = s.w()->grab();
    EXPECT_FALSE(bild.isNull());
    bild.save(QStringLiteral("/tmp/krvdiag-help.png"));
}

TEST(HilfeWindowTest, AboutShowsTheSplashWindowUntilItIsClicked) {
    HilfeSitzung s("[Einstellungen]\nSprache=10000\n");
    EXPECT_EQ(s.t.session().splash(), nullptr);  // no start-up splash in the tests
    s.t.window().action(s.t.c().mnuInfo)->trigger();
    SplashWindow* info = s.t.session().splash();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->lblAppName()->text(), QStringLiteral("KRV Diagnosis Software"));
    EXPECT_EQ(info->lblVersion()->text(), QString::fromStdString("Version " + app::VersionsText()));

    // Chosen again while it is open: still the one window.
    s.t.window().action(s.t.c().mnuInfo)->trigger();
    EXPECT_EQ(s.t.session().splash(), info);

    QTest::mouseClick(info, Qt::LeftButton);
    ASSERT_TRUE(warteBis([&] { return s.t.session().splash() == nullptr; }));

    // Open at the program's end: the main window's unload closes it.
    s.t.window().action(s.t.c().mnuInfo)->trigger();
    ASSERT_NE(s.t.session().splash(), nullptr);
    EXPECT_TRUE(s.t.window().close());
    ASSERT_TRUE(warteBis([&] { return s.t.session().splash() == nullptr; }));
}

}  // namespace
}  // namespace krv::gui::test
