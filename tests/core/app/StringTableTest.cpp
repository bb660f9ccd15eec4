#include "core/app/StringTable.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace krv::app {
namespace {

using ::testing::HasSubstr;

// The message of the error that parse() throws, or a marker when it does not throw.
std::string parseError(std::string_view text) {
    try {
        StringTable::parse(text);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "<no error>";
}

// ---- Parsing rules ----------------------------------------------------------------------

TEST(StringTableParse, ReadsEntriesSkippingCommentsAndBlankLines) {
    const auto table = StringTable::parse(
        "# header\n"
        "\n"
        "20\tKRV-a/R\n"
        "   \n"
        "#10020\tnot an entry\n"
        "2\tKRV Diagnoseprogramm\n"
        "10002\tKRV Diagnosis Software");  // no newline at the end
    EXPECT_EQ(table.ids(), (std::vector<int>{2, 20, 10002}));
    EXPECT_EQ(table.text(2), "KRV Diagnoseprogramm");
    EXPECT_EQ(table.text(10002), "KRV Diagnosis Software");
    EXPECT_EQ(table.text(20), "KRV-a/R");
    EXPECT_FALSE(table.contains(10020));
}

TEST(StringTableParse, KeepsLeadingAndTrailingBlanksAndFurtherTabs) {
    const auto table = StringTable::parse(
        "3\t nicht gefunden!\n"
        "4\tBestehende Datei ersetzen - \n"
        "4005\t \n"
        "7\t\n"
        "8\ta\tb\n");
    EXPECT_EQ(table.text(3), " nicht gefunden!");
    EXPECT_EQ(table.text(4), "Bestehende Datei ersetzen - ");
    EXPECT_EQ(table.text(4005), " ");
    EXPECT_TRUE(table.contains(7));
    EXPECT_EQ(table.text(7), "");
    EXPECT_EQ(table.text(8), "a\tb");  // only the first tab separates id and text
}

TEST(StringTableParse, ResolvesEscapes) {
    const auto table = StringTable::parse(
        "1\tzwei\\nZeilen\n"
        "2\tSpalte\\tSpalte\n"
        "3\tC:\\\\KrvDiag\\\\\n"
        "4\t\\\\n bleibt\n");
    EXPECT_EQ(table.text(1), "zwei\nZeilen");
    EXPECT_EQ(table.text(2), "Spalte\tSpalte");
    EXPECT_EQ(table.text(3), "C:\\KrvDiag\\");
    EXPECT_EQ(table.text(4), "\\n bleibt");  // an escaped backslash does not start a new escape
}

TEST(StringTableParse, AcceptsCrLfLineEnds) {
    const auto table = StringTable::parse("# c\r\n11\tCRC Fehler\r\n\r\n10011\tCRC error\r\n");
    EXPECT_EQ(table.text(11), "CRC Fehler");
    EXPECT_EQ(table.text(10011), "CRC error");
}

TEST(StringTableParse, RejectsMalformedLinesNamingTheLine) {
    EXPECT_THAT(parseError("# c\n2\tok\n3 kein Tab\n"), HasSubstr("line 3"));
    EXPECT_THAT(parseError("12a\tx\n"), HasSubstr("line 1"));
    EXPECT_THAT(parseError("\n\n-5\tx\n"), HasSubstr("line 3"));
    EXPECT_THAT(parseError(" 12\tx\n"), HasSubstr("line 1"));
    EXPECT_THAT(parseError("1\tx\n\tohne Id\n"), HasSubstr("line 2"));
    EXPECT_THAT(parseError("1\tx\n2\ty\n3\tz\n12345678901\tzu lang\n"), HasSubstr("line 4"));
}

TEST(StringTableParse, RejectsBadEscapesNamingTheLine) {
    EXPECT_THAT(parseError("1\tok\n2\tunbekannt \\x\n"), HasSubstr("line 2"));
    EXPECT_THAT(parseError("1\tam Ende \\\n"), HasSubstr("line 1"));
}

TEST(StringTableParse, RejectsRepeatedIdNamingBothLines) {
    const std::string error = parseError("2\terste\n# c\n10002\tfirst\n2\tzweite\n");
    EXPECT_THAT(error, HasSubstr("line 4"));
    EXPECT_THAT(error, HasSubstr("line 1"));
    EXPECT_THAT(error, HasSubstr("2"));
}

TEST(StringTableParse, UnknownIdGivesEmptyText) {
    const auto table = StringTable::parse("2\tx\n");
    EXPECT_FALSE(table.contains(3));
    EXPECT_EQ(table.text(3), "");
    EXPECT_EQ(&table.text(3), &table.text(99999));  // one shared empty string, never a temporary
    EXPECT_TRUE(StringTable::parse("").ids().empty());
}

// ---- The built-in table ---------------------------------------------------------------

constexpr int kEnglish = 10000;

TEST(StringTableBuiltIn, EveryGermanTextHasItsEnglishTwinAndViceVersa) {
    const auto& table = StringTable::builtIn();
    const auto ids = table.ids();
    ASSERT_FALSE(ids.empty());
    for (int id : ids) {
        ASSERT_GE(id, 0);
        ASSERT_LT(id, 2 * kEnglish) << "id " << id << " belongs to no language";
        if (id < kEnglish) {
            EXPECT_TRUE(table.contains(id + kEnglish)) << "German id " << id << " has no English twin";
        } else {
            EXPECT_TRUE(table.contains(id - kEnglish)) << "English id " << id << " has no German twin";
        }
    }
}

TEST(StringTableBuiltIn, IsParsedOnce) {
    EXPECT_EQ(&StringTable::builtIn(), &StringTable::builtIn());
}

struct Twin {
    int id;
    const char* german;
    const char* english;
};

// Texts quoted verbatim for the program, checked byte for byte in both languages.
TEST(StringTableBuiltIn, QuotedTextsAreExact) {
    const Twin twins[] = {
        {2, "KRV Diagnoseprogramm", "KRV Diagnosis Software"},
        {3, " nicht gefunden!", " not found!"},
        {4, "Bestehende Datei ersetzen - ", "replace File - "},
        {5, "Protokolldatei öffnen zur Wiedergabe", "Open protocol file for Simulation"},
        {8, "Protokolldateien (*.LOG)|*.log", "Protocol file (*.LOG)|*.log"},
        {10, "Klicken Sie auf 'Abbrechen' zum Beenden oder 'OK' zum Ignorieren.",
         "Cancel = Exit  and  OK = ignore"},
        {11, "CRC Fehler", "CRC error"},
        {12, "Ungültige Zeichenlänge des empfangenen Strings", "String length error"},
        {13, ".WMF-Datei nicht gefunden.", ".WMF-file not found"},
        {14, "KRV diagnostic software version ", "KRV diagnostic software version "},
        {17, "Das Programm wurde bereits gestartet", "Another Instance is already running"},
        {18, "KrvDiag.ini", "KrvDiag.ini"},
        {102, "Datenrecorder &starten...", "&Datarecording start..."},
        {200, "Datenü&bertragung", "&Datatransfer"},
        {320, "&Com-Anschluß", "&Com port"},
        {324, "Com &4", "Com &4"},
        {333, "Immer im Vordergrund", "always visible"},
        {403, "&KRV-Auswahl", "&KRV selection"},
        {903, "&Info", "&About"},
        {1001, "Anhaltesignal (Break-Signal) empfangen.", "Break Received"},
        {1004, "Fehler im Übertragungsraster.", "Framing Error"},
        {1006, "Anschlußüberlauf.", "Overrun Error"},
        {1011, "Unbekannter Fehler oder unbekanntes Ereignis.", "Unknown error or event"},
        {2003, " Anzeige ASCII", " Display ASCII"},
        {3001, "COM", "COM"},
        {3002, " Klemmen- und LED-Farben: rot=0V/offen, grün=24V/geschlossen, gelb=hochohmig",
         " Connector and LED-colors: red=0V/open, green=24V/closed, yellow=high impedance"},
        {3003, " Lade die Daten für das Timingdiagramm", " Load data for timing diagram"},
        {4001, "Programm Version:  ", "Program version:  "},
        {4014, "S3: ", "S3: "},
        {4022, "Rückf. Überw.:  ", "EDM:  "},
        {4024, "Relais Zyklen: ", "relay zyklen: "},
        {4027, "Zeitüberw. (Takt):  ", "time monitoring:  "},
        {4050, "30 sek.", "30 sec."},
        {4118, "testbar", "testable"},
        {5002, "Datei nicht gefunden oder Fehler in der Datei: ", "File error: "},
        {6011, "Datenrecorder stop. Trigger ausgelöst.", "Datarecording  stop.  Trigger signal"},
        {6014, "Fehler", "error"},
        {6054, "Recorder stop", "recording stop"},
        {7002, "Beim Drucken auf Ihrem Drucker gab es Probleme.", "Printer error"},
    };
    const auto& table = StringTable::builtIn();
    for (const Twin& t : twins) {
        EXPECT_EQ(table.text(t.id), t.german) << "id " << t.id;
        EXPECT_EQ(table.text(t.id + kEnglish), t.english) << "id " << t.id + kEnglish;
    }
}

TEST(StringTableBuiltIn, LoadResStringAddsTheLanguageOffset) {
    EXPECT_EQ(LoadResString(4104, 0), "mit");
    EXPECT_EQ(LoadResString(4104, kEnglish), "with");
    EXPECT_EQ(LoadResString(5001, kEnglish), "unknown error number");
    EXPECT_EQ(LoadResString(1005, 0), "");  // the unused serial event id has no text
}

TEST(StringTableBuiltIn, ModelNamesAreTheSameInBothLanguages) {
    const char* const names[16] = {
        "KRV-a/R", "KRV-ax/Rx", "KRV-a/T", "KRV-ax/Tx", "KRV-b/R", "KRV-bx/Rx",
        "KRV-b/T", "KRV-bx/Tx", "KRV-c/R", "KRV-cx/Rx", "KRV-c/T", "KRV-cx/Tx",
        "KRV-cb/R", "KRV-cbx/Rx", "KRV-cb/T", "KRV-cbx/Tx"};
    const auto& table = StringTable::builtIn();
    for (int m = 0; m < 16; ++m) {
        EXPECT_EQ(table.text(20 + m), names[m]) << "model " << m;
        EXPECT_EQ(table.text(20 + m + kEnglish), names[m]) << "model " << m;
    }
}

TEST(StringTableBuiltIn, StatusWindowCaptionsSkipTheMissingLabel) {
    const auto& table = StringTable::builtIn();
    for (int i = 0; i <= 29; ++i) {
        if (i == 11) continue;
        EXPECT_FALSE(table.text(4001 + i).empty()) << "caption " << i;
        EXPECT_FALSE(table.text(4001 + i + kEnglish).empty()) << "caption " << i;
    }
    for (int j = 0; j <= 18; ++j) {
        EXPECT_FALSE(table.text(4101 + j).empty()) << "value word " << j;
    }
}

TEST(StringTableBuiltIn, ConnectionLostNamesTheDevice) {
    const auto& table = StringTable::builtIn();
    EXPECT_THAT(table.text(1012), HasSubstr("%1"));
    EXPECT_THAT(table.text(1012 + kEnglish), HasSubstr("%1"));
}

TEST(StringTableBuiltIn, OwnTextsAreFilledInBothLanguages) {
    const auto& table = StringTable::builtIn();
    for (int id : {15, 16}) {
        EXPECT_FALSE(table.text(id).empty()) << "id " << id;
        EXPECT_FALSE(table.text(id + kEnglish).empty()) << "id " << id + kEnglish;
    }
    EXPECT_THAT(table.text(16), HasSubstr("KrvDiag"));
    EXPECT_THAT(table.text(16 + kEnglish), HasSubstr("KrvDiag"));
}

}  // namespace
}  // namespace krv::app
