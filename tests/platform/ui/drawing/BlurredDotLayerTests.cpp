#include "ui/Blur.h"
#include "ui/Canvas.h"
#include "ui/DisplayList.h"
#include "ui/Graph.h"
#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <variant>

namespace {

using graphics::CGRect;
using graphics::CGSize;
using ui::GraphicsContext;

constexpr int dotCount = 16;

struct DotScene {
    double sigma;      // the blur of each dot's second fill, in points
    double scale;      // of the dots, about the canvas's corner
    bool disqualified; // each layer also fills a clear rectangle, which keeps it off the cache
    ui::Color color = ui::Color(0.1, 0.4, 1);
};

// Dots as a vanishing view draws them: in a layer each, moved, faded, then filled sharp and
// again blurred; at fractional places and sizes, apart (where dots overlap, the two ways round
// differently, a level per dot at most) and clear of the surface's edges (where the offscreen
// passes lose what the blur would bring back in, and the cache does not).
ui::View dots(const DotScene& scene) {
    return ui::Canvas([scene](GraphicsContext& ctx, CGSize) {
        ctx.scaleBy(scene.scale, scene.scale);
        for (int i = 0; i < dotCount; ++i) {
            const double d = 6 + 0.73 * i;
            const CGRect disc{{20.3 + 47.1 * (i % 4), 19.7 + 45.4 * (i / 4)}, {d, d}};
            ctx.drawLayer([&](GraphicsContext& layer) {
                layer.translateBy(0.37 * i, -0.21 * i);
                layer.setOpacity(0.35 + 0.04 * i);
                const auto shading = GraphicsContext::Shading::color(scene.color);
                layer.fill(ui::Path::ellipseIn(disc), shading);
                layer.addFilter(GraphicsContext::Filter::blur(scene.sigma));
                layer.fill(ui::Path::ellipseIn(disc), shading);
                if (scene.disqualified)
                    layer.fill(ui::Path(CGRect{{0, 0}, {1, 1}}),
                               GraphicsContext::Shading::color(ui::Color::clear));
            });
        }
    });
}

int drawsIn(const ui::DisplayList& list) {
    int count = 0;
    for (const auto& item : list.items()) {
        if (std::holds_alternative<ui::DisplayList::Draw>(item)) ++count;
        if (const auto* layer = std::get_if<ui::DisplayList::Layer>(&item)) count += drawsIn(*layer->content);
    }
    return count;
}

struct Rendered {
    QImage image;
    int cachedDraws; // dot layers one after another make one item
};

Rendered render(const DotScene& scene, double ratio) {
    ui::TestHost host(ui::View(dots(scene)).frame(260, 260), {260, 260});
    return {host.render(ratio, Qt::white).convertToFormat(QImage::Format_ARGB32),
            drawsIn(host.graph().displayList())};
}

struct Difference {
    int largest = 0;
    int pixelsPastTwo = 0; // pixels with a channel more than two levels apart
};

Difference difference(const QImage& a, const QImage& b) {
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            d.largest = std::max(d.largest, most);
            d.pixelsPastTwo += most > 2;
        }
    return d;
}

} // namespace

TEST(BlurredDotLayerTest, CachedDotsMatchTheOffscreenPassesWithinAboutTwoLevels) {
    // Blurs from the true kernel's range into the box passes', at one and two pixels a point.
    for (double sigma : {2.5, 3.0, 5.4})
        for (double scale : {1.0, 1.3})
            for (double ratio : {1.0, 2.0}) {
                SCOPED_TRACE(testing::Message()
                             << "sigma " << sigma << " scale " << scale << " ratio " << ratio);
                const Rendered cached = render({sigma, scale, false}, ratio);
                const Rendered exact = render({sigma, scale, true}, ratio);
                EXPECT_EQ(cached.cachedDraws, 1);
                EXPECT_EQ(exact.cachedDraws, 0);
                // Both ways round to whole levels at different steps: a few pixels land three apart.
                const Difference d = difference(cached.image, exact.image);
                EXPECT_LE(d.largest, 3);
                EXPECT_LE(d.pixelsPastTwo, cached.image.width() * cached.image.height() / 5000);
            }
}

TEST(BlurredDotLayerTest, ABlurThatDriftsKeepsItsDiscsOnlyWhileTheyStillMatch) {
    // Where the box passes widen, a blur a hair smaller and one a hair larger blur differently:
    // painted one after the other, the second must not take the first one's discs.
    double step = 4;
    while (ui::boxBlurRadii(step) == ui::boxBlurRadii(step + 0.001))
        step += 0.001;
    for (double sigma : {step, step + 0.001, step + 0.001 + 1e-7}) {
        SCOPED_TRACE(testing::Message() << "sigma " << sigma);
        const Difference d =
            difference(render({sigma, 1, false}, 1).image, render({sigma, 1, true}, 1).image);
        EXPECT_LE(d.largest, 3);
        EXPECT_LE(d.pixelsPastTwo, 260 * 260 / 5000);
    }
}

