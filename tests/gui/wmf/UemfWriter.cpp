#include "UemfWriter.hpp"

#include <uwmf.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace krv::wmf::test {

struct UemfWriter::Impl {
    WMFTRACK* track = nullptr;
    WMFHANDLES* handles = nullptr;
    std::string path;
};

namespace {

U_COLORREF colour(Colour c) { return U_RGB(c.r, c.g, c.b); }
U_POINT16 pt(int x, int y) { return point16_set(static_cast<int16_t>(x), static_cast<int16_t>(y)); }
U_RECT16 rect(int l, int t, int r, int b) { return U_RECT16_set(pt(l, t), pt(r, b)); }

std::vector<U_POINT16> points16(const std::vector<Pt>& points) {
    std::vector<U_POINT16> out;
    for (const Pt& p : points) out.push_back(pt(p.x, p.y));
    return out;
}

std::size_t stride(int width, int bits) { return static_cast<std::size_t>((width * bits + 31) / 32 * 4); }

}  // namespace

UemfWriter::UemfWriter(double widthInches, double heightInches, unsigned unitsPerInch) : impl_(new Impl) {
    char name[] = "/tmp/krv-uemf-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) throw std::runtime_error("cannot create a temporary file");
    close(fd);
    impl_->path = name;
    if (wmf_start(name, 4096, 4096, &impl_->track) != 0 || wmf_htable_create(128, 128, &impl_->handles) != 0)
        throw std::runtime_error("libuemf start failed");
    U_PAIRF* size = widthInches > 0 ? U_PAIRF_set(static_cast<float>(widthInches), static_cast<float>(heightInches))
                                    : nullptr;
    wmf_header_append(reinterpret_cast<U_METARECORD*>(U_WMRHEADER_set(size, unitsPerInch)), impl_->track, 1);
    std::free(size);
}

UemfWriter::~UemfWriter() {
    if (impl_->track) wmf_free(&impl_->track);
    if (impl_->handles) wmf_htable_free(&impl_->handles);
    if (!impl_->path.empty()) std::remove(impl_->path.c_str());
    delete impl_;
}

void UemfWriter::append(char* record) {
    if (!record || wmf_append(reinterpret_cast<U_METARECORD*>(record), impl_->track, 1) != 0)
        throw std::runtime_error("libuemf record failed");
}

void UemfWriter::windowOrg(int x, int y) { append(U_WMRSETWINDOWORG_set(pt(x, y))); }
void UemfWriter::windowExt(int x, int y) { append(U_WMRSETWINDOWEXT_set(pt(x, y))); }
void UemfWriter::viewportOrg(int x, int y) { append(U_WMRSETVIEWPORTORG_set(pt(x, y))); }
// libuemf 0.2.8 writes this record with the window-extent function number, so it is built here.
void UemfWriter::viewportExt(int x, int y) {
    raw(0x020E, {static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(x)});
}
void UemfWriter::mapMode(int mode) { append(U_WMRSETMAPMODE_set(static_cast<uint16_t>(mode))); }
void UemfWriter::saveDC() { append(U_WMRSAVEDC_set()); }
void UemfWriter::restoreDC(int n) { append(U_WMRRESTOREDC_set(static_cast<int16_t>(n))); }

std::uint32_t UemfWriter::pen(int style, int width, Colour c) {
    uint32_t handle = 0;
    append(wcreatepenindirect_set(&handle, impl_->handles,
                                  U_PEN_set(static_cast<uint16_t>(style), static_cast<uint16_t>(width), colour(c))));
    return handle;
}

std::uint32_t UemfWriter::brush(int style, Colour c, int hatch) {
    uint32_t handle = 0;
    append(wcreatebrushindirect_set(
        &handle, impl_->handles,
        U_WLOGBRUSH_set(static_cast<uint16_t>(style), colour(c), static_cast<uint16_t>(hatch))));
    return handle;
}

