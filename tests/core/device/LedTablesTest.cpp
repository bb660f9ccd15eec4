#include "core/device/LedTables.hpp"

#include <gtest/gtest.h>

#include <set>

#include "core/ports/ScriptedDialogs.hpp"

namespace krv::device {
namespace {

constexpr int N = kKeineLed;

int led(int modell, int bit) { return ledTabellen()[static_cast<std::size_t>(modell)][static_cast<std::size_t>(bit)]; }

// Whole tables of five models, typed per model from the device documentation (which lists
// them per bit), so a slip in either direction shows up.
TEST(LedTabellen, WholeTablesOfFiveModels) {
    const std::pair<int, LedTabelle> erwartet[] = {
        {0, {32, N, N, 0, N, 29, 28, N, 22, 31, N, N, 6, 7, 1, N, N, N, N, N, N, 3, 4, 2,
             N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N}},
        {3, {N, N, 34, 0, 32, 30, 29, 33, 22, N, N, N, 7, 8, 1, 5, 6, 25, N, N, N, 3, 4, 2,
             N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N}},
        {7, {N, N, 36, 0, 34, 32, 31, 35, 22, N, N, N, 9, 10, 1, 5, 6, 25, 26, 7, 8, 3, 4, 2,
             N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N}},
        {10, {N, N, N, 0, 36, 34, 33, 37, 22, N, N, N, 11, 12, 1, N, N, N, 25, 6, 7, 3, 4, 2,
              N, N, N, 30, 31, 28, 8, 9, 26, N, N, N, N, N, N, N}},
        {13, {42, N, 43, 0, 37, 39, 38, N, 22, 41, N, 40, 15, 16, 1, 5, 6, 25, 26, 13, 14, 3, 4, 2,
              7, 8, 27, 34, 35, 32, 11, 12, 29, 9, 10, 28, N, N, N, N}},
    };
    for (const auto& [modell, tabelle] : erwartet) {
        for (int bit = 0; bit <= MAX_BIT; ++bit) {
            EXPECT_EQ(led(modell, bit), tabelle[static_cast<std::size_t>(bit)]) << "model " << modell << " bit " << bit;
        }
    }
}

TEST(LedTabellen, SingleCellsOfTheOtherModels) {
    struct Zelle {
        int modell, bit, led;
    };
    const Zelle zellen[] = {
        {1, 0, 34},  {1, 2, 35},  {1, 4, 29},  {1, 5, 31},  {1, 6, 30},  {1, 9, 33},  {1, 11, 32}, {1, 12, 7},
        {1, 17, 25}, {1, 18, N},  {2, 0, N},   {2, 4, 31},  {2, 7, 32},  {2, 9, N},   {2, 12, 6},  {2, 19, N},
        {4, 0, 33},  {4, 5, 30},  {4, 6, 29},  {4, 9, 32},  {4, 18, 25}, {4, 19, 5},  {4, 20, 6},  {4, 15, N},
        {5, 0, 36},  {5, 2, 37},  {5, 4, 31},  {5, 5, 33},  {5, 11, 34}, {5, 12, 9},  {5, 13, 10}, {5, 19, 7},
        {6, 4, 32},  {6, 7, 33},  {6, 13, 8},  {6, 20, 6},  {8, 0, 37},  {8, 5, 34},  {8, 9, 36},  {8, 19, 6},
        {8, 27, 30}, {8, 29, 28}, {8, 30, 8},  {8, 31, 9},  {8, 32, 26}, {8, 33, N},  {9, 0, 42},  {9, 2, 43},
        {9, 11, 40}, {9, 19, 11}, {9, 24, 7},  {9, 26, 27}, {9, 30, 13}, {9, 35, 28}, {11, 2, 42}, {11, 4, 40},
        {11, 5, 38}, {11, 7, 41}, {11, 9, N},  {11, 28, 35}, {12, 0, 37}, {12, 19, 9}, {12, 20, 10}, {12, 30, 6},
        {12, 31, 7}, {14, 7, 37}, {14, 19, 9},  {14, 30, 6}, {15, 0, N},  {15, 2, 42}, {15, 7, 41}, {15, 19, 13},
        {15, 20, 14}, {15, 30, 11}, {15, 31, 12}, {15, 33, 9}, {15, 34, 10},
    };
    for (const Zelle& z : zellen) EXPECT_EQ(led(z.modell, z.bit), z.led) << "model " << z.modell << " bit " << z.bit;
}

TEST(LedTabellen, FamilyInvariants) {
    const std::pair<int, int> gemeinsam[] = {{3, 0}, {8, 22}, {14, 1}, {21, 3}, {22, 4}, {23, 2}};
    for (int m = 0; m < 16; ++m) {
        std::set<int> benutzt;
        for (int bit = 0; bit <= MAX_BIT; ++bit) {
            const int l = led(m, bit);
            EXPECT_TRUE(l <= Max_LED || l == kKeineLed) << "model " << m << " bit " << bit;
            EXPECT_NE(l, 23) << "LED 23 is the activity indicator, model " << m;
            if (l != kKeineLed) {
                EXPECT_TRUE(benutzt.insert(l).second) << "LED " << l << " twice in model " << m;
            }
        }
        for (int bit : {1, 10, 36, 37, 38, 39}) EXPECT_EQ(led(m, bit), N) << "model " << m << " bit " << bit;
        for (const auto& [bit, l] : gemeinsam) EXPECT_EQ(led(m, bit), l) << "model " << m << " bit " << bit;
    }
}

// Bits in which two tables differ.
std::set<int> unterschiede(int a, int b) {
    std::set<int> bits;
    for (int bit = 0; bit <= MAX_BIT; ++bit) {
        if (led(a, bit) != led(b, bit)) bits.insert(bit);
    }
    return bits;
}

TEST(LedTabellen, VariantsDifferOnlyInTheirOwnBits) {
    for (int r : {0, 4, 8, 12}) EXPECT_EQ(unterschiede(r, r + 2), (std::set<int>{0, 4, 7, 9})) << "R/T " << r;
    for (int rx : {1, 5, 9, 13}) {
        EXPECT_EQ(unterschiede(rx, rx + 2), (std::set<int>{0, 2, 4, 5, 6, 7, 9, 11})) << "Rx/Tx " << rx;
    }
    for (int c : {8, 9, 10, 11}) EXPECT_EQ(unterschiede(c, c + 4), (std::set<int>{19, 20, 30, 31})) << "c/cb " << c;
}

TEST(KonvertBitToLed, UsesTheActiveModel) {
    ports::ScriptedDialogs dialogs;
    EXPECT_EQ(KonvertBitToLed(0, 0, dialogs), 32);
    EXPECT_EQ(KonvertBitToLed(0, 2, dialogs), 255);
    EXPECT_EQ(KonvertBitToLed(7, 0, dialogs), 255);
    EXPECT_EQ(KonvertBitToLed(7, 2, dialogs), 32);
    EXPECT_EQ(KonvertBitToLed(19, 8, dialogs), 6);
    EXPECT_EQ(KonvertBitToLed(19, 12, dialogs), 9);
    for (int m = 0; m < 16; ++m) {
        const bool mitBit35 = m == 9 || m == 11 || m == 13 || m == 15;
        EXPECT_EQ(KonvertBitToLed(35, m, dialogs), mitBit35 ? 28 : 255) << "model " << m;
        EXPECT_EQ(KonvertBitToLed(39, m, dialogs), 255) << "model " << m;
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(KonvertBitToLed, LimitsGiveZero) {
    ports::ScriptedDialogs dialogs;
    EXPECT_EQ(KonvertBitToLed(40, 0, dialogs), 0);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Error in Programmteil  - KonvertBitToLed -  MAX_BIT überschritten");
    EXPECT_EQ(dialogs.boxes[0].title, "");
    EXPECT_EQ(dialogs.boxes[0].buttons, ports::MsgButtons::Ok);

    // Outside the model range there is no table: 0, and no message.
    EXPECT_EQ(KonvertBitToLed(0, 16, dialogs), 0);
    EXPECT_EQ(KonvertBitToLed(0, -1, dialogs), 0);
    EXPECT_EQ(KonvertBitToLed(-1, 0, dialogs), 0);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

}  // namespace
}  // namespace krv::device
