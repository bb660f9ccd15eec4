// The pieces around the program start: splash window and version text, options, the demo's
// port overlay, twip conversion.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "GuiTestSupport.hpp"
#include "core/app/MemoryProfile.hpp"
#include "core/app/StringTable.hpp"
#include "core/app/VersionText.hpp"
#include "gui/CommandLine.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PortOverlayProfile.hpp"
#include "gui/SplashWindow.hpp"
#include "gui/Twips.hpp"
#include "platform/PortMapping.hpp"

namespace krv::gui::test {
namespace {

TEST(VersionTextTest, MajorDotMinorBuiltOnceAndCached) {
    EXPECT_EQ(app::baueVersionsText(1, 4), "1.4");
    EXPECT_EQ(app::baueVersionsText(2, 10), "2.10");
    EXPECT_EQ(app::baueVersionsText(1, 0), "1.0");
    EXPECT_EQ(app::VersionsText(), app::baueVersionsText(KRVDIAG_VERSION_MAJOR, KRVDIAG_VERSION_MINOR));
    EXPECT_EQ(&app::VersionsText(), &app::VersionsText());
    EXPECT_EQ(app::VersionsNameText(10000), "KRV diagnostic software version " + app::VersionsText());
}

TEST(SplashWindowTest, ShowsNameVersionAndCopyrightAndAClickClosesIt) {
    QPointer<SplashWindow> splash = new SplashWindow(0);
    EXPECT_EQ(splash->lblAppName()->text(), QStringLiteral("KRV Diagnoseprogramm"));
    EXPECT_EQ(splash->lblVersion()->text(), QString::fromStdString("Version " + app::VersionsText()));
    EXPECT_EQ(splash->lblCopyright()->text().toStdString(), app::LoadResString(16, 0));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    splash->show();
    // Anywhere, also on a label.
    QTest::mouseClick(splash->lblCopyright(), Qt::LeftButton);
    EXPECT_TRUE(warteBis([&] { return splash.isNull(); }, 1000));

    SplashWindow englisch(10000);
    EXPECT_EQ(englisch.lblAppName()->text(), QStringLiteral("KRV Diagnosis Software"));
}

TEST(SplashWindowTest, StartShowsTheSplashAndClosesItAfterItsTime) {
    QTemporaryDir dir;
    ports::ScriptedDialogs dialoge;
    platform::SystemClock uhr;
    SessionOptions o;
    o.configDir = dir.path().toStdString();
    o.lockFile = dir.filePath(QStringLiteral("lock")).toStdString();
    o.splash = true;
    ProgramSession session(o, dialoge, uhr);
    ASSERT_TRUE(session.start());
    ASSERT_NE(session.splash(), nullptr);
    EXPECT_TRUE(session.splash()->isVisible());
    EXPECT_TRUE(session.window().isVisible());
    // Three seconds counted from the nearest whole second; the wait only bounds a hang.
    EXPECT_TRUE(warteBis([&] { return session.splash() == nullptr; }, 15000));
}

TEST(CommandLineTest, OptionsOfTheProgram) {
    const CommandLine leer = parseCommandLine({"krvdiag"});
    EXPECT_TRUE(leer.fehler.isEmpty());
    EXPECT_TRUE(leer.splash);
    EXPECT_FALSE(leer.demo);
    EXPECT_FALSE(leer.configDir.has_value());
    EXPECT_FALSE(leer.exitWhenShown);

    const CommandLine alle = parseCommandLine({"krvdiag", "--no-splash", "--demo", "--config-dir", "/tmp/k"});
    EXPECT_TRUE(alle.fehler.isEmpty());
    EXPECT_FALSE(alle.splash);
    EXPECT_TRUE(alle.demo);
    EXPECT_EQ(alle.configDir, QStringLiteral("/tmp/k"));

    EXPECT_TRUE(parseCommandLine({"krvdiag", "--exit-when-shown"}).exitWhenShown);
    EXPECT_TRUE(parseCommandLine({"krvdiag", "--version"}).version);
    const CommandLine hilfe = parseCommandLine({"krvdiag", "--help"});
    EXPECT_TRUE(hilfe.help);
    EXPECT_TRUE(hilfe.helpText.startsWith(QStringLiteral("Usage: krvdiag [options]")));
    EXPECT_TRUE(hilfe.helpText.contains(QStringLiteral("--config-dir")));

    EXPECT_FALSE(parseCommandLine({"krvdiag", "--unbekannt"}).fehler.isEmpty());
    EXPECT_FALSE(parseCommandLine({"krvdiag", "--config-dir"}).fehler.isEmpty());
    EXPECT_FALSE(parseCommandLine({"krvdiag", "datei"}).fehler.isEmpty());
}

TEST(PortOverlayProfileTest, ReplacesOnlyTheGivenPortAndWritesThrough) {
    app::MemoryProfile datei("[Ports]\nCOM1=/dev/ttyUSB7\nCOM2=/dev/ttyS9\n[Einstellungen]\nComPort=1\n");
    PortOverlayProfile profil(datei);
    profil.setPortGeraet(1, "/dev/pts/42");

    EXPECT_EQ(platform::portGeraet(profil, 1), "/dev/pts/42");
    EXPECT_EQ(platform::portGeraet(profil, 2), "/dev/ttyS9");
    EXPECT_EQ(profil.GetPrivateProfileString("ports", "com1", ""), "/dev/pts/42");
    EXPECT_EQ(profil.GetPrivateProfileInt("Einstellungen", "ComPort", 0), 1);

    EXPECT_TRUE(profil.WritePrivateProfileString("Einstellungen", "ComPort", "3"));
    EXPECT_EQ(datei.GetPrivateProfileInt("Einstellungen", "ComPort", 0), 3);
    // The file keeps its own device.
    EXPECT_EQ(datei.GetPrivateProfileString("Ports", "COM1", ""), "/dev/ttyUSB7");
}

TEST(TwipsTest, FourteenHundredFortyTwipsPerLogicalInch) {
    const Twips normal(96, 96);
    EXPECT_EQ(normal.x(1440), 96);
    EXPECT_EQ(normal.y(150), 10);
    EXPECT_DOUBLE_EQ(normal.scaleWidth(96), 1440.0);
    const Twips doppelt(192, 144);
    EXPECT_EQ(doppelt.x(1440), 192);
    EXPECT_EQ(doppelt.y(1440), 144);
    EXPECT_DOUBLE_EQ(doppelt.scaleHeight(144), 1440.0);
    // Neighbouring rectangles keep touching after rounding.
    const QRect a = normal.rect(0, 0, 1005, 100);
    const QRect b = normal.rect(1005, 0, 1005, 100);
    EXPECT_EQ(a.right() + 1, b.left());
}

}  // namespace
}  // namespace krv::gui::test
