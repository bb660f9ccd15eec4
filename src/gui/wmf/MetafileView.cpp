#include "gui/wmf/MetafileView.hpp"

#include <QPainter>

#include "gui/wmf/MetafilePainter.hpp"

namespace krv::wmf {

MetafileView::MetafileView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);  // clicks belong to what lies beneath
}

void MetafileView::setMetafile(std::shared_ptr<const Metafile> mf) {
    metafile_ = std::move(mf);
    cache_ = QPixmap();
    update();
}

void MetafileView::paintEvent(QPaintEvent*) {
    if (!metafile_) return;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (pixels.isEmpty()) return;
    if (cache_.size() != pixels || cache_.devicePixelRatio() != ratio) {
        cache_ = QPixmap(pixels);
        cache_.setDevicePixelRatio(ratio);
        cache_.fill(Qt::transparent);
        QPainter painter(&cache_);
        paintMetafile(painter, QRectF(QPointF(0, 0), QSizeF(size())), *metafile_);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, cache_);
}

}  // namespace krv::wmf
