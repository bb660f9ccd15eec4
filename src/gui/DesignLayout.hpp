#pragma once
// Design places of the main window's elements inside the picture container, in twips.
#include <array>
#include <optional>

#include "core/state/Control.hpp"
#include "core/state/FormLayout.hpp"

namespace krv::gui::design {

using app::TwipRect;

// The four picture areas.
inline constexpr TwipRect Image1{150, 110, 870, 3195};    // output module
inline constexpr TwipRect Image2{990, 110, 870, 3195};    // CPU module
inline constexpr TwipRect Image3{1830, 110, 870, 3195};   // extension module
inline constexpr TwipRect imgStrom{150, 3600, 7680, 3270};  // wiring picture

// The three views beside the module pictures.
inline constexpr TwipRect List1{3240, 120, 1335, 3180};
inline constexpr TwipRect fraStatus{2880, 120, 5150, 3030};
inline constexpr TwipRect fraTimingDiagram = fraStatus;
inline constexpr app::Colour kStatusHintergrund = 0xC0FFC0;  // light green

// Buttons of the timing diagram frame, along its lower edge (relative to the frame); the
// playback stop button takes the start button's place, they are never shown together.
inline constexpr int kKnopfBreite = 1500;
inline constexpr int kKnopfHoehe = 330;
inline constexpr int kKnopfAbstand = 60;

// Module LEDs: circles of 180 x 180 twips; left and top of each.
inline constexpr int kModulLedGroesse = 180;
struct Platz {
    int left;
    int top;
};
inline constexpr Platz shpOutputFault{480, 2175};
inline constexpr Platz shpOutputLocked{450, 1815};
inline constexpr Platz shpOutputState{450, 1440};
inline constexpr Platz shpOutputWarn{450, 1095};
inline constexpr Platz shpCpuFault{1290, 2175};
inline constexpr Platz shpCpuS1S2{1290, 1815};
inline constexpr Platz shpCpuS3S4{1290, 1455};
inline constexpr Platz shpErwFault{2130, 2175};
inline constexpr Platz shpErwIndicat{2130, 1815};
inline constexpr Platz shpErwSwitch2{2130, 1455};
inline constexpr Platz shpErwSwitch1{2130, 1095};

// Terminal LEDs: rectangles of 330 x 150 twips, LED 23 (the activity indicator) a circle.
inline constexpr int kKlemmenLedBreite = 330;
inline constexpr int kKlemmenLedHoehe = 150;
inline constexpr int kAktivitaetsLed = 23;
extern const std::array<Platz, 44> shpLed;

// Places of one label pair of the status window: caption label and value label.
struct StatusZeile {
    TwipRect text;
    TwipRect wert;
};
// Label pair index 0..29; nothing for 11, which does not exist.
std::optional<StatusZeile> statusZeile(int index);

}  // namespace krv::gui::design
