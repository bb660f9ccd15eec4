#include "core/recorder/ProtokollExport.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>

#include "core/device/LedTables.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/recorder/ProtocolReader.hpp"
#include "core/state/StringTable.hpp"

namespace krv::recorder {
namespace {

constexpr int kKlemmen = 36;
constexpr std::size_t kSaetzeProLesen = 1024;
constexpr int kModellName = 20;  // text 20 + model index

int modellVon(const StatusBlock& b) { return b[0] & 0x0F; }
int cpuFehlerVon(const StatusBlock& b) { return (b[0] & 0x10) ? b[15] : 0; }

// The slots of the data area, read a block at a time.
class SlotLeser {
public:
    SlotLeser(ports::ReadableFile& datei, const ProtokollKopf& kopf) : datei_(datei), kopf_(kopf) {}

    // Calls satz(i, slot) for every slot from the first; stops early when it returns false.
    std::optional<std::string> jeder(const std::function<bool(std::size_t, ByteView)>& satz,
                                     const std::function<void(std::size_t, std::size_t)>& fortschritt = {}) {
        for (std::size_t erster = 0; erster < kopf_.anzahlDatensaetze; erster += kSaetzeProLesen) {
            const std::size_t n = std::min(kSaetzeProLesen, kopf_.anzahlDatensaetze - erster);
            const ports::ReadResult r =
                datei_.read(kopf_.ersterDatensatzPos - 1 + erster * DatensatzLaenge, n * DatensatzLaenge);
            if (r.error) return r.error;
            const ByteView block(r.bytes);
            for (std::size_t j = 0; j < n; ++j) {
                if (block.size() < (j + 1) * DatensatzLaenge) return std::string("No data available");
                const ByteView s = block.subspan(j * DatensatzLaenge, DatensatzLaenge);
                if (!satz(erster + j, s)) return std::nullopt;
            }
            if (fortschritt) fortschritt(erster + n, kopf_.anzahlDatensaetze);
        }
        return std::nullopt;
    }

private:
    ports::ReadableFile& datei_;
    const ProtokollKopf& kopf_;
};

void schreibeCsvKopf(std::ostream& out) {
    out << "record,time,repeat,model,cpu_error";
    for (int k = 1; k <= kKlemmen; ++k) out << ',' << k;
    out << '\n';
}

// One row per data record: record, time, repeat, model, CPU error, then the level of terminals
// 1..36, empty where the model has no terminal.
void schreibeCsvZeile(std::ostream& out, std::size_t nr, const DatensatzInhalt& s) {
    const int modell = modellVon(s.block);
    out << nr << ',' << zeitText(s.zeit) << ',' << int{s.wiederholungen} << ',' << modell << ','
        << cpuFehlerVon(s.block);
    for (int n = 0; n < kKlemmen; ++n) {
        out << ',';
        if (hatKlemme(modell, n)) out << klemmenPegel(s.block, n);
    }
    out << '\n';
}

std::optional<long long> millisekunden(double datumswert) {
    if (!zeitpunkt(datumswert)) return std::nullopt;
    return std::llround(datumswert * 86400000.0);
}

// The records' time stamps in ms, never going backwards: a time stamp before the previous one
// (the clock was set back) or one that is no time is clamped to the previous one and counted.
struct Zeitachse {
    std::optional<long long> letzte;
    int geklemmt = 0;

