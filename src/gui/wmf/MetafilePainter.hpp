#pragma once
// Drawing a whole metafile into a rectangle, as the picture areas and the command line do.
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>

#include "core/device/wmf/Metafile.hpp"

class QPainter;

namespace krv::wmf {

// Plays the metafile into `area` (painter coordinates): the picture fitted with its aspect
// ratio kept and centred, nothing drawn outside it. The painter's state is left as it was.
void paintMetafile(QPainter& painter, const QRectF& area, const Metafile& mf);

// The metafile fitted into an image of `size` logical pixels on `background`, drawn at the
// device pixel ratio `ratio`.
QImage renderMetafile(const Metafile& mf, QSize size, qreal ratio = 1.0, QColor background = Qt::white);

}  // namespace krv::wmf
