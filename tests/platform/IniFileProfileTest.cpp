#include "platform/IniFileProfile.hpp"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/app/StartupSettings.hpp"
#include "platform/ConfigLocation.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::platform {
namespace {

namespace fs = std::filesystem;

class IniFileProfileTest : public ::testing::Test {
protected:
    static void writeFile(const fs::path& p, const std::string& text) {
        std::ofstream out(p, std::ios::binary);
        out << text;
    }
    static std::string readFile(const fs::path& p) { return test::TempVerzeichnis::lies(p.string()); }
    std::vector<std::string> dirEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
        return names;
    }

    test::TempVerzeichnis tmp_;
    const fs::path dir_ = tmp_.pfad();
    const fs::path file_ = dir_ / "KrvDiag.ini";
};

TEST_F(IniFileProfileTest, FreshSystemReadsDefaultsAndFirstWriteCreatesTheFile) {
    const fs::path nested = dir_ / "home" / ".config" / "KrvDiag.ini";
    IniFileProfile profile(nested);
    app::Einstellungen e;
    EXPECT_EQ(app::readSprachOffset(profile), 0);
    app::readStartupSettings(profile, e);
    EXPECT_EQ(e.ComPortNr, 1);
    EXPECT_FALSE(fs::exists(dir_ / "home"));  // reading creates nothing

    EXPECT_TRUE(profile.WritePrivateProfileString("Einstellungen", "ComPort", "3"));
    EXPECT_EQ(readFile(nested), "[Einstellungen]\nComPort=3\n");
    EXPECT_EQ(profile.GetPrivateProfileInt("Einstellungen", "ComPort", 1), 3);
}

TEST_F(IniFileProfileTest, EveryReadSeesTheFileAsItIsNow) {
    IniFileProfile profile(file_);
    writeFile(file_, "[Einstellungen]\nSprache=10000\n");
    EXPECT_EQ(profile.GetPrivateProfileInt("Einstellungen", "Sprache", 0), 10000);
    writeFile(file_, "[Einstellungen]\nSprache=0\n");
    EXPECT_EQ(profile.GetPrivateProfileInt("Einstellungen", "Sprache", 10000), 0);
    fs::remove(file_);
    EXPECT_EQ(profile.GetPrivateProfileString("Einstellungen", "Sprache", "gone"), "gone");
}

TEST_F(IniFileProfileTest, WriteKeepsTheRestOfACrlfFileAndItsPermissions) {
    const std::string before = "; by hand\r\n[HilfeFenster]\r\nlinks=1000\r\n\r\n[Einstellungen]\r\nComPort=2\r\n";
    writeFile(file_, before);
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    IniFileProfile profile(file_);
    EXPECT_TRUE(profile.WritePrivateProfileString("Einstellungen", "ComPort", "4"));
    EXPECT_TRUE(profile.WritePrivateProfileString("Einstellungen", "Sprache", "10000"));
    EXPECT_EQ(readFile(file_),
              "; by hand\r\n[HilfeFenster]\r\nlinks=1000\r\n\r\n[Einstellungen]\r\nComPort=4\r\nSprache=10000\r\n");
    EXPECT_EQ(fs::status(file_).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(dirEntries(), std::vector<std::string>{"KrvDiag.ini"});  // no temporary file left
}

TEST_F(IniFileProfileTest, AKeyThatAlreadyHoldsTheValueIsNotRewritten) {
    // Playback sets every timing channel from each file it opens, mostly to the value it has:
    // the file must stay the same file (no replacement, no waiting for the disk).
    writeFile(file_, "[Einstellungen]\nTimingKanal0=13\n");
    const auto inode = [&] {
        struct stat st {};
        ::stat(file_.c_str(), &st);
        return st.st_ino;
    };
    const auto vorher = inode();
    IniFileProfile profile(file_);
    EXPECT_TRUE(profile.WritePrivateProfileString("Einstellungen", "TimingKanal0", "13"));
    EXPECT_EQ(inode(), vorher);
    EXPECT_TRUE(profile.WritePrivateProfileString("Einstellungen", "TimingKanal0", "14"));
    EXPECT_NE(inode(), vorher);
    EXPECT_EQ(readFile(file_), "[Einstellungen]\nTimingKanal0=14\n");
}

TEST_F(IniFileProfileTest, SymlinkedFileIsUpdatedWhereTheLinkPoints) {
    const fs::path real = dir_ / "real.ini";
    writeFile(real, "[Einstellungen]\nComPort=2\n");
    fs::create_symlink(real, file_);
    IniFileProfile profile(file_);
    EXPECT_TRUE(profile.WritePrivateProfileString("Einstellungen", "ComPort", "3"));
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(readFile(real), "[Einstellungen]\nComPort=3\n");
}

TEST_F(IniFileProfileTest, StoredTriggerAbove37ReadsZeroAndStaysInTheFile) {
    const std::string text = "[Einstellungen]\nTimingKanal9=99\n";
    writeFile(file_, text);
    IniFileProfile profile(file_);
    app::Einstellungen e;
    app::readStartupSettings(profile, e);
    EXPECT_EQ(e.TriggerModus, 0);
    EXPECT_EQ(readFile(file_), text);
}

TEST_F(IniFileProfileTest, BinaryGarbageReadsDefaults) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
    writeFile(file_, garbage);
    IniFileProfile profile(file_);
    app::Einstellungen e;
    EXPECT_EQ(app::readSprachOffset(profile), 0);
    app::readStartupSettings(profile, e);
    EXPECT_EQ(e.ComPortNr, 1);
    EXPECT_EQ(e.HexDumpModus, 0);
    EXPECT_EQ(e.TriggerModus, 0);
    EXPECT_TRUE(profile.WritePrivateProfileString("Einstellungen", "ComPort", "2"));
    EXPECT_EQ(profile.GetPrivateProfileInt("Einstellungen", "ComPort", 1), 2);
    EXPECT_EQ(readFile(file_).compare(0, garbage.size(), garbage), 0);
}

