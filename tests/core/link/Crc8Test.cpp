#include "core/link/Crc8.hpp"

#include <gtest/gtest.h>

#include <string>

namespace krv::link {
namespace {

TEST(Crc8, TableHoldsTheRemaindersOfPolynomial9B) {
    EXPECT_EQ(CRC8TAB[0], 0x00);
    EXPECT_EQ(CRC8TAB[1], 0x9B);
    EXPECT_EQ(CRC8TAB[2], 0xAD);
    EXPECT_EQ(CRC8TAB[3], 0x36);
    EXPECT_EQ(CRC8TAB[4], 0xC1);
    EXPECT_EQ(CRC8TAB[128], 0x0B);
    EXPECT_EQ(CRC8TAB[255], 0x7B);
}

TEST(Crc8, StepIndexesWithTheOldAccumulatorAndXorsTheByteAfterwards) {
    EXPECT_EQ(crc8(asBytes("abc")), 0xC3);
    // The common step table(crc ^ byte) gives a different result for the same bytes.
    std::uint8_t common = 0;
    for (char c : std::string("abc")) common = CRC8TAB[common ^ static_cast<std::uint8_t>(c)];
    EXPECT_NE(common, 0xC3);
}

TEST(Crc8, ShortTelegramWithZeroPayload) {
    std::string telegram = "L1" + std::string(16, '\0');
    EXPECT_EQ(crc8(asBytes(telegram)), 0x42);
}

}  // namespace
}  // namespace krv::link
