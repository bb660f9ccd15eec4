#include "core/app/HilfeFenster.hpp"


#include "core/common/DateiLesen.hpp"
#include "core/diag/CpuFehlerTextKodierung.hpp"
#include "core/state/StartupSettings.hpp"
#include "core/state/StringTable.hpp"

namespace krv::app {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr HilfeGeometrie kStandardGeometrie{};

// Length of the UTF-8 sequence a lead byte starts; 0 for a continuation byte.
std::size_t sequenzLaenge(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

// Drops a multi-byte sequence that a cut left incomplete at the end.
std::string_view ohneAngeschnittenesZeichen(std::string_view bytes) {
    for (std::size_t zurueck = 1; zurueck <= 4 && zurueck <= bytes.size(); ++zurueck) {
        const std::size_t pos = bytes.size() - zurueck;
        const auto b = static_cast<unsigned char>(bytes[pos]);
        if ((b & 0xC0) == 0x80) continue;
        return sequenzLaenge(b) > zurueck ? bytes.substr(0, pos) : bytes;
    }
    return bytes;
}

// CR LF and lone CR become LF: the text box breaks lines at LF.
std::string nurZeilenvorschub(std::string_view text) {
    std::string ergebnis;
    ergebnis.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ergebnis.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            ergebnis.push_back(text[i]);
        }
    }
    return ergebnis;
}

int nichtNegativ(int v) { return v < 0 ? 0 : v; }

}  // namespace

std::string hilfeDateiName(const std::string& programmPfad, int sprachOffset) {
    return programmPfad + "Hilfe" + std::to_string(sprachOffset / 10000) + ".txt";
}

std::string hilfeTextAusBytes(std::string_view bytes, bool abgeschnitten) {
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    const std::string_view utf8 = abgeschnitten ? ohneAngeschnittenesZeichen(bytes) : bytes;
    if (diag::istUtf8(utf8)) return nurZeilenvorschub(utf8);
    return nurZeilenvorschub(diag::cp1252NachUtf8(bytes));
}

std::string leseHilfeText(const std::string& dateiName, std::string* fehler) {
    const DateiAnfang datei = leseDateiAnfang(dateiName, kHilfeDateiMaxBytes);
    if (fehler) *fehler = datei.fehler;
    if (!datei.gelesen) return {};
    return hilfeTextAusBytes(datei.daten, datei.abgeschnitten);
}

HilfeLayout hilfeLayout(int innenBreite, int innenHoehe) {
    HilfeLayout l;
    l.txtHilfe = {kTxtHilfeLinks, kTxtHilfeOben, nichtNegativ(innenBreite - kTxtHilfeLinks),
                  nichtNegativ(innenHoehe - kTxtHilfeOben)};
    l.lblObererRand = {0, 0, nichtNegativ(innenBreite), kLblObererRandHoehe};
    return l;
}

HilfeFensterState::HilfeFensterState() {
    frmHilfe.setVisible(false);
    forEach([this](Control& c) { c.setListener(&listener_); });
}

void HilfeFensterState::forEach(const std::function<void(Control&)>& visit) {
    for (Control* c : {&frmHilfe, &lblObererRand, &cmdHilfeDrucken, &txtHilfe}) visit(*c);
}

HilfeFenster::HilfeFenster(const ProgramState& state, ports::ProfileStore& profile, ports::Dialogs& dialogs,
                           ports::Printer& printer)
    : state_(state), profile_(profile), dialogs_(dialogs), printer_(printer) {}

const std::string& HilfeFenster::text(int id) const { return LoadResString(id, state_.sprachOffset()); }

void HilfeFenster::mnuHilfe_Click() {
    if (geladen_) {
        ++nachVorne_;
    } else {
        Form_Load();
    }
    c_.frmHilfe.setVisible(true);
}

void HilfeFenster::Form_Load() {
    geladen_ = true;
    Init_Sprache();  // the icon is a design resource the Qt window sets itself
    std::string fehler;
    c_.txtHilfe.setCaption(leseHilfeText(hilfeDateiName(state_.ProgrammPfad, state_.sprachOffset()), &fehler));
    // The window opens empty; the user learns which file is missing and why.
    if (!fehler.empty()) {
        dialogs_.messageBox({text(kTextHilfeDateiFehler) + "\n" + fehler, {}, ports::MsgIcon::Exclamation,
                             ports::MsgButtons::Ok});
    }
    // Each value takes effect as soon as it is read.
    geometrie_.links = readFensterTwips(profile_, kSektionHilfeFenster, "links", kStandardGeometrie.links);
    geometrie_.oben = readFensterTwips(profile_, kSektionHilfeFenster, "oben", kStandardGeometrie.oben);
    geometrie_.breite = readFensterTwips(profile_, kSektionHilfeFenster, "breite", kStandardGeometrie.breite, true);
    geometrie_.hoehe = readFensterTwips(profile_, kSektionHilfeFenster, "hoehe", kStandardGeometrie.hoehe, true);
}

void HilfeFenster::Unload() {
    if (geladen_) Form_Unload();
}

void HilfeFenster::Form_Unload() {
    // Whole twips carry no decimals, as the general number format writes them.
    profile_.WritePrivateProfileString(kSektionHilfeFenster, "links", std::to_string(geometrie_.links));
    profile_.WritePrivateProfileString(kSektionHilfeFenster, "oben", std::to_string(geometrie_.oben));
    profile_.WritePrivateProfileString(kSektionHilfeFenster, "breite", std::to_string(geometrie_.breite));
    profile_.WritePrivateProfileString(kSektionHilfeFenster, "hoehe", std::to_string(geometrie_.hoehe));
    // The instance is released: the next opening loads text and geometry anew.
    c_.frmHilfe.setVisible(false);
    c_.frmHilfe.setCaption({});
    c_.cmdHilfeDrucken.setCaption({});
    c_.txtHilfe.setCaption({});
    geometrie_ = kStandardGeometrie;
    layout_ = {};
    geladen_ = false;
}

void HilfeFenster::Init_Sprache() {
    c_.frmHilfe.setCaption(text(7000));
    c_.cmdHilfeDrucken.setCaption(text(7001));
}

void HilfeFenster::Form_Resize(int innenBreite, int innenHoehe, bool minimiert) {
    if (minimiert) return;
    layout_ = hilfeLayout(innenBreite, innenHoehe);
}

void HilfeFenster::cmdHilfeDrucken_Click() {
    if (printer_.druckeText(c_.txtHilfe.caption()) == ports::DruckErgebnis::Fehler) {
        dialogs_.messageBox({text(7002), {}, ports::MsgIcon::None, ports::MsgButtons::Ok});
    }
}

}  // namespace krv::app
