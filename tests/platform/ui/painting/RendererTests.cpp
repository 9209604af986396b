#include "TestBox.h"

#include "ui/ColorFilter.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Renderer.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <QPainterPath>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace uitest;

namespace {

QPainterPath rectPath(qreal x, qreal y, qreal w, qreal h) {
    QPainterPath path;
    path.addRect(x, y, w, h);
    return path;
}

bool near(QColor a, QColor b, int tolerance = 2) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

TEST(RendererTest, FillsStrokesImagesAndCallbacksLandWhereRecorded) {
    ui::DisplayList list;
    list.fill(rectPath(0, 0, 10, 10), QColor(Qt::red));
    QPen pen(QColor(Qt::blue), 4);
    pen.setCapStyle(Qt::FlatCap);
    QPainterPath line;
    line.moveTo(12, 2);
    line.lineTo(20, 2);
    list.stroke(line, pen);
    QImage green(4, 4, QImage::Format_ARGB32_Premultiplied);
    green.fill(Qt::green);
    list.drawImage(QRectF(0, 12, 4, 4), green);
    list.draw(QRectF(12, 12, 4, 4), [](QPainter& p) { p.fillRect(QRectF(12, 12, 4, 4), Qt::black); });
    const auto image = ui::renderImage(list, {24, 24}, 1, Qt::white);
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(15, 2), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(21, 2), QColor(Qt::white)) << "a flat cap ends at the line's end";
    EXPECT_EQ(image.pixelColor(2, 14), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(14, 14), QColor(Qt::black));
}

TEST(RendererTest, LayersApplyOpacityClipTransformMaskAndBlendMode) {
    ui::DisplayList list;
    ui::DisplayList::LayerStyle half;
    half.opacity = 0.5;
    // Two overlapping fills in one layer: the overlap is not darker (one group, one opacity).
    auto& group = list.layer(half);
    group.fill(rectPath(0, 0, 10, 10), QColor(Qt::red));
    group.fill(rectPath(5, 0, 10, 10), QColor(Qt::red));

    ui::DisplayList::LayerStyle clipped;
    clipped.clip = rectPath(0, 20, 5, 5);
    clipped.transform = QTransform::fromTranslate(0, 0);
    list.layer(clipped).fill(rectPath(0, 20, 10, 10), QColor(Qt::blue));

    ui::DisplayList::LayerStyle masked;
    auto mask = std::make_shared<ui::DisplayList>();
    mask->fill(rectPath(20, 20, 5, 10), QColor(Qt::black));
    masked.mask = mask;
    list.layer(masked).fill(rectPath(20, 20, 10, 10), QColor(Qt::green));

    const auto image = ui::renderImage(list, {40, 40}, 1, Qt::white);
    EXPECT_TRUE(near(image.pixelColor(2, 5), QColor(255, 128, 128)));
    EXPECT_TRUE(near(image.pixelColor(7, 5), QColor(255, 128, 128)));
    EXPECT_EQ(image.pixelColor(2, 22), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(7, 22), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(22, 25), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(27, 25), QColor(Qt::white));
}

TEST(RendererTest, DestinationOutCutsAHole) {
    ui::DisplayList list;
    list.fill(rectPath(0, 0, 20, 20), QColor(Qt::red));
    ui::DisplayList::LayerStyle cut;
    cut.blendMode = QPainter::CompositionMode_DestinationOut;
    list.layer(cut).fill(rectPath(5, 5, 10, 10), QColor(Qt::black));
    const auto image = ui::renderImage(list, {20, 20});
    EXPECT_EQ(image.pixelColor(10, 10).alpha(), 0);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::red));
}

TEST(RendererTest, AClearFillChangesPixelsOnlyWhereItsBlendModeWritesThem) {
    ui::DisplayList list;
    list.fill(rectPath(0, 0, 20, 20), QColor(Qt::red));
    list.fill(rectPath(0, 0, 10, 20), QColor(Qt::transparent)); // source over: nothing changes
    ui::DisplayList::LayerStyle copy;
    copy.blendMode = QPainter::CompositionMode_Source;
    list.layer(copy).fill(rectPath(10, 0, 10, 20), QColor(Qt::transparent)); // copied: cleared
    const auto image = ui::renderImage(list, {20, 20});
    EXPECT_EQ(image.pixelColor(5, 10), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(15, 10).alpha(), 0);
}

