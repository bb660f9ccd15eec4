#include "core/app/IniDocument.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

namespace krv::app {
namespace {

int intValue(const std::string& value) {
    return IniDocument("[S]\nk=" + value + "\n").getInt("S", "k", 777);
}

TEST(IniDocumentInt, LeadingDigitsCountAsThePlatformReadsThem) {
    EXPECT_EQ(intValue("12"), 12);
    EXPECT_EQ(intValue("12abc"), 12);
    EXPECT_EQ(intValue("abc"), 0);
    EXPECT_EQ(intValue(""), 0);
    EXPECT_EQ(intValue("-5"), -5);
    EXPECT_EQ(intValue("+7"), 7);
    EXPECT_EQ(intValue("   42  "), 42);
    EXPECT_EQ(intValue("0010"), 10);
    EXPECT_EQ(intValue("1 2"), 1);
    EXPECT_EQ(intValue("- 5"), 0);
    EXPECT_EQ(intValue("-"), 0);
    EXPECT_EQ(intValue("\"15\""), 15);
}

TEST(IniDocumentInt, ValuesBeyondTheIntRangeAreClamped) {
    EXPECT_EQ(intValue("2147483647"), INT_MAX);
    EXPECT_EQ(intValue("2147483648"), INT_MAX);
    EXPECT_EQ(intValue("-2147483648"), INT_MIN);
    EXPECT_EQ(intValue("-2147483649"), INT_MIN);
    EXPECT_EQ(intValue("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(intValue("-99999999999999999999999999"), INT_MIN);
}

TEST(IniDocumentInt, MissingSectionOrKeyGivesTheDefault) {
    const IniDocument doc("ComPort=4\n[Andere]\nComPort=3\n[Einstellungen]\nSprache=10000\n");
    EXPECT_EQ(doc.getInt("Einstellungen", "ComPort", 1), 1);  // only in another section or before any
    EXPECT_EQ(doc.getInt("Fehlt", "Sprache", -9), -9);
    EXPECT_EQ(doc.getInt("Einstellungen", "Sprache", 0), 10000);
    EXPECT_EQ(IniDocument().getInt("Einstellungen", "ComPort", 1), 1);
}

TEST(IniDocumentLookup, NamesIgnoreAsciiCaseAndSurroundingBlanks) {
    const IniDocument doc("  [ einSTELLungen ]  \n\t COMPORT \t=\t 3 \n");
    EXPECT_EQ(doc.getInt("Einstellungen", "ComPort", 1), 3);
    EXPECT_EQ(doc.getInt(" EINSTELLUNGEN ", " comport ", 1), 3);
}

TEST(IniDocumentLookup, FirstMatchingSectionAndKeyWin) {
    const IniDocument doc("[Einstellungen]\nComPort=2\ncomport=3\n[Einstellungen]\nComPort=4\nHexDump=1\n");
    EXPECT_EQ(doc.getInt("Einstellungen", "ComPort", 1), 2);
    // The second section of the same name is never consulted.
    EXPECT_EQ(doc.getInt("Einstellungen", "HexDump", 0), 0);
}

TEST(IniDocumentLookup, CommentsAndOtherLinesAreNoKeys) {
    const IniDocument doc("[S]\n; a=1\n# b=2\njust text\n=5\nc = \n");
    EXPECT_EQ(doc.getInt("S", "a", -1), -1);
    EXPECT_EQ(doc.getInt("S", "b", -1), -1);
    EXPECT_EQ(doc.getString("S", "just text", "none"), "none");
    EXPECT_EQ(doc.getString("S", "c", "none"), "");  // present but empty
    EXPECT_EQ(doc.getInt("S", "c", -1), 0);
}

TEST(IniDocumentLookup, StringsAreTrimmedAndUnquoted) {
    const IniDocument doc("[Port]\na =  /dev/ttyS0  \nb=\" padded \"\nc=\"half\nd=\"\n");
    EXPECT_EQ(doc.getString("Port", "a", ""), "/dev/ttyS0");
    EXPECT_EQ(doc.getString("Port", "b", ""), " padded ");
    EXPECT_EQ(doc.getString("Port", "c", ""), "\"half");
    EXPECT_EQ(doc.getString("Port", "d", ""), "\"");
    EXPECT_EQ(doc.getString("Port", "e", "dflt"), "dflt");
}

TEST(IniDocumentLookup, HeaderWithoutClosingBracketStillStartsASection) {
    const IniDocument doc("[Einstellungen]\nComPort=2\n[Kaputt\nHexDump=2\n");
    EXPECT_EQ(doc.getInt("Einstellungen", "HexDump", 0), 0);
    EXPECT_EQ(doc.getInt("Kaputt", "HexDump", 0), 2);
}

TEST(IniDocumentSet, ChangesOneLineAndKeepsEveryOtherByte) {
    const std::string before =
        "; KrvDiag settings\n"
        "\n"
        "[HilfeFenster]\n"
        "links = 1000\n"
        "  oben=1000   ; not a comment, part of the value\n"
        "\n"
        "[Einstellungen]\n"
        "# chosen by hand\n"
        "  comport =  2  \n"
        "Sprache=10000\n"
        "garbage line without equals\n"
        "\n"
        "\n"
        "[FehlerFenster]\n"
        "links=3030\n";
    IniDocument doc(before);
    EXPECT_EQ(doc.text(), before);
    ASSERT_TRUE(doc.set("Einstellungen", "ComPort", "3"));
    std::string expected = before;
    expected.replace(expected.find("  comport =  2  "), 16, "ComPort=3");  // caller's spelling
    EXPECT_EQ(doc.text(), expected);
    EXPECT_EQ(doc.getInt("Einstellungen", "ComPort", 1), 3);
}

TEST(IniDocumentSet, NewKeyGoesAfterTheLastNonBlankLineOfItsSection) {
    IniDocument doc("[Einstellungen]\nComPort=2\n; end\n\n\n[HilfeFenster]\nlinks=1\n");
    ASSERT_TRUE(doc.set("einstellungen", "HexDump", "1"));
    EXPECT_EQ(doc.text(), "[Einstellungen]\nComPort=2\n; end\nHexDump=1\n\n\n[HilfeFenster]\nlinks=1\n");

    IniDocument onlyHeader("[Einstellungen]\n\n[HilfeFenster]\n");
    ASSERT_TRUE(onlyHeader.set("Einstellungen", "Sprache", "0"));
    EXPECT_EQ(onlyHeader.text(), "[Einstellungen]\nSprache=0\n\n[HilfeFenster]\n");
}

TEST(IniDocumentSet, NewSectionIsAppendedAtTheEnd) {
    IniDocument empty;
    ASSERT_TRUE(empty.set("Einstellungen", "ComPort", "3"));
    EXPECT_EQ(empty.text(), "[Einstellungen]\nComPort=3\n");

    IniDocument noFinalBreak("[Einstellungen]\nComPort=3");
    ASSERT_TRUE(noFinalBreak.set("FehlerFenster", "links", "3030"));
    EXPECT_EQ(noFinalBreak.text(), "[Einstellungen]\nComPort=3\n\n[FehlerFenster]\nlinks=3030\n");

    IniDocument endsBlank("; top\n\n");
    ASSERT_TRUE(endsBlank.set("HilfeFenster", "oben", "1000"));
    EXPECT_EQ(endsBlank.text(), "; top\n\n[HilfeFenster]\noben=1000\n");
}

TEST(IniDocumentSet, CrlfTextStaysCrlf) {
    IniDocument doc("[Einstellungen]\r\nComPort=2\r\n\r\n[HilfeFenster]\r\nlinks=1000\r\n");
    ASSERT_TRUE(doc.set("Einstellungen", "ComPort", "4"));
    ASSERT_TRUE(doc.set("Einstellungen", "Sprache", "10000"));
    ASSERT_TRUE(doc.set("FehlerFenster", "oben", "6240"));
    EXPECT_EQ(doc.text(),
              "[Einstellungen]\r\nComPort=4\r\nSprache=10000\r\n\r\n[HilfeFenster]\r\nlinks=1000\r\n"
              "\r\n[FehlerFenster]\r\noben=6240\r\n");
}

TEST(IniDocumentSet, ByteOrderMarkIsKeptAndIgnored) {
    IniDocument doc("\xEF\xBB\xBF[Einstellungen]\nSprache=10000\n");
    EXPECT_EQ(doc.getInt("Einstellungen", "Sprache", 0), 10000);
    ASSERT_TRUE(doc.set("Einstellungen", "Sprache", "0"));
    EXPECT_EQ(doc.text(), "\xEF\xBB\xBF[Einstellungen]\nSprache=0\n");
}

TEST(IniDocumentSet, NamesThatCannotBeStoredOnOneLineAreRefused) {
    const std::string before = "[S]\nk=1\n";
    IniDocument doc(before);
    EXPECT_FALSE(doc.set("", "k", "1"));
    EXPECT_FALSE(doc.set("S]x", "k", "1"));
    EXPECT_FALSE(doc.set("S\n[T", "k", "1"));
    EXPECT_FALSE(doc.set("S", " ", "1"));
    EXPECT_FALSE(doc.set("S", "a=b", "1"));
    EXPECT_FALSE(doc.set("S", "[k", "1"));
    EXPECT_FALSE(doc.set("S", ";k", "1"));
    EXPECT_FALSE(doc.set("S", "k", "1\r\n[T]"));
    EXPECT_EQ(doc.text(), before);
}

TEST(IniDocumentGarbage, AnyBytesSurviveUnchangedAndStillAcceptWrites) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 50; ++round) {
        std::string garbage;
        const int length = round * 37;
        for (int i = 0; i < length; ++i) {
            // Extra line breaks and brackets so that many odd lines and headers occur.
            const int b = byte(random);
            garbage += b < 20 ? '\n' : b < 30 ? '[' : b < 40 ? '=' : static_cast<char>(b);
        }
        IniDocument doc(garbage);
        ASSERT_EQ(doc.text(), garbage) << "round " << round;
        EXPECT_EQ(doc.getInt("Einstellungen", "ComPort", 1), 1);
        ASSERT_TRUE(doc.set("Einstellungen", "ComPort", "3"));
        EXPECT_EQ(doc.getInt("Einstellungen", "ComPort", 1), 3);
        // Whatever the garbage was, it is still there in front of the new section.
        EXPECT_EQ(doc.text().compare(0, garbage.size(), garbage), 0);
    }
}

}  // namespace
}  // namespace krv::app
