#pragma once
// The texts of the hex dump window: cell contents and the line about the selected cell.
#include <cstdint>
#include <string>

namespace krv::hexdump {

// Upper-case hexadecimal without leading zeros ("0", "4C", "FF").
std::string hexText(unsigned value);

// A data cell: the byte's decimal code (hexAnzeige 0) or its hexadecimal form (1).
std::string zellenText(std::uint8_t byte, int hexAnzeige);

// The selected cell, e.g. "Adr.: 12  ASC: 76  Hex: 4C  Bin: 01001100" for byte 0x4C at 0x12.
std::string zellenInhaltText(int adresse, std::uint8_t byte);

}  // namespace krv::hexdump
