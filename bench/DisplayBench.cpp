// Throughput of the receive path with the full display-state update: the real program built
// headless (as the command-line tool does), data transfer started, and short telegrams whose
// LED, terminal and status bytes change with every telegram. Reported as displayed telegrams
// per second (items_per_second), counted where the main window finishes a display.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "core/app/HeadlessProgramm.hpp"
#include "core/common/Bytes.hpp"
#include "core/link/Crc8.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/ports/SerialPort.hpp"

namespace {

using krv::Bytes;
using krv::ByteView;

constexpr std::size_t kTelegrammLaenge = 19;  // "L1", 16 data bytes, CRC
constexpr std::size_t kAnzahlTelegramme = 4096;
// At line rate a short telegram arrives about every 20 ms; the clock moves that far per
// display so the activity indicator toggles as it does on the real line.
constexpr std::int64_t kTelegrammAbstandMs = 20;
// Model 13 (cbx/Tx): muting, relay extension and time monitoring fields all apply, so every
// status label has work to do. Bit 4 (CPU error flag) stays clear: the error window is not
// part of the steady display.
constexpr std::uint8_t kModell = 13;

// The program after start-up and a successful start of the data transfer, in service mode so
// that every status label is in use.
struct Sitzung : krv::app::HeadlessProgramm {
    std::int64_t angezeigt = 0;

    Sitzung() : HeadlessProgramm("[Einstellungen]\nSprache=0\n") {
        programm.form.mnuDatenuebertragungStart_Click();
        state.ServiceModus1 = true;
        state.ServiceModus2 = true;
        state.ServiceModus3 = true;
        programm.form.onAnzeige = [this](const krv::link::ReceiveState&) {
            ++angezeigt;
            clock.advanceMs(kTelegrammAbstandMs);
        };
    }
};

// Short telegrams in which every data byte but the model code differs from the telegram
// before (XOR with a non-zero value), so LEDs, terminals and status labels change each time.
Bytes wechselndeTelegramme() {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> nichtNull(1, 255);
    std::array<std::uint8_t, 16> daten{};
    Bytes stream;
    stream.reserve(kAnzahlTelegramme * kTelegrammLaenge);
    for (std::size_t n = 0; n < kAnzahlTelegramme; ++n) {
        // Byte 0: model in the low nibble, CPU module LEDs in bits 5..7, error flag clear.
        daten[0] = static_cast<std::uint8_t>(kModell | ((n % 7 + 1) << 5));
        for (std::size_t i = 1; i < daten.size(); ++i) daten[i] ^= static_cast<std::uint8_t>(nichtNull(random));
        Bytes t{'L', '1'};
        t.insert(t.end(), daten.begin(), daten.end());
        t.push_back(krv::link::crc8(t));
        stream.insert(stream.end(), t.begin(), t.end());
    }
    return stream;
}

const Bytes& eingabe() {
    static const Bytes stream = wechselndeTelegramme();
    return stream;
}

// Fails the run if the program showed a message or missed a display: then the figure would
// not be the one asked for.
void pruefe(benchmark::State& state, const Sitzung& s, std::int64_t erwartet) {
    if (!s.dialogs.boxes.empty()) state.SkipWithError("a message box was shown during the run");
    if (s.angezeigt != erwartet) state.SkipWithError("not every telegram was displayed");
}

// One telegram per ShowData call, as the line delivers them; each call displays it.
// Argument 1: the timing diagram runs, as it does after start-up. Argument 0: its traces are
// stopped first, to show what the rest of the display costs on its own.
void BM_DisplayShortTelegramPerCall(benchmark::State& state) {
    const auto s = std::make_unique<Sitzung>();
    if (state.range(0) == 0 && s->programm.form.timing().TimingAktiv != 0) {
        s->programm.form.cmdTimingDiagrammStartStop_Click();
    }
    const ByteView stream(eingabe());
    krv::link::ReceivePath& path = s->programm.form.receivePath();
    std::int64_t aufrufe = 0;
    for (auto _ : state) {
        for (std::size_t pos = 0; pos < stream.size(); pos += kTelegrammLaenge) {
            path.ShowData(stream.subspan(pos, kTelegrammLaenge));
        }
        aufrufe += static_cast<std::int64_t>(kAnzahlTelegramme);
        benchmark::DoNotOptimize(path.receive().EmpfangsLaenge());
    }
    pruefe(state, *s, aufrufe);
    state.SetItemsProcessed(s->angezeigt);
    state.SetBytesProcessed(aufrufe * static_cast<std::int64_t>(kTelegrammLaenge));
}

// Larger chunks (as after a busy moment or a replay), each followed by the drain.
void BM_DisplayShortTelegramsChunked(benchmark::State& state) {
    const auto s = std::make_unique<Sitzung>();
    const ByteView stream(eingabe());
    const std::size_t chunk = static_cast<std::size_t>(state.range(0));
    krv::link::ReceivePath& path = s->programm.form.receivePath();
    std::int64_t telegramme = 0;
    for (auto _ : state) {
        krv::link::feedInChunks(path, stream, chunk);
        telegramme += static_cast<std::int64_t>(kAnzahlTelegramme);
        benchmark::DoNotOptimize(path.receive().EmpfangsLaenge());
    }
    pruefe(state, *s, telegramme);
    state.SetItemsProcessed(s->angezeigt);
    state.SetBytesProcessed(telegramme * static_cast<std::int64_t>(kTelegrammLaenge));
}

BENCHMARK(BM_DisplayShortTelegramPerCall)->ArgName("timing")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayShortTelegramsChunked)->Arg(512)->Unit(benchmark::kMillisecond);

}  // namespace
