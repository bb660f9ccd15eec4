// The windows beside the picture on screen: the CPU error window that follows the device's error
// flag, the hex dump, help, a language switch reaching all of them, and the timing diagram
// drawing live telegrams pixel for pixel as the in-memory strip draws the same samples.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>

#include "support/GuiRig.hpp"
#include "core/state/StringTable.hpp"
#include "core/timing/RasterSpur.hpp"
#include "core/timing/SpurGeometrie.hpp"
#include "gui/CpuFehlerWindow.hpp"
#include "gui/HelpWindow.hpp"
#include "gui/HexDumpWindow.hpp"
#include "gui/PanelLabel.hpp"
#include "gui/TimingSpurWidget.hpp"
#include "gui/TimingView.hpp"
#include "gui/Twips.hpp"

namespace krv::gui::test {
namespace {

// A later record of the same number wins; a quoted text keeps its commas.
const Dateien kFehlerTexte = {{"Fehler0.txt", "3,\"Not-Halt Kanal A, Querschluss erkannt\"\r\n7,Watchdog\r\n"
                                              "7,\"Watchdog abgelaufen, CPU angehalten\"\r\n"
                                              "999,\"Dateiende\"\r\n"},
                              {"Fehler1.txt", "3,Emergency stop channel A\r\n"}};

// Counts how often a window was shown or hidden.
struct ShowZaehler : QObject {
    int wechsel = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        wechsel += e->type() == QEvent::Show || e->type() == QEvent::Hide;
        return false;
    }
};

// The error window follows the flag and number of each telegram, also after it was closed:
// the same number leaves it alone, another refills it, a clear flag closes it, the close box
// keeps it closed until the number changes or the flag clears and comes back.
TEST(NebenfensterTest, TheCpuErrorWindowFollowsTheFlagAndNumberAndNeverShowsAStaleError) {
    Sitzung s("[FehlerFenster]\nlinks=1440\noben=720\n", kFehlerTexte);
    s.verbinde();
    CpuFehlerWindow* w = s.session().cpuFehlerWindow();
    ShowZaehler zaehler;
    w->installEventFilter(&zaehler);
    const QString notHalt = "Not-Halt Kanal A, Querschluss erkannt";
    const QString watchdog = "Watchdog abgelaufen, CPU angehalten";
    const struct {
        bool schliessen;  // the close box first
        bool fehler;
        std::uint8_t nr;
        bool sichtbar, ruhig;  // ruhig: the window is not touched at all
        QString text;
    } schritte[] = {
        {false, true, 3, true, false, notHalt},   {false, true, 3, true, true, notHalt},
        {false, true, 7, true, false, watchdog},  {false, true, 42, true, false, "unbekannte Fehlernummer"},
        {false, false, 0, false, false, {}},      {false, true, 42, true, false, "unbekannte Fehlernummer"},
        {true, true, 42, false, true, {}},        {false, true, 7, true, false, watchdog},
        {true, false, 0, false, false, {}},       {false, true, 7, true, false, watchdog},
    };
    const Twips twips(*w);
    int n = 0;
    for (const auto& schritt : schritte) {
        SCOPED_TRACE(n++);
        if (schritt.schliessen) {
            EXPECT_TRUE(w->close());
            EXPECT_TRUE(s.state().CpuFehlerAktiv);
        }
        const int vorher = zaehler.wechsel;
        s.sende(block({static_cast<std::uint8_t>(schritt.fehler ? 0x1D : 0x0D)}, schritt.nr));
        EXPECT_EQ(w->isVisible(), schritt.sichtbar);
        EXPECT_TRUE(!schritt.ruhig || zaehler.wechsel == vorher);
        EXPECT_EQ(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint), schritt.sichtbar);
        if (schritt.sichtbar) {
            EXPECT_EQ(w->meldung()->text(), schritt.text);
        }
        if (n == 1) {
            EXPECT_EQ(w->pos(), QPoint(twips.x(1440), twips.y(720)));
        }
    }
    // A place the user moves it to is stored when it closes and used for the next error.
    w->move(twips.x(2880), twips.y(1440));
    ASSERT_TRUE(warteBis([&] { return s.form().cpuFehlerFenster().links() == 2880; }));
    s.sende(block({0x0D}));
    EXPECT_FALSE(s.form().cpuFehlerFenster().geladen());
    EXPECT_NE(s.settingsText().find("links=2880\noben=1440"), std::string::npos) << s.settingsText();
    s.sende(block({0x1D}, 3));
    EXPECT_EQ(w->pos(), QPoint(twips.x(2880), twips.y(1440)));
}

