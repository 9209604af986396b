// The geometry effects drawn on a test card, beside the timing presets plotted; the whole strip
// is written to the temporary folder (quoril-flair-strip.png) for looking at.
#include "Flair/AnimationPresets.h"
#include "Flair/Boing.h"
#include "Flair/Move.h"
#include "Flair/Skid.h"
#include "Flair/SquishOffset.h"

#include "ui/Canvas.h"
#include "ui/Font.h"
#include "ui/GraphicsContext.h"
#include "ui/Path.h"
#include "ui/RoundedRectangle.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>

#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {

using graphics::CGPoint;
using graphics::CGSize;
using SkidDirection = Flair::AnyTransition::Ostravelle::SkidDirection;

constexpr double cardWidth = 60, cardHeight = 40;
constexpr double cellWidth = 200, cellHeight = 170, margin = 20;
const ui::Color cardBlue(0.1, 0.25, 0.95);
const ui::Color gray(0.6, 0.6, 0.6);

ui::Font labelFont() {
    return ui::Font::custom("DejaVu Sans", 11);
}

ui::View card() {
    return ui::ZStack(ui::Alignment::top,
                      {ui::RoundedRectangle(6).fill(cardBlue),
                       ui::View(ui::Color(1, 0.8, 0)).frame(44, 6).padding(ui::EdgeSet::top, 5)})
        .overlay(
            ui::Text("F").font(ui::Font::custom("DejaVu Sans", 20).bold()).foregroundColor(QColor(Qt::white)))
        .frame(cardWidth, cardHeight);
}

// The card through `effect`, over an outline of where it rests, placed at `where` in its cell.
template <class Effect> ui::View cell(Effect effect, ui::Alignment where) {
    const ui::View outline = ui::RoundedRectangle(6).stroke(gray, 1).frame(cardWidth, cardHeight);
    return ui::ZStack({outline, card().modifier(effect)}).padding(margin).frame(cellWidth, cellHeight, where);
}

ui::View labelled(ui::View content, const std::string& label) {
    return ui::VStack(ui::HorizontalAlignment::center, 2,
                      {content, ui::Text(label.c_str()).font(labelFont())});
}

ui::View squash(double displacement) {
    return cell(Flair::SquishOffset{displacement}, ui::Alignment::bottom);
}
ui::View skid(double progress) {
    return cell(Flair::Skid{SkidDirection::leading, progress}, ui::Alignment::bottomTrailing);
}
ui::View boing(double progress) {
    return cell(Flair::Boing{ui::Edge::top, progress}, ui::Alignment::bottom);
}
ui::View move(double angle) {
    Flair::Move halfway;
    const CGPoint out = Flair::Move::translation(angle);
    halfway.animatableData.translation = {out.x / 2, out.y / 2, 0};
    return cell(halfway, ui::Alignment::center);
}

// The share of the way done over the run, with guides at 0 and 1.
ui::View plot(const ui::Animation& animation, const std::string& label) {
    ui::Canvas canvas([animation](ui::GraphicsContext& ctx, CGSize size) {
        const auto y = [&](double progress) { return size.height * (1 - (progress + 0.7) / 2.4); };
        for (double guide : {0.0, 1.0}) {
            ui::Path line;
            line.move({0, y(guide)});
            line.addLine({size.width, y(guide)});
            ctx.stroke(line, ui::GraphicsContext::Shading::color(gray), 1);
        }
        const double run = animation.runDuration(1, 0);
        std::vector<CGPoint> points;
        for (int i = 0; i <= 100; ++i)
            points.push_back({size.width * i / 100, y(1 - animation.sample(run * i / 100, run).c1)});
        ui::Path curve;
        curve.addLines(points);
        ctx.stroke(curve, ui::GraphicsContext::Shading::color(cardBlue), 2);
    });
    return labelled(ui::View(canvas).frame(140, 120).padding(10), label);
}

ui::View row(std::vector<ui::View> cells) {
    return ui::HStack(ui::VerticalAlignment::top, 0, std::move(cells));
}

} // namespace

TEST(EffectStripTest, StripForTheEye) {
    namespace Presets = Flair::Animation::Ostravelle;
    constexpr double pi = std::numbers::pi;
    const ui::View strip = ui::VStack(
        ui::HorizontalAlignment::leading, 8,
        {row({labelled(squash(-20), "squish −20"), labelled(squash(0), "squish 0"),
              labelled(squash(0.3 * cardHeight), "squish 0.3 h")}),
         row({labelled(skid(0), "skid 0"), labelled(skid(0.5), "skid 0.5"), labelled(skid(0.75), "skid 0.75"),
              labelled(skid(1), "skid 1"), labelled(skid(1.2), "skid 1.2")})
             .padding(ui::EdgeSet::leading, 40), // skid 0 starts two widths to the left
         row({labelled(boing(0), "boing 0"), labelled(boing(0.5), "boing 0.5"),
              labelled(boing(0.75), "boing 0.75"), labelled(boing(1), "boing 1"),
              labelled(boing(1.2), "boing 1.2")}),
         row({labelled(move(0), "move 0, halfway"), labelled(move(pi / 4), "move π/4, halfway"),
              labelled(move(pi / 2), "move π/2, halfway"), labelled(move(pi), "move π, halfway")}),
         row({plot(Presets::windUp(), "windUp"), plot(Presets::overrun(), "overrun"),
              plot(Presets::windUpOverrun(), "windUpOverrun"), plot(Presets::steepEaseIn(), "steepEaseIn"),
              plot(Presets::steepEaseOut(), "steepEaseOut"),
              plot(Presets::steepEaseInOut(), "steepEaseInOut")})});
    ui::TestHost host(strip.padding(10), {1100, 960});
    EXPECT_TRUE(host.renderPNG(QDir::temp().filePath("quoril-flair-strip.png")));
}