    long long naechste(double datumswert) {
        const std::optional<long long> zeit = millisekunden(datumswert);
        long long ms = zeit.value_or(0);
        if (!zeit || (letzte && ms < *letzte)) {
            ++geklemmt;
            ms = letzte.value_or(0);
        }
        letzte = ms;
        return ms;
    }
};

// What the VCD header needs, found before anything is written.
struct Vorschau {
    std::optional<DatensatzInhalt> erster;  // the first data record
    Zeitachse zeiten;                       // over all data records
    bool zeigbar = false;                   // a record with a repeat count of at least 1
};

// The VCD of the records fed to it. A record stands for the telegrams that ended at its time
// stamp, so its values are written at the previous record's time stamp (the first record's at
// its own time stamp minus its repeat count x 20 ms, which is time 0). The terminals declared
// are those of the first record's model. The model code, CPU error number and repeat count are
// real variables: waveform viewers show their numbers, and the sigrok reader of Debian 12 stops
// at the first vector value of more than one bit, while it passes over real values.
class VcdSchreiber {
public:
    VcdSchreiber(std::ostream& out, const std::string& dateiName, const Vorschau& v) : out_(out) {
        const DatensatzInhalt& s = *v.erster;
        const int modell = modellVon(s.block);
        out_ << "$date " << zeitText(s.zeit) << " $end\n";
        out_ << "$version KrvDiag " << KRVDIAG_VERSION_STRING << " $end\n";
        out_ << "$comment model " << app::LoadResString(kModellName + modell, 0) << ", file " << dateiName
             << "; #0 is the first record's time stamp minus its repeat count x " << kTelegrammAbstandMs
             << " ms";
        if (v.zeiten.geklemmt > 0) {
            out_ << "; " << v.zeiten.geklemmt << " time stamps went backwards (clock change) or were no time"
                 << " and were clamped to the previous one";
        }
        out_ << " $end\n$timescale 1 ms $end\n$scope module krv $end\n";
        for (int n = 0; n < kKlemmen; ++n) {
            if (!hatKlemme(modell, n)) continue;
            deklariert_[static_cast<std::size_t>(n)] = true;
            out_ << "$var wire 1 " << kennung(n) << " T" << n + 1 << " $end\n";
        }
        out_ << "$var real 64 p model $end\n$var real 64 q cpu_error $end\n$var real 64 w repeat $end\n";
        out_ << "$upscope $end\n$enddefinitions $end\n";
    }

    void satz(const DatensatzInhalt& s) {
        const long long ms = zeiten_.naechste(s.zeit);
        if (!nullMs_) {
            nullMs_ = ms - kTelegrammAbstandMs * s.wiederholungen;
        } else {
            const long long ab = letzteMs_ - *nullMs_;
            // A record of no length (equal time stamps) is overwritten by the next one.
            if (ab > offenAb_) schreibe();
            offenAb_ = ab;
        }
        offen_ = werte(s);
        letzteMs_ = ms;
    }

    void ende() {
        if (!nullMs_) return;
        schreibe();
        // The last record's values need a length to be seen.
        out_ << '#' << std::max(letzteMs_ - *nullMs_, geschriebenAb_ + 1) << '\n';
    }

private:
    struct Werte {
        std::array<char, kKlemmen> klemmen{};
        int modell = -1;
        int cpuFehler = -1;
        int wiederholungen = -1;
    };

    static Werte werte(const DatensatzInhalt& s) {
        Werte w;
        w.modell = modellVon(s.block);
        w.cpuFehler = cpuFehlerVon(s.block);
        w.wiederholungen = s.wiederholungen;
        for (int n = 0; n < kKlemmen; ++n) {
            static constexpr char kZeichen[] = {'0', 'z', '1'};
            w.klemmen[static_cast<std::size_t>(n)] =
                hatKlemme(w.modell, n) ? kZeichen[klemmenPegel(s.block, n)] : 'x';
        }
        return w;
    }

    // Letters only: "#" and "$" begin time stamps and commands, which some readers also take
    // them for inside a line. Terminals 1..36 are A..Z, a..j; the numbers p, q, w.
    static char kennung(int n) { return static_cast<char>(n < 26 ? 'A' + n : 'a' + n - 26); }

    // The values open since offenAb_, only those that changed.
    void schreibe() {
        const bool alle = geschriebenAb_ < 0;
        bool zeit = false;
        auto zeitstempel = [&] {
            if (zeit) return;
            zeit = true;
            out_ << '#' << offenAb_ << '\n';
            if (alle) out_ << "$dumpvars\n";
        };
        for (std::size_t n = 0; n < offen_.klemmen.size(); ++n) {
            if (!deklariert_[n] || offen_.klemmen[n] == geschrieben_.klemmen[n]) continue;
            zeitstempel();
            out_ << offen_.klemmen[n] << kennung(static_cast<int>(n)) << '\n';
        }
        const std::pair<int Werte::*, char> zahlen[] = {
            {&Werte::modell, 'p'}, {&Werte::cpuFehler, 'q'}, {&Werte::wiederholungen, 'w'}};
        for (const auto& [feld, id] : zahlen) {
            if (offen_.*feld == geschrieben_.*feld) continue;
            zeitstempel();
            out_ << 'r' << offen_.*feld << ' ' << id << '\n';
        }
        if (alle) out_ << "$end\n";
        if (zeit) geschriebenAb_ = offenAb_;
        geschrieben_ = offen_;
    }

