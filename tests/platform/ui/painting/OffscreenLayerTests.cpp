#include "ui/OffscreenLayer.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QImage surface(int w, int h, double ratio = 1) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(ratio);
    return image;
}

TEST(OffscreenLayerTest, NeverLargerThanTheSurface) {
    auto target = surface(50, 40);
    QPainter painter(&target);
    painter.scale(3, 3);
    ui::OffscreenLayer layer(painter, QRectF(-1e12, -1e12, 2e12, 2e12), 1e9);
    ASSERT_FALSE(layer.isEmpty());
    EXPECT_EQ(layer.deviceRect(), QRect(0, 0, 50, 40));
    EXPECT_EQ(layer.image().size(), QSize(50, 40));
    EXPECT_DOUBLE_EQ(layer.scale(), 3);

    ui::OffscreenLayer part(painter, QRectF(10, 5, 2, 2), 1);
    EXPECT_EQ(part.deviceRect(), QRect(27, 12, 12, 12));
}

TEST(OffscreenLayerTest, OffTheSurfaceIsEmptyAndDrawsNothing) {
    auto target = surface(20, 20);
    const auto before = target;
    QPainter painter(&target);
    for (const QRectF& bounds :
         {QRectF(100, 100, 10, 10), QRectF(0, 0, std::nan(""), 4), QRectF(0, 0, HUGE_VAL, 4)}) {
        ui::OffscreenLayer layer(painter, bounds);
        EXPECT_TRUE(layer.isEmpty());
        layer.painter().fillRect(QRect(0, 0, 20, 20), Qt::red);
        layer.blur(3);
        layer.drawShadow({.radius = 2});
        layer.composite();
    }
    painter.end();
    EXPECT_EQ(target, before);
}

// Painting through a layer lands on the same pixels as painting straight onto the target.
TEST(OffscreenLayerTest, PaintsWhereTheTargetWould) {
    for (double ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        auto direct = surface(60, 60, ratio);
        auto layered = surface(60, 60, ratio);
        auto draw = [](QPainter& p) {
            p.fillRect(QRectF(3, 4, 10, 6), QColor(0, 0, 255));
            p.fillRect(QRectF(8, 2, 5, 5), QColor(255, 0, 0, 128));
        };
        QPainter a(&direct);
        a.translate(5, 7);
        draw(a);
        a.end();
        QPainter b(&layered);
        b.translate(5, 7);
        ui::OffscreenLayer layer(b, QRectF(0, 0, 15, 12));
        draw(layer.painter());
        layer.composite();
        b.end();
        EXPECT_EQ(layered, direct);
    }
}

TEST(OffscreenLayerTest, GroupOpacityTreatsTheLayerAsOne) {
    auto target = surface(20, 10);
    QPainter painter(&target);
    ui::OffscreenLayer layer(painter, QRectF(0, 0, 20, 10));
    layer.painter().fillRect(QRect(0, 0, 12, 10), Qt::black);
    layer.painter().fillRect(QRect(8, 0, 12, 10), Qt::black);
    layer.composite(QPainter::CompositionMode_SourceOver, 0.5);
    painter.end();
    // The overlap is no darker than the rest.
    EXPECT_EQ(target.pixel(10, 5), target.pixel(2, 5));
    EXPECT_NEAR(qAlpha(target.pixel(10, 5)), 128, 1);
}

TEST(OffscreenLayerTest, BlurSpreadsIntoTheMarginAndShadowFollowsTheDevice) {
    auto target = surface(80, 80, 2);
    QPainter painter(&target);
    {
        ui::OffscreenLayer layer(painter, QRectF(10, 10, 10, 10), 3 * 2);
        layer.painter().fillRect(QRectF(10, 10, 10, 10), Qt::black);
        layer.blur(2); // 4 pixels at this ratio
        layer.composite();
    }
    painter.end();
    EXPECT_GT(qAlpha(target.pixel(20 - 6, 30)), 0);
    EXPECT_EQ(qAlpha(target.pixel(20 - 14, 30)), 0);

    auto casting = surface(80, 80, 2);
    painter.begin(&casting);
    {
        ui::OffscreenLayer layer(painter, QRectF(5, 5, 10, 10), 5);
        layer.painter().fillRect(QRectF(5, 5, 10, 10), Qt::white);
        layer.drawShadow({.color = Qt::black, .radius = 0, .x = 4, .y = 4});
        layer.composite();
    }
    painter.end();
    // The offset is in points: 8 pixels at ratio 2.
    EXPECT_EQ(casting.pixel(12, 12), qRgba(255, 255, 255, 255));
    EXPECT_EQ(casting.pixel(36, 36), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(casting.pixel(41, 41)), 0);
    EXPECT_EQ(casting.pixel(37, 12), qRgba(0, 0, 0, 0));
}

} // namespace

namespace {

// A widget that paints a square, through a layer or straight.
class SquareWidget : public QWidget {
public:
    explicit SquareWidget(bool layered)
        : layered_(layered) {
        resize(20, 20);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (!layered_) {
            painter.fillRect(QRect(5, 5, 10, 10), Qt::red);
            return;
        }
        ui::OffscreenLayer layer(painter, QRectF(0, 0, 20, 20));
        layer.painter().fillRect(QRect(5, 5, 10, 10), Qt::red);
        layer.composite();
    }

private:
    bool layered_;
};

} // namespace

// A widget painted away from its window's corner (as under a menu bar) keeps its layers in place.
TEST(OffscreenLayerTest, PaintsInPlaceInAWidgetAwayFromTheWindowsCorner) {
    auto capture = [](bool layered) {
        QImage image(40, 60, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        SquareWidget widget(layered);
        widget.render(&image, QPoint(10, 30));
        return image;
    };
    const QImage layered = capture(true);
    EXPECT_EQ(layered.pixel(20, 40), qRgb(255, 0, 0));
    EXPECT_EQ(layered, capture(false));
}

namespace {

// Layers reuse the pixels of earlier ones of their size, but never pixels someone still holds.
TEST(OffscreenLayerTest, ALaterLayerStartsClearAndLeavesKeptPixelsAlone) {
    auto target = surface(20, 10);
    QPainter painter(&target);
    QImage kept;
    {
        ui::OffscreenLayer first(painter, QRectF(0, 0, 20, 10));
        first.painter().fillRect(QRect(0, 0, 20, 10), Qt::red);
        kept = first.pixels();
        first.composite();
    }
    {
        ui::OffscreenLayer second(painter, QRectF(0, 0, 20, 10));
        second.painter().fillRect(QRect(0, 0, 5, 10), Qt::blue);
        EXPECT_EQ(second.pixels().pixel(10, 5), 0u) << "starts clear";
        second.composite();
    }
    {
        ui::OffscreenLayer third(painter, QRectF(0, 0, 20, 10));
        EXPECT_EQ(third.pixels().pixel(2, 5), 0u) << "starts clear after a reused layer";
    }
    painter.end();
    EXPECT_EQ(kept.pixel(2, 5), QColor(Qt::red).rgba());
    EXPECT_EQ(target.pixel(2, 5), QColor(Qt::blue).rgba());
}

} // namespace