TEST_F(IniFileProfileTest, DirectoryInPlaceOfTheFileReadsDefaultsAndRefusesWrites) {
    fs::create_directory(file_);
    IniFileProfile profile(file_);
    EXPECT_EQ(profile.GetPrivateProfileInt("Einstellungen", "ComPort", 1), 1);
    EXPECT_FALSE(profile.WritePrivateProfileString("Einstellungen", "ComPort", "3"));
    EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(IniFileProfileTest, WriteBelowARegularFileFails) {
    // No directory can be created below a regular file, not even by root.
    writeFile(dir_ / "plain", "x");
    IniFileProfile profile(dir_ / "plain" / "KrvDiag.ini");
    EXPECT_FALSE(profile.WritePrivateProfileString("Einstellungen", "ComPort", "3"));
    EXPECT_EQ(readFile(dir_ / "plain"), "x");
    EXPECT_FALSE(IniFileProfile("/proc/KrvDiag.ini").WritePrivateProfileString("Einstellungen", "ComPort", "3"));
}

TEST_F(IniFileProfileTest, WriteThatRunsOutOfSpaceLeavesTheOldFileIntact) {
    // A file size limit makes the write of the new file fail for every user, root included.
    const std::string before = "[Einstellungen]\nComPort=2\nSprache=10000\nHexDump=1\n";
    writeFile(file_, before);
    IniFileProfile profile(file_);

    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previous), 0);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = profile.WritePrivateProfileString("Einstellungen", "ComPort", "3");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(file_), before);
    EXPECT_EQ(dirEntries(), std::vector<std::string>{"KrvDiag.ini"});
}

TEST_F(IniFileProfileTest, ReadOnlyDirectoryOrFileRefusesWrites) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    const std::string before = "[Einstellungen]\nComPort=2\n";
    writeFile(file_, before);
    IniFileProfile profile(file_);

    fs::permissions(file_, fs::perms::owner_read);
    EXPECT_FALSE(profile.WritePrivateProfileString("Einstellungen", "ComPort", "3"));
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);

    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(profile.WritePrivateProfileString("Einstellungen", "ComPort", "3"));
    fs::permissions(dir_, fs::perms::owner_all);

    EXPECT_EQ(readFile(file_), before);
    EXPECT_EQ(dirEntries(), std::vector<std::string>{"KrvDiag.ini"});
}

// Sets or clears environment variables for one test and puts the old values back.
class EnvironmentGuard {
public:
    EnvironmentGuard() {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~EnvironmentGuard() {
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i]) ::setenv(kNames[i], saved_[i]->c_str(), 1);
            else ::unsetenv(kNames[i]);
        }
    }
    static void set(const char* name, const char* value) {
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }

private:
    static constexpr const char* kNames[] = {"KRVDIAG_CONFIG_DIR", "XDG_CONFIG_HOME", "HOME"};
    std::vector<std::optional<std::string>> saved_;
};

TEST(ConfigLocation, DirectoryPrecedence) {
    EnvironmentGuard guard;
    EnvironmentGuard::set("HOME", "/home/tech");
    EnvironmentGuard::set("XDG_CONFIG_HOME", "/xdg");
    EnvironmentGuard::set("KRVDIAG_CONFIG_DIR", "/krv");
    EXPECT_EQ(configDirectory(fs::path("/cmdline")), fs::path("/cmdline"));
    EXPECT_EQ(configDirectory(fs::path()), fs::path("/krv"));
    EXPECT_EQ(configDirectory(), fs::path("/krv"));

    EnvironmentGuard::set("KRVDIAG_CONFIG_DIR", "");
    EXPECT_EQ(configDirectory(), fs::path("/xdg"));
    EnvironmentGuard::set("KRVDIAG_CONFIG_DIR", nullptr);
    EXPECT_EQ(configDirectory(), fs::path("/xdg"));

    EnvironmentGuard::set("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_EQ(configDirectory(), fs::path("/home/tech/.config"));
    EnvironmentGuard::set("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(configDirectory(), fs::path("/home/tech/.config"));
}

TEST(ConfigLocation, WithoutHomeTheAccountsHomeIsUsed) {
    EnvironmentGuard guard;
    EnvironmentGuard::set("KRVDIAG_CONFIG_DIR", nullptr);
    EnvironmentGuard::set("XDG_CONFIG_HOME", nullptr);
    EnvironmentGuard::set("HOME", nullptr);
    const passwd* entry = ::getpwuid(::getuid());
    if (entry == nullptr) GTEST_SKIP() << "no account entry for this user";
    EXPECT_EQ(configDirectory(), fs::path(entry->pw_dir) / ".config");
}

TEST(ConfigLocation, FileIsTheIniNameInThatDirectory) {
    EnvironmentGuard guard;
    EnvironmentGuard::set("KRVDIAG_CONFIG_DIR", "/krv");
    EXPECT_EQ(settingsFilePath("KrvDiag.ini"), fs::path("/krv/KrvDiag.ini"));
    EXPECT_EQ(settingsFilePath("KrvDiag.ini", fs::path("/opt/x")), fs::path("/opt/x/KrvDiag.ini"));
}

}  // namespace
}  // namespace krv::platform