    std::ostream& out_;
    Zeitachse zeiten_;
    std::optional<long long> nullMs_;  // time 0, in ms of the date value; set by the first record
    long long letzteMs_ = 0;           // the previous record's time stamp (clamped), in ms
    long long offenAb_ = 0;            // time of the values not yet written
    long long geschriebenAb_ = -1;
    Werte offen_;
    Werte geschrieben_;
    std::array<bool, kKlemmen> deklariert_{};
};

}  // namespace

int klemmenPegel(const StatusBlock& block, int n) {
    std::uint8_t wert = block[static_cast<std::size_t>(2 + n / 8)];
    if (n / 8 == 1 && (block[0] & 3) != 0) wert = (wert & 0x10) ? (wert & 0xBF) : (wert | 0x40);
    const std::uint8_t hochohmig = block[6];
    if ((n == 12 && (hochohmig & 0x08)) || (n == 13 && (hochohmig & 0x04)) ||
        (n == 20 && (hochohmig & 0x02))) {
        return 1;
    }
    return (wert & (0x80 >> (n % 8))) ? 2 : 0;
}

bool hatKlemme(int modell, int n) {
    ports::ScriptedDialogs stumm;  // bits 0..35 are within the tables: no box is shown
    return device::KonvertBitToLed(static_cast<std::int16_t>(n), modell, stumm) != device::kKeineLed;
}

ExportErgebnis exportiereProtokoll(ports::ReadableFile& datei, const std::string& dateiName,
                                   ExportFormat format, std::ostream& out,
                                   const std::function<void(std::size_t, std::size_t)>& fortschritt) {
    ExportErgebnis ergebnis;
    const ports::SizeResult groesse = datei.size();
    if (groesse.error) {
        ergebnis.fehler = groesse.error;
        return ergebnis;
    }
    const ports::ReadResult anfang = datei.read(0, KopfSuchBereich);
    if (anfang.error) {
        ergebnis.fehler = anfang.error;
        return ergebnis;
    }
    const LeseErgebnis gelesen = leseProtokollkopf(anfang.bytes, groesse.size);
    if (gelesen.ablehnung) {
        ergebnis.ablehnung = gelesen.ablehnung;
        return ergebnis;
    }
    const ProtokollKopf& kopf = gelesen.kopf;
    SlotLeser leser(datei, kopf);

    // Playback rejects a file without a record it could show; so does the export, before writing.
    Vorschau vorschau;
    const bool vcd = format == ExportFormat::Vcd;
    if (auto f = leser.jeder([&](std::size_t, ByteView s) {
            if (!istDatensatz(s)) return true;
            vorschau.zeigbar = vorschau.zeigbar || zeigbarerDatensatz(s);
            if (!vcd) return !vorschau.zeigbar;
            const DatensatzInhalt satz = leseDatensatz(s);
            if (!vorschau.erster) vorschau.erster = satz;
            vorschau.zeiten.naechste(satz.zeit);
            return true;
        })) {
        ergebnis.fehler = f;
        return ergebnis;
    }
    if (!vorschau.zeigbar) {
        ergebnis.ablehnung = MeldungKeineLogDatei;
        return ergebnis;
    }

    std::optional<VcdSchreiber> schreiber;
    if (vcd) {
        schreiber.emplace(out, dateiName, vorschau);
    } else {
        schreibeCsvKopf(out);
    }
    ergebnis.fehler = leser.jeder(
        [&](std::size_t i, ByteView s) {
            if (!istDatensatz(s)) return true;
            const DatensatzInhalt satz = leseDatensatz(s);
            if (schreiber) {
                schreiber->satz(satz);
            } else {
                schreibeCsvZeile(out, i, satz);
            }
            ++ergebnis.datensaetze;
            return true;
        },
        fortschritt);
    if (schreiber) schreiber->ende();
    return ergebnis;
}

}  // namespace krv::recorder
