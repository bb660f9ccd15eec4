#include "core/app/StartupSettings.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/app/MemoryProfile.hpp"

namespace krv::app {
namespace {

// Answers from a fixed map and remembers every call, in order.
class RecordingProfile : public ports::ProfileStore {
public:
    std::map<std::string, int> values;  // key -> value, any section
    std::vector<std::string> calls;     // "section/key/default" of every integer read

    int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue) override {
        calls.push_back(std::string(section) + "/" + std::string(key) + "/" + std::to_string(defaultValue));
        const auto it = values.find(std::string(key));
        return it == values.end() ? defaultValue : it->second;
    }
    std::string GetPrivateProfileString(std::string_view, std::string_view key, std::string_view d) override {
        calls.push_back("string " + std::string(key));
        return std::string(d);
    }
    bool WritePrivateProfileString(std::string_view, std::string_view key, std::string_view) override {
        calls.push_back("write " + std::string(key));
        return false;
    }
};

Einstellungen readFrom(const std::string& text) {
    MemoryProfile profile(text);
    Einstellungen e;
    e.HexDumpModus = e.ComPortNr = e.HexDumpAnzeige = e.TriggerModus = -77;  // must all be overwritten
    e.KanalTab.fill(-77);
    readStartupSettings(profile, e);
    return e;
}

TEST(StartupSettings, ReadsTheKeysInTheProgramsOrderWithTheirDefaults) {
    RecordingProfile profile;
    EXPECT_EQ(readSprachOffset(profile), 0);
    Einstellungen e;
    readStartupSettings(profile, e);
    const std::vector<std::string> expected = {
        "Einstellungen/Sprache/0",       "Einstellungen/HexDump/0",      "Einstellungen/ComPort/1",
        "Einstellungen/HexDumpDisplay/0", "Einstellungen/TimingKanal0/0", "Einstellungen/TimingKanal1/0",
        "Einstellungen/TimingKanal2/0",  "Einstellungen/TimingKanal3/0", "Einstellungen/TimingKanal4/0",
        "Einstellungen/TimingKanal5/0",  "Einstellungen/TimingKanal6/0", "Einstellungen/TimingKanal7/0",
        "Einstellungen/TimingKanal8/0",  "Einstellungen/TimingKanal9/0",
    };
    EXPECT_EQ(profile.calls, expected);
}

TEST(StartupSettings, FreshSystemStartsGermanOnCom1WithEverythingOff) {
    MemoryProfile profile;
    EXPECT_EQ(readSprachOffset(profile), 0);
    const Einstellungen e = readFrom("");
    EXPECT_EQ(e.HexDumpModus, 0);
    EXPECT_EQ(e.ComPortNr, 1);
    EXPECT_EQ(e.HexDumpAnzeige, 0);
    EXPECT_EQ(e.KanalTab, (std::array<int, 9>{}));
    EXPECT_EQ(e.TriggerModus, 0);
    EXPECT_EQ(profile.text(), "");  // reading never writes
}

TEST(StartupSettings, StoredValuesInRangeAreTaken) {
    const Einstellungen e = readFrom(
        "[Einstellungen]\nSprache=10000\nHexDump=2\nComPort=4\nHexDumpDisplay=1\n"
        "TimingKanal0=5\nTimingKanal1=1\nTimingKanal2=2\nTimingKanal3=3\nTimingKanal4=4\n"
        "TimingKanal5=50\nTimingKanal6=6\nTimingKanal7=7\nTimingKanal8=39\nTimingKanal9=37\n");
    EXPECT_EQ(e.HexDumpModus, 2);
    EXPECT_EQ(e.ComPortNr, 4);
    EXPECT_EQ(e.HexDumpAnzeige, 1);
    EXPECT_EQ(e.KanalTab, (std::array<int, 9>{5, 1, 2, 3, 4, 50, 6, 7, 39}));
    EXPECT_EQ(e.TriggerModus, 37);
    MemoryProfile english("[Einstellungen]\nSprache=10000\n");
    EXPECT_EQ(readSprachOffset(english), 10000);
}

TEST(StartupSettings, ValuesWithoutAMenuItemFallBackToTheDefault) {
    for (const char* sprache : {"1", "9999", "10001", "-10000", "20000"}) {
        MemoryProfile profile(std::string("[Einstellungen]\nSprache=") + sprache + "\n");
        EXPECT_EQ(readSprachOffset(profile), 0) << sprache;
    }
    for (const char* port : {"0", "5", "-1"}) {
        EXPECT_EQ(readFrom(std::string("[Einstellungen]\nComPort=") + port + "\n").ComPortNr, 1) << port;
    }
    EXPECT_EQ(readFrom("[Einstellungen]\nHexDump=3\n").HexDumpModus, 0);
    EXPECT_EQ(readFrom("[Einstellungen]\nHexDump=-1\n").HexDumpModus, 0);
    EXPECT_EQ(readFrom("[Einstellungen]\nHexDumpDisplay=2\n").HexDumpAnzeige, 0);
    EXPECT_EQ(readFrom("[Einstellungen]\nTimingKanal4=-2\n").KanalTab[4], 0);
    EXPECT_EQ(readFrom("[Einstellungen]\nTimingKanal9=38\n").TriggerModus, 0);
    EXPECT_EQ(readFrom("[Einstellungen]\nTimingKanal9=40\n").TriggerModus, 0);
    EXPECT_EQ(readFrom("[Einstellungen]\nTimingKanal9=-1\n").TriggerModus, 0);
}

TEST(StartupSettings, TriggerAbove37ReadsZeroButStaysInTheFile) {
    const std::string text = "[Einstellungen]\nTimingKanal9=99\n";
    MemoryProfile profile(text);
    Einstellungen e;
    readStartupSettings(profile, e);
    EXPECT_EQ(e.TriggerModus, 0);
    EXPECT_EQ(profile.text(), text);
}

TEST(StartupSettings, WriteSettingStoresDecimalTextInItsSection) {
    MemoryProfile profile;
    writeSetting(profile, "ComPort", 3);
    writeSetting(profile, timingKanalKey(9), -5);
    writeSetting(profile, "HilfeFenster", "links", 1000);
    EXPECT_EQ(profile.text(), "[Einstellungen]\nComPort=3\nTimingKanal9=-5\n\n[HilfeFenster]\nlinks=1000\n");
    EXPECT_EQ(profile.GetPrivateProfileInt("Einstellungen", "ComPort", 1), 3);
}

}  // namespace
}  // namespace krv::app
