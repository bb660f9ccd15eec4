#include "core/device/LedTables.hpp"

#include "core/ports/Dialogs.hpp"

namespace krv::device {
namespace {

constexpr std::uint8_t _ = kKeineLed;

// One row per terminal bit, one column per model index 0..15 (a/R, ax/Rx, a/T, ax/Tx, b/R,
// bx/Rx, b/T, bx/Tx, c/R, cx/Rx, c/T, cx/Tx, cb/R, cbx/Rx, cb/T, cbx/Tx). Written this way round
// because the device documentation lists the LEDs per bit, so a row can be checked at a glance.
constexpr std::uint8_t kNachBit[MAX_BIT + 1][16] = {
    { 32, 34,  _,  _, 33, 36,  _,  _, 37, 42,  _,  _, 37, 42,  _,  _},  //  0: byte 2 mask 0x80
    {  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _},  //  1: byte 2 mask 0x40
    {  _, 35,  _, 34,  _, 37,  _, 36,  _, 43,  _, 42,  _, 43,  _, 42},  //  2: byte 2 mask 0x20
    {  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0},  //  3: byte 2 mask 0x10
    {  _, 29, 31, 32,  _, 31, 32, 34,  _, 37, 36, 40,  _, 37, 36, 40},  //  4: byte 2 mask 0x08
    { 29, 31, 29, 30, 30, 33, 30, 32, 34, 39, 34, 38, 34, 39, 34, 38},  //  5: byte 2 mask 0x04
    { 28, 30, 28, 29, 29, 32, 29, 31, 33, 38, 33, 37, 33, 38, 33, 37},  //  6: byte 2 mask 0x02
    {  _,  _, 32, 33,  _,  _, 33, 35,  _,  _, 37, 41,  _,  _, 37, 41},  //  7: byte 2 mask 0x01
    { 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22},  //  8: byte 3 mask 0x80
    { 31, 33,  _,  _, 32, 35,  _,  _, 36, 41,  _,  _, 36, 41,  _,  _},  //  9: byte 3 mask 0x40
    {  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _},  // 10: byte 3 mask 0x20
    {  _, 32,  _,  _,  _, 34,  _,  _,  _, 40,  _,  _,  _, 40,  _,  _},  // 11: byte 3 mask 0x10
    {  6,  7,  6,  7,  7,  9,  7,  9, 11, 15, 11, 15, 11, 15, 11, 15},  // 12: byte 3 mask 0x08
    {  7,  8,  7,  8,  8, 10,  8, 10, 12, 16, 12, 16, 12, 16, 12, 16},  // 13: byte 3 mask 0x04
    {  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1},  // 14: byte 3 mask 0x02
    {  _,  5,  _,  5,  _,  5,  _,  5,  _,  5,  _,  5,  _,  5,  _,  5},  // 15: byte 3 mask 0x01
    {  _,  6,  _,  6,  _,  6,  _,  6,  _,  6,  _,  6,  _,  6,  _,  6},  // 16: byte 4 mask 0x80
    {  _, 25,  _, 25,  _, 25,  _, 25,  _, 25,  _, 25,  _, 25,  _, 25},  // 17: byte 4 mask 0x40
    {  _,  _,  _,  _, 25, 26, 25, 26, 25, 26, 25, 26, 25, 26, 25, 26},  // 18: byte 4 mask 0x20
    {  _,  _,  _,  _,  5,  7,  5,  7,  6, 11,  6, 11,  9, 13,  9, 13},  // 19: byte 4 mask 0x10
    {  _,  _,  _,  _,  6,  8,  6,  8,  7, 12,  7, 12, 10, 14, 10, 14},  // 20: byte 4 mask 0x08
    {  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3},  // 21: byte 4 mask 0x04
    {  4,  4,  4,  4,  4,  4,  4,  4,  4,  4,  4,  4,  4,  4,  4,  4},  // 22: byte 4 mask 0x02
    {  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2,  2},  // 23: byte 4 mask 0x01
    {  _,  _,  _,  _,  _,  _,  _,  _,  _,  7,  _,  7,  _,  7,  _,  7},  // 24: byte 5 mask 0x80
    {  _,  _,  _,  _,  _,  _,  _,  _,  _,  8,  _,  8,  _,  8,  _,  8},  // 25: byte 5 mask 0x40
    {  _,  _,  _,  _,  _,  _,  _,  _,  _, 27,  _, 27,  _, 27,  _, 27},  // 26: byte 5 mask 0x20
    {  _,  _,  _,  _,  _,  _,  _,  _, 30, 34, 30, 34, 30, 34, 30, 34},  // 27: byte 5 mask 0x10
    {  _,  _,  _,  _,  _,  _,  _,  _, 31, 35, 31, 35, 31, 35, 31, 35},  // 28: byte 5 mask 0x08
    {  _,  _,  _,  _,  _,  _,  _,  _, 28, 32, 28, 32, 28, 32, 28, 32},  // 29: byte 5 mask 0x04
    {  _,  _,  _,  _,  _,  _,  _,  _,  8, 13,  8, 13,  6, 11,  6, 11},  // 30: byte 5 mask 0x02
    {  _,  _,  _,  _,  _,  _,  _,  _,  9, 14,  9, 14,  7, 12,  7, 12},  // 31: byte 5 mask 0x01
    {  _,  _,  _,  _,  _,  _,  _,  _, 26, 29, 26, 29, 26, 29, 26, 29},  // 32: byte 6 mask 0x80
    {  _,  _,  _,  _,  _,  _,  _,  _,  _,  9,  _,  9,  _,  9,  _,  9},  // 33: byte 6 mask 0x40
    {  _,  _,  _,  _,  _,  _,  _,  _,  _, 10,  _, 10,  _, 10,  _, 10},  // 34: byte 6 mask 0x20
    {  _,  _,  _,  _,  _,  _,  _,  _,  _, 28,  _, 28,  _, 28,  _, 28},  // 35: byte 6 mask 0x10
    {  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _},  // 36: byte 6 mask 0x08
    {  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _},  // 37: byte 6 mask 0x04
    {  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _},  // 38: byte 6 mask 0x02
    {  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _,  _},  // 39: byte 6 mask 0x01
};

constexpr LedTabellen proModell() {
    LedTabellen t{};
    for (int modell = 0; modell < 16; ++modell) {
        for (int bit = 0; bit <= MAX_BIT; ++bit) t[modell][bit] = kNachBit[bit][modell];
    }
    return t;
}

constexpr LedTabellen kTabellen = proModell();

}  // namespace

const LedTabellen& ledTabellen() { return kTabellen; }

std::int16_t KonvertBitToLed(std::int16_t iBitNr, int hardwareIndex, ports::Dialogs& dialogs,
                             const LedTabellen& tabellen) {
    if (iBitNr > MAX_BIT) {
        dialogs.messageBox({kMaxBitFehler, {}, ports::MsgIcon::None, ports::MsgButtons::Ok});
        return 0;
    }
    if (iBitNr < 0 || hardwareIndex < 0 || hardwareIndex > 15) return 0;
    return tabellen[static_cast<std::size_t>(hardwareIndex)][static_cast<std::size_t>(iBitNr)];
}

}  // namespace krv::device
