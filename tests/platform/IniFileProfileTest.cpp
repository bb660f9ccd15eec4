// The settings file on disk: every read sees the file as it is, a write replaces it atomically
// and keeps everything else of it, and a write that cannot be done leaves the old file alone.
#include "platform/IniFileProfile.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "support/TempVerzeichnis.hpp"

namespace krv::platform {
namespace {

namespace fs = std::filesystem;

TEST(IniFileProfile, ReadsSeeTheFileAsItIsNowAndAWriteKeepsTheRestItsRightsAndItsLink) {
    test::TempVerzeichnis tmp;
    IniFileProfile neu(tmp.pfad("home/.config/K.ini"));
    EXPECT_EQ(neu.GetPrivateProfileInt("E", "k", 1), 1);
    EXPECT_FALSE(fs::exists(tmp.pfad("home"))) << "reading creates nothing";
    EXPECT_TRUE(neu.WritePrivateProfileString("E", "k", "3"));
    EXPECT_EQ(tmp.lies(tmp.pfad("home/.config/K.ini")), "[E]\nk=3\n");

    const std::string echt = tmp.schreibe("echt.ini", "[E]\nk=1\n" + std::string("\0\xFF", 2));
    fs::create_symlink(echt, tmp.pfad("K.ini"));
    IniFileProfile profile(tmp.pfad("K.ini"));
    EXPECT_EQ(profile.GetPrivateProfileInt("E", "k", 0), 1);
    tmp.schreibe("echt.ini", "; hand\r\n[H]\r\nl=1\r\n\r\n[E]\r\nTimingKanal0=13\r\n");
    EXPECT_EQ(profile.GetPrivateProfileString("E", "k", "weg"), "weg");
    const auto rechte = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(echt, rechte);
    // Playback sets every timing channel from each file it opens, mostly to the value it has:
    // then the file stays the same file, with no wait for the disk.
    struct stat vorher {}, nachher {};
    ::stat(echt.c_str(), &vorher);
    EXPECT_TRUE(profile.WritePrivateProfileString("E", "TimingKanal0", "13"));
    ::stat(echt.c_str(), &nachher);
    EXPECT_EQ(nachher.st_ino, vorher.st_ino);
    EXPECT_TRUE(profile.WritePrivateProfileString("E", "TimingKanal0", "14"));
    ::stat(echt.c_str(), &nachher);
    EXPECT_NE(nachher.st_ino, vorher.st_ino);
    EXPECT_TRUE(profile.WritePrivateProfileString("E", "k", "0"));
    EXPECT_EQ(tmp.lies(echt), "; hand\r\n[H]\r\nl=1\r\n\r\n[E]\r\nTimingKanal0=14\r\nk=0\r\n");
    EXPECT_TRUE(fs::is_symlink(tmp.pfad("K.ini")));
    EXPECT_EQ(fs::status(echt).permissions(), rechte);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.pfad()), {}), 3) << "no temporary file left";
}

TEST(IniFileProfile, AWriteThatCannotBeDoneFailsAndLeavesTheOldFile) {
    test::TempVerzeichnis tmp;
    const std::string alt = "[E]\nk=2\nSprache=10000\nHexDump=1\n", datei = tmp.schreibe("K.ini", alt);
    fs::create_directory(tmp.pfad("dir.ini"));
    // A directory in its place, below a regular file, where no file can be created, read-only.
    for (const std::string& pfad : {tmp.pfad("dir.ini"), datei + "/x.ini", std::string("/proc/K"), datei}) {
        if (pfad == datei && ::geteuid() == 0) continue;  // permission bits do not stop root
        fs::permissions(datei, fs::perms::owner_read);
        EXPECT_FALSE(IniFileProfile(pfad).WritePrivateProfileString("E", "k", "3")) << pfad;
        fs::permissions(datei, fs::perms::owner_all);
    }
    // A full disk, for every user root included: a file size limit makes the new file's write fail.
    struct sigaction ignorieren {}, vorher {};
    ignorieren.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignorieren, &vorher), 0);
    rlimit gesichert{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &gesichert), 0);
    rlimit klein = gesichert;
    klein.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &klein), 0);
    const bool geschrieben = IniFileProfile(datei).WritePrivateProfileString("E", "k", "3");
    ::setrlimit(RLIMIT_FSIZE, &gesichert);
    ::sigaction(SIGXFSZ, &vorher, nullptr);
    EXPECT_FALSE(geschrieben);
    EXPECT_EQ(tmp.lies(datei), alt);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.pfad()), {}), 2) << "no temporary file left";
}

}  // namespace
}  // namespace krv::platform
