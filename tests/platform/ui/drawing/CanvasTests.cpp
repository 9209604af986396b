#include "ui/Canvas.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <QDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

using graphics::CGPoint;
using graphics::CGRect;
using graphics::CGSize;
using ui::GraphicsContext;

const ui::Color red(ui::Color::RGBColorSpace::sRGB, 1, 0, 0);
const ui::Color white = ui::Color::white;

bool near(QColor a, QColor b, int tolerance = 3) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

ui::Path square(double x, double y, double side) {
    return ui::Path(CGRect{{x, y}, {side, side}});
}

TEST(CanvasTest, DrawsInItsFrameAndCutsOffTheRest) {
    std::optional<CGSize> offered;
    ui::Canvas canvas([&](GraphicsContext& ctx, CGSize size) {
        offered = size;
        ctx.fill(square(0, 0, 10), GraphicsContext::Shading::color(red));
        ctx.fill(square(35, 35, 20), GraphicsContext::Shading::color(ui::Color::black)); // runs past the edge
    });
    ui::TestHost host(ui::View(canvas).frame(40, 40).padding(10), {60, 60});
    const QImage image = host.render();
    ASSERT_TRUE(offered);
    EXPECT_EQ(*offered, (CGSize{40, 40}));
    EXPECT_TRUE(near(image.pixelColor(15, 15), Qt::red));
    EXPECT_TRUE(near(image.pixelColor(5, 5), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(47, 47), Qt::black));
    EXPECT_TRUE(near(image.pixelColor(52, 52), Qt::white)); // outside the canvas
}

TEST(CanvasTest, SymbolsAreDrawnWhereTheRendererPutsThem) {
    std::optional<CGSize> symbolSize;
    bool missingResolved = true;
    ui::Canvas canvas(
        [&](GraphicsContext& ctx, CGSize) {
            auto symbol = ctx.resolveSymbol(0);
            missingResolved = ctx.resolveSymbol(7).has_value();
            if (!symbol) return;
            symbolSize = symbol->size;
            ctx.draw(*symbol, CGPoint{30, 20});                      // centred there
            ctx.draw(*symbol, CGRect{{0, 30}, {20, 10}});            // stretched
            ctx.draw(*symbol, CGPoint{40, 40}, ui::UnitPoint::topLeading);
        },
        ui::View(red).frame(10, 6).tag(0));
    ui::TestHost host(ui::View(canvas).frame(60, 60), {60, 60});
    const QImage image = host.render();
    ASSERT_TRUE(symbolSize);
    EXPECT_EQ(*symbolSize, (CGSize{10, 6}));
    EXPECT_FALSE(missingResolved);
    EXPECT_TRUE(near(image.pixelColor(30, 20), Qt::red));
    EXPECT_TRUE(near(image.pixelColor(26, 18), Qt::red));
    EXPECT_TRUE(near(image.pixelColor(24, 20), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(18, 35), Qt::red));
    EXPECT_TRUE(near(image.pixelColor(41, 41), Qt::red));
    EXPECT_TRUE(near(image.pixelColor(5, 3), Qt::white)); // the symbol itself is not painted in place
}

TEST(CanvasTest, FiltersOpacityAndLayersChangeThePixelsOfLaterDraws) {
    ui::Canvas canvas([](GraphicsContext& ctx, CGSize) {
        const auto fill = GraphicsContext::Shading::color(ui::Color::black);
        ctx.fill(square(0, 0, 10), fill);
        GraphicsContext inverted = ctx;
        inverted.addFilter(GraphicsContext::Filter::colorInvert());
        inverted.fill(square(10, 0, 10), fill); // black inverted: white on white
        ctx.fill(square(20, 0, 10), fill);       // the original has no filter
        ctx.setOpacity(0.5);
        ctx.fill(square(30, 0, 10), fill);
        // Two overlapping squares in one layer at half opacity: one even grey, not darker where they meet.
        ctx.drawLayer([&](GraphicsContext& layer) {
            layer.fill(square(0, 20, 12), fill);
            layer.fill(square(6, 20, 12), fill);
        });
        ctx.setOpacity(1);
        ctx.addFilter(GraphicsContext::Filter::blur(2));
        ctx.fill(square(30, 20, 10), fill);
    });
    ui::TestHost host(ui::View(canvas).frame(60, 40), {60, 40});
    const QImage image = host.render();
    EXPECT_TRUE(near(image.pixelColor(5, 5), Qt::black));
    EXPECT_TRUE(near(image.pixelColor(15, 5), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(25, 5), Qt::black));
    EXPECT_NEAR(qGray(image.pixel(35, 5)), 128, 3);
    EXPECT_NEAR(qGray(image.pixel(3, 25)), 128, 3);
    EXPECT_NEAR(qGray(image.pixel(9, 25)), 128, 3);
    // The blurred square spreads past its edge and is lighter at its rim.
    EXPECT_LT(qGray(image.pixel(42, 25)), 250);
    EXPECT_GT(qGray(image.pixel(30, 25)), 60);
    EXPECT_LT(qGray(image.pixel(35, 25)), 60);
}

// A burst of particles like the effects library draws, for looking at.
TEST(CanvasTest, ParticleSceneForTheEye) {
    ui::Canvas canvas(
        [](GraphicsContext& ctx, CGSize size) {
            const auto star = ctx.resolveSymbol(0);
            if (!star) return;
            ctx.translateBy(size.width / 2, size.height / 2);
            for (int i = 0; i <= 10; ++i) {
                ctx.drawLayer([&](GraphicsContext& layer) {
                    layer.addFilter(GraphicsContext::Filter::hueRotation(ui::Angle::degrees(i * 30)));
                    layer.rotate(ui::Angle::degrees(-90 + (i - 5) * 18));
                    layer.translateBy(35, 0);
                    layer.setOpacity(0.4 + i * 0.06);
                    layer.draw(*star, CGPoint{0, 0});
                });
            }
            ctx.stroke(ui::Path::ellipseIn(CGRect{{-8, -8}, {16, 16}}),
                       GraphicsContext::Shading::radialGradient(ui::Gradient(std::vector<ui::Color>{red, white}),
                                                                CGPoint{0, 0}, 0, 8),
                       3);
        },
        ui::View(red).frame(10, 10).cornerRadius(3).tag(0));
    ui::TestHost host(ui::View(canvas).frame(100, 100), {100, 100});
    EXPECT_TRUE(host.renderPNG(QDir::temp().filePath("quoril-canvas.png"), 2));
    const QImage image = host.render();
    EXPECT_FALSE(near(image.pixelColor(50, 15), Qt::white)); // the particle straight up
}

} // namespace
