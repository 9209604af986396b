#include "Views/BurnShader.h"

#include "ui/Rectangle.h"
#include "ui/ShaderLibrary.h"
#include "ui/TestHost.h"
#include "ui/VisualEffect.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using quoril::burnColor;

const QColor overlayGrey(51, 51, 51);

// The overlay as the list draws it: a dark rectangle burnt by "burn" from the library.
QImage burnt(graphics::CGSize size, float time, float seed, double scale = 1) {
    quoril::registerBurnShader();
    auto overlay =
        ui::View(ui::Rectangle().fill(ui::Color(0.2, 0.2, 0.2)))
            .visualEffect([time, seed](ui::VisualEffect content, const ui::GeometryProxy& proxy) {
                using A = ui::Shader::Argument;
                return content.colorEffect(ui::ShaderLibrary::default_().shader(
                    "burn", {A::float2(proxy.size()), A::float_(0), A::float_(time), A::float_(seed)}));
            });
    ui::TestHost host(overlay, size);
    return host.render(scale, Qt::transparent);
}

int burntThrough(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == overlayGrey.rgba();
    return count;
}

TEST(BurnShaderTest, ImagesDependOnlyOnSizeTimeAndSeedAndEndAtTheOverlaysGrey) {
    const graphics::CGSize size{200, 120};
    const QImage half = burnt(size, 0.5f, 4242);
    EXPECT_EQ(burnt(size, 0.5f, 4242), half) << "however the rows were shared out";
    EXPECT_NE(burnt(size, 0.5f, 4243), half) << "another seed, another outline";

    const QImage start = burnt(size, 0, 4242);
    QImage clear(start.size(), start.format());
    clear.fill(Qt::transparent);
    EXPECT_EQ(start, clear);
    EXPECT_EQ(burntThrough(burnt(size, 1, 4242)), 200 * 120);
    EXPECT_EQ(burntThrough(burnt(size, 0.95f, 4242)), 200 * 120) << "the last frames are ash";

    // The edges go first: a band along each edge is burnt before the middle.
    const QImage early = burnt(size, 0.3f, 4242);
    EXPECT_EQ(qAlpha(early.pixel(100, 60)), 0);
    int edgeBurnt = 0;
    for (int x = 0; x < 200; ++x)
        edgeBurnt += early.pixel(x, 0) == overlayGrey.rgba();
    EXPECT_GT(edgeBurnt, 60);
}

TEST(BurnShaderTest, WhatIsBurntThroughStaysBurntAndTheFrontGlowsAndChars) {
    const graphics::CGSize size{160, 90};
    int before = 0;
    bool sawEmber = false, sawChar = false;
    for (int step = 0; step <= 20; ++step) {
        const float time = 0.05f * float(step);
        const QImage image = burnt(size, time, 77, 2);
        const int now = burntThrough(image);
        EXPECT_GE(now, before) << "at " << time;
        before = now;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = QColor::fromRgba(image.pixel(x, y));
                sawEmber =
                    sawEmber || (c.alpha() == 255 && c.red() > 200 && c.green() > 60 && c.blue() < 120);
                sawChar = sawChar || (c.alpha() > 60 && c.alpha() < 255 && c.red() < 30);
            }
    }
    EXPECT_TRUE(sawEmber);
    EXPECT_TRUE(sawChar);
}

TEST(BurnShaderTest, DegenerateInputsGiveValidColours) {
    const ui::ShaderColor grey{0.2f, 0.2f, 0.2f, 1};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const graphics::CGSize sizes[] = {{0, 0}, {1, 1}, {400, 1}, {std::nan(""), 10}, {-5, 1e300}};
    const float times[] = {-1, 0, 1e-6f, 0.5f, 0.999f, 1, 7, nan, inf, -inf};
    const float seeds[] = {1, 9999, 0, -3, 1e9f, 3e38f, nan, inf};
    for (const auto& size : sizes)
        for (float time : times)
            for (float seed : seeds)
                for (graphics::CGPoint p : {graphics::CGPoint{0.5, 0.5}, {-3, 200}, {1e12, -1e12}}) {
                    const auto c = burnColor(p, grey, size, time, seed);
                    for (float v : {c.red, c.green, c.blue, c.alpha}) {
                        ASSERT_TRUE(std::isfinite(v));
                        ASSERT_GE(v, 0);
                        ASSERT_LE(v, 1);
                    }
                    ASSERT_LE(std::max({c.red, c.green, c.blue}), c.alpha + 1e-6f) << "premultiplied";
                }
    EXPECT_EQ(burnColor({200, 50}, grey, {400, 100}, nan, 3), ui::ShaderColor{});

    // A half-transparent layer burns no more opaque than it was.
    const ui::ShaderColor faint{0.1f, 0.1f, 0.1f, 0.5f};
    for (float time = 0.05f; time < 1; time += 0.05f)
        for (double y = 0.5; y < 40; y += 1)
            for (double x = 0.5; x < 60; x += 1)
                ASSERT_LE(burnColor({x, y}, faint, {60, 40}, time, 5).alpha, 0.5f)
                    << x << "," << y << " at " << time;
}

} // namespace
