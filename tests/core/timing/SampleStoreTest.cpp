// The sample store: its growth rule, and what loading protocol file records through the
// dispatcher and the terminal LED rendering leaves in it.
#include <gtest/gtest.h>

#include "TimingTestRig.hpp"

namespace krv::timing::test {
namespace {

TEST(SampleStoreGrowth, GrowsByTheNewSamplesPlusHundredAndKeepsTheContents) {
    SampleStore store;
    store.samplesAnlegen(1.5, 4, 0, 0, 4);
    EXPECT_EQ(store.AnzahlSamples, 1);      // counted before the display
    EXPECT_EQ(store.SampleKapazitaet, 104);  // 0 + 4 + 100
    EXPECT_EQ(store.obereGrenze(), 108);     // capacity + k
    store.samplesAbschliessen(4);
    EXPECT_EQ(store.AnzahlSamples, 4);

    for (int satz = 1; satz < 25; ++satz) {
        store.samplesAnlegen(2.0 + satz, 4, 0, satz, 4);
        store.samplesAbschliessen(4);
    }
    ASSERT_EQ(store.AnzahlSamples, 100);
    EXPECT_EQ(store.SampleKapazitaet, 104);  // 101 + 4 - 1 still fitted

    store.samplesAnlegen(99.0, 4, 0, 25, 4);  // 101 + 4 > 104
    store.samplesAbschliessen(4);
    EXPECT_EQ(store.SampleKapazitaet, 208);
    EXPECT_EQ(store.obereGrenze(), 212);
    EXPECT_EQ(store.AnzahlSamples, 104);
    EXPECT_DOUBLE_EQ(store.SampleZeit(1), 1.5);
    EXPECT_DOUBLE_EQ(store.SampleZeit(4), 1.5);
    EXPECT_DOUBLE_EQ(store.SampleZeit(5), 3.0);
    EXPECT_DOUBLE_EQ(store.SampleZeit(104), 99.0);
    EXPECT_EQ(store.SampleDatensatzNr(100), 24);
}

TEST(SampleStoreGrowth, ReadsOutsideTheArraysGiveZeroAndBadColumnsAreIgnored) {
    SampleStore store;
    EXPECT_EQ(store.obereGrenze(), -1);
    EXPECT_EQ(store.SampleKlemmen(1, 1), 0);
    store.samplesAnlegen(1.0, 2, 0, 7, 2);
    store.SampleKlemmenSetzen(44, 2);
    store.SampleKlemmenSetzen(-1, 2);
    store.SampleKlemmenSetzen(43, 2);
    EXPECT_EQ(store.SampleKlemmen(43, 1), 2);
    EXPECT_EQ(store.SampleKlemmen(44, 1), 0);
    EXPECT_EQ(store.SampleDatensatzNr(500), 0);
}

TEST(SampleStoreSearch, FindsTheFirstSampleOfARecordWithinTheCapacity) {
    SampleStore store;
    store.samplesAnlegen(0.0, 1, 0, 10, 1);
    store.samplesAbschliessen(1);
    store.samplesAnlegen(0.0, 3, 0, 11, 3);
    store.samplesAbschliessen(3);
    EXPECT_EQ(store.sampleZuDatensatz(10), 1);
    EXPECT_EQ(store.sampleZuDatensatz(11), 2);
    EXPECT_EQ(store.sampleZuDatensatz(12), 0);

    // The window loader marks every allocated sample, so stale numbers are never found.
    store.leeren();
    store.alleDatensatzNrSetzen(99);
    EXPECT_EQ(store.AnzahlSamples, 0);
    EXPECT_EQ(store.sampleZuDatensatz(11), 0);
    EXPECT_EQ(store.sampleZuDatensatz(99), 1);
    EXPECT_EQ(store.SampleDatensatzNr(store.obereGrenze()), 99);
}

// Loading records as the playback does: SimulationsStatus 1, record number set before each.
class SampleLoading : public ::testing::Test {
protected:
    TimingRig rig;

    void SetUp() override {
        rig.laden();
        rig.state.einstellungen.KanalTab[0] = 1;
        rig.state.playback.SimulationsStatus = 1;
    }
    void lade(std::int32_t nr, const Bytes& satz) {
        rig.state.playback.AktuellerDatensatz = nr;
        rig.feed(satz);
    }
};

TEST_F(SampleLoading, ARepeatCountOfSevenAddsFourSamplesAndZeroAddsNone) {
    // Model 9 with the CPU error flag: terminal bit 0 on, bit 3 (byte 2, 0x10) off.
    lade(5, datensatz(0x19, 7, 0x80, 45000.25, 42));
    EXPECT_EQ(rig.samples().AnzahlSamples, 4);
    for (int s = 1; s <= 4; ++s) {
        EXPECT_DOUBLE_EQ(rig.samples().SampleZeit(s), 45000.25) << s;
        EXPECT_EQ(rig.samples().SampleAnzahl(s), 7) << s;  // the record's count, not the samples'
        EXPECT_EQ(rig.samples().SampleDatensatzNr(s), 5) << s;
        EXPECT_EQ(rig.samples().SampleCpuFehler(s), 42) << s;
        EXPECT_EQ(rig.samples().SampleKlemmen(1, s), 2) << s;  // column = bit + 1: green
        EXPECT_EQ(rig.samples().SampleKlemmen(4, s), 0) << s;  // red
    }

    lade(6, datensatz(0x09, 0, 0x00, 45001.0));
    EXPECT_EQ(rig.samples().AnzahlSamples, 4);
    EXPECT_EQ(rig.samples().SampleDatensatzNr(5), 0);

    lade(7, datensatz(0x09, 2, 0x10, 45002.0, 42));  // no CPU error flag: error number 0
    EXPECT_EQ(rig.samples().AnzahlSamples, 6);
    EXPECT_EQ(rig.samples().SampleKlemmen(1, 5), 0);
    EXPECT_EQ(rig.samples().SampleKlemmen(4, 6), 2);
    EXPECT_EQ(rig.samples().SampleCpuFehler(6), 0);
    EXPECT_EQ(rig.samples().SampleDatensatzNr(6), 7);
    EXPECT_EQ(rig.samples().SampleKlemmen(1, 4), 2);  // the earlier samples are untouched
}

TEST_F(SampleLoading, LoadingDrawsNoTraceAndLiveTelegramsStoreNothing) {
    lade(0, datensatz(0x09, 3, 0x80));
    EXPECT_EQ(rig.spur(0).bild(), RasterSpur(40, 16).bild());
    EXPECT_EQ(rig.timing.SpurX[0], 0);

    // After loading, telegrams add no samples.
    rig.state.playback.SimulationsStatus = 2;
    rig.feed(datensatz(0x09, 3, 0x00));
    rig.state.playback.SimulationsStatus = 0;
    rig.state.PortOffen = true;
    rig.feed(live(0x09, 0x00));
    EXPECT_EQ(rig.samples().AnzahlSamples, 3);
    EXPECT_EQ(rig.samples().SampleKlemmen(1, 3), 2);
}

}  // namespace
}  // namespace krv::timing::test
