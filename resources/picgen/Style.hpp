#pragma once
// The look shared by all pictures: colours, line widths and a width estimate for texts.
#include <string_view>

#include "WmfCanvas.hpp"

namespace krv::picgen::style {

inline constexpr Rgb kInk{0x26, 0x2A, 0x2E};          // outlines, wires, texts
inline constexpr Rgb kPaper{0xFF, 0xFF, 0xFF};
inline constexpr Rgb kHousing{0xD5, 0xD9, 0xDD};      // module housing, light grey plastic
inline constexpr Rgb kFace{0xE9, 0xEC, 0xEF};         // the module's front face
inline constexpr Rgb kTerminal{0x9C, 0xA3, 0xAA};     // terminal blocks
inline constexpr Rgb kScrew{0xF2, 0xF3, 0xF4};
inline constexpr Rgb kShadow{0x6B, 0x72, 0x79};       // openings and slots
inline constexpr Rgb kBezel{0x44, 0x48, 0x4D};        // ring around a module LED
inline constexpr Rgb kLens{0xF7, 0xF7, 0xF5};         // unlit LED lens
inline constexpr Rgb kCell{0xDD, 0xE2, 0xE6};         // a terminal cell of the wiring picture
inline constexpr Rgb kBody{0xF6, 0xF7, 0xF8};         // the controller in the wiring picture
inline constexpr Rgb kSupply{0xB0, 0x3A, 0x2E};       // +24 V bus bar
inline constexpr Rgb kGround{0x2E, 0x5C, 0xB0};       // 0 V bus bar

// Accent colour of each module kind, used on name plates and in the wiring picture.
inline constexpr Rgb kOutputAccent{0xD9, 0x7B, 0x1F};
inline constexpr Rgb kCpuAccent{0x2E, 0x6D, 0xB4};
inline constexpr Rgb kExtensionAccent{0x3E, 0x8E, 0x4F};

// Rough advance width of a text in units, for a sans-serif face at the given character height.
// Generous on purpose (the widest of the usual fallback faces), so fitted texts never overflow.
inline int textWidth(std::string_view text, int height, bool bold) {
    double em = 0.0;
    for (char c : text) {
        if (std::string_view("iIl.,:;'|! ").find(c) != std::string_view::npos) em += 0.32;
        else if (std::string_view("fjrt-/()").find(c) != std::string_view::npos) em += 0.42;
        else if (std::string_view("mwMW").find(c) != std::string_view::npos) em += 0.99;
        else if (c >= 'A' && c <= 'Z') em += 0.74;
        else if (c >= '0' && c <= '9') em += 0.64;
        else em += 0.63;
    }
    return static_cast<int>(em * height * (bold ? 1.1 : 1.0) + 0.5);
}

// The largest character height up to `maxHeight`, in steps of 5, at which the text fits into `width`.
inline int fittingHeight(std::string_view text, int width, int maxHeight, bool bold) {
    int height = maxHeight;
    while (height > 40 && textWidth(text, height, bold) > width) height -= 5;
    return height;
}

}  // namespace krv::picgen::style
