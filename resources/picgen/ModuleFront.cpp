#include "ModuleFront.hpp"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

#include "Style.hpp"

namespace krv::picgen {
namespace {

using namespace style;

// Layout of a module front in twips, for the 870 x 3195 module areas.
constexpr int kEdge = 15;               // housing outline inset
constexpr int kBlockInset = 70;         // terminal blocks inside the housing
constexpr int kBlockHeight = 450;
constexpr int kTerminals = 4;           // terminals per row
constexpr int kFaceTop = 585;           // front face between the terminal rows
constexpr int kFaceInset = 55;
constexpr int kPlateTop = 630;          // name plate on the face
constexpr int kPlateBottom = 905;
constexpr int kPlateInset = 105;
constexpr int kAccentHeight = 60;
constexpr int kBezelRadius = 102;       // ring around the 180 twip LED
constexpr int kLensRadius = 86;
constexpr int kLabelHeight = 85;
constexpr int kLabelGap = 12;           // between ring and label

Rgb accent(device::Modul modul) {
    switch (modul) {
        case device::Modul::Output: return kOutputAccent;
        case device::Modul::Cpu: return kCpuAccent;
        case device::Modul::Erweiterung: return kExtensionAccent;
    }
    return kInk;
}

// One row of screw terminals; the screws face the module's outer edge, the wire openings its face.
void terminalRow(WmfCanvas& c, int top, bool screwsFirst) {
    const int left = kBlockInset;
    const int right = c.width() - kBlockInset;
    const int bottom = top + kBlockHeight;
    c.pen(kInk, 12);
    c.brush(kTerminal);
    c.roundRect(left, top, right, bottom, 50);

    const int pitch = (right - left) / kTerminals;
    const int screwY = screwsFirst ? top + 135 : bottom - 135;
    const int openingY = screwsFirst ? bottom - 120 : top + 120;
    for (int i = 0; i < kTerminals; ++i) {
        const int x = left + pitch / 2 + i * pitch;
        if (i > 0) {
            c.pen(kShadow, 8);
            c.line(left + i * pitch, top + 25, left + i * pitch, bottom - 25);
        }
        c.pen(kInk, 10);
        c.brush(kScrew);
        c.ellipse(x - 66, screwY - 66, x + 66, screwY + 66);
        c.pen(kInk, 16);  // the screw's slot
        c.line(x - 42, screwY + 42, x + 42, screwY - 42);
        c.noPen();
        c.brush(kShadow);
        c.rectangle(x - 50, openingY - 52, x + 50, openingY + 52);
    }
}

void namePlate(WmfCanvas& c, const ModulePicture& picture, int nameHeight) {
    const int left = kPlateInset;
    const int right = c.width() - kPlateInset;
    c.pen(kInk, 10);
    c.brush(kPaper);
    c.rectangle(left, kPlateTop, right, kPlateBottom);
    c.brush(accent(picture.modul));
    c.rectangle(left, kPlateTop, right, kPlateTop + kAccentHeight);
    // Cap height is about 0.72 of the character height: centre the capitals in the white part.
    const int middle = (kPlateTop + kAccentHeight + kPlateBottom) / 2;
    c.font(nameHeight, true, kInk);
    c.text(c.width() / 2, middle + nameHeight * 36 / 100, picture.name, Align::Centre);
}

// Ventilation slots in the free part of the face below the LEDs.
void ventSlots(WmfCanvas& c, int top, int bottom) {
    c.pen(kShadow, 6);
    c.brush(kShadow);
    for (int y = top; y + 26 <= bottom; y += 62) c.roundRect(230, y, c.width() - 230, y + 26, 26);
}

}  // namespace

std::string_view ledLabel(std::string_view ledName) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kLabels{{
        {"OutputFault", "Fault"},
        {"OutputLocked", "Locked"},
        {"OutputState", "State"},
        {"OutputWarn", "Warn"},
        {"CpuFault", "Fault"},
        {"CpuS1S2", "S1/S2"},
        {"CpuS3S4", "S3/S4"},
        {"ErwFault", "Fault"},
        {"ErwIndicat", "Ind."},
        {"ErwSwitch2", "Sw 2"},
        {"ErwSwitch1", "Sw 1"},
    }};
    for (const auto& [name, label] : kLabels) {
        if (name == ledName) return label;
    }
    throw std::logic_error("no label for module LED " + std::string(ledName));
}

int namePlateHeight(const std::vector<ModulePicture>& pictures) {
    const int width = 870 - 2 * kPlateInset - 60;
    int height = 200;
    for (const ModulePicture& p : pictures) height = std::min(height, fittingHeight(p.name, width, 200, true));
    return height;
}

void drawModuleFront(WmfCanvas& c, const ModulePicture& picture, int nameHeight) {
    const app::TwipRect area = moduleArea(picture.modul);
    const int w = c.width();
    const int h = c.height();

    c.pen(kInk, 18);
    c.brush(kHousing);
    c.roundRect(kEdge, kEdge, w - kEdge, h - kEdge, 90);

    terminalRow(c, kBlockInset, true);
    terminalRow(c, h - kBlockInset - kBlockHeight, false);

    const int faceBottom = h - kFaceTop;
    c.pen(kShadow, 10);
    c.brush(kFace);
    c.roundRect(kFaceInset, kFaceTop, w - kFaceInset, faceBottom, 50);

    namePlate(c, picture, nameHeight);

    int lowestLed = kPlateBottom;
    for (const device::ModulLed& led : device::kModulLeds) {
        if (led.modul != picture.modul || picture.ledCount < led.mindestAnzahl) continue;
        // LED places are given in the picture container; the picture starts at its area's corner.
        const int x = led.platz.left - area.left + led.platz.width / 2;
        const int y = led.platz.top - area.top + led.platz.height / 2;
        // Outlines in the fill colour rather than none: some players drop a filled ellipse without pen.
        c.pen(kBezel, 6);
        c.brush(kBezel);
        c.ellipse(x - kBezelRadius, y - kBezelRadius, x + kBezelRadius, y + kBezelRadius);
        c.brush(kLens);
        c.ellipse(x - kLensRadius, y - kLensRadius, x + kLensRadius, y + kLensRadius);
        c.font(kLabelHeight, false, kInk);
        c.text(x + kBezelRadius + kLabelGap, y + kLabelHeight * 36 / 100, ledLabel(led.name), Align::Left);
        lowestLed = std::max(lowestLed, y + kBezelRadius);
    }

    ventSlots(c, lowestLed + 110, faceBottom - 80);
}

}  // namespace krv::picgen
