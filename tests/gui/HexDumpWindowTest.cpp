// The hex dump window on screen: telegrams from the line fill the real grid (one data row for a
// short telegram, sixteen for a long one), only changed cells are repainted, the display options
// and a click on a cell work as the user does them, the modes and the close box follow the menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>

#include "GuiTestSupport.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "gui/HexDumpWindow.hpp"
#include "gui/MainWindow.hpp"
#include "gui/Twips.hpp"

// Failure messages show the text of a QString.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace krv::gui::test {
namespace {

constexpr std::uint8_t kModell13 = 0x0D;

// A session on the test's pseudo-terminal with the data transfer running, the service code
// entered (the hex dump menu is a service item) and the hex dump in the given mode.
struct HexSitzung {
    Geraet geraet;
    TestSitzung t;
    int angezeigt = 0;

    explicit HexSitzung(int modus, const std::string& iniZusatz = {})
        : t("[Ports]\nCOM1=" + geraet.pfad() + "\n" + iniZusatz) {
        EXPECT_TRUE(t.start());
        t.form().onAnzeige = [this](const link::ReceiveState&) { ++angezeigt; };
        t.window().action(t.c().mnuDatenuebertragungStart)->trigger();
        EXPECT_TRUE(t.session().serial().isOpen());
        app::ServiceZugang& service = t.session().programm().service;
        service.Show();
        service.txtPassword_Change("Tovk");
        service.cmdOK_Click();
        EXPECT_TRUE(t.window().action(t.c().mnuHexDump)->isVisible());
        if (modus != 0) waehle(modus);
    }

    HexDumpWindow* w() { return t.session().hexDumpWindow(); }
    QTableWidget* grid() { return w()->grid(); }
    void waehle(int modus) {
        t.window().action(t.c().mnuHexDumpAuswahl[static_cast<std::size_t>(modus)])->trigger();
        QCoreApplication::processEvents();
    }
    void sende(const Bytes& telegramm) {
        const int vorher = angezeigt;
        geraet.sende(telegramm);
        ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
        QCoreApplication::processEvents();  // the window takes over what the core laid out
    }
    QStringList zeile(int row) {
        QStringList r;
        for (int col = 1; col <= 16; ++col) r << w()->angezeigterText(row, col);
        return r;
    }
};

link::StatusBlock kurzBlock() {
    link::StatusBlock s{};
    s[0] = kModell13;
    for (std::size_t i = 1; i < s.size(); ++i) s[i] = static_cast<std::uint8_t>(0x40 + i);
    return s;
}

// A long telegram's payload: byte i is i, except the status block at 224..239.
Bytes langeDaten() {
    Bytes fuellung(256);
    for (std::size_t i = 0; i < fuellung.size(); ++i) fuellung[i] = static_cast<std::uint8_t>(i);
    fuellung[0x12] = 0x4C;
    return link::langeNutzdaten(kurzBlock(), 0x030201, fuellung);
}

TEST(HexDumpWindowTest, ShortThenLongTelegramFillTheRealGridAndTheHexOptionRewritesIt) {
    HexSitzung s(1);
    HexDumpWindow* w = s.w();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("HexDump"));
    EXPECT_EQ(w->option(0)->text(), QStringLiteral(" Anzeige ASCII"));
    EXPECT_EQ(w->option(1)->text(), QStringLiteral(" Anzeige HEX"));
    EXPECT_TRUE(w->option(0)->isChecked());
    EXPECT_EQ(w->druckKnopf()->text(), QStringLiteral("Drucken"));
    EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // Loaded: sixteen empty data rows under the headers "0" .. "F".
    ASSERT_EQ(s.grid()->rowCount(), 16);
    ASSERT_EQ(s.grid()->columnCount(), 16);
    EXPECT_EQ(w->angezeigterText(0, 1), QStringLiteral("0"));
    EXPECT_EQ(w->angezeigterText(0, 16), QStringLiteral("F"));
    EXPECT_EQ(w->angezeigterText(16, 0), QStringLiteral("F"));
    EXPECT_EQ(w->angezeigterText(1, 1), QString());

    // Short telegram: one data row with the decimal codes.
    s.sende(link::kurzTelegramm(kurzBlock()));
    ASSERT_EQ(s.grid()->rowCount(), 1);
    EXPECT_EQ(w->angezeigterText(1, 0), QStringLiteral("0"));
    EXPECT_EQ(s.zeile(1).join(' '), QStringLiteral("13 65 66 67 68 69 70 71 72 73 74 75 76 77 78 79"));
    EXPECT_EQ(s.grid()->item(0, 3)->textAlignment(), int(Qt::AlignCenter));
    const Twips twips(*w);
    EXPECT_EQ(s.grid()->columnWidth(0), twips.x(hexdump::kSpaltenBreite));
    EXPECT_EQ(s.grid()->verticalHeader()->width(), twips.x(hexdump::kKopfSpaltenBreite));

