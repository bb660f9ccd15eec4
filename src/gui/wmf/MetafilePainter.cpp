#include "gui/wmf/MetafilePainter.hpp"

#include <QPainter>
#include <QPainterPath>

#include "core/device/wmf/PictureFrame.hpp"
#include "core/device/wmf/Player.hpp"
#include "gui/wmf/QtCanvas.hpp"

namespace krv::wmf {

void paintMetafile(QPainter& painter, const QRectF& area, const Metafile& mf) {
    const auto frame = frameFor(mf, RectF{area.left(), area.top(), area.right(), area.bottom()});
    if (!frame) return;
    const RectF& d = frame->device;
    QPainterPath base;
    base.addRect(QRectF(QPointF(d.left, d.top), QPointF(d.right, d.bottom)));
    // The records' clipping replaces the painter's; keep whatever clip the caller had set.
    if (painter.hasClipping()) base = base.intersected(painter.clipPath());

    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    QtCanvas canvas(painter, base);
    canvas.setClip({});
    play(mf, *frame, canvas);
    painter.restore();
}

QImage renderMetafile(const Metafile& mf, QSize size, qreal ratio, QColor background) {
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    QPainter painter(&image);
    paintMetafile(painter, QRectF(QPointF(0, 0), QSizeF(size)), mf);
    painter.end();
    return image;
}

}  // namespace krv::wmf
