// The anvil, poof, pop and vanish transitions on a sample card at 0, 0.25, 0.5, 0.75 and 1 of
// their progress (the removals in the order they play), one row each; written to the test output
// folder (quoril-flair-sprite-transitions.png) for looking at.
#include "TransitionTestSupport.h"

#include "Flair/AnvilPoofTransitions.h"
#include "Flair/PopTransition.h"
#include "Flair/VanishTransition.h"
#include "ui/Circle.h"
#include "ui/Font.h"
#include "ui/RoundedRectangle.h"
#include "ui/Text.h"

#include <QColor>
#include <QPainter>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace Ostravelle = Flair::AnyTransition::Ostravelle;

constexpr graphics::CGSize cell{340, 300};
constexpr int labelWidth = 150;
const QColor background(150, 160, 175);

ui::View sampleCard() {
    return ui::ZStack(ui::Alignment::top,
                      {ui::RoundedRectangle(8).fill(ui::Color(0.1, 0.25, 0.95)),
                       ui::View(ui::Color(1, 0.8, 0)).frame(70, 8).padding(ui::EdgeSet::top, 7)})
        .overlay(
            ui::Text("F").font(ui::Font::custom("DejaVu Sans", 26).bold()).foregroundColor(QColor(Qt::white)))
        .frame(90, 64)
        .id("card");
}

struct Row {
    std::string name;
    ui::AnyTransition transition;
    bool removal;
    double duration; // of the run the transition takes under the animation given
    std::optional<ui::Animation> animation;
};

} // namespace

TEST(SpriteTransitionStripTest, StripForTheEye) {
    const std::vector<Row> rows{
        {"anvil", Ostravelle::anvil(), false, 1.4, ui::Animation::default_()},
        {"poof", Ostravelle::poof(), true, 0.4, ui::Animation::default_()},
        {"pop (tint)", Ostravelle::pop(), false, 1.2, ui::Animation::default_()},
        {"pop (orange)", Ostravelle::pop(ui::Color(1, 0.55, 0)), false, 1.2, ui::Animation::default_()},
        {"vanish (tint)", Ostravelle::vanish(), true, 1, ui::Animation::linear(1)},
        {"vanish (red, circle,\nno flare)",
         Ostravelle::vanish(ui::Color(0.9, 0.1, 0.1), ui::Circle(), true, false), true, 1,
         ui::Animation::linear(1)},
    };
    const std::vector<double> stops{0, 0.25, 0.5, 0.75, 1};
    QImage strip(labelWidth + int(cell.width) * int(stops.size()),
                 int(cell.height / 4) + int(cell.height) * int(rows.size()), QImage::Format_ARGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    painter.setFont(QFont("DejaVu Sans", 10));
    for (std::size_t column = 0; column < stops.size(); ++column)
        painter.drawText(QRectF(labelWidth + column * cell.width, 0, cell.width, cell.height / 4),
                         Qt::AlignCenter, QString("%1 of the way").arg(stops[column]));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const double top = cell.height / 4 + r * cell.height;
        painter.drawText(QRectF(8, top, labelWidth - 8, cell.height), Qt::AlignVCenter | Qt::AlignLeft,
                         QString::fromStdString(row.name));
        flairtest::TransitionHost stage(row.transition, sampleCard(), cell);
        if (row.removal) stage.set(true, std::nullopt);
        stage.set(!row.removal, row.animation);
        double at = 0;
        for (std::size_t column = 0; column < stops.size(); ++column) {
            // Just short of the end, so that a removal still shows its last frame.
            const double to = std::min(stops[column], 0.999) * row.duration;
            if (to > at) stage.host.stepFrame(to - at);
            at = to;
            painter.drawImage(QPointF(labelWidth + column * cell.width, top),
                              stage.host.render(1, background));
        }
    }
    painter.end();
    const auto path = std::filesystem::path(testing::TempDir()) / "quoril-flair-sprite-transitions.png";
    EXPECT_TRUE(strip.save(QString::fromStdString(path.string())));
}
