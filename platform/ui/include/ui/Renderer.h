#pragma once

#include "ui/DisplayList.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSize>

namespace ui {

// Paints a display list with `painter`, whose transform maps root coordinates to the device.
void render(const DisplayList& list, QPainter& painter);

// A new ARGB32 premultiplied image of `size` logical pixels (times `devicePixelRatio`) filled
// with `background`, with `list` painted on it.
QImage renderImage(const DisplayList& list, QSize size, qreal devicePixelRatio = 1,
                   QColor background = Qt::transparent);

} // namespace ui
