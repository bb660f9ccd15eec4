#pragma once
// A trace strip of the timing diagram held in a QPixmap. The timing rules work in logical
// pixels; the pixmap holds a whole number of device pixels per logical pixel, so on a
// high-resolution screen every trace pixel is a solid block (sharp, never blended) and the
// 5-pixel scroll moves whole blocks.
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <functional>

#include "core/timing/Spur.hpp"

namespace krv::gui {

class QtSpur : public timing::Spur {
public:
    // groesse in logical pixels; faktor device pixels per logical pixel (at least 1).
    explicit QtSpur(QSize groesse, int faktor = 1);

    int scaleWidth() const override { return groesse_.width(); }
    int scaleHeight() const override { return groesse_.height(); }
    void clear() override;
    void pset(int x, int y) override;
    void line(int x1, int y1, int x2, int y2) override;
    void blockCopy(int zielX, int quelleX, int breite, int hoehe) override;

    // A new size in logical pixels: what lies in both keeps its pixels, the rest is background.
    void resize(QSize groesse);
    // A new resolution: the picture is carried over logical pixel by logical pixel.
    void setFaktor(int faktor);

    QSize groesse() const { return groesse_; }
    int faktor() const { return faktor_; }
    // Device pixels; its device pixel ratio is faktor().
    const QPixmap& pixmap() const { return pixmap_; }

    // The device pixels per logical pixel for a screen's ratio: a whole number, never below the
    // ratio (a fractional ratio shows the strip slightly reduced rather than blurred).
    static int faktorFuer(qreal devicePixelRatio);

    // After each drawing operation, with the logical rectangle it changed.
    std::function<void(const QRect&)> onGeaendert;

private:
    QPixmap neuesBild() const;
    // Fills the logical rectangle with the trace colour, clipped to the strip.
    void fuelle(const QRect& logisch);
    void gemalt(const QRect& logisch);

    QSize groesse_;
    int faktor_;
    QPixmap pixmap_;
};

}  // namespace krv::gui