// A long telegram's payload: byte i is i, except the status block at 224..239.
Bytes langeDaten(std::uint8_t b5 = 5) {
    Bytes fuellung(256);
    for (std::size_t i = 0; i < fuellung.size(); ++i) fuellung[i] = static_cast<std::uint8_t>(i);
    fuellung[0x12] = 0x4C;
    fuellung[5] = b5;
    return link::langeNutzdaten(block({0x0D, 0x41, 0x42}), 0x030201, fuellung);
}

TEST(NebenfensterTest, TheHexDumpShowsEachTelegramInTheRealGrid) {
    Sitzung s;
    s.verbinde();
    s.serviceCode("Tovk");
    s.menu(s.c().mnuHexDumpAuswahl[1]);
    HexDumpWindow* w = s.session().hexDumpWindow();
    ASSERT_TRUE(w->isVisible());
    QTableWidget* grid = w->grid();
    auto zeile = [&](int row) {
        QStringList r;
        for (int col = 1; col <= 16; ++col) r << w->angezeigterText(row, col);
        return r.join(' ');
    };
    // Short: one row of decimal codes; the HEX option as the user clicks it is stored and
    // rewrites every cell with the next telegram, although its bytes did not change.
    link::StatusBlock kurz = block({0x0D});
    for (std::size_t i = 1; i < 16; ++i) kurz[i] = static_cast<std::uint8_t>(0x40 + i);
    s.sende(kurz);
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(zeile(1), QStringLiteral("13 65 66 67 68 69 70 71 72 73 74 75 76 77 78 79"));
    QTest::mouseClick(w->option(1), Qt::LeftButton, {}, QPoint(5, w->option(1)->height() / 2));
    s.sende(kurz);
    EXPECT_EQ(zeile(1), QStringLiteral("D 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F"));
    EXPECT_NE(s.settingsText().find("HexDumpDisplay=1"), std::string::npos);
    // Long: sixteen rows; a click on cell 0x12 shows its address and values.
    s.sende(link::langTelegramm(langeDaten()));
    ASSERT_EQ(grid->rowCount(), 16);
    EXPECT_EQ(zeile(1), QStringLiteral("0 1 2 3 4 5 6 7 8 9 A B C D E F"));
    EXPECT_EQ(zeile(15).left(8), QStringLiteral("D 41 42 "));  // byte 224: the status block
    EXPECT_EQ(w->angezeigterText(16, 0), QStringLiteral("F"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 2)).center());
    EXPECT_EQ(w->zellenInhalt()->text(), QStringLiteral("Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100"));
    // Only the cells of changed bytes are repainted.
    QSignalSpy geaendert(grid->model(), &QAbstractItemModel::dataChanged);
    s.sende(link::langTelegramm(langeDaten(0xAA)));
    EXPECT_EQ(geaendert.count(), 1);
    EXPECT_EQ(w->angezeigterText(1, 6), QStringLiteral("AA"));
    s.sende(kurz);  // short again: one row, laid out anew
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->currentRow(), 0);
    s.session().programm().service.Show();  // the service dialog locks again at once
    EXPECT_TRUE(warteBis([&] { return !w->isVisible() && !s.a(s.c().mnuHexDump)->isVisible(); }));
}

