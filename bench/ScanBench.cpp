// Throughput of framing alone (ShowData with the display hooks empty), in bytes per second.
#include <benchmark/benchmark.h>

#include <random>

#include "core/link/Crc8.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/state/Einstellungen.hpp"
#include "core/state/MemoryProfile.hpp"
#include "core/state/PlaybackState.hpp"

namespace {

using krv::Bytes;

Bytes telegrams(char kind, std::size_t payloadSize, std::size_t totalBytes) {
    std::mt19937 random(42);
    Bytes stream;
    while (stream.size() < totalBytes) {
        Bytes t{'L', static_cast<std::uint8_t>(kind)};
        for (std::size_t i = 0; i < payloadSize; ++i) t.push_back(static_cast<std::uint8_t>(random()));
        t.push_back(krv::link::crc8(t));
        stream.insert(stream.end(), t.begin(), t.end());
    }
    return stream;
}

Bytes garbage(std::size_t totalBytes) {
    std::mt19937 random(7);
    Bytes stream(totalBytes);
    for (auto& b : stream) b = static_cast<std::uint8_t>(random());
    return stream;
}

void runScan(benchmark::State& state, const Bytes& input) {
    const std::size_t chunk = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        krv::app::Einstellungen settings;
        krv::recorder::PlaybackState playback;
        krv::app::MemoryProfile profile;
        krv::ports::ManualClock clock;
        krv::link::DispatchHooks hooks;
        krv::link::ReceivePath path(settings, playback, profile, clock, hooks);
        krv::link::feedInChunks(path, input, chunk);
        benchmark::DoNotOptimize(path.receive().EmpfangsLaenge());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void BM_ScanShortTelegrams(benchmark::State& state) {
    static const Bytes input = telegrams('1', 16, 4 << 20);
    runScan(state, input);
}
void BM_ScanLongTelegrams(benchmark::State& state) {
    static const Bytes input = telegrams('2', 256, 4 << 20);
    runScan(state, input);
}
void BM_ScanGarbage(benchmark::State& state) {
    static const Bytes input = garbage(4 << 20);
    runScan(state, input);
}

BENCHMARK(BM_ScanShortTelegrams)->Arg(512)->Arg(65536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanLongTelegrams)->Arg(512)->Arg(65536)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanGarbage)->Arg(512)->Arg(65536)->Unit(benchmark::kMillisecond);

}  // namespace
