#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/app/MemoryProfile.hpp"
#include "core/app/ProgramState.hpp"
#include "core/diag/CpuFehlerAnzeige.hpp"
#include "core/diag/CpuFehlerFenster.hpp"
#include "core/diag/CpuFehlerText.hpp"
#include "core/diag/CpuFehlerTextKodierung.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::diag {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kDateiFehlerDe = "Datei nicht gefunden oder Fehler in der Datei: ";
const std::string kDateiFehlerEn = "File error: ";
const std::string kUnbekanntDe = "unbekannte Fehlernummer";
const std::string kUnbekanntEn = "unknown error number";

using krv::test::TempVerzeichnis;

FehlerTextSuche suche(std::string_view inhalt, int nr) { return sucheFehlerText(inhalt, nr); }

// --- Record rules of the error text files ---------------------------------------------------

TEST(CpuFehlerTextDatei, QuotedTextKeepsCommasAndUnquotedTextEndsAtTheLine) {
    const std::string datei =
        "3,\"Eingang S1 und S2 gleichzeitig, Kurzschluss\"\r\n7,Relaistest fehlgeschlagen\r\n999,\"Dateiende\"\r\n";
    EXPECT_EQ(suche(datei, 3).text, "Eingang S1 und S2 gleichzeitig, Kurzschluss");
    EXPECT_EQ(suche(datei, 7).text, "Relaistest fehlgeschlagen");
    EXPECT_TRUE(suche(datei, 7).dateiGueltig);

    // An unquoted text stops at a comma; what follows on that line starts the next record.
    const auto komma = suche("4,erster Teil,5,zweiter\n999,Dateiende\n", 4);
    EXPECT_TRUE(komma.dateiGueltig);
    EXPECT_EQ(komma.text, "erster Teil");
    EXPECT_EQ(suche("4,erster Teil,5,zweiter\n999,Dateiende\n", 5).text, "zweiter");

    // A quoted text may span lines; anything between its closing quote and the separator is dropped.
    EXPECT_EQ(suche("8,\"Zeile 1\r\nZeile 2\"\n999,Dateiende", 8).text, "Zeile 1\r\nZeile 2");
    EXPECT_EQ(suche("8,\"Text\" Rest\n999,Dateiende", 8).text, "Text");
}

TEST(CpuFehlerTextDatei, FieldsMaySitOnTheirOwnLinesAndLineEndsMayBeAnyKind) {
    const auto jeZeile = suche("3\nText drei\n999\nDateiende\n", 3);
    EXPECT_TRUE(jeZeile.dateiGueltig);
    EXPECT_EQ(jeZeile.text, "Text drei");

    EXPECT_EQ(suche("3,nur CR\r999,Dateiende\r", 3).text, "nur CR");
    EXPECT_TRUE(suche("3,nur CR\r999,Dateiende\r", 3).dateiGueltig);
    // Blank lines between records and blanks around unquoted fields do not count.
    const auto luftig = suche("\n\n  7 ,  Relaistest   \r\n\r\n999, Dateiende \n\n", 7);
    EXPECT_TRUE(luftig.dateiGueltig);
    EXPECT_EQ(luftig.text, "Relaistest");
    // A comma directly before the line end is an empty text, not the start of the next line.
    const auto leer = suche("5,\n999,Dateiende\n", 5);
    EXPECT_TRUE(leer.dateiGueltig);
    EXPECT_EQ(leer.text, "");
    // No line end after the end record is fine.
    EXPECT_TRUE(suche("999,Dateiende", 1).dateiGueltig);
}