TEST(NebenfensterTest, HelpShowsTheTextOfItsLanguageAndKeepsItsGeometry) {
    std::string breit;  // a line far wider than the window: it wraps at the window's width
    for (int i = 0; i < 20; ++i) breit += " the serial line";
    const Dateien texte = {{"Hilfe0.txt", "Hilfe\r\n\r\n  1. Anschluss\r\n"},
                           {"Hilfe1.txt", "Help\r\n  1. Connecting" + breit + "\n"}};
    const struct { std::string ini; QString titel, text; QRect platz /* twips */; } faelle[] = {
        {"[Einstellungen]\nSprache=10000\n", "Help",
         QString::fromStdString("Help\n  1. Connecting" + breit + "\n"), {1000, 1000, 8000, 8000}},
                  {"[HilfeFenster]\nlinks=1500\noben=750\nbreite=6000\nhoehe=4500\n", "Hilfe",
                   "Hilfe\n\n  1. Anschluss\n", {1500, 750, 6000, 4500}}};
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.titel.toStdString());
        Sitzung s(f.ini, texte);
        ASSERT_TRUE(s.start());
        s.menu(s.c().mnuHilfe);
        HelpWindow* w = s.session().helpWindow();
        ASSERT_TRUE(w->isVisible());
        const Twips t(*w);
        EXPECT_EQ(w->windowTitle(), f.titel);
        EXPECT_EQ(w->txtHilfe()->toPlainText(), f.text);
        EXPECT_EQ(w->txtHilfe()->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(w->frameGeometry(), t.rect(f.platz.x(), f.platz.y(), f.platz.width(), f.platz.height()));
        // The text box from (240, 480) to the inner edges.
        EXPECT_EQ(w->txtHilfe()->geometry(),
                  QRect(t.x(240), t.y(480), w->width() - t.x(240), w->height() - t.y(480)));
        // Dragged and resized by the user, closed: stored to the twip, and it opens there again.
        const QSize rahmen = w->frameGeometry().size() - w->size();
        w->move(t.x(2880), t.y(1440));
        w->resize(QSize(t.x(7200), t.y(5760)) - rahmen);
        QCoreApplication::processEvents();
        EXPECT_TRUE(w->close());
        const std::string ini = s.settingsText();
        EXPECT_EQ(ini.substr(ini.find("[HilfeFenster]")),
                  "[HilfeFenster]\nlinks=2880\noben=1440\nbreite=7200\nhoehe=5760\n");
        s.menu(s.c().mnuHilfe);
        EXPECT_EQ(w->frameGeometry(), QRect(t.x(2880), t.y(1440), t.x(7200), t.y(5760)));
    }
}

// English and back in the running program: the menus, the status window, the status bar, the
// timing selectors and the windows in use follow, and the choice is stored.
TEST(NebenfensterTest, ALanguageSwitchReachesEveryWindow) {
    Sitzung s("[Einstellungen]\nHexDump=1\n", kFehlerTexte);
    s.verbinde();
    s.serviceCode("Tovk");
    s.sende(block({0x1D}, 3));
    MainWindow& w = s.w();
    HexDumpWindow* hex = s.session().hexDumpWindow();
    CpuFehlerWindow* fehler = s.session().cpuFehlerWindow();
    ASSERT_TRUE(warteBis([&] { return hex->isVisible() && fehler->isVisible(); }));
    const struct {
        std::size_t sprache;
        QString ansicht, status0, hexOption, fehler, trigger, qtDatei;
    } faelle[] = {
        {1, "&View", "Program version:  ", " Display ASCII", "Error", "error", "File &name:"},
                  {0, "&Ansicht", QString::fromStdString(app::LoadResString(4001, 0)), " Anzeige ASCII",
                   "Fehlermeldung", "Fehler", "Datei&name:"}};
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.sprache);
        s.menu(s.c().mnuSprache[f.sprache]);
        EXPECT_EQ(w.menu(s.c().mnuAnsicht)->title(), f.ansicht);
        EXPECT_EQ(qobject_cast<QLabel*>(w.widget(s.c().lblDiagStatusText[0]))->text(), f.status0);
        EXPECT_EQ(w.panel(2)->text().toStdString(), app::LoadResString(f.sprache ? 13002 : 3002, 0));
        EXPECT_EQ(hex->option(0)->text(), f.hexOption);
        EXPECT_EQ(fehler->windowTitle(), f.fehler);
        EXPECT_EQ(w.timingView()->selektor(9)->itemText(1), f.trigger);
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), f.qtDatei);  // Qt's own dialogs
        EXPECT_TRUE(hex->isVisible() && fehler->isVisible());
        EXPECT_TRUE(s.a(s.c().mnuSprache[f.sprache])->isChecked());
        EXPECT_FALSE(s.a(s.c().mnuSprache[1 - f.sprache])->isChecked());
        EXPECT_NE(s.settingsText().find("Sprache=" + std::to_string(f.sprache * 10000)), std::string::npos);
    }
}

