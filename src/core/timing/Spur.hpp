#pragma once
// One trace strip of the timing diagram as a pixel canvas. The timing logic decides every
// pixel; a strip only has to set pixels, draw straight lines, copy a block of itself and clear.
// Coordinates are pixels of the strip, x to the right, y downwards, (0, 0) top left. Drawing
// outside the strip is clipped. Everything is drawn in the strip's foreground colour.
namespace krv::timing {

class Spur {
public:
    virtual ~Spur() = default;

    // Usable size in pixels (the scale width and height).
    virtual int scaleWidth() const = 0;
    virtual int scaleHeight() const = 0;

    // Background colour everywhere.
    virtual void clear() = 0;
    // One pixel.
    virtual void pset(int x, int y) = 0;
    // A horizontal or vertical line from (x1, y1) towards (x2, y2); the end point itself is not
    // drawn, so a line of length n covers n pixels. Callers never ask for a slanted line.
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // Plain copy of the block at (quelleX, 0) of width x hoehe onto (zielX, 0) inside the same
    // strip; source and target may overlap (the result is as if the source was read first).
    // Pixels outside the target block keep what they had.
    virtual void blockCopy(int zielX, int quelleX, int breite, int hoehe) = 0;
};

}  // namespace krv::timing
