#include "ui/ColorMatrix.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

using Channels = std::array<float, 4>;

void expectNear(const Channels& actual, const Channels& expected, float tolerance = 0.002f) {
    for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(actual[c], expected[c], tolerance) << "channel " << c;
}

float luminance(const Channels& c) {
    return 0.2126f * c[0] + 0.7152f * c[1] + 0.0722f * c[2];
}

TEST(ColorMatrixTest, FiltersMapKnownColours) {
    using M = ui::ColorMatrix;
    expectNear(M::brightness(0.2).apply({0.5f, 0.5f, 0.5f, 1}), {0.7f, 0.7f, 0.7f, 1});
    expectNear(M::brightness(-1).apply({0.5f, 0.9f, 1, 0.5f}), {0, 0, 0, 0.5f}); // clamped, alpha kept
    expectNear(M::contrast(2).apply({0.75f, 0.25f, 0.5f, 1}), {1, 0, 0.5f, 1});
    expectNear(M::contrast(0).apply({0.9f, 0.1f, 0.3f, 1}), {0.5f, 0.5f, 0.5f, 1});
    expectNear(M::saturation(0).apply({1, 0, 0, 1}), {0.2126f, 0.2126f, 0.2126f, 1});
    expectNear(M::grayscale(1).apply({0, 1, 0, 1}), {0.7152f, 0.7152f, 0.7152f, 1});
    expectNear(M::grayscale(0).apply({0.2f, 0.4f, 0.6f, 1}), {0.2f, 0.4f, 0.6f, 1});
    expectNear(M::invert().apply({1, 0.25f, 0, 0.5f}), {0, 0.75f, 1, 0.5f});
    expectNear(M::multiply(0.5f, 1, 0, 0.5f).apply({1, 1, 1, 1}), {0.5f, 1, 0, 0.5f});
    // Luminance to alpha: black, as opaque as the colour is light, weighted by its coverage.
    expectNear(M::luminanceToAlpha().apply({1, 1, 1, 1}), {0, 0, 0, 1});
    expectNear(M::luminanceToAlpha().apply({1, 1, 1, 0.5f}), {0, 0, 0, 0.5f});
    expectNear(M::luminanceToAlpha().apply({0, 1, 0, 1}), {0, 0, 0, 0.7152f});
    // A half turn of the hue keeps grey grey and the luminance of a colour.
    expectNear(M::hueRotation(ui::Angle::degrees(180)).apply({0.4f, 0.4f, 0.4f, 1}), {0.4f, 0.4f, 0.4f, 1});
    const Channels turned = M::hueRotation(ui::Angle::degrees(120)).apply({0.8f, 0.2f, 0.2f, 1});
    EXPECT_GT(turned[1], turned[0]); // red turns towards green
    EXPECT_NEAR(luminance(turned), luminance({0.8f, 0.2f, 0.2f, 1}), 0.01f);
    expectNear(M::hueRotation(ui::Angle::degrees(360)).apply({0.8f, 0.2f, 0.1f, 1}), {0.8f, 0.2f, 0.1f, 1});
    // Amounts that are not numbers change nothing.
    EXPECT_EQ(M::brightness(NAN), M::identity());
    EXPECT_EQ(M::contrast(INFINITY), M::identity());
    EXPECT_EQ(M::hueRotation(ui::Angle::radians(NAN)), M::identity());
}

// The pixel loops (straight, premultiplied and the shortcut for colour-only matrices) must agree
// with the matrix on single colours, also for translucent and clear pixels.
TEST(ColorMatrixTest, ImagesAgreeWithSingleColours) {
    using M = ui::ColorMatrix;
    const std::vector<QColor> colours = {QColor(255, 0, 0), QColor(30, 200, 90, 128), QColor(255, 255, 255, 64),
                                         QColor(0, 0, 0, 0), QColor(120, 60, 240, 200)};
    for (const M& matrix : {M::brightness(0.3), M::brightness(-0.4), M::contrast(1.5), M::saturation(0.3),
                            M::hueRotation(ui::Angle::degrees(70)), M::multiply(0.5f, 0.8f, 1, 0.5f),
                            M::multiply(1, 1, 1, 2), M::invert(), M::luminanceToAlpha()}) {
        QImage image(int(colours.size()), 1, QImage::Format_ARGB32_Premultiplied);
        for (int x = 0; x < int(colours.size()); ++x)
            image.setPixelColor(x, 0, colours[x]);
        ui::applyColorMatrix(image, matrix);
        for (int x = 0; x < int(colours.size()); ++x) {
            const QColor in = colours[x];
            const Channels expected = matrix.apply({float(in.redF()), float(in.greenF()), float(in.blueF()), float(in.alphaF())});
            const QColor out = image.pixelColor(x, 0);
            EXPECT_NEAR(out.alphaF(), expected[3], 0.01) << x;
            if (expected[3] > 0.2f) { // straight colour of faint pixels is coarse
                EXPECT_NEAR(out.redF(), expected[0], 0.02) << x;
                EXPECT_NEAR(out.greenF(), expected[1], 0.02) << x;
                EXPECT_NEAR(out.blueF(), expected[2], 0.02) << x;
            }
        }
    }
}

