#include "core/link/TelegramBuilder.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/link/Crc8.hpp"

namespace krv::link {
namespace {

TEST(TelegramBuilder, ShortTelegramCarriesTheStatusBlockAndItsCrc) {
    // The known check value: "L1" with sixteen zero bytes gives 0x42.
    const Bytes zero = kurzTelegramm(StatusBlock{});
    ASSERT_EQ(zero.size(), 19u);
    EXPECT_EQ(zero[0], 'L');
    EXPECT_EQ(zero[1], '1');
    EXPECT_EQ(zero[18], 0x42);

    StatusBlock status{};
    for (std::size_t i = 0; i < status.size(); ++i) status[i] = static_cast<std::uint8_t>(0xA0 + i);
    const Bytes t = kurzTelegramm(status);
    EXPECT_EQ(Bytes(t.begin() + 2, t.end() - 1), Bytes(status.begin(), status.end()));
    EXPECT_EQ(t.back(), crc8(ByteView(t).first(18)));
}

TEST(TelegramBuilder, LongPayloadPlacesStatusBlockAndRelayCycles) {
    StatusBlock status{};
    status[0] = 0x0D;
    status[15] = 0x77;
    const Bytes fill(256, 0x11);
    const Bytes p = langeNutzdaten(status, 123456, fill);  // 0x01E240
    ASSERT_EQ(p.size(), 256u);
    EXPECT_EQ(p[116], 0x40);
    EXPECT_EQ(p[117], 0xE2);
    EXPECT_EQ(p[118], 0x01);
    EXPECT_EQ(p[224], 0x0D);
    EXPECT_EQ(p[239], 0x77);
    EXPECT_EQ(p[115], 0x11);
    EXPECT_EQ(p[223], 0x11);
    EXPECT_EQ(p[255], 0x11);

    const Bytes t = langTelegramm(p);
    ASSERT_EQ(t.size(), 259u);
    EXPECT_EQ(t[1], '2');
    EXPECT_EQ(t[258], crc8(ByteView(t).first(258)));
}

TEST(TelegramBuilder, PayloadMustFitTheKind) {
    EXPECT_THROW(telegramm('1', Bytes(256, 0)), std::invalid_argument);
    EXPECT_THROW(telegramm('2', Bytes(16, 0)), std::invalid_argument);
    EXPECT_THROW(telegramm('5', Bytes(16, 0)), std::invalid_argument);
    EXPECT_EQ(telegramm('3', Bytes(16, 0)).size(), 19u);
}

}  // namespace
}  // namespace krv::link
