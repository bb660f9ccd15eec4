// Printing through Qt Print Support: the help text, the hex dump window and the main window go
// into a PDF file; a printer that cannot start the job gives each its own message.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <fstream>

#include "GuiTestSupport.hpp"
#include "core/app/StringTable.hpp"
#include "gui/HelpWindow.hpp"
#include "gui/HexDumpWindow.hpp"
#include "gui/MainWindow.hpp"
#include "gui/QtPrinter.hpp"


namespace krv::gui::test {
namespace {

// The pages of a PDF file as its page objects count them; -1 when it is not a PDF.
int seiten(const QByteArray& pdf) {
    if (!pdf.startsWith("%PDF-")) return -1;
    return static_cast<int>(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

QByteArray lies(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct DruckSitzung {
    TestSitzung t;

    explicit DruckSitzung(const std::string& ini = "[Einstellungen]\nHexDump=1\n") : t(ini) {
        // A help text of several pages.
        std::ofstream hilfe(t.configDir() + "/Hilfe0.txt");
        for (int i = 1; i <= 300; ++i) hilfe << "Zeile " << i << " der Hilfe\n";
        hilfe.close();
        EXPECT_TRUE(t.start());
        app::ServiceZugang& service = t.session().programm().service;
        service.Show();
        service.txtPassword_Change("Tovk");
        service.cmdOK_Click();
        QCoreApplication::processEvents();
        EXPECT_TRUE(t.session().hexDumpWindow()->isVisible());
        t.window().action(t.c().mnuHilfe)->trigger();
        EXPECT_TRUE(t.session().helpWindow()->isVisible());
    }

    QString pdf(const char* name) const { return QString::fromStdString(t.configDir()) + "/" + name; }
    void druckeNach(const QString& pfad) { t.session().printer().setPdfDatei(pfad); }
    std::vector<std::string> meldungen() {
        std::vector<std::string> r;
        for (const ports::MessageBoxRequest& b : t.dialogs().boxes) r.push_back(b.text);
        return r;
    }
};

TEST(DruckenTest, HelpTextHexDumpAndMainWindowGoIntoPdfFiles) {
    DruckSitzung s;

    s.druckeNach(s.pdf("hilfe.pdf"));
    QTest::mouseClick(s.t.session().helpWindow()->cmdHilfeDrucken(), Qt::LeftButton);
    const QByteArray hilfe = lies(s.pdf("hilfe.pdf"));
    // The whole text, paginated: 300 lines do not fit on one page.
    EXPECT_GE(seiten(hilfe), 3) << hilfe.left(200).toStdString();

    s.druckeNach(s.pdf("hexdump.pdf"));
    QTest::mouseClick(s.t.session().hexDumpWindow()->druckKnopf(), Qt::LeftButton);
    const QByteArray hex = lies(s.pdf("hexdump.pdf"));
    EXPECT_EQ(seiten(hex), 1);
    EXPECT_GT(hex.size(), 1000);

    s.druckeNach(s.pdf("haupt.pdf"));
    s.t.window().action(s.t.c().mnuPrint)->trigger();
    const QByteArray haupt = lies(s.pdf("haupt.pdf"));
    EXPECT_EQ(seiten(haupt), 1);
    EXPECT_GT(haupt.size(), 1000);

    EXPECT_TRUE(s.meldungen().empty());
}

TEST(DruckenTest, APrinterThatCannotStartGivesEachItsMessage) {
    DruckSitzung s;
    s.druckeNach(QStringLiteral("/nonexistent-krvdiag-dir/x.pdf"));

    QTest::mouseClick(s.t.session().helpWindow()->cmdHilfeDrucken(), Qt::LeftButton);
    QTest::mouseClick(s.t.session().hexDumpWindow()->druckKnopf(), Qt::LeftButton);
    s.t.window().action(s.t.c().mnuPrint)->trigger();

    const std::vector<std::string> erwartet = {"Beim Drucken auf Ihrem Drucker gab es Probleme.",
                                               "Die Form kann nicht gedruckt werden.",
                                               "Die Datei kann nicht gedruckt werden."};
    EXPECT_EQ(s.meldungen(), erwartet);
    for (const ports::MessageBoxRequest& b : s.t.dialogs().boxes) EXPECT_EQ(b.buttons, ports::MsgButtons::Ok);
}

TEST(DruckenTest, AWindowThePrinterCannotFindIsAFailure) {
    QtPrinter printer;
    printer.setPdfDatei(QStringLiteral("/tmp/krvdiag-nie.pdf"));
    EXPECT_EQ(printer.druckeFenster("frmHexDump"), ports::DruckErgebnis::Fehler);
    printer.setFensterSuche([](const std::string&) { return nullptr; });
    EXPECT_EQ(printer.druckeFenster("frmHexDump"), ports::DruckErgebnis::Fehler);
}

}  // namespace
}  // namespace krv::gui::test
