#include "ui/BlendMode.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage redSquare() {
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, 20, 20), Qt::red);
    return image;
}

TEST(BlendModeTest, DestinationOutPunchesAHole) {
    auto image = redSquare();
    QPainter painter(&image);
    ui::setBlendMode(painter, ui::BlendMode::destinationOut);
    painter.fillRect(QRect(5, 5, 10, 10), Qt::white);
    painter.end();
    EXPECT_EQ(qAlpha(image.pixel(10, 10)), 0);
    EXPECT_EQ(image.pixel(2, 2), qRgba(255, 0, 0, 255));
}

TEST(BlendModeTest, SourceAtopDrawsOnlyOverWhatIsThere) {
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, 10, 20), Qt::red);
    ui::setBlendMode(painter, ui::BlendMode::sourceAtop);
    painter.fillRect(QRect(0, 0, 20, 20), Qt::blue);
    painter.end();
    EXPECT_EQ(image.pixel(5, 5), qRgba(0, 0, 255, 255));
    EXPECT_EQ(qAlpha(image.pixel(15, 5)), 0);
}

TEST(BlendModeTest, ModesQPainterLacksDrawAsNormal) {
    for (auto mode : {ui::BlendMode::hue, ui::BlendMode::saturation, ui::BlendMode::color,
                      ui::BlendMode::luminosity, ui::BlendMode::plusDarker}) {
        SCOPED_TRACE(std::string(ui::description(mode)));
        EXPECT_FALSE(ui::compositionMode(mode));
        auto image = redSquare();
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Xor);
        ui::setBlendMode(painter, mode);
        EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    }
    EXPECT_EQ(ui::compositionMode(ui::BlendMode::multiply), QPainter::CompositionMode_Multiply);
    EXPECT_EQ(ui::compositionMode(ui::BlendMode::normal), QPainter::CompositionMode_SourceOver);
}

} // namespace
