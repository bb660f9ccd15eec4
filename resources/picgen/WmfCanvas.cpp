#include "WmfCanvas.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

// libuemf's writer. Its headers define short lowercase macros, so they are included here only.
#include <uwmf.h>

namespace krv::picgen {
namespace {

constexpr unsigned kUnitsPerInch = 1440;

std::int16_t coord(int v) {
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        throw std::runtime_error("coordinate outside the 16-bit range of a metafile: " + std::to_string(v));
    return static_cast<std::int16_t>(v);
}

U_POINT16 point16(int x, int y) {
    U_POINT16 p;
    p.x = coord(x);
    p.y = coord(y);
    return p;
}

U_RECT16 rect16(int left, int top, int right, int bottom) {
    U_RECT16 r;
    r.left = coord(left);
    r.top = coord(top);
    r.right = coord(right);
    r.bottom = coord(bottom);
    return r;
}

U_COLORREF colorref(Rgb c) { return U_RGB(c.r, c.g, c.b); }

std::uint32_t get32(const std::vector<char>& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

void put32(std::vector<char>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The writer counts the placeable header into the file size and the header into the largest
// record. Programs that write placeable files count the metafile alone (the placeable header is
// put in front of a finished metafile), so the two fields are set that way.
void correctHeaderCounts(const std::string& path) {
    constexpr std::size_t kPlaceable = U_SIZE_WMRPLACEABLE;
    constexpr std::size_t kHeader = U_SIZE_WMRHEADER;
    std::vector<char> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (bytes.size() < kPlaceable + kHeader || (bytes.size() - kPlaceable) % 2 != 0)
        throw std::runtime_error("unexpected metafile layout in " + path);
    std::uint32_t largest = 0;
    for (std::size_t at = kPlaceable + kHeader; at + 6 <= bytes.size();) {
        const std::uint32_t words = get32(bytes, at);
        if (words < 3 || at + words * 2 > bytes.size()) throw std::runtime_error("bad record in " + path);
        largest = std::max(largest, words);
        at += words * 2;
    }
    put32(bytes, kPlaceable + offsetof(U_WMRHEADER, Sizew), static_cast<std::uint32_t>((bytes.size() - kPlaceable) / 2));
    put32(bytes, kPlaceable + offsetof(U_WMRHEADER, maxSize), largest);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

// The open file, its object table and what is currently selected into the device context.
struct WmfCanvas::Records {
    std::string path;
    WMFTRACK* track = nullptr;
    WMFHANDLES* handles = nullptr;
    bool finished = false;
    std::map<std::string, std::uint32_t> objects;  // pen, brush and font descriptions to handles
    std::string pen, brush, font;                  // the descriptions selected now
    int textAlign = -1;
    std::optional<Rgb> textColour;  // none set yet

    Records() = default;
    Records(const Records&) = delete;
    Records& operator=(const Records&) = delete;
    // Also runs when the canvas constructor throws, so a failed start is cleaned up too.
    ~Records() {
        if (track != nullptr && !finished) {
            // Abandoned after an error: leave no half-written picture behind.
            if (track->fp != nullptr) std::fclose(track->fp);
            track->fp = nullptr;
            std::remove(path.c_str());
        }
        if (track != nullptr) wmf_free(&track);
        if (handles != nullptr) wmf_htable_free(&handles);
    }

    void append(char* record, const char* what) {
        if (record == nullptr) throw std::runtime_error(std::string("cannot build record ") + what);
        if (wmf_append(reinterpret_cast<U_METARECORD*>(record), track, 1) != 0)
            throw std::runtime_error(std::string("cannot append record ") + what);
    }

    // Selects the object described by `key`, creating it on first use with `create`.
    template <typename Create>
    void select(std::string& selected, const std::string& key, Create create) {
        if (selected == key) return;
        auto it = objects.find(key);
        if (it == objects.end()) {
            std::uint32_t handle = 0;
            append(create(handle), "create object");
            it = objects.emplace(key, handle).first;
        }
        append(wselectobject_set(it->second, handles), "select object");
        selected = key;
    }
};

WmfCanvas::WmfCanvas(const std::string& path, int width, int height)
    : records_(std::make_unique<Records>()), width_(width), height_(height) {
    Records& r = *records_;
    r.path = path;
    if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) throw std::runtime_error("bad picture size");
    if (wmf_start(path.c_str(), 64 * 1024, 64 * 1024, &r.track) != 0 || r.track == nullptr)
        throw std::runtime_error("cannot create " + path);
    if (wmf_htable_create(64, 64, &r.handles) != 0) throw std::runtime_error("cannot create the object table");
    wmf_highwater(U_HIGHWATER_CLEAR);  // the object count in the header is tracked per process

    // Placeable header: the bounding box is the whole picture at 1440 units per inch.
    U_PAIRF* inches = U_PAIRF_set(static_cast<float>(width) / kUnitsPerInch, static_cast<float>(height) / kUnitsPerInch);
    char* header = U_WMRHEADER_set(inches, kUnitsPerInch);
    std::free(inches);
    if (header == nullptr || wmf_header_append(reinterpret_cast<U_METARECORD*>(header), r.track, 1) != 0)
        throw std::runtime_error("cannot write the metafile header");

    // Window origin and extent only: the player maps the placeable box onto its rectangle and
    // chooses the map mode itself, as a placeable file is played.
    r.append(U_WMRSETWINDOWORG_set(point16(0, 0)), "window origin");
    r.append(U_WMRSETWINDOWEXT_set(point16(width, height)), "window extent");
    r.append(U_WMRSETBKMODE_set(U_TRANSPARENT), "background mode");
    r.append(U_WMRSETPOLYFILLMODE_set(U_ALTERNATE), "fill mode");
}

WmfCanvas::~WmfCanvas() = default;

void WmfCanvas::pen(Rgb c, int width) {
    const std::string key = "pen " + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) +
                            " " + std::to_string(width);
    records_->select(records_->pen, key, [&](std::uint32_t& handle) {
        return wcreatepenindirect_set(&handle, records_->handles,
                                      U_PEN_set(U_PS_SOLID, static_cast<std::uint16_t>(width), colorref(c)));
    });
}

void WmfCanvas::noPen() {
    records_->select(records_->pen, "pen none", [&](std::uint32_t& handle) {
        return wcreatepenindirect_set(&handle, records_->handles, U_PEN_set(U_PS_NULL, 0, colorref({})));
    });
}

void WmfCanvas::brush(Rgb c) {
    const std::string key =
        "brush " + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
    records_->select(records_->brush, key, [&](std::uint32_t& handle) {
        return wcreatebrushindirect_set(&handle, records_->handles, U_WLOGBRUSH_set(U_BS_SOLID, colorref(c), 0));
    });
}

void WmfCanvas::font(int height, bool bold, Rgb c) {
    const std::string key = "font " + std::to_string(height) + (bold ? " bold" : " regular");
    records_->select(records_->font, key, [&](std::uint32_t& handle) {
        char face[] = "Arial";
        // A negative height asks for the character height rather than the cell height.
        U_FONT* f = U_FONT_set(static_cast<std::int16_t>(-height), 0, 0, 0, bold ? U_FW_BOLD : U_FW_NORMAL, 0, 0, 0,
                               U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY,
                               U_VARIABLE_PITCH | U_FF_SWISS, face);
        char* record = f != nullptr ? wcreatefontindirect_set(&handle, records_->handles, f) : nullptr;
        std::free(f);
        return record;
    });
    if (records_->textColour != c) {
        records_->append(U_WMRSETTEXTCOLOR_set(colorref(c)), "text colour");
        records_->textColour = c;
    }
}

void WmfCanvas::rectangle(int left, int top, int right, int bottom) {
    records_->append(U_WMRRECTANGLE_set(rect16(left, top, right, bottom)), "rectangle");
}

void WmfCanvas::roundRect(int left, int top, int right, int bottom, int corner) {
    records_->append(U_WMRROUNDRECT_set(coord(corner), coord(corner), rect16(left, top, right, bottom)), "round rect");
}

void WmfCanvas::ellipse(int left, int top, int right, int bottom) {
    records_->append(U_WMRELLIPSE_set(rect16(left, top, right, bottom)), "ellipse");
}

void WmfCanvas::line(int x1, int y1, int x2, int y2) {
    records_->append(U_WMRMOVETO_set(point16(x1, y1)), "move to");
    records_->append(U_WMRLINETO_set(point16(x2, y2)), "line to");
}

void WmfCanvas::text(int x, int y, std::string_view text, Align align) {
    if (text.empty()) return;
    for (char ch : text) {
        if (static_cast<unsigned char>(ch) < 0x20 || static_cast<unsigned char>(ch) > 0x7E)
            throw std::runtime_error("picture texts are plain ASCII");
    }
    const int mode = U_TA_BASELINE | U_TA_NOUPDATECP |
                     (align == Align::Left ? U_TA_LEFT : align == Align::Centre ? U_TA_CENTER : U_TA_RIGHT);
    if (records_->textAlign != mode) {
        records_->append(U_WMRSETTEXTALIGN_set(static_cast<std::uint16_t>(mode)), "text align");
        records_->textAlign = mode;
    }
    std::string copy(text);  // the writer takes a mutable string
    records_->append(U_WMRTEXTOUT_set(point16(x, y), copy.data()), "text out");
}

void WmfCanvas::finish() {
    Records& r = *records_;
    for (auto& [key, handle] : r.objects) {
        std::uint32_t h = handle;
        r.append(wdeleteobject_set(&h, r.handles), "delete object");
    }
    r.objects.clear();
    r.append(U_WMREOF_set(), "end of file");
    if (wmf_finish(r.track) != 0) throw std::runtime_error("cannot write " + r.path);
    r.finished = true;
    correctHeaderCounts(r.path);
}

}  // namespace krv::picgen
