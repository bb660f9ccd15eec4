// The settings file: values read as the platform reads them, a change of one line that keeps
// every other byte, and the start-up settings with their ranges.
#include <gtest/gtest.h>

#include <climits>

#include "core/state/MemoryProfile.hpp"
#include "core/state/StartupSettings.hpp"

namespace krv::app {
namespace {

TEST(IniDocument, NumbersCountTheirLeadingDigitsAndAreClampedToTheIntRange) {
    for (const auto& [wert, zahl] :
         {std::pair{"12abc", 12}, {"abc", 0}, {"", 0}, {"-5", -5}, {"+7", 7}, {"   42  ", 42}, {"1 2", 1},
          {"- 5", 0}, {"\"15\"", 15}, {"2147483647", INT_MAX}, {"2147483648", INT_MAX},
          {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN}, {"99999999999999999999999", INT_MAX},
          {"-99999999999999999999999", INT_MIN}}) {
        EXPECT_EQ(IniDocument(std::string("[S]\nk=") + wert + "\n").getInt("S", "k", 777), zahl) << wert;
    }
}

TEST(IniDocument, SectionsAndKeysAreFoundAsThePlatformFindsThem) {
    // {text, section, key, value or "-" when not found}
    for (const auto& [text, section, key, wert] :
         {std::tuple{"  [ einSTELLungen ]  \n\t COMPORT \t=\t 3 \n", " EINSTELLUNGEN ", " comport ", "3"},
          {"k=4\n[Andere]\nk=3\n[E]\nj=1\n", "E", "k", "-"}, {"[E]\nk=2\nK=3\n[E]\nk=4\n", "E", "k", "2"},
          {"[E]\nk=2\n[E]\nj=1\n", "E", "j", "-"}, {"[A]\n[B]\nk=1\n", "A", "k", "-"},
          {"[E]\n[Kaputt\nk=2\n", "E", "k", "-"}, {"[E]\n[Kaputt\nk=2\n", "Kaputt", "k", "2"},
          {"[S]\n; a=1\n", "S", "a", "-"}, {"[S]\n# b=2\n", "S", "b", "-"}, {"[S]\nc = \n", "S", "c", ""},
          {"[S]\njust text\n=5\n", "S", "just text", "-"}, {"[P]\na =  /dev/tty  \n", "P", "a", "/dev/tty"},
          {"[P]\nb=\" padded \"\n", "P", "b", " padded "}, {"[P]\nc=\"half\n", "P", "c", "\"half"},
          {"[P]\nd=\"\n", "P", "d", "\""}, {"\xEF\xBB\xBF[E]\nk=1\n", "E", "k", "1"}, {"", "E", "k", "-"}}) {
        EXPECT_EQ(IniDocument(text).getString(section, key, "-"), wert) << text;
    }
}

TEST(IniDocument, ASetChangesOneLineAndKeepsEveryOtherByte) {
    // {before, section, key, value, after; nullptr: refused, the text stays}
    for (const auto& [vorher, section, key, wert, nachher] :
         {std::tuple{"; top\n[H]\n o=1  ; part of it\n\n[E]\n# hand\n  comport =  2  \nx\n\n[F]\n", "E",
                     "ComPort", "3", "; top\n[H]\n o=1  ; part of it\n\n[E]\n# hand\nComPort=3\nx\n\n[F]\n"},
          {"[E]\nk=2\n; end\n\n\n[H]\n", "e", "j", "1", "[E]\nk=2\n; end\nj=1\n\n\n[H]\n"},
          {"[E]\n\n[H]\n", "E", "k", "0", "[E]\nk=0\n\n[H]\n"},
          {"[A]\n[B]\nk=1\n", "A", "k", "2", "[A]\nk=2\n[B]\nk=1\n"}, {"", "E", "k", "3", "[E]\nk=3\n"},
          {"[E]\nk=3", "F", "l", "4", "[E]\nk=3\n\n[F]\nl=4\n"}, {";\n\n", "H", "o", "1", ";\n\n[H]\no=1\n"},
          {"[E]\r\nk=2\r\n\r\n[H]\r\n", "E", "j", "1", "[E]\r\nk=2\r\nj=1\r\n\r\n[H]\r\n"},
          {"[E]\r\nk=2\r\n", "F", "o", "6", "[E]\r\nk=2\r\n\r\n[F]\r\no=6\r\n"},
          {"\xEF\xBB\xBF[E]\nk=1\n", "E", "k", "0", "\xEF\xBB\xBF[E]\nk=0\n"},
          {"[S]\n", "", "k", "1", nullptr},
          {"[S]\n", "S]x", "k", "1", nullptr}, {"[S]\n", "S\n[T", "k", "1", nullptr},
          {"[S]\n", "S", " ", "1", nullptr}, {"[S]\n", "S", "a=b", "1", nullptr},
          {"[S]\n", "S", "[k", "1", nullptr},
          {"[S]\n", "S", ";k", "1", nullptr}, {"[S]\n", "S", "#k", "1", nullptr},
          {"[S]\n", "S", "k", "1\r\n[T]", nullptr}}) {
        IniDocument doc(vorher);
        EXPECT_EQ(doc.text(), vorher);
        EXPECT_EQ(doc.set(section, key, wert), nachher != nullptr) << vorher;
        EXPECT_EQ(doc.text(), nachher ? nachher : vorher);
        EXPECT_EQ(doc.getString(section, key, "-"), nachher ? wert : "-") << vorher;
    }
}

TEST(StartupSettings, StoredValuesInRangeAreTakenAndOthersFallBackToTheDefault) {
    // {settings, language, hex dump mode, port, hex format, trigger, timing channels}
    for (const auto& [ini, sprache, hexDump, com, format, trigger, kanaele] :
         {std::tuple{"", 0, 0, 1, 0, 0, std::array<int, 9>{}},
          {"Sprache=10000\nHexDump=2\nComPort=4\nHexDumpDisplay=1\nTimingKanal0=5\nTimingKanal8=39\n"
           "TimingKanal9=37\n", 10000, 2, 4, 1, 37, {5, 0, 0, 0, 0, 0, 0, 0, 39}},
          {"Sprache=1\nHexDump=3\nComPort=0\nHexDumpDisplay=2\nTimingKanal4=-2\nTimingKanal9=38\n",
           0, 0, 1, 0, 0, {}},
          {"Sprache=20000\nHexDump=-1\nComPort=5\nHexDumpDisplay=-1\nTimingKanal9=-1\n",
           0, 0, 1, 0, 0, {}}}) {
        const std::string text = std::string("[Einstellungen]\n") + ini;
        MemoryProfile profile(text);
        Einstellungen e;
        e.HexDumpModus = e.ComPortNr = e.HexDumpAnzeige = e.TriggerModus = -77;
        e.KanalTab.fill(-77);
        EXPECT_EQ(readSprachOffset(profile), sprache) << ini;
        readStartupSettings(profile, e);
        EXPECT_EQ((std::array{e.HexDumpModus, e.ComPortNr, e.HexDumpAnzeige, e.TriggerModus}),
                  (std::array{hexDump, com, format, trigger})) << ini;
        EXPECT_EQ(e.KanalTab, kanaele) << ini;
        EXPECT_EQ(profile.text(), text) << "reading never writes, not even a value out of range";
    }
}

}  // namespace
}  // namespace krv::app
