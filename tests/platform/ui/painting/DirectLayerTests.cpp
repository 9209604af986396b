// Layers the renderer paints straight onto the target, without pixels of their own, must look
// as they do when painted apart. Each case is compared with the same content made to go the
// long way by an extra item that defeats the shortcut but paints nothing.
#include "ui/ColorFilter.h"
#include "ui/Renderer.h"

#include <QPainterPath>

#include <tuple>

#include <gtest/gtest.h>

namespace {

QPainterPath rect(qreal x, qreal y, qreal w, qreal h) {
    QPainterPath path;
    path.addRect(x, y, w, h);
    return path;
}

QPainterPath rounded(qreal x, qreal y, qreal w, qreal h, qreal r) {
    QPainterPath path;
    path.addRoundedRect(x, y, w, h, r, r);
    return path;
}

// Something no shortcut takes: an image far outside everything, of no pixels.
void blocker(ui::DisplayList& list) {
    list.drawImage(QRectF(-500, -500, 1, 1), QImage());
}

int largestDifference(const QImage& a, const QImage& b) {
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return most;
}

// A card: a background clipped to a rounded rectangle, a mark inside, optionally under a shadow.
ui::DisplayList card(QColor background, bool shadow, bool longWay) {
    ui::DisplayList list;
    list.fill(rect(0, 0, 80, 60), QColor(230, 240, 250));
    ui::DisplayList* into = &list;
    if (shadow) {
        ui::DisplayList::LayerStyle style;
        style.shadow = ui::Shadow{.color = QColor(0, 0, 0, 80), .radius = 2, .x = 0, .y = 2};
        style.bounds = QRectF(10.5, 10, 50, 30);
        into = &into->layer(style);
    }
    ui::DisplayList::LayerStyle clip;
    auto mask = std::make_shared<ui::DisplayList>();
    mask->fill(rounded(10.5, 10, 50, 30, 8), QColor(Qt::black));
    clip.mask = mask;
    clip.bounds = QRectF(10.5, 10, 50, 30);
    auto& clipped = into->layer(clip);
    ui::DisplayList::LayerStyle inverted;
    inverted.colorFilters.push_back(ui::ColorFilter::colorInvert());
    auto& face = clipped.layer(inverted);
    face.fill(rect(0, 0, 80, 60), background);
    clipped.fill(rect(22, 20, 20, 8), QColor(200, 30, 30));
    if (longWay) blocker(clipped);
    return list;
}

TEST(DirectLayerTest, ClippedCardsWithAndWithoutShadowLookAsWhenPaintedApart) {
    for (const QColor background : {QColor(10, 20, 30), QColor(0, 0, 0, 200)}) {
        for (const bool shadow : {false, true}) {
            const QImage direct = ui::renderImage(card(background, shadow, false), QSize(80, 60));
            const QImage apart = ui::renderImage(card(background, shadow, true), QSize(80, 60));
            EXPECT_LE(largestDifference(direct, apart), 2) << background.alpha() << " " << shadow;
            // The corner stays cut off and the inverted face shows inside.
            if (!shadow) {
                EXPECT_EQ(direct.pixel(11, 10), QColor(230, 240, 250).rgba());
            }
            EXPECT_GT(qRed(direct.pixel(15, 35)), 200);
        }
    }
}

// A translucent card under a shadow, at `at`: the shape and its shadow come from pixels kept
// by shape, so each case is compared with the long way.
ui::DisplayList shadowedCard(QColor background, QColor shadow, QPointF at, bool longWay) {
    ui::DisplayList list;
    list.fill(rect(0, 0, 120, 80), QColor(230, 240, 250));
    ui::DisplayList::LayerStyle style;
    style.shadow = ui::Shadow{.color = shadow, .radius = 3, .x = 1, .y = 2};
    const QRectF frame(at, QSizeF(60, 40));
    style.bounds = frame;
    auto& shadowed = list.layer(style);
    ui::DisplayList::LayerStyle clip;
    auto mask = std::make_shared<ui::DisplayList>();
    mask->fill(rounded(frame.x(), frame.y(), frame.width(), frame.height(), 8), QColor(Qt::black));
    clip.mask = mask;
    clip.bounds = frame;
    auto& clipped = shadowed.layer(clip);
    clipped.fill(rect(-100, -100, 320, 280), background);
    clipped.fill(rect(frame.x() + 20, frame.y() + 15, 20, 8), QColor(200, 30, 30));
    if (longWay) blocker(clipped);
    return list;
}

TEST(DirectLayerTest, TranslucentCardsAndTheirShadowsFromKeptPixelsLookAsWhenPaintedApart) {
    const QColor white(255, 255, 255, 217), black(0, 0, 0, 217), shadow(0, 0, 0, 51);
    // Kept pixels must follow the colour, the shadow, the place within a pixel and the ratio.
    for (const double ratio : {1.0, 2.0}) {
        for (const auto& [background, shade, at] :
             {std::tuple{white, shadow, QPointF(20, 20)}, std::tuple{black, shadow, QPointF(20, 20)},
              std::tuple{white, QColor(200, 0, 0, 60), QPointF(20, 20)},
              std::tuple{white, shadow, QPointF(20.5, 20.25)}, std::tuple{white, shadow, QPointF(50, 20)}}) {
            const QImage direct =
                ui::renderImage(shadowedCard(background, shade, at, false), QSize(120, 80), ratio);
            const QImage apart =
                ui::renderImage(shadowedCard(background, shade, at, true), QSize(120, 80), ratio);
            EXPECT_LE(largestDifference(direct, apart), 2)
                << ratio << " " << background.red() << " " << at.x();
        }
    }
    // Half out of sight, a card shows the same pixels as in full view, shadow included.
    const QImage whole = ui::renderImage(shadowedCard(white, shadow, QPointF(20, 20), false), QSize(120, 80));
    const QImage cut = ui::renderImage(shadowedCard(white, shadow, QPointF(20, -10), false), QSize(120, 80));
    EXPECT_EQ(cut.copy(0, 0, 120, 50), whole.copy(0, 30, 120, 50));
    // A card light enough for its content's shadow to show through keeps that shadow.
    const QColor faint(255, 255, 255, 90);
    EXPECT_LE(
        largestDifference(ui::renderImage(shadowedCard(faint, QColor(0, 0, 0, 200), QPointF(20, 20), false),
                                          QSize(120, 80)),
                          ui::renderImage(shadowedCard(faint, QColor(0, 0, 0, 200), QPointF(20, 20), true),
                                          QSize(120, 80))),
        2);
}

TEST(DirectLayerTest, FiltersFoldOnlyIntoSolidColourThatKeepsItsCoverage) {
    auto filtered = [](ui::ColorFilter filter, bool longWay) {
        ui::DisplayList list;
        ui::DisplayList::LayerStyle style;
        style.colorFilters.push_back(filter);
        auto& inner = list.layer(style);
        inner.fill(rounded(4.3, 4.6, 30, 20, 6), QColor(40, 120, 200, 180));
        if (longWay) blocker(inner);
        return ui::renderImage(list, QSize(40, 30), 1, Qt::white);
    };
    for (const auto& filter :
         {ui::ColorFilter::colorInvert(), ui::ColorFilter::saturation(0.2), ui::ColorFilter::brightness(0.3),
          ui::ColorFilter::colorMultiply({1, 0.5, 0.5, 0.5}), ui::ColorFilter::luminanceToAlpha()})
        EXPECT_LE(largestDifference(filtered(filter, false), filtered(filter, true)), 2);
}

} // namespace
