#include "ui/DisplayList.h"
#include "ui/EmitterLayer.h"
#include "ui/LayerRepresentable.h"
#include "ui/Renderer.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace {

using graphics::CGSize;
using ui::EmitterLayer;

graphics::Image square(QColor color, int side = 8) {
    QImage pixels(side, side, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(color);
    return graphics::Image(pixels);
}

ui::EmitterCell sprayCell() {
    ui::EmitterCell cell;
    cell.birthRate = 20;
    cell.lifetime = 1;
    cell.velocity = 60;
    cell.velocityRange = 10;
    cell.spinRange = std::numbers::pi;
    cell.alphaRange = 0.5;
    cell.alphaSpeed = -0.5;
    cell.scale = 1;
    cell.scaleRange = 0.5;
    cell.scaleSpeed = -0.2;
    cell.emissionRange = std::numbers::pi / 4;
    cell.emissionLongitude = -std::numbers::pi / 2;
    cell.contents = square(Qt::red);
    return cell;
}

std::shared_ptr<EmitterLayer> sprayLayer(std::uint32_t seed, double created) {
    auto layer = std::make_shared<EmitterLayer>(created);
    layer->seed = seed;
    layer->emitterPosition = {50, 80};
    layer->emitterSize = {40, 10};
    layer->emitterShape = EmitterLayer::Shape::rectangle;
    layer->emitterCells = {sprayCell()};
    return layer;
}

// A soft white puff: opaque in the middle, fading to nothing before its edges.
graphics::Image puff(int side = 64) {
    QImage pixels(side, side, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double r = std::hypot(x + 0.5 - side / 2.0, y + 0.5 - side / 2.0) / (side / 2.0);
            const int a = int(255 * std::clamp(1 - r, 0.0, 1.0) + 0.5);
            pixels.setPixel(x, y, qRgba(a, a, a, a));
        }
    return graphics::Image(pixels);
}

bool same(const EmitterLayer::Particle& a, const EmitterLayer::Particle& b) {
    return a.cell == b.cell && a.birth == b.birth && a.position == b.position && a.angle == b.angle &&
           a.scale == b.scale && a.alpha == b.alpha;
}

// An emitter over the view it stands in, switched on and off through its description.
struct Spray {
    using LayerType = EmitterLayer;
    bool on = true;
    graphics::CGPoint at{20, 20};
    std::shared_ptr<EmitterLayer> makeLayer(const ui::LayerContext& context) const {
        auto layer = sprayLayer(7, context.time);
        layer->emitterPosition = at;
        return layer;
    }
    void updateLayer(EmitterLayer& layer, const ui::LayerContext& context) const {
        layer.setLifetime(on ? 1 : 0, context.time);
    }
};

} // namespace

TEST(EmitterLayerTest, BirthsFollowTheClockSeedAndCellAlone) {
    const auto early = sprayLayer(3, 10.0), late = sprayLayer(3, 10.32), other = sprayLayer(4, 10.0);
    // The later layer shows the births since it exists, identical to the earlier one's.
    for (double t = 10.32; t < 13; t += 0.037) {
        auto all = early->particles(t);
        const auto mine = late->particles(t);
        std::erase_if(all, [](const EmitterLayer::Particle& p) { return double(p.birth) / 20 < 10.32; });
        ASSERT_EQ(all.size(), mine.size()) << t;
        for (std::size_t i = 0; i < all.size(); ++i)
            EXPECT_TRUE(same(all[i], mine[i])) << t;
    }
    // One particle a second a lifetime of 1 s at 20 a second: 20 alive in steady state, born at k / 20.
    const auto steady = early->particles(12.01);
    ASSERT_EQ(steady.size(), 20u);
    EXPECT_EQ(steady.front().birth, 221);
    EXPECT_EQ(steady.back().birth, 240);
    for (const auto& p : steady) {
        EXPECT_GE(p.alpha, 0);
        EXPECT_LE(p.alpha, 1);
        EXPECT_GT(p.scale, 0);
    }
    // Another seed: other particles.
    const auto elsewhere = other->particles(12.01);
    ASSERT_EQ(elsewhere.size(), steady.size());
    int equal = 0;
    for (std::size_t i = 0; i < steady.size(); ++i)
        equal += steady[i].position == elsewhere[i].position;
    EXPECT_EQ(equal, 0);
    EXPECT_TRUE(early->particles(9.99).empty()); // nothing before the layer was made
}

