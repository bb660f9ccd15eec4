#include <gtest/gtest.h>

#include "LinkTestSupport.hpp"

namespace krv::link::test {
namespace {

using Events = std::vector<std::string>;

class TelegramScannerTest : public ::testing::Test, protected LinkFixture {};

TEST_F(TelegramScannerTest, TelegramSplitOverThreeChunksIsAcceptedOnceOnTheLastCall) {
    const Bytes t = shortTelegram(0x0D, 0x5A);
    feed(Bytes(t.begin(), t.begin() + 2));
    feed(Bytes(t.begin() + 2, t.begin() + 12));
    EXPECT_TRUE(hooks.events.empty());
    feed(Bytes(t.begin() + 12, t.end()));
    EXPECT_EQ(hooks.events, Events{"display 1"});
    EXPECT_EQ(hooks.displayed[0], Bytes(t.begin() + 2, t.begin() + 18));
    EXPECT_EQ(bufferLength(), 0u);
}

TEST_F(TelegramScannerTest, LeadingGarbageIsSkipped) {
    feed(text("xy") + shortTelegram(3));
    EXPECT_EQ(hooks.events, Events{"display 1"});
    EXPECT_EQ(hooks.displayed[0][0], 3);
}

TEST_F(TelegramScannerTest, BadCrcIsDroppedWholeAndTheNextTelegramAcceptedInTheSameCall) {
    Bytes bad = shortTelegram(1);
    bad.back() ^= 0xFF;
    // The bad telegram's payload holds an "L1" that must not be taken for a start.
    bad[5] = 'L';
    bad[6] = '1';
    bad.back() = static_cast<std::uint8_t>(crc8(Bytes(bad.begin(), bad.end() - 1)) ^ 0x01);
    feed(bad + shortTelegram(2));
    EXPECT_EQ(hooks.events, (Events{"crc-error", "display 1"}));
    EXPECT_EQ(hooks.displayed[0][0], 2);
}

TEST_F(TelegramScannerTest, OnlyOneTelegramIsDisplayedPerCall) {
    feed(shortTelegram(1) + shortTelegram(2));
    EXPECT_EQ(hooks.events, Events{"display 1"});
    EXPECT_EQ(bufferLength(), 19u);
    feed({});
    EXPECT_EQ(hooks.events, (Events{"display 1", "display 1"}));
    EXPECT_EQ(hooks.displayed[1][0], 2);
    EXPECT_EQ(bufferLength(), 0u);
}

TEST_F(TelegramScannerTest, StartFollowedByAnUnknownKindIsSkippedOneCharacter) {
    // "L5" is no start; the scan goes on with the "5" and then finds the real telegram.
    feed(text("L5") + shortTelegram(7));
    EXPECT_EQ(hooks.events, Events{"display 1"});
    EXPECT_EQ(hooks.displayed[0][0], 7);
}

TEST_F(TelegramScannerTest, FewerThanFiveCharactersWaitWithoutAStep) {
    feed(text("L1ab"));
    EXPECT_EQ(path.receive().EmpfangsPos, 1u);
    EXPECT_EQ(path.receive().EmpfangsZustand, 0);
    EXPECT_EQ(bufferLength(), 4u);
}

TEST_F(TelegramScannerTest, LongTelegramCoversTwoHundredFiftySixPayloadBytes) {
    Bytes payload(256);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7);
    const Bytes t = telegram('2', payload);
    ASSERT_EQ(t.size(), 259u);
    feed(t);
    EXPECT_EQ(hooks.events, Events{"display 2"});
    EXPECT_EQ(hooks.displayed[0], payload);

    Bytes damaged = t;
    damaged[200] ^= 0x10;
    feed(damaged);
    EXPECT_EQ(hooks.events.back(), "crc-error");
}

TEST_F(TelegramScannerTest, BufferIsCutToTheScanPositionAbove1024Characters) {
    const Bytes garbage(3000, 'x');
    feed(garbage);
    EXPECT_LE(bufferLength(), 4u);
    // A pending incomplete telegram survives the cut from its start.
    const Bytes t = shortTelegram(9);
    feed(Bytes(1500, 'y') + Bytes(t.begin(), t.begin() + 10));
    // "L1" was recognised and consumed; the eight payload bytes after it wait in state 1.
    EXPECT_EQ(path.receive().EmpfangsZustand, 1);
    EXPECT_EQ(bufferLength(), 8u);
    feed(Bytes(t.begin() + 10, t.end()));
    EXPECT_EQ(hooks.events, Events{"display 1"});
    EXPECT_EQ(hooks.displayed[0][0], 9);
}

TEST_F(TelegramScannerTest, EveryCallEndsWithTheChunkAsPassedIn) {
    feed(text("abc"));
    feed(shortTelegram() + shortTelegram());
    feed({});
    EXPECT_EQ(hooks.chunkSizes, (std::vector<std::size_t>{3, 38, 0}));
}

TEST_F(TelegramScannerTest, ChunksFarAboveSixteenBitPositionsAreFramedCompletely) {
    Bytes big;
    const int count = 10000;  // 190,000 bytes in one chunk
    for (int i = 0; i < count; ++i) {
        const Bytes t = shortTelegram(static_cast<std::uint8_t>(i & 0x0F));
        big.insert(big.end(), t.begin(), t.end());
    }
    feed(big);
    path.drain();
    int displayed = 0;
    int skipped = 0;
    for (const auto& e : hooks.events) (e == "display 1" ? displayed : skipped)++;
    EXPECT_EQ(displayed + skipped, count);
    EXPECT_EQ(hooks.recorded, count);
    EXPECT_EQ(bufferLength(), 0u);
}

TEST_F(TelegramScannerTest, ResetForgetsAHalfReceivedTelegram) {
    const Bytes t = shortTelegram(4);
    feed(Bytes(t.begin(), t.begin() + 8));
    EXPECT_EQ(path.receive().EmpfangsZustand, 1);
    path.resetReceiveState();
    feed(t);
    EXPECT_EQ(hooks.events, Events{"display 1"});
    EXPECT_EQ(hooks.displayed[0][0], 4);
}

}  // namespace
}  // namespace krv::link::test