TEST(RendererTest, SmallCurvedFillsPaintExactlyWhatQtPaints) {
    // Small curves come from pixels kept by shape: wherever they lie on the pixel grid, in
    // whatever colour (translucent too), at any pixel ratio and inside a clip, they must match Qt
    // to the bit, and a kept shape must not come back in another colour or place.
    QPainterPath ring;
    ring.addEllipse(QRectF(0, 0, 12, 12));
    ring.addEllipse(QRectF(1, 1, 10, 10));
    const QColor background(30, 30, 30);
    for (const qreal ratio : {1.0, 2.0}) {
        for (const QColor color : {QColor(252, 199, 46), QColor(40, 120, 250), QColor(255, 255, 255, 128)}) {
            ui::DisplayList list;
            ui::DisplayList::LayerStyle clipped;
            clipped.clip = rectPath(0, 0, 100, 37.5);
            auto& inner = list.layer(clipped);
            std::vector<QPointF> places;
            for (int i = 0; i < 5; ++i)
                places.push_back({2 + i * 19.25, 2 + i * 7.3});
            for (const QPointF at : places) {
                inner.fill(ring.translated(at), color);
                ui::DisplayList::LayerStyle moved; // the same outline, placed by a transform
                moved.transform = QTransform::fromTranslate(at.x() + 0.35, at.y() + 10);
                inner.layer(moved).fill(ring, color);
            }
            const QImage ours = ui::renderImage(list, {100, 50}, ratio, background);
            ASSERT_EQ(ui::renderImage(list, {100, 50}, ratio, background), ours) << "painted again";

            QImage qt(ours.size(), QImage::Format_ARGB32_Premultiplied);
            qt.setDevicePixelRatio(ratio);
            qt.fill(background);
            QPainter painter(&qt);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setClipRect(QRectF(0, 0, 100, 37.5));
            for (const QPointF at : places) {
                painter.fillPath(ring.translated(at), color);
                painter.fillPath(ring.translated(at + QPointF(0.35, 10)), color);
            }
            painter.end();
            ASSERT_EQ(ours, qt) << ratio << " " << color.name().toStdString();
        }
    }
}

TEST(RendererTest, ItemsOutOfSightArePassedByButAnyPartInSightPaints) {
    for (const qreal ratio : {1.0, 2.0}) {
        int outOfSight = 0;
        ui::DisplayList list;
        ui::DisplayList::LayerStyle strip;
        strip.transform = QTransform::fromTranslate(-100, 0);
        strip.clip = rectPath(100, 0, 80, 100);
        auto& inner = list.layer(strip);
        inner.fill(rectPath(170, 90, 30, 30), QColor(Qt::red));     // its corner lies in sight
        inner.fill(rectPath(60, 40, 40.5, 10), QColor(Qt::blue));   // half a pixel in sight
        inner.draw(QRectF(185, 0, 10, 10), [](QPainter& p) {        // reaches back into sight
            p.fillRect(QRectF(178, 0, 10, 10), Qt::green);
        });
        inner.draw(QRectF(), [](QPainter& p) { p.fillRect(QRectF(150, 60, 5, 5), Qt::black); }); // bounds untold
        inner.draw(QRectF(400, 0, 10, 10), [&](QPainter&) { ++outOfSight; });
        inner.draw(QRectF(100, -300, 10, 10), [&](QPainter&) { ++outOfSight; });
        const auto image = ui::renderImage(list, {100, 100}, ratio, Qt::white);
        EXPECT_EQ(outOfSight, 0) << ratio;
        EXPECT_EQ(image.pixelColor(QPoint(75, 95) * ratio), QColor(Qt::red)) << ratio;
        EXPECT_EQ(image.pixelColor(QPoint(79, 99) * ratio), QColor(Qt::red)) << ratio;
        EXPECT_NE(image.pixelColor(QPoint(0, 45) * ratio), QColor(Qt::white)) << ratio;
        EXPECT_EQ(image.pixelColor(QPoint(79, 5) * ratio), QColor(Qt::green)) << ratio;
        EXPECT_EQ(image.pixelColor(QPoint(85, 5) * ratio), QColor(Qt::white)) << ratio;
        EXPECT_EQ(image.pixelColor(QPoint(52, 62) * ratio), QColor(Qt::black)) << ratio;
    }
}

