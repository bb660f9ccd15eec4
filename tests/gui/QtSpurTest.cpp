// The timing strip on a QPixmap against the in-memory strip that defines the pixels: every
// operation at one, two and three device pixels per pixel, the repaint areas it reports, size
// and resolution changes, and sharp one-pixel traces on a high-resolution screen.
#include <gtest/gtest.h>

#include <QImage>
#include <random>
#include <sstream>

#include "core/timing/RasterSpur.hpp"
#include "core/timing/SpurGeometrie.hpp"
#include "gui/QtColour.hpp"
#include "gui/QtSpur.hpp"

namespace krv::gui::test {
namespace {

using timing::RasterSpur;

// Where the Qt strip differs from the reference: each pixel must be a solid block of
// faktor x faktor device pixels in the reference's colour. Empty when they agree.
std::string abweichungen(const QtSpur& q, const RasterSpur& r) {
    std::ostringstream out;
    const int f = q.faktor();
    if (q.scaleWidth() != r.scaleWidth() || q.scaleHeight() != r.scaleHeight()) {
        out << "size " << q.scaleWidth() << "x" << q.scaleHeight() << " not " << r.scaleWidth() << "x" << r.scaleHeight();
        return out.str();
    }
    if (q.pixmap().isNull()) return q.groesse().isEmpty() ? "" : "no picture";
    if (q.pixmap().devicePixelRatio() != f) out << "ratio " << q.pixmap().devicePixelRatio() << "; ";
    const QImage bild = q.pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    if (bild.size() != q.groesse() * f) return out.str() + "picture has the wrong number of device pixels";
    int fehler = 0;
    for (int y = 0; y < r.scaleHeight(); ++y) {
        for (int x = 0; x < r.scaleWidth(); ++x) {
            const QRgb soll = qtFarbe(r.pixel(x, y)).rgb();
            for (int dy = 0; dy < f; ++dy) {
                for (int dx = 0; dx < f; ++dx) {
                    if (bild.pixel(x * f + dx, y * f + dy) == soll) continue;
                    if (++fehler <= 5) out << "(" << x << "," << y << ")+(" << dx << "," << dy << "); ";
                }
            }
        }
    }
    if (fehler > 5) out << fehler << " device pixels in all";
    return out.str();
}

// Pixels whose colour differs between two states of the reference, outside the rectangle.
int ungemeldet(const RasterSpur& vorher, const RasterSpur& nachher, const QRect& gemeldet) {
    int n = 0;
    for (int y = 0; y < nachher.scaleHeight(); ++y) {
        for (int x = 0; x < nachher.scaleWidth(); ++x) {
            if (vorher.pixel(x, y) != nachher.pixel(x, y) && !gemeldet.contains(x, y)) ++n;
        }
    }
    return n;
}

class QtSpurFaktor : public testing::TestWithParam<int> {};

TEST_P(QtSpurFaktor, EveryOperationGivesTheReferencePixelsAndReportsWhatItChanged) {
    constexpr int kBreite = 37;
    constexpr int kHoehe = 18;
    QtSpur q(QSize(kBreite, kHoehe), GetParam());
    RasterSpur r(kBreite, kHoehe);
    QRect gemeldet;
    q.onGeaendert = [&](const QRect& rect) { gemeldet |= rect; };

    std::mt19937 zufall(4711);
    auto zahl = [&](int von, int bis) { return std::uniform_int_distribution<int>(von, bis)(zufall); };
    for (int schritt = 0; schritt < 400; ++schritt) {
        const RasterSpur vorher = r;
        gemeldet = QRect();
        std::string was;
        const int art = zahl(0, 19);
        if (art < 6) {
            const int x = zahl(-2, kBreite + 1), y = zahl(-2, kHoehe + 1);
            q.pset(x, y);
            r.pset(x, y);
            was = "pset";
        } else if (art < 11) {  // horizontal runs both ways, partly outside, length 0 too
            const int y = zahl(-1, kHoehe), x1 = zahl(-3, kBreite + 2), x2 = zahl(-3, kBreite + 2);
            q.line(x1, y, x2, y);
            r.line(x1, y, x2, y);
            was = "horizontal " + std::to_string(x1) + ".." + std::to_string(x2);
        } else if (art < 15) {
            const int x = zahl(-1, kBreite), y1 = zahl(-3, kHoehe + 2), y2 = zahl(-3, kHoehe + 2);
            q.line(x, y1, x, y2);
            r.line(x, y1, x, y2);
            was = "vertical " + std::to_string(y1) + ".." + std::to_string(y2);
        } else if (art < 19) {  // overlapping copies left and right, some reaching outside
            const int ziel = zahl(-4, kBreite), quelle = zahl(-4, kBreite), breite = zahl(0, kBreite + 4);
            const int hoehe = zahl(0, kHoehe + 2);
            q.blockCopy(ziel, quelle, breite, hoehe);
            r.blockCopy(ziel, quelle, breite, hoehe);
            was = "blockCopy " + std::to_string(ziel) + " " + std::to_string(quelle) + " " + std::to_string(breite);
        } else {
            q.clear();
            r.clear();
            was = "clear";
        }
        ASSERT_EQ(abweichungen(q, r), "") << "step " << schritt << ": " << was;
        ASSERT_EQ(ungemeldet(vorher, r, gemeldet), 0) << "step " << schritt << ": " << was << " changed pixels it did not report";
    }
}

TEST_P(QtSpurFaktor, TracesAndTheFivePixelScrollMatchTheReference) {
    QtSpur q(QSize(30, 16), GetParam());
    RasterSpur r(30, 16);
    const int pegel[] = {2, 2, 0, 1, 1, 2, 0, 0, 1, 2, 0, 2, 1, 0, 2, 2, 2, 1};
    int x = 0, yq = 8, yr = 8;
    for (int i = 0; i < 40; ++i) {
        const auto p = static_cast<std::uint8_t>(pegel[i % 18]);
        const std::uint8_t anzahl = i % 7 == 3 ? 5 : 0;  // now and then a one-pixel sample
        yq = timing::zeichneSample(q, x, yq, p, anzahl);
        yr = timing::zeichneSample(r, x, yr, p, anzahl);
        x += timing::kPixelProSample;
        while (x >= 30 - timing::kRandPixel) {
            timing::schiebeLinks(q);
            timing::schiebeLinks(r);
            x -= timing::kVorschubPixel;
        }
        ASSERT_EQ(abweichungen(q, r), "") << "sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(DevicePixelsPerPixel, QtSpurFaktor, testing::Values(1, 2, 3));

TEST(QtSpur, ResizeAndResolutionChangesKeepThePicture) {
    QtSpur q(QSize(20, 16), 2);
    RasterSpur r(20, 16);
    for (timing::Spur* s : {static_cast<timing::Spur*>(&q), static_cast<timing::Spur*>(&r)}) {
        int y = 8;
        for (int i = 0; i < 9; ++i) y = timing::zeichneSample(*s, 2 * i, y, static_cast<std::uint8_t>(i % 3), 0);
        s->pset(19, 15);  // the far corner
    }
    ASSERT_EQ(abweichungen(q, r), "");

    q.resize(QSize(31, 18));  // larger: the new part is background
    r.resize(31, 18);
    EXPECT_EQ(abweichungen(q, r), "");
    q.resize(QSize(12, 16));  // smaller: the right part is cut off
    r.resize(12, 16);
    EXPECT_EQ(abweichungen(q, r), "");
    q.resize(QSize(25, 16));  // and what was cut off does not come back
    r.resize(25, 16);
    EXPECT_EQ(abweichungen(q, r), "");

    for (int f : {1, 3, 2, 2}) {
        q.setFaktor(f);
        EXPECT_EQ(q.faktor(), f);
        EXPECT_EQ(abweichungen(q, r), "") << "factor " << f;
    }
    // An empty strip draws nothing and can grow again.
    q.resize(QSize(0, 16));
    r.resize(0, 16);
    q.pset(0, 0);
    q.blockCopy(0, 5, 10, 16);
    EXPECT_EQ(abweichungen(q, r), "");
    q.resize(QSize(8, 16));
    r.resize(8, 16);
    EXPECT_EQ(abweichungen(q, r), "");
}

TEST(QtSpur, AtRatioTwoALevelIsTwoDevicePixelsThickAndEveryPixelIsPureBlackOrWhite) {
    QtSpur q(QSize(12, 16), 2);
    int y = 8;
    y = timing::zeichneSample(q, 0, y, 2, 0);  // green level at y = 5, x = 0..1
    y = timing::zeichneSample(q, 2, y, 2, 0);
    timing::zeichneSample(q, 4, y, 0, 0);      // edge at x = 4 from 5 down to 14, then x = 5 at 14
    const QImage bild = q.pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(bild.size(), QSize(24, 32));
    const QRgb schwarz = qRgb(0, 0, 0), weiss = qRgb(255, 255, 255);
    // Level y = 5 covers device rows 10 and 11 across x = 0..3 (device columns 0..7).
    for (int dx = 0; dx < 8; ++dx) {
        EXPECT_EQ(bild.pixel(dx, 9), weiss) << dx;
        EXPECT_EQ(bild.pixel(dx, 10), schwarz) << dx;
        EXPECT_EQ(bild.pixel(dx, 11), schwarz) << dx;
        EXPECT_EQ(bild.pixel(dx, 12), weiss) << dx;
    }
    // The edge is two device columns wide, 8..9, from row 10 to row 29 (y = 5..14).
    for (int dy = 10; dy <= 29; ++dy) {
        EXPECT_EQ(bild.pixel(8, dy), schwarz) << dy;
        EXPECT_EQ(bild.pixel(9, dy), schwarz) << dy;
        EXPECT_EQ(bild.pixel(10, dy), dy >= 28 ? schwarz : weiss) << dy;  // x = 5 only at y = 14
    }
    EXPECT_EQ(bild.pixel(8, 30), weiss);
    EXPECT_EQ(bild.pixel(7, 28), weiss);
    for (int dy = 0; dy < bild.height(); ++dy) {
        for (int dx = 0; dx < bild.width(); ++dx) {
            const QRgb p = bild.pixel(dx, dy);
            ASSERT_TRUE(p == schwarz || p == weiss) << dx << "," << dy << " is " << std::hex << p;
        }
    }
}

TEST(QtSpur, TheFactorCoversTheScreenRatioWithWholeDevicePixels) {
    EXPECT_EQ(QtSpur::faktorFuer(1.0), 1);
    EXPECT_EQ(QtSpur::faktorFuer(2.0), 2);
    EXPECT_EQ(QtSpur::faktorFuer(2.0000001), 2);
    EXPECT_EQ(QtSpur::faktorFuer(1.25), 2);
    EXPECT_EQ(QtSpur::faktorFuer(2.5), 3);
    EXPECT_EQ(QtSpur::faktorFuer(0.5), 1);
}

}  // namespace
}  // namespace krv::gui::test
