#include "core/diag/CpuFehlerTextKodierung.hpp"

#include <array>
#include <cstdint>

namespace krv::diag {
namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; 0 marks an undefined byte.
constexpr std::array<char32_t, 32> kCp1252Hoch = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       //
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void anhaengen(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {  // everything Windows-1252 maps to lies in the basic plane
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

bool istUtf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t folge = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if ((b & 0xE0) == 0xC0) {
            folge = 1, cp = b & 0x1F, minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            folge = 2, cp = b & 0x0F, minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            folge = 3, cp = b & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (n - i <= folge) return false;
        for (std::size_t k = 1; k <= folge; ++k) {
            const auto f = static_cast<std::uint8_t>(bytes[i + k]);
            if ((f & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (f & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += folge + 1;
    }
    return true;
}

std::string cp1252NachUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        char32_t cp = b;
        if (b >= 0x80 && b <= 0x9F) {
            cp = kCp1252Hoch[b - 0x80];
            if (cp == 0) cp = 0xFFFD;
        }
        anhaengen(out, cp);
    }
    return out;
}

}  // namespace krv::diag