TEST(RendererTest, AGroupPaintsPartsLaidAtopOnlyOverWhatIsBeneathThem) {
    // A group painted apart: a band laid atop (or in) reaches only the card beneath it, also
    // when it is far larger or comes before anything it could land on.
    const auto group = [](std::vector<QPainter::CompositionMode> modes, bool bandFirst) {
        ui::DisplayList list;
        ui::DisplayList::LayerStyle isolated;
        isolated.isolated = true;
        auto& inner = list.layer(isolated);
        const auto band = [&] {
            for (const auto mode : modes) {
                ui::DisplayList::LayerStyle style;
                style.blendMode = mode;
                style.transform = QTransform().rotate(30);
                inner.layer(style).fill(rectPath(-100, -8, 300, 16), QColor(Qt::yellow));
            }
        };
        if (bandFirst) band();
        inner.fill(rectPath(20, 20, 20, 10), QColor(Qt::blue));
        if (!bandFirst) band();
        return ui::renderImage(list, {60, 60}, 1, Qt::green);
    };
    const auto atop = group({QPainter::CompositionMode_SourceAtop}, false);
    EXPECT_EQ(atop.pixelColor(30, 25), QColor(Qt::yellow)) << "the band over the card";
    EXPECT_EQ(atop.pixelColor(22, 29), QColor(Qt::blue)) << "the card beside the band";
    EXPECT_EQ(atop.pixelColor(10, 6), QColor(Qt::green)) << "the band off the card shows nothing";
    const auto in = group({QPainter::CompositionMode_SourceIn}, false);
    EXPECT_EQ(in.pixelColor(30, 25), QColor(Qt::yellow));
    EXPECT_EQ(in.pixelColor(10, 6), QColor(Qt::green));
    const auto first = group({QPainter::CompositionMode_SourceAtop}, true);
    EXPECT_EQ(first.pixelColor(30, 25), QColor(Qt::blue)) << "nothing beneath the band yet";
    EXPECT_EQ(first.pixelColor(10, 6), QColor(Qt::green));
}

TEST(RendererTest, APlainLayerAroundPartsLaidAtopKeepsThemOverWhatIsBeneath) {
    // A canvas's drawing comes in a layer that only moves it: a band laid atop in there still
    // reaches only the card, while a plain fill beside it paints where it lies.
    const auto group = [](bool withFill) {
        ui::DisplayList list;
        ui::DisplayList::LayerStyle isolated;
        isolated.isolated = true;
        auto& inner = list.layer(isolated);
        inner.fill(rectPath(20, 20, 20, 10), QColor(Qt::blue));
        ui::DisplayList::LayerStyle moved;
        moved.transform = QTransform::fromTranslate(1, 1);
        auto& canvas = inner.layer(moved);
        ui::DisplayList::LayerStyle atop;
        atop.blendMode = QPainter::CompositionMode_SourceAtop;
        atop.transform = QTransform().rotate(30);
        canvas.layer(atop).fill(rectPath(-100, -8, 300, 16), QColor(Qt::yellow));
        if (withFill) canvas.fill(rectPath(44, 44, 10, 10), QColor(Qt::red));
        return ui::renderImage(list, {60, 60}, 1, Qt::green);
    };
    const auto band = group(false);
    EXPECT_EQ(band.pixelColor(30, 25), QColor(Qt::yellow));
    EXPECT_EQ(band.pixelColor(22, 29), QColor(Qt::blue));
    EXPECT_EQ(band.pixelColor(10, 6), QColor(Qt::green));
    EXPECT_EQ(group(true).pixelColor(50, 50), QColor(Qt::red)) << "a plain part reaches past the card";
}

TEST(RendererTest, AFilteredSolidFillPaintsAsItsFilteredPixelsWould) {
    // A fill under filters that only recolour it is painted straight in the filtered colour;
    // painted apart and filtered (an isolated layer) it must look the same, edges included.
    for (const auto& filters : std::vector<std::vector<ui::ColorFilter>>{
             {ui::ColorFilter::brightness(0.3)},
             {ui::ColorFilter::brightness(-0.2), ui::ColorFilter::saturation(0.4)},
             {ui::ColorFilter::luminanceToAlpha()}}) {
        const auto painted = [&](bool apart) {
            ui::DisplayList list;
            ui::DisplayList::LayerStyle style;
            style.colorFilters = filters;
            style.isolated = apart;
            style.opacity = 0.8;
            ui::DisplayList::LayerStyle turned;
            turned.transform = QTransform().translate(20, 20).rotate(20);
            QPainterPath circle;
            circle.addEllipse(QPointF(0, 0), 12, 7);
            list.layer(style).layer(turned).fill(circle, QColor(200, 60, 30, 220));
            return ui::renderImage(list, {40, 40}, 1, QColor(240, 240, 240));
        };
        const QImage straight = painted(false), apart = painted(true);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_TRUE(near(straight.pixelColor(x, y), apart.pixelColor(x, y), 3))
                    << x << ", " << y << ": " << straight.pixelColor(x, y).name(QColor::HexArgb).toStdString()
                    << " against " << apart.pixelColor(x, y).name(QColor::HexArgb).toStdString();
        EXPECT_NE(straight.pixelColor(20, 20), QColor(240, 240, 240));
    }
}

