// A 200 × 50 card under the smoke effect, 0.25, 0.5, 1 and 2 s after switching on and 1 s after
// switching off (one column each), in place and in a named layer that draws the outer smoke over
// a neighbour above the card, which in place hides it (rows); written to the temporary folder
// (quoril-flair-smoke-strip.png) for looking at.
#include "Flair/AnyConditionalEffect.h"
#include "Flair/ConditionalEffect.h"
#include "Flair/ParticleLayerModifier.h"
#include "ui/Color.h"
#include "ui/RoundedRectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

using Flair::AnyConditionalEffect;
using Flair::ParticleLayer;

namespace {

constexpr int cellWidth = 260, cellHeight = 300;

ui::View scene(bool on, bool inLayer) {
    const ParticleLayer layer = inLayer ? ParticleLayer::named("sky") : ParticleLayer::local;
    const ui::View card = ui::RoundedRectangle(8).fill(ui::Color(0.1, 0.25, 0.95)).frame(200, 50) |
                          Flair::conditionalEffect(AnyConditionalEffect::smoke(layer), on);
    const ui::View neighbour = ui::RoundedRectangle(8).fill(ui::Color(0.95, 0.6, 0.1)).frame(200, 60);
    // The neighbour is drawn after the card: smoke in place passes behind it.
    ui::View column = ui::ZStack({card.position({130, 270}), neighbour.position({130, 160})});
    if (inLayer) column = column | Flair::particleLayer("sky");
    return column.frame(cellWidth, cellHeight);
}

void advance(ui::TestHost& host, double seconds) {
    for (int i = 0; i < int(std::lround(seconds * 60)); ++i)
        host.stepFrame();
}

} // namespace

TEST(SmokeStripTest, StripForTheEye) {
    QImage strip(cellWidth * 5, cellHeight * 2, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    for (int row = 0; row < 2; ++row) {
        const bool inLayer = row == 1;
        ui::TestHost host(scene(true, inLayer), {cellWidth, cellHeight});
        double shown = 0;
        int column = 0;
        for (double at : {0.25, 0.5, 1.0, 2.0}) {
            advance(host, at - shown);
            shown = at;
            painter.drawImage(cellWidth * column++, cellHeight * row, host.render());
        }
        host.setRoot(scene(false, inLayer));
        host.update();
        advance(host, 1);
        painter.drawImage(cellWidth * column, cellHeight * row, host.render());
    }
    painter.setPen(QColor(200, 200, 200));
    for (int column = 1; column < 5; ++column)
        painter.drawLine(cellWidth * column, 0, cellWidth * column, cellHeight * 2);
    painter.drawLine(0, cellHeight, cellWidth * 5, cellHeight);
    painter.end();
    EXPECT_TRUE(strip.save(QDir::temp().filePath("quoril-flair-smoke-strip.png")));
}
