#include "SettingsTarget.hpp"

#include <array>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app/ProgramEntry.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/state/IniDocument.hpp"
#include "core/state/MemoryProfile.hpp"
#include "core/state/ProgramState.hpp"
#include "core/state/StartupSettings.hpp"
#include "FuzzCheck.hpp"
#include "HeadlessProgramm.hpp"

namespace krv::fuzz {
namespace {

struct Schluessel {
    const char* sektion;
    const char* name;
};

// Every key the program and its platform layer read or write.
constexpr std::array<Schluessel, 24> kSchluessel = {{
    {"Einstellungen", "Sprache"},      {"Einstellungen", "HexDump"},      {"Einstellungen", "ComPort"},
    {"Einstellungen", "HexDumpDisplay"}, {"Einstellungen", "TimingKanal0"}, {"Einstellungen", "TimingKanal1"},
    {"Einstellungen", "TimingKanal2"}, {"Einstellungen", "TimingKanal3"}, {"Einstellungen", "TimingKanal4"},
    {"Einstellungen", "TimingKanal5"}, {"Einstellungen", "TimingKanal6"}, {"Einstellungen", "TimingKanal7"},
    {"Einstellungen", "TimingKanal8"}, {"Einstellungen", "TimingKanal9"}, {"HilfeFenster", "links"},
    {"HilfeFenster", "oben"},          {"HilfeFenster", "breite"},        {"HilfeFenster", "hoehe"},
    {"FehlerFenster", "links"},        {"FehlerFenster", "oben"},         {"Ports", "COM1"},
    {"Ports", "COM2"},                 {"Ports", "COM3"},                 {"Ports", "COM4"},
}};

// The lines of a text, each without its break and without trailing CRs: a last line without a
// break gets one when a line is added behind it, and a CR it ended with then reads as part of
// that break. The reader trims CRs off a line either way.
std::vector<std::string_view> zeilen(std::string_view text) {
    std::vector<std::string_view> z;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto nl = text.find('\n', pos);
        std::string_view zeile = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        while (!zeile.empty() && zeile.back() == '\r') zeile.remove_suffix(1);
        z.push_back(zeile);
        if (nl == std::string_view::npos) break;
        pos = nl + 1;
    }
    return z;
}

// Writing one key changes one line or adds at most three (blank line, section header, key):
// everything in front of and behind that place is the old text's lines, unchanged.
void pruefeZeilenErhalten(std::string_view alt, std::string_view neu) {
    const auto a = zeilen(alt);
    const auto n = zeilen(neu);
    std::size_t vorne = 0;
    while (vorne < a.size() && vorne < n.size() && a[vorne] == n[vorne]) ++vorne;
    std::size_t hinten = 0;
    while (hinten < a.size() - vorne && hinten < n.size() - vorne &&
           a[a.size() - 1 - hinten] == n[n.size() - 1 - hinten]) {
        ++hinten;
    }
    KRV_FUZZ_PRUEFE(a.size() - vorne - hinten <= 1, "a write replaces at most one line");
    KRV_FUZZ_PRUEFE(n.size() - vorne - hinten <= 3, "a write adds at most three lines");
}

void pruefeBereiche(const app::Einstellungen& e) {
    KRV_FUZZ_PRUEFE(e.SprachOffset == 0 || e.SprachOffset == 10000, "the language is German or English");
    KRV_FUZZ_PRUEFE(e.HexDumpModus >= 0 && e.HexDumpModus <= 2, "the hex dump mode has a menu item");
    KRV_FUZZ_PRUEFE(e.ComPortNr >= 1 && e.ComPortNr <= 4, "the port is COM1..COM4");
    KRV_FUZZ_PRUEFE(e.HexDumpAnzeige == 0 || e.HexDumpAnzeige == 1, "the hex dump shows decimal or hex");
    for (const int k : e.KanalTab) KRV_FUZZ_PRUEFE(k >= 0, "a channel is a list entry");
    KRV_FUZZ_PRUEFE(e.TriggerModus >= 0 && e.TriggerModus <= 37, "the trigger mode is 0..37");
}

}  // namespace

EinstellungsErgebnis einstellungsZiel(ByteView eingabe) {
    EinstellungsErgebnis e;
    const Schluessel& s = kSchluessel[eingabe.empty() ? 0 : eingabe[0] % kSchluessel.size()];
    e.sektion = s.sektion;
    e.schluessel = s.name;
    e.wert = eingabe.size() > 1 ? static_cast<std::int8_t>(eingabe[1]) : 0;
    const ByteView rest = eingabe.subspan(std::min<std::size_t>(eingabe.size(), 2));
    const std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());

    // The text survives parsing unchanged.
    const app::IniDocument dokument(text);
    KRV_FUZZ_PRUEFE(dokument.text() == text, "an unchanged file is written back byte for byte");

    // The start-up reads, through the program's own entry.
    app::MemoryProfile profile(text);
    app::ProgramState state;
    ports::ScriptedDialogs dialogs;
    KeineAndereInstanz lock;
    KRV_FUZZ_PRUEFE(app::ProgrammStartVorDemHauptfenster(state, profile, dialogs, lock, kProgrammPfad, {}),
                    "the start goes on whatever the file holds");
    pruefeBereiche(state.einstellungen);
    e.gelesen = state.einstellungen;
    // The window positions are read as plain numbers; they must not fail either.
    for (const char* k : {"links", "oben", "breite", "hoehe"}) (void)profile.GetPrivateProfileInt("HilfeFenster", k, 0);
    for (int com = 1; com <= 4; ++com)
        (void)profile.GetPrivateProfileString("Ports", "COM" + std::to_string(com), "");

    // One setting written as the program writes it, then the file read again.
    const std::string wertText = std::to_string(e.wert);
    e.geschrieben = profile.WritePrivateProfileString(e.sektion, e.schluessel, wertText);
    KRV_FUZZ_PRUEFE(e.geschrieben, "every key the program uses can be written");
    e.neuerText = profile.text();
    const app::IniDocument neu(e.neuerText);
    KRV_FUZZ_PRUEFE(neu.text() == e.neuerText, "the written file parses back unchanged");
    KRV_FUZZ_PRUEFE(neu.getString(e.sektion, e.schluessel, "<fehlt>") == wertText, "the written value reads back");
    KRV_FUZZ_PRUEFE(neu.getInt(e.sektion, e.schluessel, e.wert + 1) == e.wert, "the written number reads back");
    pruefeZeilenErhalten(text, e.neuerText);
    for (const Schluessel& anderer : kSchluessel) {
        if (std::string_view(anderer.sektion) == e.sektion && std::string_view(anderer.name) == e.schluessel) continue;
        KRV_FUZZ_PRUEFE(neu.find(anderer.sektion, anderer.name) == dokument.find(anderer.sektion, anderer.name),
                        "a write leaves every other key's value alone");
    }
    return e;
}

}  // namespace krv::fuzz
