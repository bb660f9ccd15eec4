// The CPU error window on screen: a telegram with the device's error flag opens it with the text
// of the error number from the data directory's error text file, at its stored place and on top
// of all windows; another number refills it, a clear flag closes it, the close box unloads it.
#include <gtest/gtest.h>

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <fstream>

#include "GuiTestSupport.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "gui/CpuFehlerWindow.hpp"
#include "gui/MainWindow.hpp"
#include "gui/ShapeWidget.hpp"
#include "gui/Twips.hpp"

namespace krv::gui::test {
namespace {

constexpr std::uint8_t kModell13 = 0x0D;
constexpr std::uint8_t kFehlerBit = 0x10;

// A later record of the same number wins; a quoted text keeps its commas.
constexpr const char* kFehlerDatei =
    "3,\"Not-Halt Kanal A, Querschluss erkannt\"\r\n"
    "7,Watchdog abgelaufen\r\n"
    "7,\"Watchdog abgelaufen, CPU angehalten\"\r\n"
    "999,\"Dateiende\"\r\n";

std::string portsAbschnitt(const std::string& com1) { return "[Ports]\nCOM1=" + com1 + "\n"; }

// Counts how often the window was shown and hidden.
class Zaehler : public QObject {
public:
    int gezeigt = 0;
    int versteckt = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) ++gezeigt;
        if (e->type() == QEvent::Hide) ++versteckt;
        return false;
    }
};

// A session on the test's pseudo-terminal whose data directory holds the German error texts.
struct FehlerSitzung {
    Geraet geraet;
    TestSitzung t;
    int angezeigt = 0;
    Zaehler zaehler;

    explicit FehlerSitzung(const std::string& iniZusatz = {}) : t(portsAbschnitt(geraet.pfad()) + iniZusatz) {
        // The test session's data directory is its temporary directory.
        std::ofstream(t.configDir() + "/Fehler0.txt", std::ios::binary) << kFehlerDatei;
        EXPECT_TRUE(t.start());
        t.form().onAnzeige = [this](const link::ReceiveState&) { ++angezeigt; };
        t.window().action(t.c().mnuDatenuebertragungStart)->trigger();
        EXPECT_TRUE(t.session().serial().isOpen());
        fenster()->installEventFilter(&zaehler);
    }

    CpuFehlerWindow* fenster() { return t.session().cpuFehlerWindow(); }
    QString text() { return fenster()->meldung()->text(); }
    bool obenAuf() { return fenster()->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
    QPoint platz(int links, int oben) {
        const Twips twips(*fenster());
        return {twips.x(links), twips.y(oben)};
    }

    // Sends a status block of model 13 with the error flag as given and waits until the window
    // has displayed it and the error window has followed.
    void sende(bool fehler, std::uint8_t nr) {
        link::StatusBlock s{};
        s[0] = static_cast<std::uint8_t>(kModell13 | (fehler ? kFehlerBit : 0));
        s[15] = nr;
        const int vorher = angezeigt;
        geraet.sende(link::kurzTelegramm(s));
        ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
        QCoreApplication::processEvents();
    }
};

TEST(CpuFehlerWindowTest, AnErrorOpensTheWindowOnTopAtItsPlaceWithTheTextOfItsNumber) {
    FehlerSitzung s("[FehlerFenster]\nlinks=1440\noben=720\n");
    CpuFehlerWindow* w = s.fenster();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isVisible());

    s.sende(true, 3);
    ASSERT_TRUE(warteBis([&] { return w->isVisible(); }));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Fehlermeldung"));
    EXPECT_EQ(s.text(), QStringLiteral("Not-Halt Kanal A, Querschluss erkannt"));
    EXPECT_TRUE(s.obenAuf());
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(w->pos(), s.platz(1440, 720));
    // The design's client area and places, in pixels of the screen's logical resolution.
    const Twips twips(*w);
    EXPECT_EQ(w->size(), twips.size(diag::kFehlerFensterClient));
    EXPECT_EQ(w->meldung()->geometry(), twips.rect(diag::kLblCpuFehlermeldungRect));
    EXPECT_EQ(w->stopSymbol()->geometry(), twips.rect(diag::kImgStopRect));
    EXPECT_TRUE(w->stopSymbol()->isVisible());
    EXPECT_TRUE(w->meldung()->wordWrap());
    // The CPU module's fault lamp shows the same flag.
    auto* lampe = qobject_cast<ShapeWidget*>(s.t.window().widget(s.t.c().shpCpuFault));
    EXPECT_EQ(lampe->fuellFarbe(), QColor(255, 0, 0));

    // The stop symbol is painted: red below its rim at the top.
    const QPixmap bild = w->grab();
    bild.save(QStringLiteral("/tmp/krvdiag-cpufehler.png"));
    const QImage img = bild.toImage();
    const QColor rand = img.pixelColor(w->stopSymbol()->geometry().left() + twips.x(540), w->stopSymbol()->geometry().top() + twips.y(100));
    EXPECT_GT(rand.red(), 150) << rand.name().toStdString();
    EXPECT_LT(rand.green(), 60) << rand.name().toStdString();
}

