#pragma once
// The samples of the timing diagram while a protocol file is played back: per sample the 44
// terminal states, the record's time stamp, repeat count, record number and CPU error number.
// Samples are numbered from 1. The dispatcher adds them (before and after the display of a
// record), the LED rendering fills their terminal states, the traces and the terminal display
// read them.
#include <array>
#include <cstdint>
#include <vector>

#include "core/link/Dispatcher.hpp"

namespace krv::timing {

inline constexpr int kKlemmenSpalten = 44;        // positions 0..43; column = terminal bit + 1
inline constexpr int kKapazitaetsZuwachs = 100;   // extra room on every growth

class SampleStore {
public:
    int AnzahlSamples = 0;     // samples held
    int SampleKapazitaet = 0;  // samples allocated (the arrays may reach a little further)

    // Dispatcher, before the display of an accepted record while a file is loaded: one more
    // sample counted, room made, and samples AnzahlSamples .. AnzahlSamples + k - 1 get the
    // record's time, repeat count, CPU error number and record number.
    void samplesAnlegen(double satzZeit, std::uint8_t satzAnzahl, std::uint8_t satzCpuFehler,
                        std::int32_t datensatzNr, int k);
    void samplesAnlegen(const link::DispatchState& satz, std::int32_t aktuellerDatensatz, int k) {
        samplesAnlegen(satz.SatzZeit, satz.SatzAnzahl, satz.SatzCpuFehler, aktuellerDatensatz, k);
    }
    // Dispatcher, after the display: the store now ends with the record's k samples.
    void samplesAbschliessen(int k) { AnzahlSamples += k - 1; }

    // LED rendering while a file is loaded: level of column `spalte` for every sample the record
    // being loaded adds (the k of the last samplesAnlegen). Columns outside 0..43 are ignored.
    void SampleKlemmenSetzen(int spalte, std::uint8_t zustand);

    // Reads; 0 for a sample or column outside the allocated arrays.
    std::uint8_t SampleKlemmen(int spalte, int sample) const;
    double SampleZeit(int sample) const;
    std::uint8_t SampleAnzahl(int sample) const;
    std::int32_t SampleDatensatzNr(int sample) const;
    std::uint8_t SampleCpuFehler(int sample) const;

    // Highest sample index the arrays hold, -1 before the first growth.
    int obereGrenze() const { return static_cast<int>(zeit_.size()) - 1; }

    // The window loader: the store emptied, and every allocated sample's record number set
    // (so that no stale number from an earlier window is found).
    void leeren() { AnzahlSamples = 0; }
    void alleDatensatzNrSetzen(std::int32_t nr);

    // The first sample 1 .. SampleKapazitaet - 1 showing record `nr`, or 0 when none does.
    int sampleZuDatensatz(std::int32_t nr) const;

private:
    bool innen(int sample) const { return sample >= 0 && sample <= obereGrenze(); }
    void vergroessern(int obereGrenze);

    std::vector<std::array<std::uint8_t, kKlemmenSpalten>> klemmen_;
    std::vector<double> zeit_;
    std::vector<std::uint8_t> anzahl_;
    std::vector<std::int32_t> datensatzNr_;
    std::vector<std::uint8_t> cpuFehler_;
    int satzSamples_ = 0;  // k of the record being loaded
};

}  // namespace krv::timing
