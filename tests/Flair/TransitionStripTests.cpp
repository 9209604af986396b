// Each transition inserted under a linear animation, drawn at 0, 0.25, 0.5, 0.75 and 1 of the
// way, one row per transition; written to the test output folder (quoril-flair-transitions.png)
// for looking at.
#include "TransitionTestSupport.h"

#include "Flair/BlindsTransition.h"
#include "Flair/BlurTransition.h"
#include "Flair/BoingTransition.h"
#include "Flair/ClockTransition.h"
#include "Flair/FlickerTransition.h"
#include "Flair/GlareTransition.h"
#include "Flair/IrisTransition.h"
#include "Flair/MoveTransitions.h"
#include "Flair/SnapshotTransitions.h"
#include "Flair/WipeTransition.h"

#include "ui/Font.h"
#include "ui/RoundedRectangle.h"
#include "ui/Text.h"

#include <QColor>
#include <QPainter>

#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

namespace Ostravelle = Flair::AnyTransition::Ostravelle;

namespace {

constexpr graphics::CGSize cell{150, 110};
constexpr int labelWidth = 170;
const QColor background(214, 220, 230);

ui::View sampleCard() {
    return ui::ZStack(ui::Alignment::top,
                      {ui::RoundedRectangle(8).fill(ui::Color(0.1, 0.25, 0.95)),
                       ui::View(ui::Color(1, 0.8, 0)).frame(70, 8).padding(ui::EdgeSet::top, 7)})
        .overlay(ui::Text("F").font(ui::Font::custom("DejaVu Sans", 26).bold()).foregroundColor(QColor(Qt::white)))
        .frame(90, 64)
        .id("card");
}

struct Row {
    std::string label;
    ui::AnyTransition transition;
};

std::vector<Row> rows() {
    constexpr double pi = std::numbers::pi;
    return {
        {"blur", Ostravelle::blur()},
        {"flicker 2", Ostravelle::flicker(2)},
        {"iris centre, blur 10", Ostravelle::iris(ui::UnitPoint::center, 10)},
        {"iris (0, 0), blur 0", Ostravelle::iris(ui::UnitPoint::zero, 0)},
        {"wipe top, blur 10", Ostravelle::wipe(ui::Edge::top, 10)},
        {"wipe leading, blur 0", Ostravelle::wipe(ui::Edge::leading, 0)},
        {"wipe 135°, blur 6", Ostravelle::wipe(ui::Angle::degrees(135), 6)},
        {"snapshot", Ostravelle::snapshot()},
        {"filmExposure", Ostravelle::filmExposure()},
        {"move top", Ostravelle::move(ui::Edge::top)},
        {"move π/4", Ostravelle::move(pi / 4)},
        {"skid leading", Ostravelle::skid()},
        {"skid trailing", Ostravelle::skid(Ostravelle::SkidDirection::trailing)},
        {"flip", Ostravelle::flip()},
        {"rotate3D y, leading", Ostravelle::rotate3D(pi / 2, {0, 1, 0}, ui::UnitPoint::leading, 0, 0.3)},
        {"fling", Ostravelle::fling()},
        {"boing top", Ostravelle::boing()},
        {"boing leading", Ostravelle::boing(ui::Edge::leading)},
        {"blinds", Ostravelle::blinds()},
        {"blinds vertical, staggered", Ostravelle::blinds(12, Ostravelle::BlindsStyle::vertical, true)},
        {"clock", Ostravelle::clock()},
        {"clock (0, 0.5), blur 12", Ostravelle::clock({0, 0.5}, 12)},
        {"glare", Ostravelle::glare()},
        {"glare 0°, orange, plain", Ostravelle::glare(ui::Angle::zero(), ui::Color(1, 0.55, 0), false)},
    };
}

} // namespace

TEST(TransitionStripTest, StripForTheEye) {
    const std::vector<Row> all = rows();
    const std::vector<double> stops{0, 0.25, 0.5, 0.75, 1};
    QImage strip(labelWidth + int(cell.width) * int(stops.size()), int(cell.height) * int(all.size() + 1),
                 QImage::Format_ARGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    painter.setFont(QFont("DejaVu Sans", 10));
    for (std::size_t column = 0; column < stops.size(); ++column)
        painter.drawText(QRectF(labelWidth + column * cell.width, 0, cell.width, cell.height), Qt::AlignCenter,
                         QString("p = %1").arg(stops[column]));
    for (std::size_t r = 0; r < all.size(); ++r) {
        const double top = (r + 1) * cell.height;
        painter.drawText(QRectF(8, top, labelWidth - 8, cell.height), Qt::AlignVCenter | Qt::AlignLeft,
                         QString::fromStdString(all[r].label));
        flairtest::TransitionHost stage(all[r].transition, sampleCard(), cell);
        stage.set(true, ui::Animation::linear(1));
        double at = 0;
        for (std::size_t column = 0; column < stops.size(); ++column) {
            if (stops[column] > at) stage.host.stepFrame(stops[column] - at);
            at = stops[column];
            painter.drawImage(QPointF(labelWidth + column * cell.width, top), stage.host.render(1, background));
        }
    }
    painter.end();
    const auto path = std::filesystem::path(testing::TempDir()) / "quoril-flair-transitions.png";
    EXPECT_TRUE(strip.save(QString::fromStdString(path.string())));
}
