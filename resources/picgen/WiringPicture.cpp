#include "WiringPicture.hpp"

#include <algorithm>
#include <stdexcept>

#include "Style.hpp"
#include "core/device/ModelCatalogue.hpp"

namespace krv::picgen {
namespace {

using namespace style;

// Layout in twips, for the 7680 x 3270 wiring area.
constexpr int kCellHalf = 125;      // terminal cells are 250 wide: the closest LEDs are 270 apart
constexpr int kCellDepth = 470;     // from the picture edge inwards
constexpr int kBodyInset = 1000;    // controller block, from the upper and lower edge
constexpr int kBodyLeft = 150;
constexpr int kDot = 38;            // connection dot radius
constexpr int kBarLeft = 900;       // supply bus bars and module blocks
constexpr int kBarRight = 5250;
constexpr int kTitleLeft = 5480;    // title block
constexpr int kTitleRight = 7400;

struct Block {
    std::string kind;
    std::string name;
    Rgb accent;
};

// The modules of the model, left to right as in the device picture above.
std::vector<Block> blocks(const device::Modell& m, const std::vector<ModulePicture>& modules) {
    auto name = [&](std::string_view file) {
        for (const ModulePicture& p : modules) {
            if (p.file == file) return p.name;
        }
        throw std::logic_error("no module picture " + std::string(file));
    };
    std::vector<Block> out{{"OUT", name(m.bildOutput), kOutputAccent}, {"CPU", name(m.bildCpu), kCpuAccent}};
    if (!m.bildErweiterung.empty()) out.push_back({"EXT", name(m.bildErweiterung), kExtensionAccent});
    return out;
}

void dot(WmfCanvas& c, int x, int y, Rgb colour) {
    c.pen(colour, 6);  // rather than no pen: some players drop a filled ellipse without one
    c.brush(colour);
    c.ellipse(x - kDot, y - kDot, x + kDot, y + kDot);
}

// A screw terminal: its number next to the LED, the screw towards the controller, and the
// wire from there to the controller's edge.
void terminalCell(WmfCanvas& c, const Terminal& t, int bodyEdge) {
    const int h = c.height();
    const int outer = t.top ? 6 : h - 6;  // the picture edge the LED sits on
    const int inner = t.top ? kCellDepth : h - kCellDepth;
    const int dir = t.top ? 1 : -1;        // from the edge inwards

    c.pen(kInk, 20);
    c.line(t.x, inner, t.x, bodyEdge);
    dot(c, t.x, bodyEdge, kInk);

    c.pen(kInk, 12);
    c.brush(kCell);
    c.rectangle(t.x - kCellHalf, std::min(outer, inner), t.x + kCellHalf, std::max(outer, inner));
    const int divider = outer + dir * 215;
    c.pen(kShadow, 8);
    c.line(t.x - kCellHalf + 20, divider, t.x + kCellHalf - 20, divider);

    c.font(150, true, kInk);
    const int labelBaseline = t.top ? outer + 170 : outer - 55;
    c.text(t.x, labelBaseline, t.label, Align::Centre);

    const int screwY = outer + dir * 340;
    c.pen(kInk, 10);
    c.brush(kScrew);
    c.ellipse(t.x - 78, screwY - 78, t.x + 78, screwY + 78);
    c.pen(kInk, 16);
    c.line(t.x - 50, screwY + 50, t.x + 50, screwY - 50);
}

// The telegram activity LED sits among the lower terminals but is no terminal: a plain socket.
void activitySocket(WmfCanvas& c, int x) {
    const int h = c.height();
    c.pen(kShadow, 10);
    c.brush(kFace);
    c.roundRect(x - 105, h - 270, x + 105, h + 60, 60);
    c.font(95, false, kInk);
    c.text(x, h - 95, "Com", Align::Centre);
}

void supplyBar(WmfCanvas& c, int y, Rgb colour, std::string_view label) {
    c.pen(colour, 40);
    c.line(kBarLeft, y, kBarRight, y);
    c.font(110, true, colour);
    c.text(kBarLeft - 90, y + 40, label, Align::Right);
}

void moduleBlocks(WmfCanvas& c, const std::vector<Block>& modules, int supplyY, int groundY) {
    const int top = supplyY + 190;
    const int bottom = groundY - 190;
    const int width = 1150;
    const int count = static_cast<int>(modules.size());
    const int gap = (kBarRight - kBarLeft - count * width) / (count + 1);
    const int busY = (top + bottom) / 2 + 60;

    // The backplane bus: a double line through all modules, drawn first so the blocks cover it.
    c.pen(kInk, 14);
    const int busLeft = kBarLeft + gap + width / 2;
    const int busRight = kBarLeft + gap + (count - 1) * (width + gap) + width / 2;
    c.line(busLeft, busY - 28, busRight, busY - 28);
    c.line(busLeft, busY + 28, busRight, busY + 28);

    for (int i = 0; i < count; ++i) {
        const int left = kBarLeft + gap + i * (width + gap);
        const int right = left + width;
        const Block& b = modules[static_cast<std::size_t>(i)];

        // Supply ties from both bus bars.
        c.pen(kSupply, 16);
        c.line(left + 180, supplyY, left + 180, top);
        dot(c, left + 180, supplyY, kSupply);
        c.pen(kGround, 16);
        c.line(right - 180, bottom, right - 180, groundY);
        dot(c, right - 180, groundY, kGround);

        c.pen(kInk, 14);
        c.brush(kPaper);
        c.rectangle(left, top, right, bottom);
        c.noPen();
        c.brush(b.accent);
        c.rectangle(left + 7, top + 7, left + 110, bottom - 6);
        c.font(100, false, kInk);
        c.text(left + 180, top + 150, b.kind, Align::Left);
        const int nameHeight = fittingHeight(b.name, right - left - 240, 190, true);
        c.font(nameHeight, true, kInk);
        c.text(left + 180, bottom - 90, b.name, Align::Left);
    }
}

void titleBlock(WmfCanvas& c, const std::string& modelName, const std::vector<Block>& modules, int top,
                int bottom) {
    const int split = top + (bottom - top) * 58 / 100;
    c.pen(kInk, 14);
    c.brush(kPaper);
    c.rectangle(kTitleLeft, top, kTitleRight, bottom);
    c.line(kTitleLeft, split, kTitleRight, split);

    const int nameHeight = fittingHeight(modelName, kTitleRight - kTitleLeft - 200, 300, true);
    c.font(nameHeight, true, kInk);
    c.text((kTitleLeft + kTitleRight) / 2, (top + split) / 2 + nameHeight * 36 / 100, modelName, Align::Centre);

    // One field per module with its accent colour, as on the module fronts.
    const int fieldWidth = (kTitleRight - kTitleLeft) / static_cast<int>(modules.size());
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const int left = kTitleLeft + static_cast<int>(i) * fieldWidth;
        if (i > 0) {
            c.pen(kInk, 10);
            c.line(left, split, left, bottom);
        }
        c.noPen();
        c.brush(modules[i].accent);
        const int y = (split + bottom) / 2;
        c.rectangle(left + 70, y - 45, left + 160, y + 45);
        c.font(95, false, kInk);
        c.text(left + 200, y + 34, modules[i].kind, Align::Left);
    }
}

}  // namespace

