#include "core/diag/CpuFehlerText.hpp"

#include <charconv>
#include <system_error>

#include "core/common/DateiLesen.hpp"
#include "core/diag/CpuFehlerTextKodierung.hpp"
#include "core/state/StringTable.hpp"

namespace krv::diag {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool istBlank(char c) { return c == ' ' || c == '\t'; }
bool istZeilenende(char c) { return c == '\r' || c == '\n'; }

std::string_view ohneBlanks(std::string_view s) {
    while (!s.empty() && istBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && istBlank(s.back())) s.remove_suffix(1);
    return s;
}

enum class Trenner { Komma, Zeile, Dateiende };

struct Feld {
    std::string_view text;
    Trenner trenner = Trenner::Dateiende;
};

struct Satz {
    int nr = 0;
    std::string_view text;
};

// Sequential reading of comma-delimited records, one field at a time.
class SatzLeser {
public:
    SatzLeser(std::string_view daten, bool abgeschnitten) : d_(daten), abgeschnitten_(abgeschnitten) {}

    // Skips blanks and empty lines up to the next record; false at the end of the data.
    bool naechsterSatz() {
        while (p_ < d_.size() && (istBlank(d_[p_]) || istZeilenende(d_[p_]))) ++p_;
        return p_ < d_.size();
    }

    // One record (number, text); nothing on a read error.
    std::optional<Satz> satz() {
        const auto nrFeld = feld(false);
        if (!nrFeld || nrFeld->trenner == Trenner::Dateiende) return std::nullopt;  // text missing
        const auto nr = zahl(nrFeld->text);
        if (!nr) return std::nullopt;
        const auto textFeld = feld(nrFeld->trenner == Trenner::Zeile);
        if (!textFeld) return std::nullopt;
        return Satz{*nr, textFeld->text};
    }

    // How far reading has got.
    std::size_t position() const { return p_; }

private:
    std::optional<Feld> feld(bool leerzeilenUeberspringen) {
        if (leerzeilenUeberspringen) {
            naechsterSatz();
        } else {
            while (p_ < d_.size() && istBlank(d_[p_])) ++p_;
        }
        Feld f;
        const bool inAnfuehrungszeichen = p_ < d_.size() && d_[p_] == '"';
        if (inAnfuehrungszeichen) {
            const std::size_t anfang = p_ + 1;
            const std::size_t ende = d_.find('"', anfang);
            if (ende == std::string_view::npos) return std::nullopt;
            f.text = d_.substr(anfang, ende - anfang);
            p_ = ende + 1;
            while (p_ < d_.size() && d_[p_] != ',' && !istZeilenende(d_[p_])) ++p_;
        } else {
            const std::size_t anfang = p_;
            while (p_ < d_.size() && d_[p_] != ',' && !istZeilenende(d_[p_])) ++p_;
            f.text = ohneBlanks(d_.substr(anfang, p_ - anfang));
        }
        if (p_ >= d_.size()) {
            // An unquoted field could go on beyond the cut; a quoted one is complete.
            if (abgeschnitten_ && !inAnfuehrungszeichen) return std::nullopt;
            f.trenner = Trenner::Dateiende;
        } else if (d_[p_] == ',') {
            ++p_;
            f.trenner = Trenner::Komma;
        } else {
            if (d_[p_] == '\r' && p_ + 1 < d_.size() && d_[p_ + 1] == '\n') ++p_;
            ++p_;
            f.trenner = Trenner::Zeile;
        }
        return f;
    }

    // A 16-bit decimal integer with an optional sign.
    static std::optional<int> zahl(std::string_view text) {
        if (!text.empty() && text.front() == '+') text.remove_prefix(1);
        int wert = 0;
        const auto [ende, ec] = std::from_chars(text.data(), text.data() + text.size(), wert);
        if (text.empty() || ec != std::errc{} || ende != text.data() + text.size()) return std::nullopt;
        if (wert < -32768 || wert > 32767) return std::nullopt;
        return wert;
    }

    std::string_view d_;
    std::size_t p_ = 0;
    bool abgeschnitten_;
};

}  // namespace

FehlerTextSuche sucheFehlerText(std::string_view inhalt, int iFehlerNr, bool abgeschnitten) {
    if (inhalt.starts_with(kUtf8Bom)) inhalt.remove_prefix(kUtf8Bom.size());

    FehlerTextSuche ergebnis;
    std::optional<std::string_view> treffer;
    int letzteNr = 0;
    std::string_view letzterText;
    SatzLeser leser(inhalt, abgeschnitten);
    while (leser.naechsterSatz()) {
        const auto satz = leser.satz();
        if (!satz) {
            letzteNr = 0;
            break;
        }
        letzteNr = satz->nr;
        letzterText = satz->text;
        if (satz->nr == iFehlerNr) treffer = satz->text;
        if (satz->text == kFehlerDateiEndeText && satz->nr == kFehlerDateiEndeNr) break;
    }
    ergebnis.dateiGueltig = letzteNr == kFehlerDateiEndeNr && letzterText == kFehlerDateiEndeText;
    if (treffer) {
        // Only the part that was read decides the character set: whatever follows the end
        // record is never looked at.
        const bool utf8 = istUtf8(inhalt.substr(0, leser.position()));
        ergebnis.text = utf8 ? std::string(*treffer) : cp1252NachUtf8(*treffer);
    }
    return ergebnis;
}

std::string fehlerDateiName(const std::string& programmPfad, int sprachOffset) {
    return programmPfad + "Fehler" + std::to_string(sprachOffset / 10000) + ".txt";
}

FehlerTextSuche leseFehlerTextDatei(const std::string& dateiName, int iFehlerNr) {
    const DateiAnfang datei = leseDateiAnfang(dateiName, kFehlerDateiMaxBytes);
    if (!datei.gelesen) return {};
    return sucheFehlerText(datei.daten, iFehlerNr, datei.abgeschnitten);
}

std::string GetCpuFehlerText(const std::string& programmPfad, int sprachOffset, int iFehlerNr) {
    const FehlerTextSuche suche = leseFehlerTextDatei(fehlerDateiName(programmPfad, sprachOffset), iFehlerNr);
    if (!suche.dateiGueltig) return app::LoadResString(5002, sprachOffset);
    if (suche.text) return *suche.text;
    return app::LoadResString(5001, sprachOffset);
}

}  // namespace krv::diag
