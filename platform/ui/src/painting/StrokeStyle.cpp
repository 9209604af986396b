#include "ui/StrokeStyle.h"

#include <QList>
#include <QPainterPathStroker>

#include <cmath>

namespace ui {

namespace {

Qt::PenCapStyle qtCap(graphics::CGLineCap cap) {
    switch (cap) {
    case graphics::CGLineCap::round:
        return Qt::RoundCap;
    case graphics::CGLineCap::square:
        return Qt::SquareCap;
    case graphics::CGLineCap::butt:
        break;
    }
    return Qt::FlatCap;
}

Qt::PenJoinStyle qtJoin(graphics::CGLineJoin join) {
    switch (join) {
    case graphics::CGLineJoin::round:
        return Qt::RoundJoin;
    case graphics::CGLineJoin::bevel:
        return Qt::BevelJoin;
    case graphics::CGLineJoin::miter:
        break;
    }
    // Qt's plain miter join clips a long miter; this one bevels it, and takes the limit as the
    // ratio of the whole miter to the line width, as our style does.
    return Qt::SvgMiterJoin;
}

// Qt measures dashes in line widths and wants pairs of dash and gap. An unusable pattern (a
// negative or non-finite length, or nothing but zeros) draws a solid line; so does one that is
// not finite in widths, which Qt's stroker would walk forever.
QList<qreal> qtDashPattern(const StrokeStyle& style) {
    QList<qreal> pattern;
    qreal total = 0;
    for (graphics::CGFloat length : style.dash) {
        const qreal widths = length / style.lineWidth;
        if (!std::isfinite(widths) || length < 0) return {};
        pattern.append(widths);
        total += widths;
    }
    if (total <= 0) return {};
    if (pattern.size() % 2 == 1) pattern.append(QList<qreal>(pattern));
    return pattern;
}

qreal qtDashOffset(const StrokeStyle& style) {
    const qreal widths = style.dashPhase / style.lineWidth;
    return std::isfinite(widths) ? widths : 0;
}

qreal qtMiterLimit(const StrokeStyle& style) {
    // Below one every corner is bevelled, as no miter is that short.
    return std::isfinite(style.miterLimit) ? style.miterLimit : 10;
}

} // namespace

bool StrokeStyle::drawsNothing() const {
    return !std::isfinite(lineWidth) || lineWidth <= 0;
}

QPen StrokeStyle::toQPen(const QBrush& brush) const {
    if (drawsNothing()) return QPen(Qt::NoPen);
    QPen pen(brush, lineWidth, Qt::SolidLine, qtCap(lineCap), qtJoin(lineJoin));
    pen.setMiterLimit(qtMiterLimit(*this));
    if (const QList<qreal> pattern = qtDashPattern(*this); !pattern.isEmpty()) {
        pen.setDashPattern(pattern);
        pen.setDashOffset(qtDashOffset(*this));
    }
    return pen;
}

void StrokeStyle::configure(QPainterPathStroker& stroker) const {
    stroker.setWidth(lineWidth);
    stroker.setCapStyle(qtCap(lineCap));
    stroker.setJoinStyle(qtJoin(lineJoin));
    stroker.setMiterLimit(qtMiterLimit(*this));
    if (const QList<qreal> pattern = qtDashPattern(*this); !pattern.isEmpty()) {
        stroker.setDashPattern(pattern);
        stroker.setDashOffset(qtDashOffset(*this));
    }
}

} // namespace ui