std::vector<Terminal> terminals(int model) {
    const device::LedTabelle& table = device::modell(model).ledTabelle();
    const app::TwipRect area = device::kPlatzImgStrom;
    std::vector<Terminal> out;
    for (int bit = 0; bit <= device::MAX_BIT; ++bit) {
        const int led = table[static_cast<std::size_t>(bit)];
        if (led == device::kKeineLed) continue;
        if (led > device::Max_LED) throw std::logic_error("LED table names LED " + std::to_string(led));
        const device::LedPlatz& place = device::kKlemmenLeds[static_cast<std::size_t>(led)];
        const bool top = place.top + place.height / 2 < area.top + area.height / 2;
        out.push_back({led, bit, std::to_string(bit + 1), place.left - area.left + place.width / 2, top});
    }
    std::sort(out.begin(), out.end(), [](const Terminal& a, const Terminal& b) { return a.led < b.led; });
    for (std::size_t i = 1; i < out.size(); ++i) {
        if (out[i].led == out[i - 1].led) throw std::logic_error("two terminal bits light one LED");
    }
    return out;
}

void drawWiringPicture(WmfCanvas& c, const WiringPicture& picture) {
    const device::Modell& m = device::modell(picture.model);
    const std::vector<Block> modules = blocks(m, modulePictures());
    const int w = c.width();
    const int h = c.height();
    const int bodyTop = kBodyInset;
    const int bodyBottom = h - kBodyInset;

    c.pen(kInk, 30);
    c.brush(kBody);
    c.rectangle(kBodyLeft, bodyTop, w - kBodyLeft, bodyBottom);

    const int supplyY = bodyTop + 170;
    const int groundY = bodyBottom - 170;
    supplyBar(c, supplyY, kSupply, "+24 V");
    supplyBar(c, groundY, kGround, "0 V");
    moduleBlocks(c, modules, supplyY, groundY);
    titleBlock(c, device::modellName(picture.model, 0), modules, bodyTop + 100, bodyBottom - 100);

    for (const Terminal& t : terminals(picture.model)) terminalCell(c, t, t.top ? bodyTop : bodyBottom);

    const device::LedPlatz& activity = device::kKlemmenLeds[device::kAktivitaetsLed];
    activitySocket(c, activity.left - device::kPlatzImgStrom.left + activity.width / 2);
}

}  // namespace krv::picgen