TEST(CpuFehlerTextDatei, TheEndRecordIsRequiredAndEndsTheReading) {
    const auto ohneEnde = suche("3,Text drei\n7,Text sieben\n", 3);
    EXPECT_FALSE(ohneEnde.dateiGueltig);
    EXPECT_FALSE(suche("", 3).dateiGueltig);
    // Both parts of the end record count: number 999 with another text, or the text with another number.
    EXPECT_FALSE(suche("3,a\n999,Ende\n", 3).dateiGueltig);
    EXPECT_FALSE(suche("3,a\n998,Dateiende\n", 3).dateiGueltig);
    EXPECT_FALSE(suche("3,a\n999,dateiende\n", 3).dateiGueltig);
    // Reading goes on after a 999 record with another text.
    const auto weiter = suche("999,Ende\n4,vier\n999,Dateiende\n", 4);
    EXPECT_TRUE(weiter.dateiGueltig);
    EXPECT_EQ(weiter.text, "vier");

    // Records after the end record are not read, whatever they hold.
    const std::string danach = "3,alt\n999,Dateiende\n3,neu\n\xff\x00 kein Satz\"\n"s;
    const auto nachEnde = suche(danach, 3);
    EXPECT_TRUE(nachEnde.dateiGueltig);
    EXPECT_EQ(nachEnde.text, "alt");
    EXPECT_FALSE(suche("999,Dateiende\n5,fuenf\n", 5).text.has_value());
}

TEST(CpuFehlerTextDatei, ALaterRecordOfTheSameNumberWins) {
    const auto r = suche("3,alt\n4,vier\n3,\"neu, besser\"\n999,Dateiende\n", 3);
    EXPECT_TRUE(r.dateiGueltig);
    EXPECT_EQ(r.text, "neu, besser");
}

TEST(CpuFehlerTextDatei, UnreadableRecordsMakeTheFileFaulty) {
    EXPECT_FALSE(suche("abc,text\n999,Dateiende\n", 3).dateiGueltig);       // number is no number
    EXPECT_FALSE(suche("3x,text\n999,Dateiende\n", 3).dateiGueltig);
    EXPECT_FALSE(suche(",text\n999,Dateiende\n", 3).dateiGueltig);          // empty number
    EXPECT_FALSE(suche("40000,text\n999,Dateiende\n", 3).dateiGueltig);     // beyond 16 bits
    EXPECT_FALSE(suche("3,\"nicht geschlossen\n999,Dateiende\n", 3).dateiGueltig);
    EXPECT_FALSE(suche("3,a\n999", 3).dateiGueltig);                         // text missing at the end
    // A matching record before the read error is found but does not make the file valid.
    const auto r = suche("3,gefunden\nkaputt\n999,Dateiende\n", 3);
    EXPECT_FALSE(r.dateiGueltig);
    // Signs are numbers too.
    const auto minus = suche("-1,minus eins\n+2,plus zwei\n999,Dateiende\n", -1);
    EXPECT_TRUE(minus.dateiGueltig);
    EXPECT_EQ(minus.text, "minus eins");
    EXPECT_EQ(suche("-1,minus eins\n+2,plus zwei\n999,Dateiende\n", 2).text, "plus zwei");
}

TEST(CpuFehlerTextDatei, DataCutAtTheSizeLimitCountsOnlyWithACompleteEndRecordBeforeTheCut) {
    EXPECT_TRUE(sucheFehlerText("3,a\n999,Dateiende\n", 3, true).dateiGueltig);
    EXPECT_TRUE(sucheFehlerText("3,a\n999,\"Dateiende\"", 3, true).dateiGueltig);
    // "Dateiende" right at the cut could go on in the part not read.
    EXPECT_FALSE(sucheFehlerText("3,a\n999,Dateiende", 3, true).dateiGueltig);
    EXPECT_FALSE(sucheFehlerText("3,a\n999,Datei", 3, true).dateiGueltig);
}

TEST(CpuFehlerTextDatei, WindowsTextsAreConvertedAndUtf8TextsKept) {
    // Windows-1252 as the device maker's editor writes it.
    EXPECT_EQ(suche("3,Sch\xfctz \x80 \x84x\x93\n999,Dateiende\n", 3).text, "Schütz € „x“");
    // UTF-8 stays as it is, with or without a byte-order mark.
    EXPECT_EQ(suche("3,Schütz €\n999,Dateiende\n", 3).text, "Schütz €");
    const auto bom = suche("\xEF\xBB\xBF" "3,Schütz\n999,Dateiende\n", 3);
    EXPECT_TRUE(bom.dateiGueltig);
    EXPECT_EQ(bom.text, "Schütz");
    // Bytes after the end record do not change how the texts before it are read.
    EXPECT_EQ(suche("3,Schütz\n999,Dateiende\n\xfc\xfc", 3).text, "Schütz");
}

