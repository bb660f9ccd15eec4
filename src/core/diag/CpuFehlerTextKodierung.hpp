#pragma once
// Character sets of the error text files. The device maker writes them on Windows, so a file
// may be Windows-1252 rather than UTF-8; the window shows UTF-8.
#include <string>
#include <string_view>

namespace krv::diag {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool istUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes that code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become U+FFFD, so a damaged file shows where it is damaged.
std::string cp1252NachUtf8(std::string_view bytes);

}  // namespace krv::diag
