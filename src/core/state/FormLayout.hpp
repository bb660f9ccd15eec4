#pragma once
// The main window's resize layout: the three status bar panels along the bottom edge (the
// middle one stretches) and the picture container above them. Everything is in twips.
namespace krv::app {

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipRect&) const = default;
};

struct TwipSize {
    int width = 0;
    int height = 0;
};

// Design sizes of the status bar panels. SSPanel2's width is never used: it fills the rest.
inline constexpr TwipSize kSSPanel1Design{1000, 345};
inline constexpr TwipSize kSSPanel2Design{6000, 345};
inline constexpr TwipSize kSSPanel3Design{1200, 345};

// The client area the window opens with: wide enough for the status window beside the module
// pictures and for the colour legend in the status bar, high enough for the wiring picture and
// its lower terminal LEDs plus the status bar.
inline constexpr TwipSize kFormClientDesign{9300, 7620};

struct FormLayout {
    TwipRect SSPanel1;
    TwipRect SSPanel2;
    TwipRect SSPanel3;
    TwipRect picContainer;
};

// A computed length as the window's integer properties take it: rounded to whole twips (halves
// to the even neighbour, as the integer conversion rounds) and never negative. Values above
// the 16-bit range are kept: a maximised window on a wide screen is more than 32767 twips wide.
int ganzeTwips(double value);

// Form_Resize for a client area of scaleWidth x scaleHeight twips; the panels keep their design
// widths (except SSPanel2) and their heights.
FormLayout Form_Resize(double scaleWidth, double scaleHeight, TwipSize panel1 = kSSPanel1Design,
                       TwipSize panel2 = kSSPanel2Design, TwipSize panel3 = kSSPanel3Design);

}  // namespace krv::app
