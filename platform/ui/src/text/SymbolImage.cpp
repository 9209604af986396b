#include "ui/SymbolImage.h"

#include "SymbolCatalog.h"
#include "TextMeasuring.h"

#include <foundation/Logger.h>

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace ui {
namespace {

const foundation::Logger& logger() {
    static const foundation::Logger log("ui", "SymbolImage");
    return log;
}

void warnUnknown(std::string_view name) {
    static std::mutex mutex;
    static std::set<std::string, std::less<>> warned;
    {
        std::lock_guard lock(mutex);
        if (warned.contains(name)) return;
        warned.emplace(name);
    }
    logger().error("No system symbol named \"{}\"; drawing nothing in its place", name);
}

// Building a symbol takes path operations on many segments, so each drawing is built once per
// weight.
QPainterPath cachedPath(const SymbolImage::Drawing& drawing, int weight) {
    static std::mutex mutex;
    static std::map<std::pair<const SymbolImage::Drawing*, int>, QPainterPath> cache;
    weight = std::clamp(weight, 100, 900);
    const auto key = std::make_pair(&drawing, weight);
    {
        std::lock_guard lock(mutex);
        if (auto it = cache.find(key); it != cache.end()) return it->second;
    }
    const SymbolPen pen{.width = symbols::strokeWidth(weight), .fill = drawing.fill};
    auto path =
        QTransform::fromScale(1 / symbols::designSize, 1 / symbols::designSize).map(drawing.build(pen));
    std::lock_guard lock(mutex);
    return cache.emplace(key, std::move(path)).first->second;
}

constexpr double maxImageSide = 16384;

// Capital letters are about 0.7 of the point size in most faces.
constexpr double capHeightRatio = 0.7;

SymbolMetrics centredOnCapitals(double side, double capHeight) {
    return {QSizeF(side, side), side / 2 + capHeight / 2};
}

} // namespace

SymbolImage::SymbolImage(std::string_view systemName, SymbolVariant variant)
    : systemName_(systemName)
    , drawing_(symbols::resolve(systemName, variant)) {
    if (drawing_)
        resolvedName_ = drawing_->name;
    else
        warnUnknown(systemName);
}

QPainterPath SymbolImage::path(int weight) const {
    if (!drawing_) return {};
    return cachedPath(*drawing_, weight);
}

void SymbolImage::draw(QPainter& painter, const QRectF& rect, const QColor& color, int weight) const {
    if (!drawing_ || rect.isEmpty()) return;
    const auto shape = path(weight);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width(), rect.height());
    painter.fillPath(shape, color);
    painter.restore();
}

QImage SymbolImage::image(double pointSize, const QColor& color, int weight, double scale) const {
    if (!drawing_ || !(pointSize > 0) || !(scale > 0) || !std::isfinite(pointSize * scale)) return {};
    const auto side = metrics(pointSize).size;
    const double wanted = std::ceil(side.width() * scale);
    if (wanted > maxImageSide) return {};
    const int pixels = std::max(1, static_cast<int>(wanted));
    QImage result(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    if (result.isNull()) return {};
    result.fill(Qt::transparent);
    result.setDevicePixelRatio(scale);
    QPainter painter(&result);
    draw(painter, QRectF(QPointF(0, 0), side), color, weight);
    return result;
}

SymbolMetrics SymbolImage::metrics(double pointSize) {
    if (!(pointSize > 0) || !std::isfinite(pointSize)) return {};
    return centredOnCapitals(pointSize, pointSize * capHeightRatio);
}

SymbolMetrics SymbolImage::metrics(const QFont& font) {
    // Measured as text is, where a point is a unit, so the symbol matches the text beside it.
    const double side = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF();
    if (!(side > 0) || !std::isfinite(side)) return {};
    const double capHeight = QFontMetricsF(font, textMeasuringDevice()).capHeight();
    return centredOnCapitals(side, capHeight > 0 ? capHeight : side * capHeightRatio);
}

std::vector<std::string> SymbolImage::names() {
    return symbols::names();
}

bool SymbolImage::exists(std::string_view systemName) {
    return symbols::find(systemName) != nullptr;
}

} // namespace ui
