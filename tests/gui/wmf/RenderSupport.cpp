#include "RenderSupport.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/device/wmf/WmfParser.hpp"
#include "gui/wmf/MetafilePainter.hpp"

namespace krv::wmf::test {

Metafile parseOrFail(const std::vector<std::uint8_t>& bytes) {
    ParseResult r = WmfParser().parse(bytes);
    EXPECT_TRUE(r.ok()) << r.error;
    return r.ok() ? std::move(*r.metafile) : Metafile{};
}

QImage render(const std::vector<std::uint8_t>& bytes, int width, int height, double ratio) {
    return renderMetafile(parseOrFail(bytes), QSize(width, height), ratio).convertToFormat(QImage::Format_RGB32);
}

QColor pixel(const QImage& image, int x, int y) {
    const double r = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>(x * r), static_cast<int>(y * r));
}

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <= tolerance;
}

QRect inkBox(const QImage& image, const std::function<bool(const QColor&)>& ink) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (ink(image.pixelColor(x, y))) box = box.united(QRect(x, y, 1, 1));
    return box;
}

bool isDark(const QColor& c) { return c.red() + c.green() + c.blue() < 3 * 128; }

}  // namespace krv::wmf::test
