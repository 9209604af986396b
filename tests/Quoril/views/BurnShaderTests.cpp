#include "Views/BurnShader.h"

#include "ui/Rectangle.h"
#include "ui/ShaderLibrary.h"
#include "ui/TestHost.h"
#include "ui/VisualEffect.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
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

// Pixels of the front, its glow and its charred rim as the burn first drew them, so that work on
// its speed cannot change its look. Read forwards and backwards, so that nothing a call keeps
// for the next leaks from one size, time or seed into another.
TEST(BurnShaderTest, SampledPixelsOfTheBandKeepTheirColours) {
    struct Sample {
        double x, y;
        float time, seed;
        ui::ShaderColor in, out;
    };
    const ui::ShaderColor grey{0.2f, 0.2f, 0.2f, 1}, faint{0.1f, 0.2f, 0.3f, 0.5f};
    const Sample samples[] = {
        {48.44, 284.52, 0.3f, 4242, grey, {0.00091605831f, 0.00045802916f, 0.0001526764f, 0.015267639f}},
        {208.99, 290.17, 0.3f, 4242, grey, {0.87488365f, 0.52896887f, 0.14514537f, 0.97674662f}},
        {369.54, 295.82, 0.3f, 4242, grey, {0.51674587f, 0.29658616f, 0.10765105f, 0.95065415f}},
        {130.09, 301.47, 0.3f, 4242, grey, {0.027297424f, 0.013648712f, 0.0045495708f, 0.45495707f}},
        {354.31, 93.73, 0.3f, 4242, grey, {0.047869172f, 0.023934586f, 0.0079781953f, 0.79781955f}},
        {66.42, 164.86, 0.3f, 4242, grey, {0.045949023f, 0.022974512f, 0.0076581705f, 0.76581705f}},
        {96.88, 219.04, 0.5f, 4242, grey, {0.028627625f, 0.014313812f, 0.0047712708f, 0.47712708f}},
        {260.18, 252.94, 0.5f, 4242, grey, {0.036199443f, 0.018099722f, 0.0060332408f, 0.60332406f}},
        {308.62, 187.46, 0.5f, 4242, grey, {0.99692965f, 0.76573378f, 0.28189567f, 0.99935675f}},
        {117.61, 127.63, 0.5f, 4242, grey, {0.91627187f, 0.56849825f, 0.16042674f, 0.98241007f}},
        {311.37, 215.71, 0.5f, 4242, grey, {0.31864491f, 0.15302338f, 0.02573202f, 0.85685813f}},
        {226.97, 170.51, 0.7f, 7, grey, {1, 0.66194075f, 0.20507859f, 1}},
        {202.01, 172.83, 0.7f, 7, grey, {0.021553755f, 0.010776877f, 0.0035922925f, 0.35922924f}},
        {177.05, 175.15, 0.7f, 7, grey, {0.0055930382f, 0.0027965191f, 0.00093217305f, 0.093217306f}},
        {258.7, 192.1, 0.7f, 7, grey, {0.27063406f, 0.12821367f, 0.021180341f, 0.8467719f}},
        {179.8, 203.4, 0.7f, 7, grey, {0.22787996f, 0.20349571f, 0.18579713f, 0.99184316f}},
        {261.45, 220.35, 0.7f, 7, grey, {0.93305981f, 0.74847913f, 0.28736383f, 0.98593694f}},
        {96.88, 219.04, 0.5f, 9999, faint, {0.023671595f, 0.011835798f, 0.0039452659f, 0.39452657f}},
        {193.76, 88.08, 0.5f, 9999, faint, {0.45563468f, 0.33310145f, 0.11666757f, 0.49067956f}},
        {305.87, 159.21, 0.5f, 9999, faint, {0.018036637f, 0.0090183187f, 0.0030061062f, 0.30061063f}},
        {178.53, 235.99, 0.5f, 9999, faint, {0.003305515f, 0.0016527575f, 0.00055091921f, 0.055091918f}},
        {260.18, 252.94, 0.5f, 9999, faint, {0.5f, 0.37386692f, 0.133927f, 0.5f}},
    };
    auto check = [](const Sample& s) {
        const auto c = burnColor({s.x, s.y}, s.in, {400, 350}, s.time, s.seed);
        EXPECT_NEAR(c.red, s.out.red, 1e-4f) << s.x << "," << s.y << " at " << s.time << " seed " << s.seed;
        EXPECT_NEAR(c.green, s.out.green, 1e-4f) << s.x << "," << s.y << " at " << s.time << " seed " << s.seed;
        EXPECT_NEAR(c.blue, s.out.blue, 1e-4f) << s.x << "," << s.y << " at " << s.time << " seed " << s.seed;
        EXPECT_NEAR(c.alpha, s.out.alpha, 1e-4f) << s.x << "," << s.y << " at " << s.time << " seed " << s.seed;
    };
    for (const auto& s : samples)
        check(s);
    for (auto s = std::rbegin(samples); s != std::rend(samples); ++s)
        check(*s);

    // The overlay, drawn a row at a time, shows burnColor's colours.
    const QImage image = burnt({400, 350}, 0.5f, 4242);
    const ui::ShaderColor overlay{0.2f, 0.2f, 0.2f, 1};
    auto level = [](float v) { return int(v * 255 + 0.5f); };
    for (int y : {88, 128, 219})
        for (int x = 0; x < 400; ++x) {
            const auto c = burnColor({x + 0.5, y + 0.5}, overlay, {400, 350}, 0.5f, 4242);
            ASSERT_EQ(image.pixel(x, y), qRgba(level(c.red), level(c.green), level(c.blue), level(c.alpha)))
                << x << "," << y;
        }
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