TEST(EmitterLayerTest, ParticlesMoveInStraightLinesFromTheirBirthPlace) {
    EmitterLayer layer(0);
    layer.emitterPosition = {100, 200};
    layer.emitterSize = {50, 50}; // a point emitter ignores its size
    ui::EmitterCell cell;
    cell.birthRate = 4;
    cell.lifetime = 2;
    cell.velocity = 30;
    cell.scale = 0.5;
    cell.scaleSpeed = -0.2; // hidden from 2.5 s of age on: never within the lifetime
    cell.alphaSpeed = -0.4;
    cell.emissionLongitude = -std::numbers::pi / 2;
    cell.contents = square(Qt::blue);
    layer.emitterCells = {cell};
    const auto shown = layer.particles(1.3);
    ASSERT_EQ(shown.size(), 6u); // born at 0, 0.25, …, 1.25
    for (const auto& p : shown) {
        const double age = 1.3 - double(p.birth) / 4;
        EXPECT_NEAR(p.position.x, 100, 1e-9);
        EXPECT_NEAR(p.position.y, 200 - 30 * age, 1e-9);
        EXPECT_NEAR(p.scale, 0.5 - 0.2 * age, 1e-12);
        EXPECT_NEAR(p.alpha, 1 - 0.4 * age, 1e-6);
        EXPECT_EQ(p.angle, 0);
    }
    // A multiplier holds for the births from its time on; the ones in the air keep theirs.
    layer.setLifetime(0.5, 1.3);
    EXPECT_EQ(layer.particles(2.2).size(), 8u); // 0.25 … 1.25 living 2 s, 1.5 … 2.0 living 1 s
    layer.setLifetime(0, 2.2);
    EXPECT_EQ(layer.particles(3.2).size(), 1u); // born at 1.25 with 2 s
    EXPECT_TRUE(layer.particles(3.3).empty());
    EXPECT_FALSE(layer.isAnimating(3.3));
    EXPECT_TRUE(layer.isAnimating(3.2));
}

TEST(LayerRepresentableTest, PaintsOnTheClockPastItsFrameAndRestsWhenDone) {
    Spray spray;
    const auto scene = [&] {
        return ui::View(ui::ZStack({ui::layerView(spray).frame(40, 40)})).frame(120, 120);
    };
    ui::TestHost host(scene(), {120, 120});
    host.stepFrames(30);
    const auto hosted = [&] {
        const auto found =
            host.findAll([](const ui::Element& e) { return ui::hostedLayer<Spray>(&e) != nullptr; });
        return found.size() == 1 ? ui::hostedLayer<Spray>(found.front()) : nullptr;
    };
    EmitterLayer* layer = hosted();
    ASSERT_TRUE(layer);
    // Rising from (20, 20) of a 40-point frame at 60 points a second: half a second on, most of
    // the particles are above the frame, and drawn there.
    const QImage image = host.render();
    int redAbove = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            redAbove += qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 200;
    EXPECT_GT(redAbove, 20);
    EXPECT_TRUE(host.frameClock().hasSubscribers());
    // The same picture from a second host at the same clock time.
    {
        ui::TestHost again(scene(), {120, 120});
        again.stepFrames(30);
        EXPECT_EQ(again.render(), image);
    }
    // Off: the living finish within a second, then no more frames are asked for.
    spray.on = false;
    host.setRoot(scene());
    host.update();
    EXPECT_EQ(hosted(), layer); // updated, not made anew
    host.stepFrames(62);
    EXPECT_FALSE(host.frameClock().hasSubscribers());
    EXPECT_TRUE(layer->particles(host.frameClock().now()).empty());
}

