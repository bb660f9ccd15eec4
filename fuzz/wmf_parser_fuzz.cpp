// libFuzzer entry: parse arbitrary bytes as a metafile and, when they parse, play the records
// onto a canvas that touches everything it is given (decoded bitmaps included), as the picture
// areas would. A file is read only with a record that plays, or with nothing left out.
// Build and run: docs/robustness.md.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/device/wmf/Canvas.hpp"
#include "core/device/wmf/PictureFrame.hpp"
#include "core/device/wmf/Player.hpp"
#include "core/device/wmf/WmfParser.hpp"
#include "core/device/wmf/WmfRecords.hpp"

namespace {

class TouchingCanvas : public krv::wmf::Canvas {
public:
    void setClip(const krv::wmf::Clip& clip) override {
        for (const auto& op : clip) sum_ += op.rects->size();
    }
    void polygons(const std::vector<std::vector<krv::wmf::PointF>>& polygons, const krv::wmf::Paint& p) override {
        for (const auto& poly : polygons) add(poly);
        touch(p);
    }
    void polyline(const std::vector<krv::wmf::PointF>& points, const krv::wmf::Paint& p) override {
        add(points);
        touch(p);
    }
    void ellipse(const krv::wmf::RectF& r, const krv::wmf::Paint& p) override { sum_ += r.left + r.bottom; touch(p); }
    void roundRect(const krv::wmf::RectF& r, double rx, double ry, const krv::wmf::Paint& p) override {
        sum_ += r.left + rx + ry;
        touch(p);
    }
    void fill(const std::vector<krv::wmf::RectF>& rects, const krv::wmf::Paint& p) override {
        for (const auto& r : rects) sum_ += r.left + r.bottom;
        touch(p);
    }
    double text(const krv::wmf::TextRun& run) override {
        for (char16_t c : run.text) sum_ += c;
        for (double a : run.advances) sum_ += a;
        return static_cast<double>(run.text.size());
    }
    void bitmap(const krv::wmf::RectF& dest, const krv::wmf::Bitmap& bmp, const krv::wmf::RectF& src,
                std::uint32_t rop) override {
        touch(bmp);
        sum_ += dest.left + src.top + rop;
    }
    double sum() const { return sum_; }

private:
    void add(const std::vector<krv::wmf::PointF>& points) {
        for (const auto& p : points) sum_ += p.x + p.y;
    }
    void touch(const krv::wmf::Paint& p) {
        if (p.brush.pattern) touch(*p.brush.pattern);
    }
    void touch(const krv::wmf::Bitmap& bmp) {
        // Every pixel the bitmap claims must exist.
        const std::size_t n = static_cast<std::size_t>(bmp.width) * static_cast<std::size_t>(bmp.height);
        for (std::size_t i = 0; i < n; ++i) sum_ += bmp.pixels[i] & 1;
    }
    double sum_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    const krv::wmf::ParseResult result = krv::wmf::WmfParser().parse(std::move(bytes));
    if (!result.ok()) return 0;
    const krv::wmf::Metafile& mf = *result.metafile;
    bool plays = false;
    krv::wmf::Record record;
    std::string error;
    for (const auto& ref : mf.records) plays = plays || krv::wmf::decodeRecord(mf, ref, record, error);
    if (!plays && !mf.skipped.empty()) std::abort();
    TouchingCanvas canvas;
    if (const auto frame = krv::wmf::frameFor(*result.metafile, krv::wmf::RectF{0, 0, 800, 600}))
        krv::wmf::play(*result.metafile, *frame, canvas);
    volatile double keep = canvas.sum();
    (void)keep;
    return 0;
}
