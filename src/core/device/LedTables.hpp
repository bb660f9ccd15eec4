#pragma once
// Which terminal LED each terminal bit lights, one table per model, and the conversion every
// consumer of terminal bits uses. Terminal bit n is status byte 2 + n / 8 under the mask
// 0x80 >> (n % 8): the most significant bit of each byte comes first.
#include <array>
#include <cstdint>

namespace krv::ports {
class Dialogs;
}

namespace krv::device {

inline constexpr int MAX_BIT = 39;              // highest terminal bit number of a table
inline constexpr int Max_LED = 43;              // highest terminal LED index (shpLed 0..43)
inline constexpr std::uint8_t kKeineLed = 255;  // the bit has no LED in this model

using LedTabelle = std::array<std::uint8_t, MAX_BIT + 1>;
// In model index order: AR_TAB, AXRX_TAB, AT_TAB, AXTX_TAB, BR_TAB, BXRX_TAB, BT_TAB, BXTX_TAB,
// CR_TAB, CXRX_TAB, CT_TAB, CXTX_TAB, CBR_TAB, CBXRX_TAB, CBT_TAB, CBXTX_TAB.
using LedTabellen = std::array<LedTabelle, 16>;

// The sixteen tables of the device family; constant, so nothing initialises them at start-up.
const LedTabellen& ledTabellen();

// The LED index 0..43 that bit iBitNr drives in model hardwareIndex, or 255 for none. A bit
// above MAX_BIT shows the untranslated internal error box and gives 0; so does a model outside
// 0..15 (without a box). Negative bit numbers are no valid input and also give 0.
std::int16_t KonvertBitToLed(std::int16_t iBitNr, int hardwareIndex, ports::Dialogs& dialogs,
                             const LedTabellen& tabellen = ledTabellen());

// The texts of the two internal limit errors (not translated).
inline constexpr const char* kMaxBitFehler = "Error in Programmteil  - KonvertBitToLed -  MAX_BIT überschritten";
inline constexpr const char* kMaxLedFehler = "Error in Programmteil  - KonvertBitToLed -  Max_LED überschritten";

}  // namespace krv::device
