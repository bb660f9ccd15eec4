#pragma once
// Text in metafile records is 8-bit, in the code page of the selected font's character set.
#include <cstdint>
#include <span>
#include <string>

namespace krv::wmf {

// Converts record text to UTF-16. Character sets without a table here (the double-byte East
// Asian ones, symbol fonts) are read as Windows Western.
std::u16string decodeText(std::span<const std::uint8_t> text, std::uint8_t charSet);

}  // namespace krv::wmf