TEST(CpuFehlerTextKodierung, Utf8CheckAndWindows1252Conversion) {
    EXPECT_TRUE(istUtf8("plain ASCII"));
    EXPECT_TRUE(istUtf8("\xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80"));
    EXPECT_FALSE(istUtf8("\xC0\xAF"));           // overlong
    EXPECT_FALSE(istUtf8("\xED\xA0\x80"));       // surrogate
    EXPECT_FALSE(istUtf8("\xE2\x82"));           // cut short
    EXPECT_FALSE(istUtf8("\xF4\x90\x80\x80"));   // beyond U+10FFFF
    EXPECT_FALSE(istUtf8("\xFC"));

    EXPECT_EQ(cp1252NachUtf8("A\xE4\xF6\xFC\xDF"), "Aäöüß");
    EXPECT_EQ(cp1252NachUtf8("\x80\x9F\xA0"), "€Ÿ\xC2\xA0");
    EXPECT_EQ(cp1252NachUtf8("\x81\x8D\x8F\x90\x9D"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_TRUE(istUtf8(cp1252NachUtf8(std::string("\x00\x7F\x80\xFF", 4))));
}

// --- Files in the data directory --------------------------------------------------------------

TEST(CpuFehlerTextDatei, FileNameCarriesTheLanguageIndex) {
    EXPECT_EQ(fehlerDateiName("/opt/krv/", 0), "/opt/krv/Fehler0.txt");
    EXPECT_EQ(fehlerDateiName("/opt/krv/", 10000), "/opt/krv/Fehler1.txt");
}

TEST(CpuFehlerTextDatei, ResultTextsForFoundUnknownAndMissing) {
    TempVerzeichnis dir;
    const std::string pfad = dir.programmPfad();
    EXPECT_EQ(GetCpuFehlerText(pfad, 0, 3), kDateiFehlerDe);
    EXPECT_EQ(GetCpuFehlerText(pfad, 10000, 3), kDateiFehlerEn);

    dir.schreibe("Fehler0.txt", "3,\"drei, deutsch\"\r\n0,null\r\n999,\"Dateiende\"\r\n");
    EXPECT_EQ(GetCpuFehlerText(pfad, 0, 3), "drei, deutsch");
    EXPECT_EQ(GetCpuFehlerText(pfad, 0, 0), "null");
    EXPECT_EQ(GetCpuFehlerText(pfad, 0, 4), kUnbekanntDe);
    // The end record's own number finds its text.
    EXPECT_EQ(GetCpuFehlerText(pfad, 0, 999), "Dateiende");
    // English reads only its own file: the German one does not stand in for it.
    EXPECT_EQ(GetCpuFehlerText(pfad, 10000, 3), kDateiFehlerEn);

    dir.schreibe("Fehler1.txt", "3,three\n999,Dateiende\n");
    EXPECT_EQ(GetCpuFehlerText(pfad, 10000, 3), "three");
    EXPECT_EQ(GetCpuFehlerText(pfad, 10000, 4), kUnbekanntEn);

    // A matching record in a file without the end record is not used.
    dir.schreibe("Fehler1.txt", "3,three\n");
    EXPECT_EQ(GetCpuFehlerText(pfad, 10000, 3), kDateiFehlerEn);
}

TEST(CpuFehlerTextDatei, ThingsThatAreNoTextFileGiveTheFileError) {
    TempVerzeichnis dir;
    fs::create_directory(dir.pfad("Fehler0.txt"));
    EXPECT_EQ(GetCpuFehlerText(dir.programmPfad(), 0, 3), kDateiFehlerDe);

    // Random bytes: read without harm, reported as a faulty file.
    std::string rauschen;
    std::uint32_t x = 12345;
    for (int i = 0; i < 64 * 1024; ++i) {
        x = x * 1664525u + 1013904223u;
        rauschen += static_cast<char>(x >> 24);
    }
    dir.schreibe("Fehler1.txt", rauschen);
    EXPECT_EQ(GetCpuFehlerText(dir.programmPfad(), 10000, 3), kDateiFehlerEn);
    // Garbage before a proper end record still spoils the file.
    dir.schreibe("Fehler1.txt", rauschen + "\n999,Dateiende\n");
    EXPECT_EQ(GetCpuFehlerText(dir.programmPfad(), 10000, 3), kDateiFehlerEn);
}

TEST(CpuFehlerTextDatei, OnlyTheFirstMebibyteIsRead) {
    TempVerzeichnis dir;
    std::string viele;
    for (int i = 0; viele.size() <= kFehlerDateiMaxBytes; ++i) viele += std::to_string(i % 1000) + ",Text\n";
    // The end record lies beyond the limit: faulty, even though the file itself is well formed.
    dir.schreibe("Fehler0.txt", "3,drei\n" + viele + "999,Dateiende\n");
    EXPECT_EQ(GetCpuFehlerText(dir.programmPfad(), 0, 3), kDateiFehlerDe);
    // The end record within the limit: whatever follows does not matter.
    dir.schreibe("Fehler0.txt", "3,drei\n999,Dateiende\n" + viele + viele);
    EXPECT_EQ(GetCpuFehlerText(dir.programmPfad(), 0, 3), "drei");
}

TEST(CpuFehlerTextDatei, ShippedFilesHoldOnlyTheEndRecord) {
    const std::string daten = std::string(KRVDIAG_TEST_DATA_DIR) + "/../../resources/data/";
    for (const int offset : {0, 10000}) {
        std::ifstream in(fehlerDateiName(daten, offset), std::ios::binary);
        std::stringstream inhalt;
        inhalt << in.rdbuf();
        const auto r = sucheFehlerText(inhalt.str(), 3);
        EXPECT_TRUE(r.dateiGueltig) << offset;
        EXPECT_FALSE(r.text.has_value()) << offset;
    }
    EXPECT_EQ(GetCpuFehlerText(daten, 0, 103), kUnbekanntDe);
    EXPECT_EQ(GetCpuFehlerText(daten, 10000, 103), kUnbekanntEn);
}

// --- The window -------------------------------------------------------------------------------

TEST(CpuFehlerFenster, PositionIsReadAtLoadAndWrittenAtUnload) {
    app::ProgramState state;
    app::MemoryProfile profile;
    CpuFehlerFenster fenster(state, profile);

    fenster.Unload();  // not loaded: nothing is written
    EXPECT_EQ(profile.text(), "");

    fenster.Show();
    EXPECT_TRUE(fenster.sichtbar());
    EXPECT_TRUE(fenster.imVordergrund());
    EXPECT_EQ(fenster.links(), 3030);
    EXPECT_EQ(fenster.oben(), 6240);
    fenster.Move(4000, 125);
    fenster.Unload();
    EXPECT_FALSE(fenster.geladen());
    EXPECT_FALSE(fenster.controls().frmCpuFehlermeldung.visible());
    EXPECT_EQ(profile.GetPrivateProfileString("FehlerFenster", "links", ""), "4000");
    EXPECT_EQ(profile.GetPrivateProfileString("FehlerFenster", "oben", ""), "125");

    app::MemoryProfile gespeichert("[FehlerFenster]\nlinks=100\noben=-200\n");
    CpuFehlerFenster zweites(state, gespeichert);
    zweites.Show();
    EXPECT_EQ(zweites.links(), 100);
    EXPECT_EQ(zweites.oben(), -200);
}

TEST(CpuFehlerFenster, TitleFollowsTheLanguageAndTheTextStays) {
    TempVerzeichnis dir;
    dir.schreibe("Fehler0.txt", "12,zwölf\n999,Dateiende\n");
    app::ProgramState state;
    state.ProgrammPfad = dir.programmPfad();
    app::MemoryProfile profile;
    CpuFehlerFenster fenster(state, profile);
    const CpuFehlerFensterState& c = fenster.controls();
    EXPECT_FALSE(c.frmCpuFehlermeldung.visible());

    fenster.Show();
    fenster.SetTextCaption(12);
    EXPECT_EQ(c.frmCpuFehlermeldung.caption(), "Fehlermeldung");
    EXPECT_EQ(c.lblCpuFehlermeldung.caption(), "zwölf");

    state.einstellungen.SprachOffset = 10000;
    fenster.Init_Sprache();
    EXPECT_EQ(c.frmCpuFehlermeldung.caption(), "Error");
    EXPECT_EQ(c.lblCpuFehlermeldung.caption(), "zwölf");
    EXPECT_TRUE(fenster.sichtbar());

    // Unloading releases the window: the next use starts from the design state.
    fenster.Unload();
    EXPECT_EQ(c.lblCpuFehlermeldung.caption(), "");
    // Like any use of an unloaded window, Init_Sprache loads it without showing it.
    fenster.Init_Sprache();
    EXPECT_TRUE(fenster.geladen());
    EXPECT_FALSE(fenster.sichtbar());
    EXPECT_EQ(c.frmCpuFehlermeldung.caption(), "Error");
}

// --- The display decision over a series of status blocks ----------------------------------------

// Returns "cpu-error none" or cpu-error "<text>" as the command-line tool shows the window.
std::string fensterZeile(const CpuFehlerFenster& f) {
    if (!f.sichtbar()) return "cpu-error none";
    return "cpu-error \"" + f.controls().lblCpuFehlermeldung.caption() + "\"";
}

link::StatusBlock block(std::uint8_t byte0, std::uint8_t byte15) {
    link::StatusBlock b{};
    b[0] = byte0;
    b[15] = byte15;
    return b;
}

struct AnzeigeRig {
    AnzeigeRig() {
        state.ProgrammPfad = dir.programmPfad();
        dir.schreibe("Fehler0.txt", "12,Fehler zwölf\n13,\"Fehler, dreizehn\"\n999,Dateiende\n");
        dir.schreibe("Fehler1.txt", "12,error twelve\n13,error thirteen\n999,Dateiende\n");
    }

    // One display as Anzeige runs it: the telegram in the receive buffer, then AnzeigeGueltig = 1.
    void zeige(const link::StatusBlock& b, bool lang = false) {
        s.reset();
        s.EmpfangsString.append(asBytes("xyz"));  // older bytes before the telegram
        const Bytes t = lang ? link::langTelegramm(link::langeNutzdaten(b, 0)) : link::kurzTelegramm(b);
        s.EmpfangsString.append(t);
        s.DatenStart = 3 + 3;  // after "xyz" and "L1"
        s.DatenLaenge = lang ? 256 : 16;
        anzeige.AnzeigeCpuFehlermeldung(b[0], s);
        state.AnzeigeGueltig = 1;
    }
    std::string zeile() const { return fensterZeile(fenster); }
    const app::Control& label() const { return fenster.controls().lblCpuFehlermeldung; }

    TempVerzeichnis dir;
    app::MemoryProfile profile;
    ports::ScriptedDialogs dialogs;
    app::ProgramState state;
    CpuFehlerFenster fenster{state, profile};
    CpuFehlerAnzeige anzeige{state, fenster, dialogs};
    link::ReceiveState s;
};

TEST(CpuFehlerAnzeige, FlagOpensSameNumberKeepsOtherNumberRefillsClearCloses) {
    AnzeigeRig rig;
    rig.zeige(block(0x09, 12));  // flag clear: byte 15 is not an error number
    EXPECT_EQ(rig.zeile(), "cpu-error none");
    EXPECT_FALSE(rig.state.CpuFehlerAktiv);
    EXPECT_EQ(rig.anzeige.LetzteCpuFehlerNr(), kKeineCpuFehlerNr);

    rig.zeige(block(0x19, 12));
    EXPECT_EQ(rig.zeile(), "cpu-error \"Fehler zwölf\"");
    EXPECT_TRUE(rig.state.CpuFehlerAktiv);
    EXPECT_EQ(rig.anzeige.LetzteCpuFehlerNr(), 12);
    EXPECT_EQ(rig.fenster.controls().frmCpuFehlermeldung.caption(), "Fehlermeldung");

    // Same number: the window is left alone and the file is not read again (its new text is not shown).
    rig.fenster.Move(1000, 2000);
    rig.dir.schreibe("Fehler0.txt", "12,neu gelesen\n13,\"Fehler, dreizehn\"\n999,Dateiende\n");
    const unsigned aenderungen = rig.label().changes();
    rig.zeige(block(0x19, 12));
    EXPECT_EQ(rig.zeile(), "cpu-error \"Fehler zwölf\"");
    EXPECT_EQ(rig.label().changes(), aenderungen);
    EXPECT_EQ(rig.profile.text(), "");  // not unloaded in between

    // Another number: closed (position saved) and opened again at that position with the new text.
    rig.zeige(block(0x19, 13));
    EXPECT_EQ(rig.zeile(), "cpu-error \"Fehler, dreizehn\"");
    EXPECT_EQ(rig.profile.GetPrivateProfileString("FehlerFenster", "links", ""), "1000");
    EXPECT_EQ(rig.fenster.links(), 1000);
    EXPECT_EQ(rig.fenster.oben(), 2000);
    EXPECT_EQ(rig.anzeige.LetzteCpuFehlerNr(), 13);

    // Flag clears: closed, position saved, CpuFehlerAktiv False; the number is still remembered.
    rig.fenster.Move(1500, 2500);
    rig.zeige(block(0x09, 13));
    EXPECT_EQ(rig.zeile(), "cpu-error none");
    EXPECT_FALSE(rig.fenster.geladen());
    EXPECT_FALSE(rig.state.CpuFehlerAktiv);
    EXPECT_EQ(rig.profile.GetPrivateProfileString("FehlerFenster", "links", ""), "1500");
    EXPECT_EQ(rig.profile.GetPrivateProfileString("FehlerFenster", "oben", ""), "2500");

    // The same number again after the flag was clear opens the window again.
    rig.zeige(block(0x19, 13));
    EXPECT_EQ(rig.zeile(), "cpu-error \"Fehler, dreizehn\"");
}

TEST(CpuFehlerAnzeige, ClearFlagClosesTheWindowEvenAfterAModelSwitchClearedTheActiveFlag) {
    AnzeigeRig rig;
    rig.zeige(block(0x19, 12));
    ASSERT_TRUE(rig.fenster.sichtbar());

    // A full redraw of the picture (model switch) clears CpuFehlerAktiv and leaves the window open.
    rig.state.CpuFehlerAktiv = false;
    rig.state.AnzeigeGueltig = 0;
    rig.zeige(block(0x0A, 0));
    EXPECT_EQ(rig.zeile(), "cpu-error none");
    EXPECT_FALSE(rig.fenster.geladen());
    EXPECT_FALSE(rig.state.CpuFehlerAktiv);
    EXPECT_EQ(rig.anzeige.LetzteCpuFehlerNr(), kKeineCpuFehlerNr);
}

TEST(CpuFehlerAnzeige, AfterAFullRedrawTheSameNumberReloadsTheWindow) {
    AnzeigeRig rig;
    rig.zeige(block(0x19, 12));
    rig.fenster.Move(700, 800);
    rig.state.CpuFehlerAktiv = false;
    rig.state.AnzeigeGueltig = 0;
    rig.zeige(block(0x1A, 12));
    EXPECT_EQ(rig.zeile(), "cpu-error \"Fehler zwölf\"");
    EXPECT_TRUE(rig.state.CpuFehlerAktiv);
    // It was unloaded on the way: its position went through the settings file.
    EXPECT_EQ(rig.profile.GetPrivateProfileString("FehlerFenster", "links", ""), "700");
}

TEST(CpuFehlerAnzeige, LongTelegramsCarryTheNumberInByte239AndNumberZeroIsLookedUp) {
    AnzeigeRig rig;
    rig.dir.schreibe("Fehler0.txt", "0,Fehler null\n13,dreizehn\n999,Dateiende\n");
    rig.zeige(block(0x10, 13), true);
    EXPECT_EQ(rig.zeile(), "cpu-error \"dreizehn\"");
    rig.zeige(block(0x10, 0), true);
    EXPECT_EQ(rig.zeile(), "cpu-error \"Fehler null\"");
    rig.zeige(block(0x10, 0));
    EXPECT_EQ(rig.zeile(), "cpu-error \"Fehler null\"");
}

TEST(CpuFehlerAnzeige, BadLengthWithTheFlagSetShowsTheLengthMessageAndChangesNothing) {
    AnzeigeRig rig;
    rig.zeige(block(0x19, 12));
    rig.s.DatenLaenge = 0;
    rig.anzeige.AnzeigeCpuFehlermeldung(0x19, rig.s);
    EXPECT_TRUE(rig.dialogs.boxes.empty());

    rig.s.DatenLaenge = 17;
    rig.anzeige.AnzeigeCpuFehlermeldung(0x19, rig.s);
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "Ungültige Zeichenlänge des empfangenen Strings");
    EXPECT_EQ(rig.dialogs.boxes[0].title, "");
    EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
    EXPECT_EQ(rig.dialogs.boxes[0].buttons, ports::MsgButtons::Ok);
    EXPECT_EQ(rig.zeile(), "cpu-error \"Fehler zwölf\"");
    EXPECT_EQ(rig.anzeige.LetzteCpuFehlerNr(), 12);

    // With the flag clear the length is not looked at.
    rig.anzeige.AnzeigeCpuFehlermeldung(0x09, rig.s);
    EXPECT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.zeile(), "cpu-error none");
}

