// The data directory has lost its files: no device pictures, no help texts, no error texts.
// The program runs on and says only what it says for each missing file: message 13 whenever it
// loads a model's pictures, nothing for the help text (the help window stays empty), and the
// file error text in the CPU error window.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <fstream>

#include "GuiTestSupport.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "gui/CpuFehlerWindow.hpp"
#include "gui/HelpWindow.hpp"
#include "gui/MainWindow.hpp"

namespace krv::gui::test {
namespace {

// A session on the test's pseudo-terminal whose data directory holds none of the pictures.
struct LeereSitzung {
    Geraet geraet;
    TestSitzung t;
    int angezeigt = 0;

    explicit LeereSitzung(const std::string& iniZusatz = {}) : t("[Ports]\nCOM1=" + geraet.pfad() + "\n" + iniZusatz) {
        QDir daten(QString::fromStdString(t.configDir()));
        for (const QString& name : daten.entryList({QStringLiteral("*.WMF")}, QDir::Files)) daten.remove(name);
    }
    void starten() {
        ASSERT_TRUE(t.start());
        t.form().onAnzeige = [this](const link::ReceiveState&) { ++angezeigt; };
    }
    void sende(std::uint8_t byte0, std::uint8_t byte15) {
        link::StatusBlock s{};
        s[0] = byte0;
        s[15] = byte15;
        const int vorher = angezeigt;
        geraet.sende(link::kurzTelegramm(s));
        ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
        QCoreApplication::processEvents();
    }
    std::vector<std::string> texte() {
        std::vector<std::string> r;
        for (const auto& box : t.dialogs().boxes) r.push_back(box.text);
        return r;
    }
};

const std::string kBilderFehlen = ".WMF-Datei nicht gefunden.";

TEST(MissingDataFilesTest, GermanShowsMessage13PerPictureLoadAnEmptyHelpAndTheFileErrorText) {
    LeereSitzung s;
    s.starten();
    // The initial picture of model 13 cannot be loaded: one message, OK only.
    ASSERT_EQ(s.texte(), std::vector<std::string>{kBilderFehlen});
    EXPECT_EQ(s.t.dialogs().boxes[0].buttons, ports::MsgButtons::Ok);
    EXPECT_TRUE(s.t.window().isVisible());

    // No help file: the window opens empty and nothing is said.
    s.t.window().action(s.t.c().mnuHilfe)->trigger();
    HelpWindow* hilfe = s.t.session().helpWindow();
    ASSERT_NE(hilfe, nullptr);
    EXPECT_TRUE(hilfe->isVisible());
    EXPECT_TRUE(hilfe->txtHilfe()->toPlainText().isEmpty());
    EXPECT_EQ(s.texte().size(), 1u);
    hilfe->close();

    // The first block of a new connection loads its model's pictures again: message 13 once;
    // the CPU error window shows that the error text file is missing.
    s.t.window().action(s.t.c().mnuDatenuebertragungStart)->trigger();
    ASSERT_TRUE(s.t.session().serial().isOpen());
    s.sende(0x0D | 0x10, 7);
    EXPECT_EQ(s.texte(), (std::vector<std::string>{kBilderFehlen, kBilderFehlen}));
    CpuFehlerWindow* fehler = s.t.session().cpuFehlerWindow();
    ASSERT_TRUE(warteBis([&] { return fehler->isVisible(); }));
    EXPECT_EQ(fehler->meldung()->text(), QStringLiteral("Datei nicht gefunden oder Fehler in der Datei: "));

    // The same model again: nothing is reloaded and nothing said; another model: once more.
    s.sende(0x0D | 0x10, 7);
    s.sende(0x0D, 0);
    EXPECT_EQ(s.texte().size(), 2u);
    EXPECT_FALSE(fehler->isVisible());
    s.sende(0x0F, 0);
    EXPECT_EQ(s.texte(), (std::vector<std::string>{kBilderFehlen, kBilderFehlen, kBilderFehlen}));
    EXPECT_TRUE(s.t.session().serial().isOpen());
}

TEST(MissingDataFilesTest, EnglishDoesNotFallBackToTheGermanFiles) {
    LeereSitzung s("[Einstellungen]\nSprache=10000\n");
    std::ofstream(s.t.configDir() + "/Hilfe0.txt") << "Hilfe\n";
    std::ofstream(s.t.configDir() + "/Fehler0.txt") << "7,Watchdog\n999,Dateiende\n";
    s.starten();
    ASSERT_EQ(s.texte(), std::vector<std::string>{".WMF-file not found"});

    s.t.window().action(s.t.c().mnuHilfe)->trigger();
    EXPECT_TRUE(s.t.session().helpWindow()->txtHilfe()->toPlainText().isEmpty());

    s.t.window().action(s.t.c().mnuDatenuebertragungStart)->trigger();
    s.sende(0x0D | 0x10, 7);
    CpuFehlerWindow* fehler = s.t.session().cpuFehlerWindow();
    ASSERT_TRUE(warteBis([&] { return fehler->isVisible(); }));
    EXPECT_EQ(fehler->meldung()->text(), QStringLiteral("File error: "));
    EXPECT_EQ(s.texte().size(), 2u);
}

}  // namespace
}  // namespace krv::gui::test
