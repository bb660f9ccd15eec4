#pragma once
// A drawing surface that writes a placeable Windows metafile. Coordinates are logical units at
// 1440 per inch, so one unit is one twip of the picture area the file is made for; y grows
// downwards. Pens, brushes and fonts are created once per file and reused through the object table.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace krv::picgen {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

enum class Align { Left, Centre, Right };

class WmfCanvas {
public:
    // Starts the file at `path` for a picture of width x height units. Throws std::runtime_error
    // when the file cannot be created.
    WmfCanvas(const std::string& path, int width, int height);
    ~WmfCanvas();
    WmfCanvas(const WmfCanvas&) = delete;
    WmfCanvas& operator=(const WmfCanvas&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

    // Outline of the following shapes: a solid pen of the given width, or none.
    void pen(Rgb colour, int width);
    void noPen();
    // Interior of the following shapes: solid.
    void brush(Rgb colour);
    // Text drawn from now on: character height in units, bold or regular, in this colour.
    void font(int height, bool bold, Rgb colour);

    void rectangle(int left, int top, int right, int bottom);
    void roundRect(int left, int top, int right, int bottom, int corner);
    void ellipse(int left, int top, int right, int bottom);
    void line(int x1, int y1, int x2, int y2);
    // One line of ASCII text; y is the baseline, x the left end, centre or right end.
    void text(int x, int y, std::string_view text, Align align);

    // Ends the file and writes it. Throws std::runtime_error when that fails.
    void finish();

private:
    struct Records;
    std::unique_ptr<Records> records_;
    int width_;
    int height_;
};

}  // namespace krv::picgen
