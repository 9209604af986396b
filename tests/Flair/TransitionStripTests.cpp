// Each transition inserted under a linear animation, drawn at 0, 0.25, 0.5, 0.75 and 1 of the
// way, one row per transition; written to the test output folder (quoril-flair-transitions.png)
// for looking at.
#include "NamedTransitions.h"
#include "TransitionTestSupport.h"

#include "ui/Font.h"
#include "ui/RoundedRectangle.h"
#include "ui/Text.h"

#include <QColor>
#include <QPainter>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr graphics::CGSize cell{150, 110};
constexpr int labelWidth = 170;
const QColor background(214, 220, 230);

ui::View sampleCard() {
    return ui::ZStack(ui::Alignment::top,
                      {ui::RoundedRectangle(8).fill(ui::Color(0.1, 0.25, 0.95)),
                       ui::View(ui::Color(1, 0.8, 0)).frame(70, 8).padding(ui::EdgeSet::top, 7)})
        .overlay(
            ui::Text("F").font(ui::Font::custom("DejaVu Sans", 26).bold()).foregroundColor(QColor(Qt::white)))
        .frame(90, 64)
        .id("card");
}

} // namespace

TEST(TransitionStripTest, StripForTheEye) {
    const std::vector<flairtest::NamedTransition> all = flairtest::namedTransitions();
    const std::vector<double> stops{0, 0.25, 0.5, 0.75, 1};
    QImage strip(labelWidth + int(cell.width) * int(stops.size()), int(cell.height) * int(all.size() + 1),
                 QImage::Format_ARGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    painter.setFont(QFont("DejaVu Sans", 10));
    for (std::size_t column = 0; column < stops.size(); ++column)
        painter.drawText(QRectF(labelWidth + column * cell.width, 0, cell.width, cell.height),
                         Qt::AlignCenter, QString("p = %1").arg(stops[column]));
    for (std::size_t r = 0; r < all.size(); ++r) {
        const double top = (r + 1) * cell.height;
        painter.drawText(QRectF(8, top, labelWidth - 8, cell.height), Qt::AlignVCenter | Qt::AlignLeft,
                         QString::fromStdString(all[r].name));
        flairtest::TransitionHost stage(all[r].transition, sampleCard(), cell);
        stage.set(true, ui::Animation::linear(1));
        double at = 0;
        for (std::size_t column = 0; column < stops.size(); ++column) {
            if (stops[column] > at) stage.host.stepFrame(stops[column] - at);
            at = stops[column];
            painter.drawImage(QPointF(labelWidth + column * cell.width, top),
                              stage.host.render(1, background));
        }
    }
    painter.end();
    const auto path = std::filesystem::path(testing::TempDir()) / "quoril-flair-transitions.png";
    EXPECT_TRUE(strip.save(QString::fromStdString(path.string())));
}
