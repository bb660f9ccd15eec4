#include "core/timing/SampleStore.hpp"

#include <algorithm>

namespace krv::timing {

void SampleStore::vergroessern(int grenze) {
    // Like a preserving re-dimension: contents kept, the arrays end at the new upper bound.
    const auto n = static_cast<std::size_t>(grenze + 1);
    klemmen_.resize(n, {});
    zeit_.resize(n, 0.0);
    anzahl_.resize(n, 0);
    datensatzNr_.resize(n, 0);
    cpuFehler_.resize(n, 0);
}

void SampleStore::samplesAnlegen(double satzZeit, std::uint8_t satzAnzahl, std::uint8_t satzCpuFehler,
                                 std::int32_t datensatzNr, int k) {
    satzSamples_ = k;
    ++AnzahlSamples;
    if (AnzahlSamples + k > SampleKapazitaet) {
        SampleKapazitaet += k + kKapazitaetsZuwachs;
        vergroessern(SampleKapazitaet + k);
    }
    for (int i = 0; i < k; ++i) {
        const int s = AnzahlSamples + i;
        if (!innen(s)) break;
        const auto idx = static_cast<std::size_t>(s);
        zeit_[idx] = satzZeit;
        anzahl_[idx] = satzAnzahl;
        datensatzNr_[idx] = datensatzNr;
        cpuFehler_[idx] = satzCpuFehler;
    }
}

void SampleStore::SampleKlemmenSetzen(int spalte, std::uint8_t zustand) {
    if (spalte < 0 || spalte >= kKlemmenSpalten) return;
    for (int j = 0; j < satzSamples_; ++j) {
        const int s = AnzahlSamples + j;
        if (innen(s)) klemmen_[static_cast<std::size_t>(s)][static_cast<std::size_t>(spalte)] = zustand;
    }
}

std::uint8_t SampleStore::SampleKlemmen(int spalte, int sample) const {
    if (!innen(sample) || spalte < 0 || spalte >= kKlemmenSpalten) return 0;
    return klemmen_[static_cast<std::size_t>(sample)][static_cast<std::size_t>(spalte)];
}

double SampleStore::SampleZeit(int sample) const { return innen(sample) ? zeit_[static_cast<std::size_t>(sample)] : 0.0; }

std::uint8_t SampleStore::SampleAnzahl(int sample) const {
    return innen(sample) ? anzahl_[static_cast<std::size_t>(sample)] : 0;
}

std::int32_t SampleStore::SampleDatensatzNr(int sample) const {
    return innen(sample) ? datensatzNr_[static_cast<std::size_t>(sample)] : 0;
}

std::uint8_t SampleStore::SampleCpuFehler(int sample) const {
    return innen(sample) ? cpuFehler_[static_cast<std::size_t>(sample)] : 0;
}

void SampleStore::alleDatensatzNrSetzen(std::int32_t nr) { std::fill(datensatzNr_.begin(), datensatzNr_.end(), nr); }

int SampleStore::sampleZuDatensatz(std::int32_t nr) const {
    const int bis = std::min(SampleKapazitaet - 1, obereGrenze());
    for (int j = 1; j <= bis; ++j) {
        if (datensatzNr_[static_cast<std::size_t>(j)] == nr) return j;
    }
    return 0;
}

}  // namespace krv::timing