TEST(EmitterLayerTest, SoftParticlesAtHalfTheResolutionLookTheSameAndKeepToTheClip) {
    auto layer = sprayLayer(5, 0);
    layer->emitterPosition = {60, 90};
    layer->emitterCells.front().contents = puff();
    layer->emitterCells.front().scale = 0.6;
    const auto paint = [&](double resolution, std::optional<QRect> clip = std::nullopt) {
        layer->resolution = resolution;
        ui::DisplayList list;
        layer->render(list, {120, 120}, 0.8);
        QImage image(240, 240, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        if (clip) painter.setClipRect(*clip);
        ui::render(list, painter);
        return image;
    };
    const QImage full = paint(1), half = paint(0.5);
    long long fullLight = 0, halfLight = 0;
    int far = 0;
    for (int y = 0; y < full.height(); ++y)
        for (int x = 0; x < full.width(); ++x) {
            const int a = qRed(full.pixel(x, y)), b = qRed(half.pixel(x, y));
            fullLight += a;
            halfLight += b;
            far += std::abs(a - b) > 24;
        }
    ASSERT_GT(fullLight, 255 * 400) << "puffs to compare";
    EXPECT_NEAR(double(halfLight) / double(fullLight), 1, 0.03);
    EXPECT_LT(far, full.width() * full.height() / 200) << "a few edge pixels at most";
    EXPECT_EQ(paint(0.5), half) << "the same picture every time";

    // Nothing outside the painter's clip, the inside as without it.
    const QImage clipped = paint(0.5, QRect(30, 40, 50, 40));
    int outside = 0, insideDiffers = 0;
    for (int y = 0; y < clipped.height(); ++y)
        for (int x = 0; x < clipped.width(); ++x) {
            const bool in = x >= 62 && x < 158 && y >= 82 && y < 158; // 2 pixels within the clip's edges
            const bool out = x < 58 || x >= 162 || y < 78 || y >= 162;
            if (out) outside += clipped.pixel(x, y) != qRgb(0, 0, 0);
            if (in) insideDiffers += std::abs(qRed(clipped.pixel(x, y)) - qRed(half.pixel(x, y))) > 24;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_LT(insideDiffers, 40);
}

TEST(EmitterLayerTest, AHalfResolutionPictureScalesUpAlikeOnEveryKindOfImage) {
    // A premultiplied image takes the picture straight into its pixels, any other kind through
    // Qt's smooth scaling: the same smoke, also over what is there already and under a clip.
    auto layer = sprayLayer(5, 0);
    layer->emitterPosition = {61, 90};
    layer->emitterCells.front().contents = puff();
    layer->emitterCells.front().scale = 0.6;
    layer->resolution = 0.5;
    ui::DisplayList list;
    layer->render(list, {120, 120}, 0.8);
    for (const bool clipped : {false, true}) {
        const auto paint = [&](QImage::Format format) {
            QImage image(150, 150, format);
            image.fill(QColor(40, 90, 160, 200));
            QPainter painter(&image);
            painter.translate(3, -7);
            if (clipped) painter.setClipRect(QRect(20, 30, 61, 47));
            ui::render(list, painter);
            painter.end();
            return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        const QImage direct = paint(QImage::Format_ARGB32_Premultiplied),
                     scaled = paint(QImage::Format_ARGB32);
        int inked = 0, far = 0;
        for (int y = 0; y < direct.height(); ++y)
            for (int x = 0; x < direct.width(); ++x) {
                const QRgb a = direct.pixel(x, y), b = scaled.pixel(x, y);
                inked += qRed(a) > 60;
                far += std::abs(qRed(a) - qRed(b)) > 3 || std::abs(qGreen(a) - qGreen(b)) > 3 ||
                       std::abs(qBlue(a) - qBlue(b)) > 3 || std::abs(qAlpha(a) - qAlpha(b)) > 3;
            }
        EXPECT_GT(inked, clipped ? 300 : 1000) << "smoke to compare";
        EXPECT_LT(far, 10) << (clipped ? "clipped" : "whole");
    }
}

TEST(EmitterLayerTest, OnlyParticlesThatCannotShowAreLeftOut) {
    // Drawn straight under a moved and scaled painter, a clip changes no pixel inside it (but
    // for Qt's rounding under a clip): every particle that reaches it is drawn, edges and turns
    // included.
    auto layer = sprayLayer(3, 0);
    layer->emitterPosition = {60, 90};
    layer->emitterCells.front().contents = puff();
    layer->emitterCells.front().scale = 0.6;
    ui::DisplayList list;
    layer->render(list, {120, 120}, 0.8);
    const auto paint = [&](std::optional<QRect> clip) {
        QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(13.5, -20.25);
        painter.scale(1.5, 1.25);
        if (clip) painter.setClipRect(*clip);
        ui::render(list, painter);
        return image;
    };
    const QImage whole = paint(std::nullopt);
    for (const QRect clip : {QRect(40, 60, 30, 20), QRect(0, 0, 120, 40), QRect(70, 85, 8, 8)}) {
        const QImage clipped = paint(clip);
        const QRect inside =
            QTransform().translate(13.5, -20.25).scale(1.5, 1.25).mapRect(QRectF(clip)).toRect();
        int inked = 0;
        for (int y = std::max(inside.top(), 0); y <= std::min(inside.bottom(), 199); ++y)
            for (int x = std::max(inside.left(), 0); x <= std::min(inside.right(), 199); ++x) {
                ASSERT_LE(std::abs(qRed(clipped.pixel(x, y)) - qRed(whole.pixel(x, y))), 2) << x << ", " << y;
                inked += qRed(whole.pixel(x, y)) > 0;
            }
        EXPECT_GT(inked, 0) << "particles reach the clip " << clip.x() << ", " << clip.y();
    }
}
