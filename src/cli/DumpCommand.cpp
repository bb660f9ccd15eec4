#include "cli/DumpCommand.hpp"

#include <ostream>

#include "cli/CliSession.hpp"
#include "cli/HexText.hpp"
#include "core/device/LedTables.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/recorder/ProtocolReader.hpp"
#include "core/state/StringTable.hpp"

namespace krv::cli {
namespace {

constexpr int kKlemmen = 36;

// The level a terminal LED shows for terminal bit n of a stored block (0 red, 1 yellow,
// 2 green), with the display's two corrections: bit 9 of the models whose index is not a
// multiple of 4 follows bit 11 inverted, and terminals 12, 13, 20 can be high impedance.
int klemmenPegel(const recorder::StatusBlock& block, int n) {
    std::uint8_t wert = block[static_cast<std::size_t>(2 + n / 8)];
    if (n / 8 == 1 && (block[0] & 3) != 0) wert = (wert & 0x10) ? (wert & 0xBF) : (wert | 0x40);
    const std::uint8_t hochohmig = block[6];
    if ((n == 12 && (hochohmig & 0x08)) || (n == 13 && (hochohmig & 0x04)) || (n == 20 && (hochohmig & 0x02))) return 1;
    return (wert & (0x80 >> (n % 8))) ? 2 : 0;
}

// One row per data record: record, time, repeat, model, CPU error, then the level of terminals
// 1..36, empty where the model has no LED for the terminal.
void druckeCsv(ByteView datei, const recorder::ProtokollKopf& kopf, std::ostream& out) {
    ports::ScriptedDialogs stumm;
    out << "record,time,repeat,model,cpu_error";
    for (int k = 1; k <= kKlemmen; ++k) out << ',' << k;
    out << '\n';
    for (std::size_t i = 0; i < kopf.anzahlDatensaetze; ++i) {
        const ByteView s = recorder::slot(datei, kopf.ersterDatensatzPos, i);
        if (!recorder::istDatensatz(s)) continue;
        const recorder::DatensatzInhalt satz = recorder::leseDatensatz(s);
        const int modell = satz.block[0] & 0x0F;
        out << i << ',' << recorder::zeitText(satz.zeit) << ',' << int{satz.wiederholungen} << ',' << modell << ','
            << ((satz.block[0] & 0x10) ? int{satz.block[15]} : 0);
        for (int n = 0; n < kKlemmen; ++n) {
            out << ',';
            if (device::KonvertBitToLed(static_cast<std::int16_t>(n), modell, stumm) != device::kKeineLed) {
                out << klemmenPegel(satz.block, n);
            }
        }
        out << '\n';
    }
}

void druckeKopf(const recorder::ProtokollKopf& kopf, std::ostream& out) {
    out << "version " << kopf.version << '\n';
    out << "channels";
    if (kopf.kanaele) {
        for (int k : *kopf.kanaele) out << ' ' << k;
    } else {
        out << " -";
    }
    out << '\n';
    if (kopf.trigger) {
        out << "trigger " << kopf.trigger->modus << ' ' << kopf.trigger->anzahl << '\n';
    } else {
        out << "trigger -\n";
    }
    out << "records " << kopf.anzahlDatensaetze << '\n';
}

void druckeSlots(ByteView datei, const recorder::ProtokollKopf& kopf, std::ostream& out) {
    for (std::size_t i = 0; i < kopf.anzahlDatensaetze; ++i) {
        const ByteView s = recorder::slot(datei, kopf.ersterDatensatzPos, i);
        if (!recorder::istDatensatz(s)) {
            out << i << " bad\n";
            continue;
        }
        const recorder::DatensatzInhalt satz = recorder::leseDatensatz(s);
        out << i << ' ' << recorder::zeitText(satz.zeit) << ' ' << int{satz.wiederholungen} << ' '
            << hexText(satz.block) << '\n';
    }
}

}  // namespace

int runDump(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.files.size() != 1) throw UsageError("dump takes exactly one protocol file");
    const InputData input = readInput(options.files[0]);
    if (!input.error.empty()) {
        err << input.error << '\n';
        return 2;
    }
    const recorder::LeseErgebnis ergebnis = recorder::leseProtokolldatei(input.bytes);
    if (ergebnis.ablehnung) {
        err << app::LoadResString(*ergebnis.ablehnung, options.sprachOffset) << '\n';
        return 2;
    }
    if (options.csv) {
        druckeCsv(input.bytes, ergebnis.kopf, out);
    } else {
        druckeKopf(ergebnis.kopf, out);
        druckeSlots(input.bytes, ergebnis.kopf, out);
    }
    return 0;
}

}  // namespace krv::cli