TEST(RendererTest, TallTranslucentFillsAndStrokesPaintWhatQtPaintsStraight) {
    // Such shapes are painted opaque apart and composited at their alpha: inside the clip, under
    // the layer's opacity and turn, at any pixel ratio, the pixels must be what Qt paints.
    QPainterPath shape;
    shape.addRoundedRect(QRectF(-30, -40, 60, 80), 10, 10);
    QPainterPath clip;
    clip.addEllipse(QPointF(0, 0), 34, 36);
    QPen pen(QColor(20, 160, 40, 150), 6);
    pen.setJoinStyle(Qt::MiterJoin);
    const QColor fillColor(200, 60, 30, 220), background(240, 240, 240);
    for (const qreal ratio : {1.0, 2.0}) {
        for (const qreal opacity : {1.0, 0.6}) {
            const QTransform turn = QTransform().translate(50, 50).rotate(15);
            ui::DisplayList list;
            ui::DisplayList::LayerStyle style;
            style.opacity = opacity;
            style.transform = turn;
            style.clip = clip;
            list.layer(style).fill(shape, fillColor);
            list.layer(style).stroke(shape, pen);
            const QImage ours = ui::renderImage(list, {100, 100}, ratio, background);

            QImage qt(ours.size(), QImage::Format_ARGB32_Premultiplied);
            qt.setDevicePixelRatio(ratio);
            qt.fill(background);
            QPainter painter(&qt);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setOpacity(opacity);
            painter.setTransform(turn);
            painter.setClipPath(clip);
            painter.fillPath(shape, fillColor);
            painter.strokePath(shape, pen);
            painter.end();
            for (int y = 0; y < qt.height(); ++y)
                for (int x = 0; x < qt.width(); ++x)
                    ASSERT_TRUE(near(ours.pixelColor(x, y), qt.pixelColor(x, y), 3))
                        << ratio << " " << opacity << " at " << x << ", " << y << " "
                        << ours.pixelColor(x, y).name(QColor::HexArgb).toStdString() << " "
                        << qt.pixelColor(x, y).name(QColor::HexArgb).toStdString();
            EXPECT_NE(ours.pixelColor(QPoint(50, 50) * ratio), background);
        }
    }
}

TEST(RendererTest, TheHostRendersOpacityClippingAndRightToLeftFlips) {
    ui::TestHost host(ui::HStack(ui::VerticalAlignment::center, 0,
                                 {box(10, 10, "a", Qt::red).opacity(0.5),
                                  box(40, 40, "b", Qt::blue).frame(20, 20).clipped()}),
                      {30, 40});
    const auto image = host.render();
    EXPECT_TRUE(near(image.pixelColor(5, 20), QColor(255, 128, 128)));
    EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(20, 5), QColor(Qt::white)) << "outside the clip";
    // The same at twice the pixel density: offscreen layers line up with the surface.
    const auto dense = host.render(2);
    EXPECT_EQ(dense.size(), QSize(60, 80));
    EXPECT_TRUE(near(dense.pixelColor(10, 40), QColor(255, 128, 128)));
    EXPECT_TRUE(near(dense.pixelColor(1, 31), QColor(255, 128, 128)));
    EXPECT_EQ(dense.pixelColor(10, 28), QColor(Qt::white)) << "the layer stays inside the box's frame";
    EXPECT_EQ(dense.pixelColor(10, 52), QColor(Qt::white));
}

TEST(RendererTest, RightToLeftFlipsOnlyViewsThatAskForIt) {
    ui::EnvironmentValues rtl;
    rtl.set<ui::LayoutDirectionKey>(ui::LayoutDirection::rightToLeft);
    const auto pair = [] {
        return ui::HStack(ui::VerticalAlignment::center, 0,
                          {box(10, 10, "", Qt::red), box(10, 10, "", Qt::blue)});
    };
    ui::TestHost plain(pair(), {20, 10}, rtl);
    EXPECT_EQ(plain.render().pixelColor(15, 5), QColor(Qt::red)) << "the stack runs from the right";
    ui::TestHost flipped(pair().flipsForRightToLeftLayoutDirection(true), {20, 10}, rtl);
    EXPECT_EQ(flipped.render().pixelColor(5, 5), QColor(Qt::red)) << "and the flip mirrors it back";
}

TEST(RendererTest, TheHostWritesWhatItRendersToPNG) {
    ui::TestHost host(box(10, 10, "", Qt::red), {20, 20});
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("box.png");
    ASSERT_TRUE(host.renderPNG(path, 2));
    const QImage read(path);
    EXPECT_EQ(read.size(), QSize(40, 40));
    EXPECT_EQ(read.pixelColor(20, 20), QColor(Qt::red));
    EXPECT_EQ(read.pixelColor(2, 2), QColor(Qt::white));

    host.setRoot(box(10, 10, "", Qt::blue));
    EXPECT_EQ(host.render().pixelColor(10, 10), QColor(Qt::blue));
}

} // namespace
