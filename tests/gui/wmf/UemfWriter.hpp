#pragma once
// Writes test metafiles with libuemf, a metafile library independent of ours, so the tests
// read files as another program lays them out. The only file that includes libuemf's headers
// (they define lowercase macros).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace krv::wmf::test {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct Pt {
    int x = 0, y = 0;
};

class UemfWriter {
public:
    // With inches > 0 the file gets a placeable header whose bounding box is
    // (0, 0, widthInches * unitsPerInch, heightInches * unitsPerInch).
    UemfWriter(double widthInches, double heightInches, unsigned unitsPerInch);
    ~UemfWriter();
    UemfWriter(const UemfWriter&) = delete;
    UemfWriter& operator=(const UemfWriter&) = delete;

    void windowOrg(int x, int y);
    void windowExt(int x, int y);
    void viewportOrg(int x, int y);
    void viewportExt(int x, int y);
    void mapMode(int mode);
    void saveDC();
    void restoreDC(int n);

    std::uint32_t pen(int style, int width, Colour c);
    std::uint32_t brush(int style, Colour c, int hatch = 0);
    std::uint32_t font(int height, int weight, bool italic, int escapement, const std::string& face, int width = 0);
    std::uint32_t dibPatternBrush(int width, int height, const std::vector<std::uint32_t>& rgb);
    void select(std::uint32_t object);
    void remove(std::uint32_t object);

    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void polyline(const std::vector<Pt>& points);
    void polygon(const std::vector<Pt>& points);
    void polyPolygon(const std::vector<std::vector<Pt>>& polygons);
    void polyFillMode(int mode);
    void rectangle(int left, int top, int right, int bottom);
    void roundRect(int left, int top, int right, int bottom, int w, int h);
    void ellipse(int left, int top, int right, int bottom);
    void arc(int left, int top, int right, int bottom, Pt start, Pt end);
    void pie(int left, int top, int right, int bottom, Pt start, Pt end);
    void chord(int left, int top, int right, int bottom, Pt start, Pt end);
    void intersectClip(int left, int top, int right, int bottom);
    void excludeClip(int left, int top, int right, int bottom);

    void textColour(Colour c);
    void bkColour(Colour c);
    void bkMode(int mode);
    void textAlign(int align);
    void textOut(int x, int y, const std::string& text);
    void extTextOut(int x, int y, int options, const std::string& text, const std::vector<std::int16_t>& dx,
                    int left = 0, int top = 0, int right = 0, int bottom = 0);

    // A 24-bit bitmap (0xRRGGBB per pixel, top line first) stretched onto the rectangle.
    void stretchDib(int x, int y, int w, int h, int bmWidth, int bmHeight, const std::vector<std::uint32_t>& rgb);
    // An 8-bit palette bitmap with DIBStretchBlt.
    void dibStretchBlt8(int x, int y, int w, int h, int bmWidth, int bmHeight, const std::vector<std::uint8_t>& index,
                        const std::vector<std::uint32_t>& palette);
    // A 1-bit bitmap with DIBBitBlt.
    void dibBitBlt1(int x, int y, int bmWidth, int bmHeight, const std::vector<std::uint8_t>& bits, Colour zero,
                    Colour one);

    // Any record from its parameter words, for what the library does not offer.
    void raw(std::uint16_t function, const std::vector<std::uint16_t>& params);
    // The same for a record that creates an object; returns its slot.
    std::uint32_t rawObject(std::uint16_t function, const std::vector<std::uint16_t>& params);

    // Ends the file and returns its bytes.
    std::vector<std::uint8_t> finish();

private:
    void append(char* record);

    struct Impl;
    Impl* impl_;
};

}  // namespace krv::wmf::test