// Five swatches of 20 × 20 side by side: red, green, blue, mid grey, white.
const std::vector<QColor> swatches = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(128, 128, 128),
                                      QColor(255, 255, 255)};

ui::View swatchRow() {
    std::vector<ui::View> views;
    for (const QColor& c : swatches)
        views.push_back(ui::View(ui::Color(ui::Color::RGBColorSpace::sRGB, c.redF(), c.greenF(), c.blueF())).frame(20, 20));
    return ui::HStack(ui::VerticalAlignment::center, 0, views);
}

struct FilterCase {
    const char* name;
    std::function<ui::View(ui::View)> apply;
    ui::ColorMatrix matrix;
};

std::vector<FilterCase> filterCases() {
    using M = ui::ColorMatrix;
    return {
        {"brightness", [](ui::View v) { return v.brightness(0.3); }, M::brightness(0.3)},
        {"contrast", [](ui::View v) { return v.contrast(0.5); }, M::contrast(0.5)},
        {"saturation", [](ui::View v) { return v.saturation(0.2); }, M::saturation(0.2)},
        {"hueRotation", [](ui::View v) { return v.hueRotation(ui::Angle::degrees(120)); },
         M::hueRotation(ui::Angle::degrees(120))},
        {"colorMultiply", [](ui::View v) { return v.colorMultiply(ui::Color(ui::Color::RGBColorSpace::sRGB, 1, 0.5, 0)); },
         M::multiply(1, 0.5f, 0, 1)},
        {"colorInvert", [](ui::View v) { return v.colorInvert(); }, M::invert()},
        {"grayscale", [](ui::View v) { return v.grayscale(1); }, M::grayscale(1)},
        {"luminanceToAlpha", [](ui::View v) { return v.luminanceToAlpha(); }, M::luminanceToAlpha()},
    };
}

// Each filter over the swatches gives, at every swatch's centre, the filtered colour over the
// white ground; the ground beside the filtered view stays white.
TEST(ColorFilterTest, EachFilterChangesTheSwatchesAsItsMatrixSays) {
    std::vector<ui::View> rows;
    for (const auto& filter : filterCases()) {
        ui::TestHost host(ui::HStack(ui::VerticalAlignment::center, 0, {filter.apply(swatchRow()), ui::View().frame(20, 20)}), {120, 20});
        const QImage image = host.render();
        for (int i = 0; i < int(swatches.size()); ++i) {
            const QColor in = swatches[i];
            const Channels out =
                filter.matrix.apply({float(in.redF()), float(in.greenF()), float(in.blueF()), 1});
            // Over white: c × a + (1 − a).
            const auto over = [&](int c) { return int(std::lround((out[c] * out[3] + (1 - out[3])) * 255)); };
            const QColor pixel = image.pixelColor(i * 20 + 10, 10);
            EXPECT_NEAR(pixel.red(), over(0), 2) << filter.name << " swatch " << i;
            EXPECT_NEAR(pixel.green(), over(1), 2) << filter.name << " swatch " << i;
            EXPECT_NEAR(pixel.blue(), over(2), 2) << filter.name << " swatch " << i;
        }
        EXPECT_EQ(image.pixelColor(110, 10), QColor(Qt::white)) << filter.name;
        rows.push_back(filter.apply(swatchRow()));
    }
    // All of them at once, for looking at.
    rows.insert(rows.begin(), swatchRow());
    ui::TestHost sheet(ui::VStack(ui::HorizontalAlignment::center, 4, rows).padding(4), {108, 9 * 24 + 4});
    EXPECT_TRUE(sheet.renderPNG(QDir::temp().filePath("quoril-color-filters.png"), 2));
}

TEST(ColorFilterTest, NeutralAmountsAndNestedFilters) {
    ui::TestHost plain(swatchRow(), {100, 20});
    const QImage original = plain.render();
    for (auto neutral : {swatchRow().brightness(0), swatchRow().contrast(1), swatchRow().saturation(1),
                         swatchRow().grayscale(0), swatchRow().hueRotation(ui::Angle::zero())}) {
        ui::TestHost host(neutral, {100, 20});
        EXPECT_EQ(host.render(), original);
    }
    // Inverting twice gives the original back; the inner filter applies first.
    ui::TestHost twice(swatchRow().colorInvert().colorInvert(), {100, 20});
    EXPECT_EQ(twice.render(), original);
    ui::TestHost ordered(swatchRow().grayscale(1).colorMultiply(ui::Color(ui::Color::RGBColorSpace::sRGB, 1, 0, 0)), {100, 20});
    const QColor green = ordered.render().pixelColor(30, 10); // grey of green, then only its red kept
    EXPECT_NEAR(green.red(), 182, 3); // 0.7152 of full
    EXPECT_EQ(green.green(), 0);
}

} // namespace
