#include "ui/Blur.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

using Blur = std::function<void(QImage&, double)>;

QImage transparent(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

double totalAlpha(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qAlpha(image.pixel(x, y));
    return sum;
}

// Both ways of blurring must spread as a Gaussian of the given sigma does.
struct Way {
    const char* name;
    Blur blur;
    double sigma;
    double tolerance; // in levels of 255
};

class BlurWays : public testing::TestWithParam<Way> {};

// The Gaussian's weight at distance `d` of a blur of `sigma`.
double gaussian(double d, double sigma) {
    return std::exp(-d * d / (2 * sigma * sigma)) / (std::sqrt(2 * std::numbers::pi) * sigma);
}

TEST_P(BlurWays, LineSpreadsAsTheGaussianToThreeSigmaAndNoFurther) {
    const auto& way = GetParam();
    const int size = 101, centre = 50;
    auto image = transparent(size, size);
    for (int y = 0; y < size; ++y)
        image.setPixel(centre, y, qRgba(255, 255, 255, 255));
    way.blur(image, way.sigma);
    const int reach = ui::blurReach(way.sigma);
    EXPECT_EQ(reach, static_cast<int>(std::ceil(3 * way.sigma)));
    for (int x = 0; x < size; ++x) {
        SCOPED_TRACE(x);
        const int d = std::abs(x - centre);
        const int alpha = qAlpha(image.pixel(x, centre));
        if (d > reach) {
            EXPECT_EQ(alpha, 0);
        } else {
            EXPECT_NEAR(alpha, 255 * gaussian(d, way.sigma), way.tolerance);
        }
    }
}

TEST(BlurTest, DotSpreadsEvenlyAroundItself) {
    auto image = transparent(21, 21);
    image.setPixel(10, 10, qRgba(255, 255, 255, 255));
    ui::gaussianBlur(image, 1.5);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) {
            const int d2 = (x - 10) * (x - 10) + (y - 10) * (y - 10);
            const int alpha = qAlpha(image.pixel(x, y));
            if (std::max(std::abs(x - 10), std::abs(y - 10)) > ui::blurReach(1.5)) {
                EXPECT_EQ(alpha, 0);
            }
            if (d2 <= 2) {
                EXPECT_GT(alpha, 0);
            }
            EXPECT_EQ(image.pixel(x, y), image.pixel(20 - x, y));
            EXPECT_EQ(image.pixel(x, y), image.pixel(y, x));
        }
    EXPECT_GT(qAlpha(image.pixel(10, 10)), qAlpha(image.pixel(11, 10)));
}

TEST_P(BlurWays, KeepsTheTotalCoverageAndValidPremultipliedPixels) {
    const auto& way = GetParam();
    auto image = transparent(80, 80);
    for (int y = 34; y < 46; ++y)
        for (int x = 30; x < 50; ++x)
            image.setPixel(x, y, qRgba(200, 40, 0, 220));
    const double before = totalAlpha(image);
    way.blur(image, way.sigma);
    EXPECT_NEAR(totalAlpha(image), before, before * 0.01);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            ASSERT_LE(qRed(p), qAlpha(p));
            ASSERT_LE(qGreen(p), qAlpha(p));
        }
}

