#include <gtest/gtest.h>

#include <cstring>

#include "LinkTestSupport.hpp"

namespace krv::link::test {
namespace {

using Events = std::vector<std::string>;

Bytes header(char type, const Bytes& payload) {
    Bytes h{'L', '0', static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(payload.size())};
    return h + payload;
}

Bytes dataRecord(std::uint8_t status0, std::uint8_t count, double time, std::uint8_t cpuError) {
    Bytes payload(16, 0);
    payload[0] = status0;
    payload[1] = count;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &time, 8);
    for (int i = 0; i < 8; ++i) payload[7 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    payload[15] = cpuError;
    return telegram('3', payload);
}

class DispatcherTest : public ::testing::Test, protected LinkFixture {};

TEST_F(DispatcherTest, BackLogOf5000CharactersIsRecordedWithoutDisplayUntilBelow512) {
    Bytes backlog;
    const int count = 5000 / 19 + 1;  // 264 telegrams, 5016 characters
    for (int i = 0; i < count; ++i) {
        const Bytes t = shortTelegram(static_cast<std::uint8_t>(i));
        backlog.insert(backlog.end(), t.begin(), t.end());
    }
    feed(backlog);

    // Skipped while 512 or more characters waited (the telegram itself included), then one displayed.
    const int skipped = count - 512 / 19;  // 238 with >= 512 left
    ASSERT_EQ(hooks.events.size(), static_cast<std::size_t>(skipped + 1));
    for (int i = 0; i < skipped; ++i) EXPECT_EQ(hooks.events[i], "skip 1") << i;
    EXPECT_EQ(hooks.events.back(), "display 1");
    EXPECT_EQ(hooks.displayed[0][0], static_cast<std::uint8_t>(skipped));
    EXPECT_EQ(path.dispatch().AnzeigeSchwelle, 4096);
    EXPECT_EQ(hooks.recorded, skipped + 1);

    // From now on one telegram per call again.
    feed({});
    EXPECT_EQ(hooks.events.back(), "display 1");
    EXPECT_EQ(hooks.events.size(), static_cast<std::size_t>(skipped + 2));
}

TEST_F(DispatcherTest, ThresholdOf512HoldsAcrossCallsWhileCatchingUp) {
    Bytes backlog;
    for (int i = 0; i < 230; ++i) backlog = backlog + shortTelegram();  // 4370 characters
    feed(backlog);
    // Telegram 1 saw 4370 >= 4096 and lowered the threshold, so the whole queue down to < 512 is skipped.
    EXPECT_EQ(hooks.events.back(), "display 1");
    EXPECT_LT(bufferLength(), 512u);
}

TEST_F(DispatcherTest, LiveTelegramsSetRecordFieldsCountZeroSamplesOne) {
    path.dispatch().SatzAnzahl = 9;
    path.dispatch().SatzSamples = 4;
    path.dispatch().SatzZeit = 123.5;
    feed(shortTelegram());
    EXPECT_EQ(path.dispatch().SatzAnzahl, 0);
    EXPECT_EQ(path.dispatch().SatzSamples, 1);
    EXPECT_EQ(path.dispatch().SatzZeit, 123.5);  // live telegrams carry no time
}

TEST_F(DispatcherTest, DataRecordFieldsComeFromThePayload) {
    feed(dataRecord(0x1D, 7, 46000.25, 0x21));
    EXPECT_EQ(hooks.events, Events{"display 3"});
    EXPECT_EQ(path.dispatch().SatzAnzahl, 7);
    EXPECT_EQ(path.dispatch().SatzSamples, 4);
    EXPECT_DOUBLE_EQ(path.dispatch().SatzZeit, 46000.25);
    EXPECT_EQ(path.dispatch().SatzCpuFehler, 0x21);

    feed(dataRecord(0x0D, 2, 46000.5, 0x21));  // error flag clear: the number does not count
    EXPECT_EQ(path.dispatch().SatzCpuFehler, 0);
    EXPECT_EQ(path.dispatch().SatzSamples, 2);
}

TEST_F(DispatcherTest, SamplesAreStoredOnlyWhileAFileIsLoaded) {
    feed(dataRecord(0, 7, 1.0, 0));
    EXPECT_TRUE(hooks.samplesBegun.empty());

    playback.SimulationsStatus = 1;
    feed(dataRecord(0, 7, 1.0, 0));
    feed(dataRecord(0, 0, 1.0, 0));
    EXPECT_EQ(hooks.samplesBegun, (std::vector<int>{4, 0}));
    EXPECT_EQ(hooks.samplesEnded, (std::vector<int>{4, 0}));
}

TEST_F(DispatcherTest, ActivityIndicatorChangesAtMostOncePerSecondAndNotWhileLoading) {
    clock.setMonotonicMs(86'399'000);  // just before midnight: elapsed time, not time of day
    feed(shortTelegram());
    EXPECT_EQ(hooks.toggles, 1);
    clock.advanceMs(400);
    feed(shortTelegram());
    EXPECT_EQ(hooks.toggles, 1);
    clock.advanceMs(1200);
    feed(shortTelegram());
    EXPECT_EQ(hooks.toggles, 2);

    playback.SimulationsStatus = 1;
    clock.advanceMs(5000);
    feed(shortTelegram());
    EXPECT_EQ(hooks.toggles, 2);
}

TEST_F(DispatcherTest, VersionRecordMovesOnByFiveWhateverItsLength) {
    // M = 3: version from the first byte, the two bytes after are left to the start search.
    feed(header('V', {2, 'L', 'x'}) + shortTelegram(5));
    EXPECT_EQ(playback.LogVersion, 2);
    EXPECT_EQ(hooks.events, (Events{"header V 3", "display 1"}));
}

TEST_F(DispatcherTest, TriggerRecordSetsModeCountAndSettings) {
    feed(header('T', {5, 0x2C, 0x01}) + text("....."));
    EXPECT_EQ(settings.TriggerModus, 5);
    EXPECT_EQ(playback.TriggerSatzNr, 300);
    EXPECT_EQ(profile.GetPrivateProfileInt("Einstellungen", "TimingKanal9", -1), 5);

    feed(header('T', {6, 0x00, 0x80}) + text("....."));  // count above 32767 is not taken
    EXPECT_EQ(settings.TriggerModus, 6);
    EXPECT_EQ(playback.TriggerSatzNr, 300);

    feed(header('T', {7}) + text("....."));  // no count: none
    EXPECT_EQ(playback.TriggerSatzNr, 65535);
    EXPECT_EQ(settings.TriggerModus, 7);
}

TEST_F(DispatcherTest, ChannelRecordTakesNineEntriesAndWritesThem) {
    Bytes channels;
    for (int j = 0; j < 11; ++j) channels.push_back(static_cast<std::uint8_t>(10 + j));
    feed(header('K', channels) + shortTelegram(1));
    for (int j = 0; j < 9; ++j) {
        EXPECT_EQ(settings.KanalTab[j], 10 + j);
        EXPECT_EQ(profile.GetPrivateProfileInt("Einstellungen", "TimingKanal" + std::to_string(j), -1), 10 + j);
    }
    EXPECT_EQ(profile.GetPrivateProfileInt("Einstellungen", "TimingKanal9", -1), -1);
    // The scan continues right behind the record.
    EXPECT_EQ(hooks.events, (Events{"header K 11", "display 1"}));
}

TEST_F(DispatcherTest, IncompleteHeaderRecordWaitsForTheRestOfIt) {
    const Bytes k = header('K', {1, 2, 3, 4, 5, 6, 7, 8, 9});
    feed(Bytes(k.begin(), k.begin() + 8));
    EXPECT_TRUE(hooks.events.empty());
    EXPECT_EQ(path.receive().EmpfangsPos, 1u);
    feed(Bytes(k.begin() + 8, k.end()) + text("...."));
    EXPECT_EQ(hooks.events, Events{"header K 9"});
    EXPECT_EQ(settings.KanalTab[8], 9);
}

TEST_F(DispatcherTest, DateRecordSetsTheRecordTimeOnlyFromANumber) {
    feed(header('D', text("46000.5")) + text("...."));
    EXPECT_DOUBLE_EQ(path.dispatch().SatzZeit, 46000.5);
    feed(header('D', text("soon")) + text("...."));
    EXPECT_DOUBLE_EQ(path.dispatch().SatzZeit, 46000.5);
}

TEST_F(DispatcherTest, UnknownHeaderTypeIsSkippedLikeGarbage) {
    feed(header('Q', {'a', 'b'}) + shortTelegram(8));
    EXPECT_EQ(hooks.events, Events{"display 1"});
    EXPECT_EQ(hooks.displayed[0][0], 8);
}

}  // namespace
}  // namespace krv::link::test
