#pragma once
// Where the LEDs sit on the device picture and what the module LEDs show. Places are design
// values in twips inside the picture container; the window reads them to place its shapes.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/state/Control.hpp"
#include "core/state/FormLayout.hpp"
#include "core/state/MainFormState.hpp"

namespace krv::device {

struct LedPlatz {
    int left;
    int top;
    int width;
    int height;
    bool rund;  // circle inside the box; otherwise a rectangle
};

// The four picture areas.
inline constexpr app::TwipRect kPlatzImage1{150, 110, 870, 3195};      // output module
inline constexpr app::TwipRect kPlatzImage2{990, 110, 870, 3195};      // CPU module
inline constexpr app::TwipRect kPlatzImage3{1830, 110, 870, 3195};     // extension module
inline constexpr app::TwipRect kPlatzImgStrom{150, 3600, 7680, 3270};  // wiring picture

enum class Modul { Output, Cpu, Erweiterung };

// One module LED: its shape, place, the status bit it shows and its two colours.
struct ModulLed {
    std::string_view name;  // the shape's name without "shp"
    app::Control app::MainFormState::*shape;
    Modul modul;
    LedPlatz platz;
    int statusByte;      // 0 (CPU, high nibble) or 1 (output low nibble, extension high nibble)
    std::uint8_t maske;
    app::Colour farbeGesetzt;
    app::Colour farbeGeloescht;
    int mindestAnzahl;   // present when the module's LED count is at least this; 0 = always
};

inline constexpr int kModulLedGroesse = 180;

namespace detail {
using F = app::MainFormState;
constexpr LedPlatz modulLed(int left, int top) { return {left, top, kModulLedGroesse, kModulLedGroesse, true}; }
}  // namespace detail

// Output module, CPU module, extension module; within a module in drawing order.
inline constexpr std::array<ModulLed, 11> kModulLeds{{
    // name, shape, module, place, status byte, mask, colour set, colour clear, minimum count
    {"OutputFault", &detail::F::shpOutputFault, Modul::Output, detail::modulLed(480, 2175), 1, 0x01,
     app::kRot, app::kWeiss, 0},
    {"OutputLocked", &detail::F::shpOutputLocked, Modul::Output, detail::modulLed(450, 1815), 1, 0x02,
     app::kGelb, app::kWeiss, 0},
    {"OutputState", &detail::F::shpOutputState, Modul::Output, detail::modulLed(450, 1440), 1, 0x04,
     app::kGruen, app::kRot, 0},
    {"OutputWarn", &detail::F::shpOutputWarn, Modul::Output, detail::modulLed(450, 1095), 1, 0x08,
     app::kRot, app::kWeiss, 4},
    {"CpuFault", &detail::F::shpCpuFault, Modul::Cpu, detail::modulLed(1290, 2175), 0, 0x10,
     app::kRot, app::kWeiss, 0},
    {"CpuS1S2", &detail::F::shpCpuS1S2, Modul::Cpu, detail::modulLed(1290, 1815), 0, 0x20,
     app::kGruen, app::kWeiss, 0},
    {"CpuS3S4", &detail::F::shpCpuS3S4, Modul::Cpu, detail::modulLed(1290, 1455), 0, 0x40,
     app::kGruen, app::kWeiss, 3},
    {"ErwFault", &detail::F::shpErwFault, Modul::Erweiterung, detail::modulLed(2130, 2175), 1, 0x10,
     app::kRot, app::kWeiss, 1},
    {"ErwIndicat", &detail::F::shpErwIndicat, Modul::Erweiterung, detail::modulLed(2130, 1815), 1, 0x20,
     app::kRot, app::kWeiss, 1},
    {"ErwSwitch2", &detail::F::shpErwSwitch2, Modul::Erweiterung, detail::modulLed(2130, 1455), 1, 0x40,
     app::kGruen, app::kWeiss, 3},
    {"ErwSwitch1", &detail::F::shpErwSwitch1, Modul::Erweiterung, detail::modulLed(2130, 1095), 1, 0x80,
     app::kGruen, app::kWeiss, 3},
}};

inline constexpr int kKlemmenLedBreite = 330;
inline constexpr int kKlemmenLedHoehe = 150;
// Terminal LED 23 is never coloured by a terminal bit: the receive path toggles it per telegram.
inline constexpr int kAktivitaetsLed = 23;

namespace detail {
constexpr LedPlatz klemme(int left, int top, bool rund = false) {
    return {left, top, kKlemmenLedBreite, kKlemmenLedHoehe, rund};
}
}  // namespace detail

// shpLed(0..43): 0..21 just above the wiring picture, 22..43 along its lower edge.
inline constexpr std::array<LedPlatz, 44> kKlemmenLeds{{
    detail::klemme(330, 3420),  detail::klemme(660, 3420),  detail::klemme(960, 3420),  detail::klemme(1290, 3420),
    detail::klemme(1665, 3420), detail::klemme(1950, 3420), detail::klemme(2280, 3420), detail::klemme(2610, 3420),
    detail::klemme(2940, 3420), detail::klemme(3270, 3420), detail::klemme(3600, 3420), detail::klemme(3930, 3420),
    detail::klemme(4200, 3420), detail::klemme(4530, 3420), detail::klemme(4860, 3420), detail::klemme(5190, 3420),
    detail::klemme(5520, 3420), detail::klemme(5760, 3420), detail::klemme(6090, 3420), detail::klemme(6420, 3420),
    detail::klemme(6750, 3420), detail::klemme(7080, 3420),
    detail::klemme(330, 6840),  detail::klemme(600, 6840, true), detail::klemme(900, 6840),  detail::klemme(1230, 6840),
    detail::klemme(1560, 6840), detail::klemme(1920, 6840), detail::klemme(2220, 6840), detail::klemme(2550, 6840),
    detail::klemme(2880, 6840), detail::klemme(3210, 6840), detail::klemme(3570, 6840), detail::klemme(3900, 6840),
    detail::klemme(4200, 6840), detail::klemme(4500, 6840), detail::klemme(4800, 6840), detail::klemme(5130, 6840),
    detail::klemme(5430, 6840), detail::klemme(5730, 6840), detail::klemme(6090, 6870), detail::klemme(6420, 6960),
    detail::klemme(6840, 6870), detail::klemme(7440, 6900),
}};

}  // namespace krv::device