    // The HEX option as the user clicks it: the choice is stored, and the next telegram rewrites
    // every cell although its bytes did not change.
    QTest::mouseClick(w->option(1), Qt::LeftButton, {}, QPoint(5, w->option(1)->height() / 2));
    EXPECT_TRUE(w->option(1)->isChecked());
    s.sende(link::kurzTelegramm(kurzBlock()));
    EXPECT_EQ(s.zeile(1).join(' '), QStringLiteral("D 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F"));
    EXPECT_NE(s.t.settingsText().find("HexDumpDisplay=1"), std::string::npos);

    // Long telegram: sixteen data rows.
    s.sende(link::langTelegramm(langeDaten()));
    ASSERT_EQ(s.grid()->rowCount(), 16);
    EXPECT_EQ(s.zeile(1).join(' '), QStringLiteral("0 1 2 3 4 5 6 7 8 9 A B C D E F"));
    EXPECT_EQ(w->angezeigterText(2, 3), QStringLiteral("4C"));
    EXPECT_EQ(w->angezeigterText(15, 1), QStringLiteral("D"));  // byte 224: the model byte
    EXPECT_EQ(w->angezeigterText(16, 16), QStringLiteral("FF"));
    EXPECT_EQ(w->angezeigterText(16, 0), QStringLiteral("F"));

    // Activating the window shows the selected cell: the first one after the new layout.
    EXPECT_EQ(w->zellenInhalt()->text(), QString());
    QApplication::setActiveWindow(&s.t.window());
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(warteBis([&] { return !w->zellenInhalt()->text().isEmpty(); }));
    EXPECT_EQ(w->zellenInhalt()->text(), QStringLiteral("Adr.: 0  ASC: 0  Hex: 0  Bin: 00000000"));

    // A click on cell 0x12 shows its address and values.
    const QRect zelle = s.grid()->visualItemRect(s.grid()->item(1, 2));
    QTest::mouseClick(s.grid()->viewport(), Qt::LeftButton, {}, zelle.center());
    EXPECT_EQ(s.grid()->currentRow(), 1);
    EXPECT_EQ(s.grid()->currentColumn(), 2);
    EXPECT_EQ(w->zellenInhalt()->text(), QStringLiteral("Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100"));
    const QPixmap bild = w->grab();
    EXPECT_FALSE(bild.isNull());
    bild.save(QStringLiteral("/tmp/krvdiag-hexdump.png"));

    // Back to a short telegram: one row again, laid out anew with the first cell selected.
    s.sende(link::kurzTelegramm(kurzBlock()));
    ASSERT_EQ(s.grid()->rowCount(), 1);
    EXPECT_EQ(s.grid()->currentRow(), 0);
    EXPECT_EQ(s.grid()->currentColumn(), 0);
    EXPECT_EQ(s.zeile(1).join(' '), QStringLiteral("D 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F"));
}

TEST(HexDumpWindowTest, OnlyTheCellsOfChangedBytesAreRepainted) {
    HexSitzung s(1);
    s.sende(link::langTelegramm(langeDaten()));
    ASSERT_EQ(s.grid()->rowCount(), 16);
    QSignalSpy geaendert(s.grid()->model(), &QAbstractItemModel::dataChanged);
    QSignalSpy neuAufgebaut(s.grid()->model(), &QAbstractItemModel::modelReset);

    s.sende(link::langTelegramm(langeDaten()));
    EXPECT_EQ(geaendert.count(), 0);

    Bytes daten = langeDaten();
    daten[0x05] = 0xAA;
    daten[0x80] = 0x55;
    s.sende(link::langTelegramm(daten));
    EXPECT_EQ(geaendert.count(), 2);
    EXPECT_EQ(neuAufgebaut.count(), 0);
    EXPECT_EQ(s.w()->angezeigterText(1, 6), QStringLiteral("170"));
    EXPECT_EQ(s.w()->angezeigterText(9, 1), QStringLiteral("85"));
}

TEST(HexDumpWindowTest, ModesCloseBoxAndAlwaysInFront) {
    HexSitzung s(0);
    HexDumpWindow* w = s.w();
    EXPECT_FALSE(w->isVisible());

    s.waehle(2);
    ASSERT_TRUE(w->isVisible());
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_NE(s.t.settingsText().find("HexDump=2"), std::string::npos);

    s.waehle(1);
    ASSERT_TRUE(w->isVisible());
    EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // The close box: hidden, mode 0 stored, the check mark stays where it was.
    EXPECT_TRUE(w->close());
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(s.t.state().einstellungen.HexDumpModus, 0);
    EXPECT_NE(s.t.settingsText().find("HexDump=0"), std::string::npos);
    EXPECT_TRUE(s.t.window().action(s.t.c().mnuHexDumpAuswahl[1])->isChecked());
    // A telegram now does not bring it back; "Standard" again does.
    s.sende(link::kurzTelegramm(kurzBlock()));
    EXPECT_FALSE(w->isVisible());
    s.waehle(1);
    EXPECT_TRUE(w->isVisible());

    s.waehle(0);
    EXPECT_FALSE(w->isVisible());
    EXPECT_NE(s.t.settingsText().find("HexDump=0"), std::string::npos);
}

}  // namespace
}  // namespace krv::gui::test
