#pragma once
// Text in metafile records is 8-bit, in the code page of the selected font's character set.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace krv::wmf {

// Text in a symbol font (character set 2, or a face whose name says "symbol") is in the
// symbol font's own encoding, not in a code page.
bool symbolEncoded(std::uint8_t charSet, std::string_view face);

// Converts record text to UTF-16. Symbol-encoded text goes through the standard symbol
// encoding (Greek letters, operators, arrows, bracket pieces), whatever symbol face it names:
// a face without a table of its own is drawn as through the symbol font that stands in for it.
// Character sets without a table here (the double-byte East Asian ones) are read as Windows
// Western.
std::u16string decodeText(std::span<const std::uint8_t> text, std::uint8_t charSet,
                          std::string_view face = {});

}  // namespace krv::wmf