TEST(CpuFehlerWindowTest, SameNumberLeavesItAnotherNumberRefillsItAClearFlagClosesIt) {
    FehlerSitzung s;
    CpuFehlerWindow* w = s.fenster();
    s.sende(true, 3);
    ASSERT_TRUE(warteBis([&] { return w->isVisible(); }));
    EXPECT_EQ(w->pos(), s.platz(3030, 6240));  // no stored place: the defaults
    const int gezeigt = s.zaehler.gezeigt;

    // The same number again: nothing happens to the window, and its place is not written.
    s.sende(true, 3);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(s.zaehler.gezeigt, gezeigt);
    EXPECT_EQ(s.zaehler.versteckt, 0);
    EXPECT_EQ(s.t.settingsText().find("[FehlerFenster]"), std::string::npos);

    // Another number: unloaded (its place saved) and shown again with the new text.
    s.sende(true, 7);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(s.text(), QStringLiteral("Watchdog abgelaufen, CPU angehalten"));
    EXPECT_TRUE(s.obenAuf());
    EXPECT_NE(s.t.settingsText().find("[FehlerFenster]"), std::string::npos);
    EXPECT_NE(s.t.settingsText().find("links=3030"), std::string::npos);

    // A number the file does not know.
    s.sende(true, 42);
    EXPECT_EQ(s.text(), QStringLiteral("unbekannte Fehlernummer"));

    // The flag clears: the window closes and is no longer kept on top.
    s.sende(false, 0);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(s.obenAuf());
    EXPECT_GE(s.zaehler.versteckt, 1);
    EXPECT_FALSE(s.t.form().cpuFehlerFenster().geladen());

    // The next error opens it again, with the same number as before too.
    s.sende(true, 42);
    ASSERT_TRUE(warteBis([&] { return w->isVisible(); }));
    EXPECT_EQ(s.text(), QStringLiteral("unbekannte Fehlernummer"));
}

TEST(CpuFehlerWindowTest, APlaceTheUserMovesItToIsSavedAndUsedForTheNextError) {
    FehlerSitzung s;
    CpuFehlerWindow* w = s.fenster();
    s.sende(true, 7);
    ASSERT_TRUE(warteBis([&] { return w->isVisible(); }));

    const Twips twips(*w);
    const QPoint neu(twips.x(2880), twips.y(1440));
    w->move(neu);
    ASSERT_TRUE(warteBis([&] { return s.t.form().cpuFehlerFenster().links() == 2880; }));
    EXPECT_EQ(s.t.form().cpuFehlerFenster().oben(), 1440);
    EXPECT_EQ(w->pos(), neu);
    // Another telegram with the same error keeps it where the user put it.
    s.sende(true, 7);
    EXPECT_EQ(w->pos(), neu);

    s.sende(false, 0);
    ASSERT_FALSE(w->isVisible());
    const std::string ini = s.t.settingsText();
    EXPECT_NE(ini.find("links=2880"), std::string::npos) << ini;
    EXPECT_NE(ini.find("oben=1440"), std::string::npos) << ini;

    s.sende(true, 3);
    ASSERT_TRUE(warteBis([&] { return w->isVisible(); }));
    EXPECT_EQ(w->pos(), neu);
}

TEST(CpuFehlerWindowTest, TheCloseBoxUnloadsItUntilTheDeviceReportsAnotherError) {
    FehlerSitzung s;
    CpuFehlerWindow* w = s.fenster();
    s.sende(true, 3);
    ASSERT_TRUE(warteBis([&] { return w->isVisible(); }));

    EXPECT_TRUE(w->close());
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(s.t.form().cpuFehlerFenster().geladen());
    EXPECT_NE(s.t.settingsText().find("links=3030"), std::string::npos);  // the unload saved the place
    EXPECT_TRUE(s.t.state().CpuFehlerAktiv);

    // The device still reports the same error: the window stays closed.
    s.sende(true, 3);
    EXPECT_FALSE(w->isVisible());
    // A new number opens it again.
    s.sende(true, 7);
    ASSERT_TRUE(warteBis([&] { return w->isVisible(); }));
    EXPECT_EQ(s.text(), QStringLiteral("Watchdog abgelaufen, CPU angehalten"));

    // Closed again, then the flag clears and the same error comes back: it opens.
    EXPECT_TRUE(w->close());
    s.sende(false, 0);
    s.sende(true, 7);
    ASSERT_TRUE(warteBis([&] { return w->isVisible(); }));
}

TEST(CpuFehlerWindowTest, ClosingTheMainWindowTakesTheErrorWindowAlongWithoutSavingItsPlace) {
    FehlerSitzung s;
    CpuFehlerWindow* w = s.fenster();
    s.sende(true, 3);
    ASSERT_TRUE(warteBis([&] { return w->isVisible(); }));

    EXPECT_TRUE(s.t.window().close());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(s.t.settingsText().find("[FehlerFenster]"), std::string::npos);
}

}  // namespace
}  // namespace krv::gui::test
