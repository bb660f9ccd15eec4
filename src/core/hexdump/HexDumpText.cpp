#include "core/hexdump/HexDumpText.hpp"

namespace krv::hexdump {

std::string hexText(unsigned value) {
    static constexpr char kZiffern[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kZiffern[value % 16]);
        value /= 16;
    } while (value != 0);
    return text;
}

std::string zellenText(std::uint8_t byte, int hexAnzeige) {
    return hexAnzeige == 1 ? hexText(byte) : std::to_string(byte);
}

std::string zellenInhaltText(int adresse, std::uint8_t byte) {
    std::string bits(8, '0');
    for (int n = 0; n < 8; ++n) {
        if (byte & (0x80 >> n)) bits[static_cast<std::size_t>(n)] = '1';
    }
    return "Adr.: " + hexText(static_cast<unsigned>(adresse)) + "  ASC: " + std::to_string(byte) +
           "  Hex: " + hexText(byte) + "  Bin: " + bits;
}

}  // namespace krv::hexdump