// Rows of a strip as text, '#' for a trace pixel.
std::vector<std::string> zeilen(const QtSpur& spur) {
    const QImage bild = spur.pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    std::vector<std::string> z(static_cast<std::size_t>(spur.scaleHeight()));
    for (int y = 0; y < spur.scaleHeight(); ++y) {
        for (int x = 0; x < spur.scaleWidth(); ++x) {
            const bool schwarz = bild.pixel(x * spur.faktor(), y * spur.faktor()) == qRgb(0, 0, 0);
            z[static_cast<std::size_t>(y)] += schwarz ? '#' : '.';
        }
    }
    return z;
}

std::vector<std::string> zeilen(const timing::RasterSpur& spur) {
    std::vector<std::string> z;
    for (int y = 0; y < spur.scaleHeight(); ++y) z.push_back(spur.zeile(y));
    return z;
}

TEST(TimingTest, LiveTelegramsDrawThePickedTerminalsAndTheFullStripMovesLeft) {
    Sitzung s;
    s.verbinde();
    s.menu(s.c().mnuTimingDiagramm);
    TimingView& v = *s.w().timingView();
    // Channel 0 shows terminal 1 (bit 0), channel 4 terminal 13 (bit 12, high impedance with
    // byte 6 bit 3), picked as a user does with the keyboard; the trigger selector "Fehler".
    for (const auto& [kanal, klemme] : {std::pair{0, 1}, {4, 13}, {9, 1}}) {
        QComboBox* cbo = v.selektor(kanal);
        while (cbo->currentIndex() < klemme) QTest::keyClick(cbo, Qt::Key_Down);
    }
    EXPECT_EQ(s.state().einstellungen.KanalTab[4], 13);
    EXPECT_EQ(s.state().einstellungen.TriggerModus, 1);
    v.cmdTimingDiagrammStartStop()->click();  // stop and start: cleared strips at x = 0
    v.cmdTimingDiagrammStartStop()->click();
    timing::TimingDiagramm& timing = s.form().timing();
    const int breite = v.spur(0)->spur().scaleWidth(), hoehe = v.spur(0)->spur().scaleHeight();
    ASSERT_EQ(timing.SpurMaxX, breite - 7);
    timing::RasterSpur soll0(breite, hoehe), soll4(breite, hoehe);
    int x = 0, y0 = 0, y4 = 0, verschoben = 0;
    for (int k = 0; x + 2 < timing.SpurMaxX || verschoben < 3; ++k) {
        const bool k1 = (k % 3) != 1 && (k % 7) != 5;
        const int phase = (k / 2) % 5;  // terminal 13: yellow, green, red in runs of different lengths
        const bool hochohmig = phase == 0 || phase == 3, k13 = phase == 1 || phase == 4;
        s.sende(block({0x0D, 0, std::uint8_t(k1 ? 0x80 : 0), std::uint8_t(k13 ? 0x08 : 0),
                       0, 0, static_cast<std::uint8_t>(hochohmig ? 0x08 : 0)}));
        y0 = timing::zeichneSample(soll0, x, y0, k1 ? 2 : 0, 0);
        y4 = timing::zeichneSample(soll4, x, y4, hochohmig ? 1 : k13 ? 2 : 0, 0);
        x += 2;
        while (x >= timing.SpurMaxX) {
            timing::schiebeLinks(soll0);
            timing::schiebeLinks(soll4);
            x -= 5;
            ++verschoben;
        }
        ASSERT_EQ(timing.SpurX[0], x) << k;
    }
    EXPECT_EQ(zeilen(v.spur(0)->spur()), zeilen(soll0));
    EXPECT_EQ(zeilen(v.spur(4)->spur()), zeilen(soll4));
    EXPECT_EQ(zeilen(v.spur(7)->spur()), zeilen(timing::RasterSpur(breite, hoehe)));  // "----" draws nothing
}

}  // namespace
}  // namespace krv::gui::test
