#include "ui/EmitterLayer.h"

#include "painting/DoubledImage.h"
#include "painting/ImageBands.h"

#include "ui/DisplayList.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_map>

namespace ui {

namespace {

std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

// The draws of one birth: value j of (seed, cell, birth) is uniform in [0, 1].
class BirthStream {
public:
    BirthStream(std::uint32_t seed, std::size_t cell, std::int64_t birth)
        : key_(mix(mix(mix(seed) ^ std::uint64_t(cell)) ^ std::uint64_t(birth))) {}
    double next() { return double(mix(key_ + counter_++) >> 11) * 0x1.0p-53; }
    // x ± r
    double around(double x, double r) { return x + r * (2 * next() - 1); }

private:
    std::uint64_t key_;
    std::uint64_t counter_ = 0;
};

// Halvings of an image down to a few pixels, made once per image (main thread only): a
// particle draws from the smallest one at least its size, so shrinking stays smooth and cheap.
const std::vector<QImage>& levelsOf(const QImage& image) {
    static std::unordered_map<qint64, std::vector<QImage>> cache;
    auto [it, made] = cache.try_emplace(image.cacheKey());
    if (made) {
        QImage level = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        it->second.push_back(level);
        while (level.width() > 8 && level.height() > 8) {
            level = level.scaled(level.width() / 2, level.height() / 2, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
            it->second.push_back(level);
        }
    }
    return it->second;
}

} // namespace

EmitterLayer::EmitterLayer(double creationTime)
    : creationTime_(creationTime)
    , lifetimes_{{creationTime, 1.0f}} {}

void EmitterLayer::setLifetime(float multiplier, double time) {
    // A change replaces those planned at or after its time.
    while (lifetimes_.size() > 1 && lifetimes_.back().first >= time)
        lifetimes_.pop_back();
    if (lifetimes_.back().first >= time) lifetimes_.back() = {time, multiplier};
    if (lifetimes_.back().second == multiplier) return;
    lifetimes_.emplace_back(time, multiplier);
    // Settings that no living particle was born under are dropped, so that switching on and off
    // for hours keeps the history short.
    float longestCell = 0, longest = 0;
    for (const auto& cell : emitterCells)
        longestCell = std::max(longestCell, cell.lifetime);
    for (const auto& entry : lifetimes_)
        longest = std::max(longest, entry.second);
    const double oldestBirth = time - double(longestCell) * longest;
    std::size_t drop = 0;
    while (drop + 1 < lifetimes_.size() && lifetimes_[drop + 1].first <= oldestBirth)
        ++drop;
    lifetimes_.erase(lifetimes_.begin(), lifetimes_.begin() + std::ptrdiff_t(drop));
}

float EmitterLayer::lifetime(double time) const {
    if (time < lifetimes_.front().first) return 0; // before the layer was made
    float value = lifetimes_.front().second;
    for (const auto& [from, multiplier] : lifetimes_) {
        if (from > time) break;
        value = multiplier;
    }
    return value;
}

std::vector<EmitterLayer::Particle> EmitterLayer::particles(double time) const {
    std::vector<Particle> shown;
    if (!(time >= creationTime_)) return shown;
    float longest = 0;
    for (const auto& [from, multiplier] : lifetimes_)
        longest = std::max(longest, multiplier);
    for (std::size_t c = 0; c < emitterCells.size(); ++c) {
        const EmitterCell& cell = emitterCells[c];
        const double rate = cell.birthRate;
        const double maxLife = double(cell.lifetime) * longest;
        if (!(rate > 0) || !(maxLife > 0) || !std::isfinite(rate) || !std::isfinite(maxLife)) continue;
        const auto first =
            std::int64_t(std::max(std::ceil(creationTime_ * rate), std::floor((time - maxLife) * rate)));
        const auto last = std::int64_t(std::floor(time * rate));
        for (std::int64_t k = first; k <= last; ++k) {
            const double born = double(k) / rate;
            if (born < creationTime_) continue;
            const double life = double(cell.lifetime) * lifetime(born);
            const double age = time - born;
            if (!(life > 0) || age < 0 || age >= life) continue;
            BirthStream draw(seed, c, k);
            const graphics::CGSize area = emitterShape == Shape::rectangle ? emitterSize : graphics::CGSize{};
            const double x = emitterPosition.x + area.width * (draw.next() - 0.5);
            const double y = emitterPosition.y + area.height * (draw.next() - 0.5);
            const double direction = cell.emissionLongitude + cell.emissionRange * (draw.next() - 0.5);
            const double speed = draw.around(cell.velocity, cell.velocityRange);
            const double spin = draw.around(0, cell.spinRange);
            const double alpha = draw.around(1, cell.alphaRange) + cell.alphaSpeed * age;
            const double scale = draw.around(cell.scale, cell.scaleRange) + cell.scaleSpeed * age;
            if (!(scale > 0)) continue;
            Particle particle;
            particle.cell = c;
            particle.birth = k;
            particle.position = {x + speed * age * std::cos(direction),
                                 y + speed * age * std::sin(direction)};
            particle.angle = spin * age;
            particle.scale = scale;
            particle.alpha = std::clamp(alpha, 0.0, 1.0);
            shown.push_back(particle);
        }
    }
    return shown;
}

void EmitterLayer::render(DisplayList& list, graphics::CGSize, double time) const {
    auto shown = particles(time);
    std::erase_if(shown,
                  [&](const Particle& p) { return p.alpha <= 0 || emitterCells[p.cell].contents.isNull(); });
    if (shown.empty()) return;
    QRectF bounds;
    for (const auto& p : shown) {
        const QSize pixels = emitterCells[p.cell].contents.pixelSize();
        const double reach = std::hypot(pixels.width(), pixels.height()) * p.scale / 2;
        bounds |= QRectF(p.position.x - reach, p.position.y - reach, 2 * reach, 2 * reach);
    }
    std::vector<QImage> images;
    for (const auto& cell : emitterCells)
        images.push_back(cell.contents.qImage());
    const double scale = std::isfinite(resolution) ? std::clamp(resolution, 0.05, 1.0) : 1.0;
    list.draw(bounds, [shown = std::move(shown), images = std::move(images), bounds,
                       scale](QPainter& painter) {
        // `visible` in the target's device pixels: particles wholly outside it are not drawn.
        auto drawParticles = [&](QPainter& target, const QRectF& visible, bool smooth) {
            const QTransform base = target.transform();
            const QTransform toDevice = target.deviceTransform();
            const double deviceScale = std::sqrt(std::abs(toDevice.determinant()));
            target.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
            const qreal opacity = target.opacity();
            for (const auto& p : shown) {
                const QImage& image = images[p.cell];
                const double width = image.width() * p.scale, height = image.height() * p.scale;
                const double reach = std::hypot(width, height) / 2 + 1; // turned any way, and filtered
                if (!toDevice
                         .mapRect(QRectF(p.position.x - reach, p.position.y - reach, 2 * reach, 2 * reach))
                         .intersects(visible))
                    continue;
                const auto& levels = levelsOf(image);
                std::size_t level = 0;
                while (level + 1 < levels.size() && levels[level + 1].width() >= width * deviceScale)
                    ++level;
                QTransform at = base;
                at.translate(p.position.x, p.position.y);
                at.rotateRadians(p.angle);
                target.setTransform(at);
                target.setOpacity(opacity * p.alpha);
                target.drawImage(QRectF(-width / 2, -height / 2, width, height), levels[level]);
            }
            target.setTransform(base);
            target.setOpacity(opacity);
        };
        if (!painter.device()) {
            drawParticles(painter, QRectF(QPointF(-1e300, -1e300), QPointF(1e300, 1e300)), true);
            return;
        }
        // Only the device pixels the particles can reach, within the clip.
        const QTransform toDevice = painter.deviceTransform();
        const qreal ratio = painter.device()->devicePixelRatioF();
        QRect area = toDevice.mapRect(bounds).toAlignedRect() &
                     QRect(0, 0, int(std::ceil(painter.device()->width() * ratio)),
                           int(std::ceil(painter.device()->height() * ratio)));
        if (painter.hasClipping())
            area &= toDevice.mapRect(painter.clipBoundingRect()).toAlignedRect().adjusted(-1, -1, 1, 1);
        if (area.isEmpty()) return;
        if (scale >= 1 || painter.compositionMode() != QPainter::CompositionMode_SourceOver) {
            drawParticles(painter, area, true);
            return;
        }
        // The picture's pixels lie on one grid of the device for every layer and every part of
        // it drawn apart (a masked inside and outside copy, say), so the parts join up exactly
        // and sprites can be sampled at their nearest texel: the smoothing is the scaling up.
        const int step = int(std::lround(1 / scale));
        const bool onGrid = std::abs(step * scale - 1) < 1e-9;
        if (onGrid) {
            const auto down = [step](int v) {
                return v >= 0 ? v / step * step : -((-v + step - 1) / step * step);
            };
            area.setCoords(down(area.left()), down(area.top()), down(area.right() + step) - 1,
                           down(area.bottom() + step) - 1);
        }
        QImage pixels(QSize(int(std::ceil(area.width() * scale)), int(std::ceil(area.height() * scale))),
                      QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::transparent);
        {
            QPainter apart(&pixels);
            // Soft contents fade out before their edges, so antialiased edges would show nothing
            // more, and cost several spans a line where the raster engine counts spans.
            apart.setRenderHints(painter.renderHints() & ~QPainter::Antialiasing);
            apart.setOpacity(painter.opacity());
            apart.setTransform(toDevice * QTransform::fromTranslate(-area.left(), -area.top()) *
                               QTransform::fromScale(double(pixels.width()) / area.width(),
                                                     double(pixels.height()) / area.height()));
            drawParticles(apart, QRectF(pixels.rect()), !onGrid);
        }
        painter.setWorldTransform(QTransform());
        painter.setViewTransformEnabled(false);
        painter.setOpacity(1);
        if (onGrid && step == 2 && detail::drawDoubled(painter, area.topLeft(), pixels)) return;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        detail::drawImageInBands(
            painter,
            QRectF(area.left() / ratio, area.top() / ratio, area.width() / ratio, area.height() / ratio),
            pixels);
    });
}

bool EmitterLayer::isAnimating(double time) const {
    for (const auto& cell : emitterCells)
        if (cell.birthRate > 0 && cell.lifetime > 0 && lifetime(time) > 0) return true;
    return !particles(time).empty();
}

} // namespace ui