TEST(CpuFehlerAnzeige, LanguageSwitchChangesTheTitleAtOnceAndTheTextWithTheNextNumber) {
    AnzeigeRig rig;
    rig.zeige(block(0x19, 12));
    rig.state.einstellungen.SprachOffset = 10000;
    if (rig.state.CpuFehlerAktiv) rig.fenster.Init_Sprache();  // as the language menu does
    EXPECT_EQ(rig.fenster.controls().frmCpuFehlermeldung.caption(), "Error");
    rig.zeige(block(0x19, 12));
    EXPECT_EQ(rig.zeile(), "cpu-error \"Fehler zwölf\"");
    rig.zeige(block(0x19, 13));
    EXPECT_EQ(rig.zeile(), "cpu-error \"error thirteen\"");
}

// --- The worked examples of the command-line tool ------------------------------------------------

// Feeds every displayed status block of an example's expected output and compares the window
// with the `cpu-error` line that follows it.
void pruefeBeispiel(const std::string& name, const std::string& programmPfad, int sprachOffset) {
    std::ifstream in(std::string(KRVDIAG_TEST_DATA_DIR) + "/cli-examples/" + name + ".out");
    ASSERT_TRUE(in) << name;
    app::ProgramState state;
    state.ProgrammPfad = programmPfad;
    state.einstellungen.SprachOffset = sprachOffset;
    app::MemoryProfile profile;
    ports::ScriptedDialogs dialogs;
    CpuFehlerFenster fenster(state, profile);
    CpuFehlerAnzeige anzeige(state, fenster, dialogs);
    link::ReceiveState s;

    int geprueft = 0;
    bool offen = false;  // a display line waits for its cpu-error line
    std::string zeile;
    while (std::getline(in, zeile)) {
        if (zeile.starts_with("display ")) {
            const char art = zeile[8];
            const std::string hex = zeile.substr(10);
            ASSERT_EQ(hex.size(), 32u) << zeile;
            link::StatusBlock b{};
            for (std::size_t i = 0; i < 16; ++i) b[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
            s.reset();
            s.EmpfangsString.append(art == '2' ? link::langTelegramm(link::langeNutzdaten(b, 0)) : link::kurzTelegramm(b));
            s.DatenStart = 3;
            s.DatenLaenge = art == '2' ? 256 : 16;
            anzeige.AnzeigeCpuFehlermeldung(b[0], s);
            state.AnzeigeGueltig = 1;
            offen = true;
        } else if (zeile.starts_with("cpu-error ")) {
            ASSERT_TRUE(offen) << zeile;
            EXPECT_EQ(fensterZeile(fenster), zeile) << name << " telegram " << geprueft + 1;
            offen = false;
            ++geprueft;
        }
    }
    EXPECT_GT(geprueft, 0) << name;
}

TEST(CpuFehlerBeispiele, GermanTextsFromTheExampleDataDirectory) {
    pruefeBeispiel("show-model9-cpu-error", std::string(KRVDIAG_TEST_DATA_DIR) + "/cli-examples/data/", 0);
}

TEST(CpuFehlerBeispiele, EnglishWithoutAnErrorTextFileShowsTheFileError) {
    // The example runs without --data and expects "File error: " for error 103: its data
    // directory holds no readable English error text file.
    TempVerzeichnis leer;
    pruefeBeispiel("show-english-service", leer.programmPfad(), 10000);
}

}  // namespace
}  // namespace krv::diag
