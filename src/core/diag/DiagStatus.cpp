#include "core/diag/DiagStatus.hpp"

#include <string_view>

#include "core/state/StringTable.hpp"

namespace krv::diag {
namespace {

// Text ids: captions 4001 + label index, value words 4101 + entry, time texts 4050..4052.
constexpr int kIdStatusText = 4001;
constexpr int kIdStatusWert = 4101;
constexpr int kIdZeitKurz = 4050;
constexpr int kIdZeitLang = 4051;
constexpr int kIdMutingZeit = 4052;

// Telegram lengths; a long telegram carries the status block at its end and the 24-bit relay
// cycle count in the middle.
constexpr std::size_t kKurz = 16;
constexpr std::size_t kLang = 256;
constexpr std::size_t kLangStatus = 224;
constexpr std::size_t kLangRelaisZyklen = 116;

// Entries of the value word table.
enum Wert : int {
    W2Electr = 0,
    W4Electr = 1,
    W4Relais = 2,
    WMit = 3,
    WOhne = 4,
    WJa = 5,
    WNein = 6,
    WStatisch = 7,
    WDynamisch = 8,
    WEinfach = 9,
    WDoppel = 10,
    W100k = 11,
    WNc = 15,
    WKein = 16,
    WTestbar = 17,
    WStandard = 18,
};

// 2-bit input type code to value word: sensor inputs and safety switches, muting inputs.
constexpr std::array<int, 4> kTabelleA{WNc, W4Electr, W4Relais, W2Electr};
constexpr std::array<int, 4> kTabelleB{WNc, WStandard, W4Relais, WTestbar};

const std::string kStriche = "--";

// Model groups by model code m (the low nibble of status byte 0).
bool relaisErweiterung(int m) { return (m & 3) == 1; }
bool mitMuting(int m) { return (m & 8) == 8; }
bool doppelMuting(int m) { return (m & 13) == 9; }

std::string_view basisCode(int m) {
    static constexpr std::array<std::string_view, 16> kCodes{"a",  "ax", "a",  "ax",  "b",  "bx", "b",  "bx",
                                                             "c",  "cx", "c",  "cx",  "cb", "cbx", "cb", "cbx"};
    return m >= 0 && m < 16 ? kCodes[static_cast<std::size_t>(m)] : std::string_view{};
}

// A non-negative number with a blank in the sign place, as the window shows numbers.
std::string mitVorzeichenstelle(long v) { return " " + std::to_string(v); }

std::string zweiStellen(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

void setzeStatusfensterEntwurf(app::MainFormState& controls) {
    for (int i = 0; i < kStatusLabelAnzahl; ++i) {
        if (i == kFehlendesStatusLabel) continue;
        controls.lblDiagStatusText[static_cast<std::size_t>(i)].setColour(i <= 10 ? kStatusTextWeiss
                                                                                  : kStatusTextGruen);
        app::Control& w = controls.lblDiagStatusWert[static_cast<std::size_t>(i)];
        w.setColour(kStatusWertRot);
        w.setOpaque(false);
    }
}

DiagStatus::DiagStatus(app::ProgramState& state, app::MainFormState& controls) : state_(state), c_(controls) {
    AlterStatus_.fill(kNieAngezeigt);
}

void DiagStatus::InitDiagStatusText() {
    const int sprache = state_.sprachOffset();
    for (int i = 0; i < kStatusLabelAnzahl; ++i) {
        if (i == kFehlendesStatusLabel) continue;
        const auto n = static_cast<std::size_t>(i);
        c_.lblDiagStatusText[n].setCaption(app::LoadResString(kIdStatusText + i, sprache));
        c_.lblDiagStatusWert[n].setCaption("");
    }
    for (std::size_t j = 0; j < StatusWertText_.size(); ++j) {
        StatusWertText_[j] = app::LoadResString(kIdStatusWert + static_cast<int>(j), sprache);
    }
    ZeitTextKurz_ = kStriche;
    ZeitTextLang_ = kStriche;
    const std::string_view basis = basisCode(state_.HardwareTyp);
    if (basis == "bx" || basis == "b" || basis == "cb" || basis == "cbx") {
        ZeitTextKurz_ = app::LoadResString(kIdZeitKurz, sprache);
        ZeitTextLang_ = app::LoadResString(kIdZeitLang, sprache);
    }
}

DiagStatus::Block DiagStatus::leseBlock(const link::ReceiveState& s) {
    Block blk;
    if (s.DatenLaenge == kLang) {
        for (std::size_t k = 7; k < 16; ++k) blk.b[k] = s.datenByte(kLangStatus + k);
        blk.relaisZyklen = static_cast<long>(s.datenByte(kLangRelaisZyklen)) + 256L * s.datenByte(kLangRelaisZyklen + 1) +
                           65536L * s.datenByte(kLangRelaisZyklen + 2);
    } else if (s.DatenLaenge == kKurz) {
        blk.kurz = true;
        for (std::size_t k = 7; k < 16; ++k) blk.b[k] = s.datenByte(k);
        // Bits 9..8 in byte 14, bits 7..0 in byte 15, in units of 1024 cycles shown as thousands.
        blk.relaisZyklen = ((blk.b[14] & 0xC0) * 4L + blk.b[15]) * 1024L / 1000L;
    }
    return blk;
}

bool DiagStatus::geaendert(const Block& blk, int k, int maske) const {
    const int alt = AlterStatus(k);
    return alt == kNieAngezeigt || (blk.b[static_cast<std::size_t>(k)] & maske) != (alt & maske);
}

void DiagStatus::schreibe(int label, const std::string& text) {
    // The control repaints itself when its caption really changes.
    c_.lblDiagStatusWert[static_cast<std::size_t>(label)].setCaption(text);
}

void DiagStatus::schreibeEingangstyp(int label, int code, const std::array<int, 4>& tabelle) {
    schreibe(label, wert(tabelle[static_cast<std::size_t>(code)]));
    // "n.c." shows the label's red background; every real input type is see-through.
    app::Control& w = c_.lblDiagStatusWert[static_cast<std::size_t>(label)];
    if (code == 0) w.setColour(kStatusWertRot);
    w.setOpaque(code == 0);
}

void DiagStatus::AnzeigeDiagStatus(const link::ReceiveState& s) {
    if (!state_.StatusInitialisiert) {
        state_.StatusInitialisiert = true;
        AlterStatus_.fill(kNieAngezeigt);
        AlteRelaisZyklen_ = -1;
        InitDiagStatusText();
    }
    if (s.DatenLaenge == 0) return;

    const Block blk = leseBlock(s);
    zeigeVersion(blk);
    zeigeFreigabe(blk);
    zeigeEingangstypen(blk);
    zeigeKonfiguration(blk);
    zeigeMutingEinstellungen(blk);
    zeigeRelaisZyklen(blk);
}

void DiagStatus::zeigeVersion(const Block& blk) {
    const int v = blk.b[7];
    if (v != AlterStatus(7)) {
        schreibe(0, mitVorzeichenstelle(v / 100) + "." + zweiStellen(v % 100));
        AlterStatus_[7] = v;
    }
}

void DiagStatus::zeigeFreigabe(const Block& blk) {
    // Only a service technician sees the release value; outside service mode 1 the byte is not
    // even remembered, so it is shown as soon as the mode is entered.
    if (state_.ServiceModus1 && blk.b[8] != AlterStatus(8)) {
        schreibe(1, std::to_string(blk.b[8]));
        AlterStatus_[8] = blk.b[8];
    }
}

void DiagStatus::zeigeEingangstypen(const Block& blk) {
    struct Feld {
        int byte;
        std::array<int, 4> labels;
        const std::array<int, 4>* tabelle;
    };
    const std::array<Feld, 3> felder{{{10, {5, 6, 13, 14}, &kTabelleA},
                                      {11, {7, 8, 9, 10}, &kTabelleB},
                                      {12, {15, 16, 17, 18}, &kTabelleA}}};
    for (const Feld& f : felder) {
        const int byte = blk.b[static_cast<std::size_t>(f.byte)];
        for (int n = 0; n < 4; ++n) {
            const int maske = 3 << (2 * n);
            if (geaendert(blk, f.byte, maske)) {
                schreibeEingangstyp(f.labels[static_cast<std::size_t>(n)], (byte & maske) >> (2 * n), *f.tabelle);
            }
        }
        AlterStatus_[static_cast<std::size_t>(f.byte)] = byte;
    }
}

void DiagStatus::zeigeKonfiguration(const Block& blk) {
    const int b13 = blk.b[13];
    const int m = state_.HardwareTyp;
    if (geaendert(blk, 13, 0x01)) schreibe(19, wert(b13 & 0x01 ? WMit : WOhne));
    if (geaendert(blk, 13, 0x02)) schreibe(21, wert(b13 & 0x02 ? WMit : WOhne));
    if (geaendert(blk, 13, 0x0C)) {
        schreibe(22, relaisErweiterung(m) ? wert(W100k + ((b13 & 0x0C) >> 2)) : kStriche);
    }
    if (geaendert(blk, 13, 0x10)) schreibe(26, b13 & 0x10 ? ZeitTextKurz_ : ZeitTextLang_);
    if (geaendert(blk, 13, 0x21)) {
        schreibe(24, wert((b13 & 0x20) && !(b13 & 0x01) ? WJa : WNein));
        schreibe(25, mutingRestart(blk));
    }
    if (geaendert(blk, 13, 0x40)) schreibe(20, wert(b13 & 0x40 ? WStatisch : WDynamisch));
    AlterStatus_[13] = b13;
}

std::string DiagStatus::mutingRestart(const Block& blk) const {
    const int familie = state_.HardwareTyp & 12;
    const int v = blk.b[7];
    const int b13 = blk.b[13];
    if (familie == 0 || familie == 4) return kStriche;
    if (!(b13 & 0x01)) return wert(WNein);
    if (v <= 0x71) return wert(WJa);
    if (v <= 0x75) return wert(familie == 8 ? WJa : WNein);
    if (!(b13 & 0x20)) return wert(WNein);
    return wert(familie == 8 ? WJa : WNein);
}

void DiagStatus::zeigeMutingEinstellungen(const Block& blk) {
    const int b14 = blk.b[14];
    const int m = state_.HardwareTyp;
    if (geaendert(blk, 14, 0x02)) {
        schreibe(27, mitMuting(m) ? wert(b14 & 0x02 ? WMit : WOhne) : kStriche);
    }
    if (geaendert(blk, 14, 0x04)) {
        schreibe(28, mitMuting(m) ? (b14 & 0x04 ? app::LoadResString(kIdMutingZeit, state_.sprachOffset()) : wert(WOhne))
                                  : kStriche);
    }
    zeigeMutingBetriebsart(blk);
    AlterStatus_[14] = b14;
}

void DiagStatus::zeigeMutingBetriebsart(const Block& blk) {
    const int b9 = blk.b[9];
    const int m = state_.HardwareTyp;
    const bool mutingWerteNeu = state_.ServiceModus2 && b9 != AlterStatus(9);
    if (!geaendert(blk, 14, 0x08) && !mutingWerteNeu) return;

    if (blk.b[14] & 0x08) {
        // Single muting: byte 9 is one 8-bit value.
        schreibe(29, mitMuting(m) ? wert(WEinfach) : kStriche);
        if (mutingWerteNeu) {
            schreibe(2, std::to_string(b9));
            schreibe(3, "0");
            AlterStatus_[9] = b9;
        }
    } else {
        // Double or no muting: byte 9 holds two 4-bit values.
        schreibe(29, !mitMuting(m) ? kStriche : wert(doppelMuting(m) ? WDoppel : WKein));
        if (mutingWerteNeu) {
            schreibe(3, std::to_string(b9 & 15));
            schreibe(2, std::to_string(b9 / 16));
            AlterStatus_[9] = b9;
        }
    }
}

void DiagStatus::zeigeRelaisZyklen(const Block& blk) {
    const int b15 = blk.b[15];
    if (b15 != AlterStatus(15) || blk.relaisZyklen != AlteRelaisZyklen_) {
        if (relaisErweiterung(state_.HardwareTyp)) {
            // While a CPU error is shown, byte 15 carries the error number, not cycle data; the
            // remembered number stays, so the real count appears with the next clean telegram.
            if (!state_.CpuFehlerAktiv) {
                schreibe(23, mitVorzeichenstelle(blk.relaisZyklen) + (blk.kurz ? "k" : ""));
                AlteRelaisZyklen_ = blk.relaisZyklen;
            }
        } else {
            schreibe(23, kStriche);
            AlteRelaisZyklen_ = blk.relaisZyklen;
        }
    }
    AlterStatus_[15] = b15;
}

}  // namespace krv::diag
