// Each particle effect and the shine on a card, rendered at 0, ¼, ½, ¾ and the whole of its life
// (one column each), in place and in a named layer around a clipped box (alternate rows); the
// strip is written to the temporary folder (quoril-flair-particle-strip.png) for looking at.
#include "ParticleTestSupport.h"

#include "Flair/ParticleLayerModifier.h"
#include "ui/Capsule.h"
#include "ui/Circle.h"
#include "ui/Font.h"
#include "ui/Group.h"
#include "ui/RoundedRectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/Text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include <functional>
#include <string>
#include <vector>

using namespace flairtest;
using Flair::AnyChangeEffect;
using Flair::ParticleLayer;

namespace {

constexpr int columns = 5;
constexpr double cellWidth = 220, cellHeight = 180;
const ui::Color blue(0.1, 0.25, 0.95);
const ui::Color gray(0.6, 0.6, 0.6);

struct Row {
    std::string label;
    std::function<AnyChangeEffect(ParticleLayer)> effect;
    double life; // seconds, from the first change
    int changes; // 0.1 s apart
    bool inLayer;
};

ui::View particles(double side) {
    return ui::Group({ui::Circle().fill(ui::Color(0.9, 0.2, 0.2)).frame(side, side),
                      ui::RoundedRectangle(3).fill(ui::Color(1, 0.6, 0)).frame(side, side),
                      ui::Capsule().fill(ui::Color(0.6, 0.2, 0.8)).frame(side, side * 0.6)});
}

QImage strip(const Row& row) {
    Trigger trigger;
    const ui::View card = ui::RoundedRectangle(8).fill(blue).frame(80, 40);
    const ParticleLayer layer = row.inLayer ? ParticleLayer::named("strip") : ParticleLayer::local;
    ui::View shown = trigger(card, row.effect(layer)).frame(110, 60);
    if (row.inLayer) shown = shown.clipped();
    const ui::View box = ui::RoundedRectangle(4).stroke(gray, 1).frame(110, 60);
    const ui::View label = ui::Text(row.label.c_str()).font(ui::Font::custom("DejaVu Sans", 10));
    const ui::View scene = ui::ZStack({box, shown}).padding(ui::EdgeSet::top, 50).frame(cellWidth, cellHeight).overlay(
                               label.padding(4), ui::Alignment::bottomLeading) |
                           Flair::particleLayer("strip");
    ui::TestHost host(scene, {cellWidth, cellHeight});

    QImage result(int(cellWidth) * columns, int(cellHeight), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    double elapsed = 0;
    for (int i = 0; i < row.changes; ++i) {
        trigger.change(host);
        if (i + 1 < row.changes) {
            advance(host, 0.1);
            elapsed += 0.1;
        }
    }
    for (int column = 0; column < columns; ++column) {
        const double at = row.life * column / (columns - 1);
        if (at > elapsed) advance(host, at - elapsed);
        elapsed = std::max(elapsed, at);
        painter.drawImage(int(cellWidth) * column, 0, host.render());
        painter.setPen(QColor(220, 220, 220));
        painter.drawLine(int(cellWidth) * column, 0, int(cellWidth) * column, int(cellHeight));
    }
    return result;
}

} // namespace

TEST(ParticleStripTest, StripForTheEye) {
    const auto stroke = [](ParticleLayer layer) {
        return AnyChangeEffect::pulse(ui::RoundedRectangle(8), ui::Color(0.1, 0.6, 1),
                                      AnyChangeEffect::PulseDrawingMode::stroke, 3, std::move(layer));
    };
    const auto fill = [](ParticleLayer layer) {
        return AnyChangeEffect::pulse(ui::RoundedRectangle(8), ui::Color(0.1, 0.6, 1),
                                      AnyChangeEffect::PulseDrawingMode::fill, 1, std::move(layer));
    };
    const auto rise = [](ParticleLayer layer) {
        return AnyChangeEffect::rise(ui::UnitPoint::top, std::move(layer), [] { return particles(14); });
    };
    const auto spray = [](ParticleLayer layer) {
        return AnyChangeEffect::spray(ui::UnitPoint::center, std::move(layer), [] { return particles(10); });
    };
    const auto shine = [](ParticleLayer) { return AnyChangeEffect::shine(); };
    std::vector<Row> rows;
    for (bool inLayer : {false, true}) {
        const std::string where = inLayer ? ", layer" : ", in place";
        rows.push_back({"stroke pulse ×3" + where, stroke, 2.4, 1, inLayer});
        rows.push_back({"fill pulse" + where, fill, 4.0, 1, inLayer});
        rows.push_back({"rise ×3" + where, rise, 1.5, 3, inLayer});
        rows.push_back({"spray" + where, spray, 1.3, 1, inLayer});
    }
    rows.push_back({"shine", shine, 1.0, 1, false});

    QImage image(int(cellWidth) * columns, int(cellHeight) * int(rows.size()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (std::size_t i = 0; i < rows.size(); ++i)
        painter.drawImage(0, int(cellHeight * i), strip(rows[i]));
    painter.end();
    EXPECT_TRUE(image.save(QDir::temp().filePath("quoril-flair-particle-strip.png")));
}
