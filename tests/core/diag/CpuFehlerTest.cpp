// The CPU error texts (record rules, character sets, files) and the CPU error window: when it
// opens, refills and closes over a series of status blocks, and where it stands.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "core/diag/CpuFehlerAnzeige.hpp"
#include "core/diag/CpuFehlerText.hpp"
#include "core/diag/CpuFehlerTextKodierung.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/state/MemoryProfile.hpp"
#include "support/DiagRig.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::diag {
namespace {

using namespace std::string_literals;
using test::TempVerzeichnis;
const std::optional<std::string> kKein;

TEST(CpuFehlerTextDatei, RecordRules) {
    const std::string e = "\n999,Dateiende\n";
    const struct {
        std::string inhalt;
        int nr;
        bool gueltig;
        std::optional<std::string> text;
        bool abgeschnitten = false;
    } tabelle[] = {
        {"3,\"S1, S2\"\r\n7,R\r\n999,\"Dateiende\"\r\n", 3, true, "S1, S2"}, {"4,a,5,b" + e, 5, true, "b"},
        {"8,\"Zeile 1\r\nZeile 2\"" + e, 8, true, "Zeile 1\r\nZeile 2"}, {"8,\"T\" Rest" + e, 8, true, "T"},
        {"3\nText drei\n999\nDateiende\n", 3, true, "Text drei"}, {"3\n\n  \"T, 3\"" + e, 3, true, "T, 3"},
        {"3,CR\r999,Dateiende\r", 3, true, "CR"}, {"\n\n  7 ,  R  \r\n\r\n999, Dateiende \n\n", 7, true, "R"},
        {"5,\n999,Dateiende\n", 5, true, ""}, {"999,Dateiende", 999, true, "Dateiende"},
        {"-1,m\n+2,p" + e, -1, true, "m"}, {"-1,m\n+2,p" + e, 2, true, "p"},
        {"3,alt\n4,vier\n3,\"neu, besser\"" + e, 3, true, "neu, besser"},  // the later record wins
        {"999,Ende\n4,vier" + e, 4, true, "vier"}, {"3,alt" + e + "3,neu\n\xff\x00\"\n"s, 3, true, "alt"},
        // The end record is required, both its parts; anything unreadable spoils the file.
        {"3,a\n", 3, false, "a"}, {"", 3, false, kKein}, {"3,a\n998,Dateiende\n", 3, false, "a"},
        {"3,a\n999,dateiende\n", 3, false, "a"}, {"ab,t" + e, 3, false, kKein}, {"3x,t" + e, 3, false, kKein},
        {",t" + e, 3, false, kKein}, {"32768,t" + e, 3, false, kKein}, {"32767,t" + e, 32767, true, "t"},
        {"99999999999,t" + e, 0, false, kKein},
        {"3,\"offen" + e, 3, false, kKein}, {"3,a\n999", 3, false, "a"}, {"3,a\nkaputt" + e, 3, false, "a"},
        // Cut at the size limit: only an end record complete before the cut counts.
        {"3,a" + e, 3, true, "a", true}, {"3,a\n999,\"Dateiende\"", 3, true, "a", true},
        {"3,a\n999,Dateiende", 3, false, "a", true},
        // Windows-1252 is converted, UTF-8 kept, with or without a byte-order mark; what follows
        // the end record does not decide the character set.
        {"3,Sch\xfctz \x80 \x84x\x93" + e, 3, true, "Schütz € „x“"},
        {"\xEF\xBB\xBF" "3,Schütz €" + e, 3, true, "Schütz €"}, {"3,ü" + e + "\xfc\xfc", 3, true, "ü"},
    };
    for (const auto& t : tabelle) {
        SCOPED_TRACE(t.inhalt + " #" + std::to_string(t.nr));
        const FehlerTextSuche r = sucheFehlerText(t.inhalt, t.nr, t.abgeschnitten);
        EXPECT_EQ(r.dateiGueltig, t.gueltig);
        EXPECT_EQ(r.text, t.text);
    }
}

TEST(CpuFehlerTextKodierung, Utf8CheckAndWindows1252) {
    const std::pair<std::string_view, bool> utf8[] = {
        {"plain", true}, {"\xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80", true}, {"\xC0\xAF", false},
        {"\xED\xA0\x80", false},
        {"\xED\xBF\xBF", false}, {"\xE2\x82", false}, {std::string_view("\xE2\x82\xAC", 2), false},
        {"\xF4\x90\x80\x80", false}, {"\xFC", false}};
    for (const auto& [bytes, gut] : utf8) EXPECT_EQ(istUtf8(bytes), gut) << bytes.size();
    EXPECT_EQ(cp1252NachUtf8("A\xE4\xF6\xFC\xDF \x80\x9F\xA0"), "Aäöüß €Ÿ\xC2\xA0");
    EXPECT_EQ(cp1252NachUtf8("\x81\x8D\x8F\x90\x9D\x7F"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\x7F");
}

TEST(CpuFehlerTextDatei, FilesOfTheDataDirectory) {
    TempVerzeichnis dir;
    const std::string de = "Datei nicht gefunden oder Fehler in der Datei: ", pfad = dir.programmPfad();
    std::string viele;  // more than the part that is read
    for (int i = 0; viele.size() <= kFehlerDateiMaxBytes; ++i) viele += std::to_string(i % 1000) + ",Text\n";
    EXPECT_EQ(GetCpuFehlerText(pfad, 0, 3), de);
    dir.schreibe("Fehler0.txt", "3,drei\n999,Dateiende\n" + viele);
    EXPECT_EQ(GetCpuFehlerText(pfad, 0, 3) + "|" + GetCpuFehlerText(pfad, 0, 4), 
              "drei|unbekannte Fehlernummer");
    EXPECT_EQ(GetCpuFehlerText(pfad, 10000, 3), "File error: ");  // English reads only its own file
    dir.schreibe("Fehler0.txt", "3,drei\n" + viele + "999,Dateiende\n");  // the end beyond the first MiB
    EXPECT_EQ(GetCpuFehlerText(pfad, 0, 3), de);
    std::filesystem::remove(dir.pfad("Fehler0.txt"));
    std::filesystem::create_directory(dir.pfad("Fehler0.txt"));
    EXPECT_EQ(GetCpuFehlerText(pfad, 0, 3), de);
    // The shipped files hold only the end record.
    const std::string daten = std::string(KRVDIAG_TEST_DATA_DIR) + "/../../resources/data/";
    EXPECT_EQ(GetCpuFehlerText(daten, 0, 103) + "|" + GetCpuFehlerText(daten, 10000, 103),
              "unbekannte Fehlernummer|unknown error number");
}

TEST(CpuFehlerAnzeige, TheWindowFollowsTheErrorFlagAndNumber) {
    TempVerzeichnis dir;
    dir.schreibe("Fehler0.txt", "0,null\n12,zwölf\n13,dreizehn\n999,Dateiende\n");
    dir.schreibe("Fehler1.txt", "12,twelve\n13,thirteen\n999,Dateiende\n");
    app::ProgramState state;
    state.ProgrammPfad = dir.programmPfad();
    // A stored position beyond what 16-bit twips reach (32767 x 15) is not taken.
    app::MemoryProfile profile("[FehlerFenster]\nlinks=491505\noben=-491506\n");
    ports::ScriptedDialogs dialogs;
    CpuFehlerFenster fenster(state, profile);
    CpuFehlerAnzeige anzeige(state, fenster, dialogs);

    enum Vorher { Nichts, Umschalten, Englisch, NeuerText, Laenge0, Laenge17 };
    const struct {
        Vorher vorher;
        int byte0, byte15;
        bool lang;
        const char* text;  // shown; null: closed
        int gespeichert;   // left edge in the settings file after the block
    } tabelle[] = {
        {Nichts, 0x09, 12, false, nullptr, 491505},  // flag clear: byte 15 is no error number
        {Nichts, 0x19, 12, false, "zwölf", 491505},
        {NeuerText, 0x19, 12, false, "zwölf", 491505},  // the same number: window and text stay
        {Laenge0, 0x19, 13, false, "zwölf", 491505},  // no telegram, or one of a bad length: nothing changes
        {Laenge17, 0x19, 13, false, "zwölf", 491505},
        {Nichts, 0x19, 13, false, "dreizehn", 1006},  // another: closed and opened
        {Nichts, 0x09, 13, false, nullptr, 1007},
        {Laenge17, 0x09, 13, false, nullptr, 1007},  // with the flag clear the length does not matter
        {Nichts, 0x19, 13, false, "dreizehn", 1007},
        {Umschalten, 0x0A, 0, false, nullptr, 1010},  // a model switch cleared CpuFehlerAktiv
        {Nichts, 0x10, 0, true, "null", 1010},  // long telegram: byte 239
        {Umschalten, 0x1A, 0, false, "null", 1012},  // after a full redraw the window is reloaded
        {Englisch, 0x19, 0, false, "null", 1012},  // the text changes with the next number
        {Nichts, 0x19, 13, true, "thirteen", 1014},
    };
    int n = 0;
    for (const auto& t : tabelle) {
        SCOPED_TRACE(++n);
        fenster.Move(1000 + n, 2000);
        if (t.vorher == Umschalten) state.CpuFehlerAktiv = false, state.AnzeigeGueltig = 0;
        if (t.vorher == Englisch) state.einstellungen.SprachOffset = 10000;
        if (t.vorher == NeuerText) dir.schreibe("Fehler0.txt", "12,neu\n13,dreizehn\n0,null\n999,Dateiende");
        link::ReceiveState s = test::empfangen(test::block({{0, t.byte0}, {15, t.byte15}}), t.lang);
        if (t.vorher == Laenge0 || t.vorher == Laenge17) s.DatenLaenge = t.vorher == Laenge0 ? 0 : 17;
        anzeige.AnzeigeCpuFehlermeldung(static_cast<std::uint8_t>(t.byte0), s);
        state.AnzeigeGueltig = 1;
        const auto platz = std::make_pair(fenster.links(), fenster.oben());
        EXPECT_EQ(n == 2 ? platz : std::make_pair(491505, 6240), std::make_pair(491505, 6240));
        EXPECT_EQ(fenster.sichtbar() && fenster.imVordergrund(), t.text != nullptr);
        EXPECT_EQ(state.CpuFehlerAktiv, t.text != nullptr);
        EXPECT_EQ(fenster.controls().lblCpuFehlermeldung.caption(), t.text ? t.text : "");
        const std::string links = profile.GetPrivateProfileString(kSektionFehlerFenster, "links", "");
        EXPECT_EQ(links, std::to_string(t.gespeichert));
        EXPECT_EQ(dialogs.boxes.size(), n >= 5 ? 1u : 0u);
    }
    EXPECT_EQ(dialogs.boxes[0].text, "Ungültige Zeichenlänge des empfangenen Strings");
    EXPECT_EQ(dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
    EXPECT_EQ(fenster.controls().frmCpuFehlermeldung.caption(), "Error");  // loaded anew in English
    EXPECT_EQ(profile.GetPrivateProfileString("FehlerFenster", "oben", ""), "2000");
}

}  // namespace
}  // namespace krv::diag
