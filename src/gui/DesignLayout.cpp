#include "gui/DesignLayout.hpp"

namespace krv::gui::design {

const std::array<Platz, 44> shpLed{{
    {330, 3420},  {660, 3420},  {960, 3420},  {1290, 3420}, {1665, 3420}, {1950, 3420}, {2280, 3420},
    {2610, 3420}, {2940, 3420}, {3270, 3420}, {3600, 3420}, {3930, 3420}, {4200, 3420}, {4530, 3420},
    {4860, 3420}, {5190, 3420}, {5520, 3420}, {5760, 3420}, {6090, 3420}, {6420, 3420}, {6750, 3420},
    {7080, 3420},  // 0..21 above the wiring picture
    {330, 6840},  {600, 6840},  {900, 6840},  {1230, 6840}, {1560, 6840}, {1920, 6840}, {2220, 6840},
    {2550, 6840}, {2880, 6840}, {3210, 6840}, {3570, 6840}, {3900, 6840}, {4200, 6840}, {4500, 6840},
    {4800, 6840}, {5130, 6840}, {5430, 6840}, {5730, 6840}, {6090, 6870}, {6420, 6960}, {6840, 6870},
    {7440, 6900},  // 22..43 along its lower edge
}};

std::optional<StatusZeile> statusZeile(int index) {
    constexpr int kHoehe = 255;
    struct Spalte {
        int zeile;
        int textLeft, textWidth, wertLeft, wertWidth;
    };
    Spalte s{};
    if (index >= 0 && index <= 3) {
        s = {index, 120, 1800, 1920, 700};
    } else if (index >= 4 && index <= 10) {
        s = {index, 120, 500, 620, 700};
    } else if (index >= 12 && index <= 18) {
        s = {index - 8, 1420, 500, 1920, 700};
    } else if (index >= 19 && index <= 29) {
        s = {index - 19, 2720, 1500, 4220, 850};
    } else {
        return std::nullopt;
    }
    const int top = 240 + 240 * s.zeile;
    return StatusZeile{{s.textLeft, top, s.textWidth, kHoehe}, {s.wertLeft, top, s.wertWidth, kHoehe}};
}

}  // namespace krv::gui::design