TEST_P(BlurWays, EdgesFadeAsIfTransparentBeyond) {
    const auto& way = GetParam();
    QImage image(60, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    way.blur(image, way.sigma);
    EXPECT_EQ(qAlpha(image.pixel(30, 30)), 255);
    // An edge keeps the half of the kernel on its side and its middle, a corner that squared.
    const double edge = 0.5 + gaussian(0, way.sigma) / 2;
    EXPECT_NEAR(qAlpha(image.pixel(0, 30)), 255 * edge, 2 * way.tolerance);
    EXPECT_NEAR(qAlpha(image.pixel(0, 0)), 255 * edge * edge, 2 * way.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Blur, BlurWays,
                         testing::Values(Way{"kernel", ui::gaussianBlurWithKernel, 2, 1},
                                         Way{"kernelWide", ui::gaussianBlurWithKernel, 6, 1},
                                         Way{"boxes", ui::gaussianBlurWithBoxes, 6, 2},
                                         Way{"chosen", ui::gaussianBlur, 9, 2}),
                         [](const auto& info) { return info.param.name; });

TEST(BlurTest, BoxPassesFollowTheKernel) {
    for (double sigma : {3.5, 5.0, 12.0}) {
        SCOPED_TRACE(sigma);
        auto exact = transparent(120, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 60; x < 120; ++x)
                exact.setPixel(x, y, qRgba(255, 255, 255, 255));
        auto approximate = exact;
        ui::gaussianBlurWithKernel(exact, sigma);
        ui::gaussianBlurWithBoxes(approximate, sigma);
        int worst = 0;
        for (int x = 0; x < 120; ++x)
            worst = std::max(worst, std::abs(qAlpha(exact.pixel(x, 20)) - qAlpha(approximate.pixel(x, 20))));
        EXPECT_LE(worst, 6);
    }
}

TEST(BlurTest, NoBlurForRadiiThatAreNotPositive) {
    auto image = transparent(10, 10);
    image.setPixel(5, 5, qRgba(255, 0, 0, 255));
    const auto original = image;
    for (double sigma : {0.0, -3.0, std::nan(""), HUGE_VAL}) {
        ui::gaussianBlur(image, sigma);
        EXPECT_EQ(image, original);
    }
    EXPECT_EQ(ui::blurSigma(4, 2), 8);
    EXPECT_EQ(ui::blurSigma(-4, 2), 0);
    EXPECT_EQ(ui::blurSigma(4, 0), 4); // a scale that is no scale counts as 1
    EXPECT_EQ(ui::blurReach(0), 0);
}

TEST(BlurTest, KeepsAlphaOnlyImagesAndConvertsOtherFormats) {
    QImage alpha(20, 20, QImage::Format_Alpha8);
    alpha.fill(0);
    alpha.scanLine(10)[10] = 255;
    ui::gaussianBlur(alpha, 1.5);
    EXPECT_EQ(alpha.format(), QImage::Format_Alpha8);
    EXPECT_GT(alpha.constScanLine(10)[12], 0);

    QImage straight(20, 20, QImage::Format_ARGB32);
    straight.fill(QColor(255, 0, 0, 128));
    ui::gaussianBlur(straight, 2);
    EXPECT_EQ(straight.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(straight.pixel(10, 10), qPremultiply(qRgba(255, 0, 0, 128)));
}

TEST(BlurTest, ImagesNarrowerThanTheReachBlurAlongTheirLength) {
    // A thin line: the kernel reaches past both sides of every row.
    for (QSize size : {QSize(1, 40), QSize(2, 30), QSize(40, 1)}) {
        SCOPED_TRACE(size.width());
        auto image = transparent(size.width(), size.height());
        const QPoint middle(size.width() / 2, size.height() / 2);
        image.setPixel(middle, qRgba(255, 255, 255, 255));
        ui::gaussianBlurWithKernel(image, 2.5);
        EXPECT_GT(qAlpha(image.pixel(middle)), 0);
        EXPECT_LT(qAlpha(image.pixel(middle)), 255);
        EXPECT_LE(totalAlpha(image), 255);
    }
}

TEST(BlurTest, HugeRadiusOnASmallImageSpreadsEvenly) {
    for (const auto& blur : {Blur(ui::gaussianBlurWithKernel), Blur(ui::gaussianBlurWithBoxes)}) {
        auto image = transparent(16, 16);
        image.setPixel(0, 0, qRgba(255, 255, 255, 255));
        blur(image, 1e9);
        EXPECT_LE(qAlpha(image.pixel(15, 15)), 1);
        EXPECT_LE(totalAlpha(image), 255);
    }
}

} // namespace

TEST(BlurTest, ShapesFarApartBlurAsEachDoesAlone) {
    // The kernel skips transparent stretches: what it skips must be what the taps would give,
    // next to shapes, between them, at the image's edges and in both channel layouts.
    for (const auto format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_Alpha8}) {
        const auto blank = [format] {
            QImage image(90, 70, format);
            image.fill(0);
            return image;
        };
        const auto paint = [](QImage& image, QRect r, QRgb color) {
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    if (image.format() == QImage::Format_Alpha8)
                        image.scanLine(y)[x] = uchar(qAlpha(color));
                    else
                        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = color;
                }
        };
        const QRect first(0, 3, 4, 5), second(70, 55, 20, 15);
        QImage both = blank(), one = blank(), other = blank();
        paint(both, first, qRgba(200, 10, 30, 255));
        paint(one, first, qRgba(200, 10, 30, 255));
        paint(both, second, qRgba(0, 60, 120, 128));
        paint(other, second, qRgba(0, 60, 120, 128));
        for (QImage* image : {&both, &one, &other})
            ui::gaussianBlurWithKernel(*image, 2.5);
        for (int y = 0; y < both.height(); ++y)
            for (int x = 0; x < both.width(); ++x) {
                // The two shapes' reaches do not meet, so each pixel comes from one of them.
                const QRgb expected =
                    one.pixel(x, y) != qRgba(0, 0, 0, 0) ? one.pixel(x, y) : other.pixel(x, y);
                ASSERT_EQ(both.pixel(x, y), expected) << x << ", " << y;
            }
        EXPECT_GT(qAlpha(both.pixel(6, 5)), 0) << "spread past the shape";
        EXPECT_GT(qAlpha(both.pixel(66, 62)), 0);
    }
}