TEST(BlurredDotLayerTest, SmallBlursAndTurnedDevicesTakeTheOffscreenPasses) {
    // A blur under two device pixels would show the cache's sub-pixel shift: painted exactly.
    const Rendered small = render({1.2, 1, false}, 1);
    EXPECT_EQ(small.cachedDraws, 1) << "recorded for the cache, painted without it";
    EXPECT_EQ(difference(small.image, render({1.2, 1, true}, 1).image).largest, 0);

    // Turned by the view around the canvas: the dots would no longer be upright ellipses.
    const auto turned = [](bool disqualified) {
        ui::TestHost host(
            ui::View(dots({4, 1, disqualified})).frame(260, 260).rotationEffect(ui::Angle::degrees(20)),
            {260, 260});
        return host.render(1, Qt::white).convertToFormat(QImage::Format_ARGB32);
    };
    EXPECT_EQ(difference(turned(false), turned(true)).largest, 0);
}

TEST(BlurredDotLayerTest, FillsHeldForTheCacheKeepTheirPlaceWhenTheLayerTurnsOutOtherwise) {
    // Dots that could be cached, then a stroke that cannot: the stroke lies over them; and dots
    // filled straight into the canvas, never in a layer, are all there.
    const auto shading = [](ui::Color c) { return GraphicsContext::Shading::color(c); };
    ui::TestHost host(ui::View(ui::Canvas([&](GraphicsContext& ctx, CGSize) {
                          ctx.drawLayer([&](GraphicsContext& layer) {
                              const auto dot = ui::Path::ellipseIn({{20, 20}, {40, 40}});
                              layer.fill(dot, shading(ui::Color(1, 0, 0)));
                              layer.addFilter(GraphicsContext::Filter::blur(3));
                              layer.fill(dot, shading(ui::Color(1, 0, 0)));
                              ui::Path line;
                              line.move({10, 40});
                              line.addLine({70, 40});
                              layer.stroke(line, shading(ui::Color(0, 0, 1)), 6);
                          });
                      })).frame(80, 80),
                      {80, 80});
    const QImage image = host.render(1, Qt::white).convertToFormat(QImage::Format_ARGB32);
    ui::TestHost plain(ui::View(ui::Canvas([&](GraphicsContext& ctx, CGSize) {
                           ctx.fill(ui::Path::ellipseIn({{20, 20}, {40, 40}}), shading(ui::Color(0, 1, 0)));
                       })).frame(80, 80),
                       {80, 80});
    const QRgb onLine = image.pixel(40, 40), onDot = image.pixel(40, 28);
    const QRgb green = plain.render(1, Qt::white).convertToFormat(QImage::Format_ARGB32).pixel(40, 40);
    EXPECT_GT(qBlue(onLine), 150);
    EXPECT_LT(qRed(onLine), 150);
    EXPECT_GT(qRed(onDot), 200);
    EXPECT_LT(qBlue(onDot), 100);
    EXPECT_GT(qGreen(green), 200);
    EXPECT_LT(qRed(green), 50);
}

TEST(BlurredDotLayerTest, DotLayersPaintedAsOneItemKeepTheirOrder) {
    // Overlapping dots of three colours, one layer under a faded context and one blurred too
    // little for the cache (painted exactly between the others): each lies over the ones before
    // it, as the offscreen passes lay them; under a faded view each layer goes down on its own.
    const auto scene = [](bool disqualified, double viewOpacity) {
        const auto layer = [disqualified](GraphicsContext& ctx, CGRect disc, ui::Color color, double sigma) {
            ctx.drawLayer([&](GraphicsContext& layer) {
                layer.setOpacity(0.8);
                const auto shading = GraphicsContext::Shading::color(color);
                layer.fill(ui::Path::ellipseIn(disc), shading);
                layer.addFilter(GraphicsContext::Filter::blur(sigma));
                layer.fill(ui::Path::ellipseIn(disc), shading);
                if (disqualified)
                    layer.fill(ui::Path(CGRect{{0, 0}, {1, 1}}),
                               GraphicsContext::Shading::color(ui::Color::clear));
            });
        };
        ui::TestHost host(ui::View(ui::Canvas([=](GraphicsContext& ctx, CGSize) {
                              layer(ctx, {{20.4, 30.2}, {40, 40}}, ui::Color(1, 0, 0), 4);
                              layer(ctx, {{35.7, 28.9}, {36, 36}}, ui::Color(0, 0, 1), 1.2);
                              ctx.setOpacity(0.6);
                              layer(ctx, {{45.1, 40.6}, {38, 38}}, ui::Color(0, 0.8, 0), 3);
                              ctx.setOpacity(1);
                              layer(ctx, {{30.3, 50.8}, {30, 30}}, ui::Color(1, 0.8, 0), 5);
                          }))
                              .frame(120, 120)
                              .opacity(viewOpacity),
                          {120, 120});
        return host.render(1, Qt::white).convertToFormat(QImage::Format_ARGB32);
    };
    for (double viewOpacity : {1.0, 0.5}) {
        SCOPED_TRACE(testing::Message() << "view opacity " << viewOpacity);
        // Where dots overlap the two ways round differently, a level per dot at most.
        EXPECT_LE(difference(scene(false, viewOpacity), scene(true, viewOpacity)).largest, 3);
    }
}