std::uint32_t UemfWriter::font(int height, int weight, bool italic, int escapement, const std::string& face,
                               int width) {
    std::string name = face;
    U_FONT* f = U_FONT_set(static_cast<int16_t>(height), static_cast<int16_t>(width),
                           static_cast<int16_t>(escapement), static_cast<int16_t>(escapement),
                           static_cast<int16_t>(weight), italic ? 1 : 0, 0, 0, 0, 0, 0, 0, 0, name.data());
    uint32_t handle = 0;
    append(wcreatefontindirect_set(&handle, impl_->handles, f));
    std::free(f);
    return handle;
}

std::uint32_t UemfWriter::dibPatternBrush(int width, int height, const std::vector<std::uint32_t>& rgb) {
    const std::size_t rowBytes = stride(width, 24);
    std::vector<char> px(rowBytes * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = rgb[static_cast<std::size_t>(y * width + x)];
            char* p = &px[static_cast<std::size_t>(height - 1 - y) * rowBytes + static_cast<std::size_t>(x) * 3];
            p[0] = static_cast<char>(c & 0xFF);
            p[1] = static_cast<char>((c >> 8) & 0xFF);
            p[2] = static_cast<char>((c >> 16) & 0xFF);
        }
    U_BITMAPINFOHEADER bh = bitmapinfoheader_set(width, height, 1, 24, U_BI_RGB, static_cast<uint32_t>(px.size()),
                                                 0, 0, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(bh, nullptr);
    uint32_t handle = 0;
    append(wcreatedibpatternbrush_srcdib_set(&handle, impl_->handles, U_DIB_RGB_COLORS, bmi,
                                             static_cast<uint32_t>(px.size()), px.data()));
    std::free(bmi);
    return handle;
}

void UemfWriter::select(std::uint32_t object) { append(wselectobject_set(object, impl_->handles)); }
void UemfWriter::remove(std::uint32_t object) {
    uint32_t handle = object;  // libuemf sets its argument to an invalid handle
    append(wdeleteobject_set(&handle, impl_->handles));
}

void UemfWriter::moveTo(int x, int y) { append(U_WMRMOVETO_set(pt(x, y))); }
void UemfWriter::lineTo(int x, int y) { append(U_WMRLINETO_set(pt(x, y))); }
void UemfWriter::polyline(const std::vector<Pt>& points) {
    const auto p = points16(points);
    append(U_WMRPOLYLINE_set(static_cast<uint16_t>(p.size()), p.data()));
}
void UemfWriter::polygon(const std::vector<Pt>& points) {
    const auto p = points16(points);
    append(U_WMRPOLYGON_set(static_cast<uint16_t>(p.size()), p.data()));
}
void UemfWriter::polyPolygon(const std::vector<std::vector<Pt>>& polygons) {
    std::vector<uint16_t> counts;
    std::vector<U_POINT16> all;
    for (const auto& poly : polygons) {
        counts.push_back(static_cast<uint16_t>(poly.size()));
        for (const Pt& p : poly) all.push_back(pt(p.x, p.y));
    }
    append(U_WMRPOLYPOLYGON_set(static_cast<uint16_t>(counts.size()), counts.data(), all.data()));
}
void UemfWriter::polyFillMode(int mode) { append(U_WMRSETPOLYFILLMODE_set(static_cast<uint16_t>(mode))); }
void UemfWriter::rectangle(int l, int t, int r, int b) { append(U_WMRRECTANGLE_set(rect(l, t, r, b))); }
void UemfWriter::roundRect(int l, int t, int r, int b, int w, int h) {
    append(U_WMRROUNDRECT_set(static_cast<int16_t>(w), static_cast<int16_t>(h), rect(l, t, r, b)));
}
void UemfWriter::ellipse(int l, int t, int r, int b) { append(U_WMRELLIPSE_set(rect(l, t, r, b))); }
void UemfWriter::arc(int l, int t, int r, int b, Pt s, Pt e) {
    append(U_WMRARC_set(pt(s.x, s.y), pt(e.x, e.y), rect(l, t, r, b)));
}
void UemfWriter::pie(int l, int t, int r, int b, Pt s, Pt e) {
    append(U_WMRPIE_set(pt(s.x, s.y), pt(e.x, e.y), rect(l, t, r, b)));
}
void UemfWriter::chord(int l, int t, int r, int b, Pt s, Pt e) {
    append(U_WMRCHORD_set(pt(s.x, s.y), pt(e.x, e.y), rect(l, t, r, b)));
}
void UemfWriter::intersectClip(int l, int t, int r, int b) { append(U_WMRINTERSECTCLIPRECT_set(rect(l, t, r, b))); }
void UemfWriter::excludeClip(int l, int t, int r, int b) { append(U_WMREXCLUDECLIPRECT_set(rect(l, t, r, b))); }

void UemfWriter::textColour(Colour c) { append(U_WMRSETTEXTCOLOR_set(colour(c))); }
void UemfWriter::bkColour(Colour c) { append(U_WMRSETBKCOLOR_set(colour(c))); }
void UemfWriter::bkMode(int mode) { append(U_WMRSETBKMODE_set(static_cast<uint16_t>(mode))); }
void UemfWriter::textAlign(int align) { append(U_WMRSETTEXTALIGN_set(static_cast<uint16_t>(align))); }
void UemfWriter::textOut(int x, int y, const std::string& text) {
    std::string s = text;
    append(U_WMRTEXTOUT_set(pt(x, y), s.data()));
}
void UemfWriter::extTextOut(int x, int y, int options, const std::string& text, const std::vector<std::int16_t>& dx,
                            int l, int t, int r, int b) {
    std::vector<int16_t> d(dx.begin(), dx.end());
    append(U_WMREXTTEXTOUT_set(pt(x, y), static_cast<int16_t>(text.size()), static_cast<uint16_t>(options),
                               text.c_str(), d.empty() ? nullptr : d.data(), rect(l, t, r, b)));
}

void UemfWriter::stretchDib(int x, int y, int w, int h, int bmWidth, int bmHeight,
                            const std::vector<std::uint32_t>& rgb) {
    const std::size_t rowBytes = stride(bmWidth, 24);
    std::vector<char> px(rowBytes * static_cast<std::size_t>(bmHeight), 0);
    for (int row = 0; row < bmHeight; ++row)
        for (int col = 0; col < bmWidth; ++col) {
            const std::uint32_t c = rgb[static_cast<std::size_t>(row * bmWidth + col)];
            char* p = &px[static_cast<std::size_t>(bmHeight - 1 - row) * rowBytes + static_cast<std::size_t>(col) * 3];
            p[0] = static_cast<char>(c & 0xFF);
            p[1] = static_cast<char>((c >> 8) & 0xFF);
            p[2] = static_cast<char>((c >> 16) & 0xFF);
        }
    U_BITMAPINFOHEADER bh = bitmapinfoheader_set(bmWidth, bmHeight, 1, 24, U_BI_RGB,
                                                 static_cast<uint32_t>(px.size()), 0, 0, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(bh, nullptr);
    append(U_WMRSTRETCHDIB_set(pt(x, y), pt(w, h), pt(0, 0), pt(bmWidth, bmHeight), U_DIB_RGB_COLORS, U_SRCCOPY,
                               bmi, static_cast<uint32_t>(px.size()), px.data()));
    std::free(bmi);
}

void UemfWriter::dibStretchBlt8(int x, int y, int w, int h, int bmWidth, int bmHeight,
                                const std::vector<std::uint8_t>& index, const std::vector<std::uint32_t>& palette) {
    const std::size_t rowBytes = stride(bmWidth, 8);
    std::vector<char> px(rowBytes * static_cast<std::size_t>(bmHeight), 0);
    for (int row = 0; row < bmHeight; ++row)
        for (int col = 0; col < bmWidth; ++col)
            px[static_cast<std::size_t>(bmHeight - 1 - row) * rowBytes + static_cast<std::size_t>(col)] =
                static_cast<char>(index[static_cast<std::size_t>(row * bmWidth + col)]);
    std::vector<U_RGBQUAD> colours;
    for (std::uint32_t c : palette) colours.push_back(rgbquad_set((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, 0));
    U_BITMAPINFOHEADER bh = bitmapinfoheader_set(bmWidth, bmHeight, 1, 8, U_BI_RGB, static_cast<uint32_t>(px.size()),
                                                 0, 0, static_cast<uint32_t>(colours.size()), 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(bh, colours.data());
    append(U_WMRDIBSTRETCHBLT_set(pt(x, y), pt(w, h), pt(0, 0), pt(bmWidth, bmHeight), U_SRCCOPY, bmi,
                                  static_cast<uint32_t>(px.size()), px.data()));
    std::free(bmi);
}

void UemfWriter::dibBitBlt1(int x, int y, int bmWidth, int bmHeight, const std::vector<std::uint8_t>& bits,
                            Colour zero, Colour one) {
    const std::size_t rowBytes = stride(bmWidth, 1);
    std::vector<char> px(rowBytes * static_cast<std::size_t>(bmHeight), 0);
    for (int row = 0; row < bmHeight; ++row)
        for (int col = 0; col < bmWidth; ++col)
            if (bits[static_cast<std::size_t>(row * bmWidth + col)])
                px[static_cast<std::size_t>(bmHeight - 1 - row) * rowBytes + static_cast<std::size_t>(col / 8)] |=
                    static_cast<char>(0x80 >> (col % 8));
    U_RGBQUAD colours[2] = {rgbquad_set(zero.r, zero.g, zero.b, 0), rgbquad_set(one.r, one.g, one.b, 0)};
    U_BITMAPINFOHEADER bh = bitmapinfoheader_set(bmWidth, bmHeight, 1, 1, U_BI_RGB, static_cast<uint32_t>(px.size()),
                                                 0, 0, 2, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(bh, colours);
    append(U_WMRDIBBITBLT_set(pt(x, y), pt(bmWidth, bmHeight), pt(0, 0), U_SRCCOPY, bmi,
                              static_cast<uint32_t>(px.size()), px.data()));
    std::free(bmi);
}

void UemfWriter::raw(std::uint16_t function, const std::vector<std::uint16_t>& params) {
    const std::size_t bytes = 6 + params.size() * 2;
    char* rec = static_cast<char*>(std::malloc(bytes));
    const std::uint32_t words = static_cast<std::uint32_t>(bytes / 2);
    for (int i = 0; i < 4; ++i) rec[i] = static_cast<char>((words >> (8 * i)) & 0xFF);
    rec[4] = static_cast<char>(function & 0xFF);
    rec[5] = static_cast<char>(function >> 8);
    for (std::size_t i = 0; i < params.size(); ++i) {
        rec[6 + 2 * i] = static_cast<char>(params[i] & 0xFF);
        rec[7 + 2 * i] = static_cast<char>(params[i] >> 8);
    }
    append(rec);
}

std::uint32_t UemfWriter::rawObject(std::uint16_t function, const std::vector<std::uint16_t>& params) {
    uint32_t handle = 0;
    if (wmf_htable_insert(&handle, impl_->handles) != 0) throw std::runtime_error("libuemf handle table full");
    raw(function, params);
    return handle - 1;  // the table counts from 1, the create records' handles from 0
}

std::vector<std::uint8_t> UemfWriter::finish() {
    append(U_WMREOF_set());
    if (wmf_finish(impl_->track) != 0) throw std::runtime_error("libuemf finish failed");
    std::ifstream in(impl_->path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace krv::wmf::test