TEST(BlurTest, PiecesSharingRowsAndColumnsBlurAsEachDoesAlone) {
    // An outline's sides share rows and columns with clear pixels between them; the clear
    // stretch is skipped, and that must give what the taps would.
    const QRect pieces[] = {{0, 10, 6, 51}, {80, 10, 10, 51}, {30, 0, 21, 4}, {30, 66, 21, 4}};
    const QRgb colors[] = {qRgba(200, 10, 30, 255), qRgba(0, 60, 120, 128), qRgba(9, 9, 9, 40),
                           qRgba(255, 255, 255, 255)};
    QImage all = transparent(90, 70);
    std::vector<QImage> alone;
    for (int i = 0; i < 4; ++i) {
        alone.push_back(transparent(90, 70));
        for (QImage* image : {&all, &alone.back()})
            for (int y = pieces[i].top(); y <= pieces[i].bottom(); ++y)
                for (int x = pieces[i].left(); x <= pieces[i].right(); ++x)
                    image->setPixel(x, y, colors[i]);
    }
    ui::gaussianBlurWithKernel(all, 2.5);
    for (QImage& image : alone)
        ui::gaussianBlurWithKernel(image, 2.5);
    for (int y = 0; y < all.height(); ++y)
        for (int x = 0; x < all.width(); ++x) {
            QRgb expected = qRgba(0, 0, 0, 0);
            for (const QImage& image : alone)
                if (image.pixel(x, y) != qRgba(0, 0, 0, 0)) expected = image.pixel(x, y);
            ASSERT_EQ(all.pixel(x, y), expected) << x << ", " << y;
        }
    EXPECT_GT(qAlpha(all.pixel(8, 30)), 0) << "spread past the side";
    EXPECT_EQ(all.pixel(40, 30), qRgba(0, 0, 0, 0)) << "the middle stays clear";
}

TEST(BlurTest, TinySigmasReachOnlyAsFarAsTheirWeights) {
    QImage dot = transparent(9, 9);
    dot.setPixel(4, 4, qRgba(255, 255, 255, 255));
    // At 0.2 the neighbours' weight rounds to nothing: the pixels stay as they are.
    QImage still = dot;
    ui::gaussianBlurWithKernel(still, 0.2);
    EXPECT_EQ(still, dot);
    // At 0.36 the neighbours take a little, the pixels two away nothing.
    QImage soft = dot;
    ui::gaussianBlurWithKernel(soft, 0.36);
    EXPECT_GT(qAlpha(soft.pixel(5, 4)), 0);
    EXPECT_LT(qAlpha(soft.pixel(4, 4)), 255);
    EXPECT_EQ(qAlpha(soft.pixel(6, 4)), 0);
    EXPECT_EQ(qAlpha(soft.pixel(4, 2)), 0);
}
