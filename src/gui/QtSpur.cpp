#include "gui/QtSpur.hpp"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/timing/RasterSpur.hpp"
#include "gui/QtColour.hpp"

namespace krv::gui {
namespace {

QSize nichtNegativ(QSize s) { return {std::max(s.width(), 0), std::max(s.height(), 0)}; }

}  // namespace

QtSpur::QtSpur(QSize groesse, int faktor) : groesse_(nichtNegativ(groesse)), faktor_(std::max(faktor, 1)) {
    pixmap_ = neuesBild();
}

int QtSpur::faktorFuer(qreal devicePixelRatio) {
    // The small allowance keeps a ratio of 2.0000001 from becoming 3.
    return std::max(1, static_cast<int>(std::ceil(devicePixelRatio - 1e-3)));
}

QPixmap QtSpur::neuesBild() const {
    if (groesse_.isEmpty()) return {};
    QPixmap bild(groesse_ * faktor_);
    bild.setDevicePixelRatio(faktor_);
    bild.fill(qtFarbe(timing::kSpurHintergrund));
    return bild;
}

void QtSpur::clear() {
    if (pixmap_.isNull()) return;
    pixmap_.fill(qtFarbe(timing::kSpurHintergrund));
    gemalt(QRect(QPoint(0, 0), groesse_));
}

void QtSpur::pset(int x, int y) { fuelle(QRect(x, y, 1, 1)); }

void QtSpur::line(int x1, int y1, int x2, int y2) {
    // Filled runs rather than drawLine: the end point stays out exactly, at any resolution.
    if (y1 == y2) {
        if (x1 == x2) return;
        fuelle(x2 > x1 ? QRect(QPoint(x1, y1), QPoint(x2 - 1, y1)) : QRect(QPoint(x2 + 1, y1), QPoint(x1, y1)));
    } else if (x1 == x2) {
        fuelle(y2 > y1 ? QRect(QPoint(x1, y1), QPoint(x1, y2 - 1)) : QRect(QPoint(x1, y2 + 1), QPoint(x1, y1)));
    } else if (!pixmap_.isNull()) {
        // The trace rules never ask for a slanted line; draw it plainly rather than fail.
        QPainter p(&pixmap_);
        p.setPen(QPen(qtFarbe(timing::kSpurVordergrund), 1));
        p.drawLine(x1, y1, x2, y2);
        p.end();
        gemalt(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))));
    }
}

void QtSpur::blockCopy(int zielX, int quelleX, int breite, int hoehe) {
    const int dx = zielX - quelleX;
    if (pixmap_.isNull() || breite <= 0 || hoehe <= 0 || dx == 0) return;
    // Scrolling the span of source and target by dx moves exactly the source block onto the
    // target, reads before it writes and leaves the uncovered rest as it was.
    const QRect spanne(std::min(zielX, quelleX), 0, breite + std::abs(dx), hoehe);
    const QRect geraet(spanne.x() * faktor_, 0, spanne.width() * faktor_, spanne.height() * faktor_);
    pixmap_.scroll(dx * faktor_, 0, geraet);
    gemalt(QRect(zielX, 0, breite, hoehe));
}

void QtSpur::fuelle(const QRect& logisch) {
    const QRect r = logisch & QRect(QPoint(0, 0), groesse_);
    if (r.isEmpty() || pixmap_.isNull()) return;
    QPainter p(&pixmap_);
    p.fillRect(r, qtFarbe(timing::kSpurVordergrund));  // logical, so a whole block of device pixels
    p.end();
    gemalt(r);
}

void QtSpur::gemalt(const QRect& logisch) {
    const QRect r = logisch & QRect(QPoint(0, 0), groesse_);
    if (!r.isEmpty() && onGeaendert) onGeaendert(r);
}

void QtSpur::resize(QSize groesse) {
    groesse = nichtNegativ(groesse);
    if (groesse == groesse_) return;
    const QPixmap alt = pixmap_;
    groesse_ = groesse;
    pixmap_ = neuesBild();
    if (alt.isNull() || pixmap_.isNull()) return;
    QPainter p(&pixmap_);
    p.drawPixmap(QPoint(0, 0), alt);  // same resolution: device pixel for device pixel
}

void QtSpur::setFaktor(int faktor) {
    faktor = std::max(faktor, 1);
    if (faktor == faktor_) return;
    const QPixmap alt = pixmap_;
    faktor_ = faktor;
    pixmap_ = neuesBild();
    if (alt.isNull() || pixmap_.isNull()) return;
    // Without smoothing each new device pixel takes the colour of the logical pixel it lies in.
    QPainter p(&pixmap_);
    p.drawPixmap(QRect(QPoint(0, 0), groesse_), alt);
}

}  // namespace krv::gui
