#include "ui/SymbolImage.h"

#include "SymbolCatalog.h"
#include "TextMeasuring.h"

#include <foundation/Logger.h>

#include <QFontMetricsF>
#include <QPainter>
#include <QThreadPool>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <exception>
#include <future>
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

// Building a symbol takes path operations on many segments (milliseconds for the larger ones), so
// each drawing is built once per weight, on a worker thread when it is asked for ahead of its
// first draw.
struct PathCache {
    std::mutex mutex;
    std::map<std::pair<const SymbolImage::Drawing*, int>, std::shared_future<QPainterPath>> paths;
};

PathCache& pathCache() {
    // Never destroyed: a draw may still look a path up while the program's statics go.
    static auto* cache = new PathCache;
    return *cache;
}

QPainterPath build(const SymbolImage::Drawing& drawing, int weight) {
    const SymbolPen pen{.width = symbols::strokeWidth(weight), .fill = drawing.fill};
    return QTransform::fromScale(1 / symbols::designSize, 1 / symbols::designSize).map(drawing.build(pen));
}

using PathPromise = std::shared_ptr<std::promise<QPainterPath>>;

// The path's entry; `claimed` is set when this call made it, and its caller must build the path.
std::shared_future<QPainterPath> entry(const SymbolImage::Drawing& drawing, int weight, PathPromise& claimed) {
    auto& cache = pathCache();
    std::lock_guard lock(cache.mutex);
    const auto key = std::make_pair(&drawing, weight);
    if (auto it = cache.paths.find(key); it != cache.paths.end()) return it->second;
    claimed = std::make_shared<std::promise<QPainterPath>>();
    return cache.paths.emplace(key, claimed->get_future().share()).first->second;
}

void fulfil(const PathPromise& promise, const SymbolImage::Drawing& drawing, int weight) {
    try {
        promise->set_value(build(drawing, weight));
    } catch (...) {
        promise->set_exception(std::current_exception());
    }
}

QPainterPath cachedPath(const SymbolImage::Drawing& drawing, int weight) {
    weight = std::clamp(weight, 100, 900);
    PathPromise claimed;
    const auto path = entry(drawing, weight, claimed);
    if (claimed) fulfil(claimed, drawing, weight);
    return path.get();
}

void buildAhead(const SymbolImage::Drawing& drawing, int weight) {
    weight = std::clamp(weight, 100, 900);
    PathPromise claimed;
    entry(drawing, weight, claimed);
    if (!claimed) return;
    // Its own threads: a draw waiting for a path never waits behind other work. Destroyed at
    // exit after its builds end; drawings belong to the catalogue, which is never destroyed.
    static QThreadPool builders;
    builders.start([claimed, &drawing, weight] { fulfil(claimed, drawing, weight); });
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

void SymbolImage::prepare(int weight) const {
    if (drawing_) buildAhead(*drawing_, weight);
}

void SymbolImage::draw(QPainter& painter, const QRectF& rect, const QColor& color, int weight) const {
    if (!drawing_ || rect.isEmpty()) return;
    // A copy of its own: filling a path fills its shared data's lazy caches, so two threads
    // drawing one shared path at once would corrupt each other's outline.
    auto shape = path(weight);
    if (shape.elementCount() > 0) {
        const QPainterPath::Element first = shape.elementAt(0);
        shape.setElementPositionAt(0, first.x, first.y);
    }
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
