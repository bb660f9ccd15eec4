// The settings file is damaged or cannot be written: the program still starts, with the
// defaults for everything it cannot read, without a message, and settings the user changes
// are lost quietly when they cannot be stored.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "GuiTestSupport.hpp"
#include "gui/HelpWindow.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PanelLabel.hpp"
#include "gui/Twips.hpp"

namespace krv::gui::test {
namespace {

struct Beschaedigt {
    const char* name;
    std::string text;
};

std::string binaerMuell() {
    std::string s;
    std::uint32_t x = 12345;
    for (int i = 0; i < 65536; ++i) {
        x = x * 1103515245u + 12345u;
        s += static_cast<char>(x >> 24);
    }
    // Fragments that look like the real thing do not make the rest readable.
    return s + std::string("\0[Einstellungen\r=\n\xff", 19) + s.substr(0, 4096);
}

std::string riesigeZeilen() {
    // A line of 8 MB without a break, a section name of 1 MB, a number of 1 MB digits.
    return std::string(8 << 20, 'x') + "\n[" + std::string(1 << 20, 'E') + "]\nComPort=3\n[Einstellungen]\nComPort=" +
           std::string(1 << 20, '7') + "\nSprache=" + std::string(1 << 20, '1') + "\n" +
           std::string(1 << 20, '=') + "\n";
}

std::string ohneAbschnitte() { return "Sprache=10000\nComPort=3\nHexDump=2\nTimingKanal9=5\nTimingKanal0=7\n"; }

std::string ungueltigeZahlen() {
    return "[Einstellungen]\nSprache=zehntausend\nComPort=-3\nHexDump=99999999999999999999\nHexDumpDisplay=0x1\n"
           "TimingKanal0=-7\nTimingKanal1=\nTimingKanal2= =5\nTimingKanal9=38\n"
           "[HilfeFenster]\nlinks=-99999999999\noben=2147483647\nbreite=99999999999\nhoehe=-5\n";
}

class SettingsFaultTest : public ::testing::TestWithParam<Beschaedigt> {};

TEST_P(SettingsFaultTest, StartsWithTheDefaultsAndWithoutAMessage) {
    TestSitzung t(GetParam().text);
    ASSERT_TRUE(t.start());
    EXPECT_TRUE(t.dialogs().boxes.empty()) << t.dialogs().boxes[0].text;

    const app::Einstellungen& e = t.state().einstellungen;
    EXPECT_EQ(e.SprachOffset, 0);
    EXPECT_EQ(e.ComPortNr, 1);
    EXPECT_EQ(e.HexDumpModus, 0);
    EXPECT_EQ(e.HexDumpAnzeige, 0);
    EXPECT_EQ(e.TriggerModus, 0);
    for (int k : e.KanalTab) EXPECT_EQ(k, 0);
    MainWindow& w = t.window();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("KRV Diagnoseprogramm"));
    EXPECT_TRUE(w.action(t.c().mnuSprache[0])->isChecked());
    EXPECT_TRUE(w.action(t.c().mnuCom[1])->isChecked());
    EXPECT_TRUE(w.action(t.c().mnuHexDumpAuswahl[0])->isChecked());
    EXPECT_EQ(w.panel(1)->text(), QStringLiteral("COM1"));

    // The help window reads its place from the same file: it opens on the screen.
    w.action(t.c().mnuHilfe)->trigger();
    HelpWindow* hilfe = t.session().helpWindow();
    ASSERT_NE(hilfe, nullptr);
    EXPECT_TRUE(hilfe->isVisible());
    EXPECT_TRUE(t.dialogs().boxes.empty());
    // Without a usable stored place: left 1000, top 1000, 8000 x 8000 twips.
    const Twips twips(*hilfe);
    EXPECT_EQ(hilfe->frameGeometry(), QRect(twips.x(1000), twips.y(1000), twips.x(8000), twips.y(8000)));

    // A setting the user changes is written, the rest of the file stays as it was.
    w.action(t.c().mnuCom[3])->trigger();
    EXPECT_EQ(t.state().einstellungen.ComPortNr, 3);
    EXPECT_TRUE(t.dialogs().boxes.empty());
    EXPECT_NE(t.settingsText().find("ComPort=3"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Faelle, SettingsFaultTest,
                         ::testing::Values(Beschaedigt{"BinaryJunk", binaerMuell()},
                                           Beschaedigt{"HugeLines", riesigeZeilen()},
                                           Beschaedigt{"NoSections", ohneAbschnitte()},
                                           Beschaedigt{"InvalidNumbers", ungueltigeZahlen()}),
                         [](const ::testing::TestParamInfo<Beschaedigt>& info) { return info.param.name; });

TEST(SettingsReadOnlyTest, ReadOnlyDirectoryStartsFromTheFileAndLosesChangesQuietly) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    QTemporaryDir sperrDir;
    const std::string text = "[Einstellungen]\nComPort=2\nSprache=10000\n";
    TestSitzung t(text, sperrDir.filePath("krvdiag.lock").toStdString());
    ASSERT_EQ(::chmod(t.configDir().c_str(), 0500), 0);

    const bool gestartet = t.start();
    if (gestartet) t.window().action(t.c().mnuCom[3])->trigger();
    const std::string danach = t.settingsText();
    ::chmod(t.configDir().c_str(), 0700);

    ASSERT_TRUE(gestartet);
    EXPECT_TRUE(t.dialogs().boxes.empty()) << t.dialogs().boxes[0].text;
    EXPECT_EQ(t.state().einstellungen.SprachOffset, 10000);
    // The port is switched for this run; the file could not take it.
    EXPECT_EQ(t.state().einstellungen.ComPortNr, 3);
    EXPECT_TRUE(t.window().action(t.c().mnuCom[3])->isChecked());
    EXPECT_EQ(danach, text);
}

}  // namespace
}  // namespace krv::gui::test
