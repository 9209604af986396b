#include "TransitionTestSupport.h"

#include "Flair/VanishTransition.h"
#include "ui/Path.h"
#include "ui/RecordingGraphicsBackend.h"
#include "ui/Shape.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using Flair::Vanish;
using Command = ui::RecordingGraphicsBackend::Command;
namespace Ostravelle = Flair::AnyTransition::Ostravelle;

namespace {

const ui::AnyShapeStyle red(ui::Color(1, 0, 0));

// Two circles round one centre, both clockwise: a ring by the even-odd rule, a disc by winding.
struct Ring : ui::Shape<Ring> {
    ui::Path path(const graphics::CGRect& rect) const {
        ui::Path path;
        path.addEllipse(rect);
        path.addEllipse(rect.insetBy(rect.width() / 4, rect.height() / 4));
        return path;
    }
};

Vanish vanishing(double progress, std::optional<ui::AnyShape> mask = std::nullopt, bool eoFill = true) {
    return Vanish{progress, red, std::move(mask), eoFill, true};
}

// The first fill of each dot: its layer's drift and the dot's bounds, keyed by where it is.
std::map<std::pair<double, double>, Command> dotsDrawn(const Vanish& vanish, graphics::CGSize size) {
    auto backend = std::make_shared<ui::RecordingGraphicsBackend>();
    ui::GraphicsContext ctx(backend);
    Vanish::drawDots(ctx, size, vanish);
    std::map<std::pair<double, double>, Command> dots;
    const auto& all = backend->commands();
    for (std::size_t n = 0; n < all.size(); ++n)
        if (all[n].name == "fill" && all[n].state.filters.empty()) {
            EXPECT_EQ(all.at(n + 1).name, "fill") << "each dot again, blurred";
            EXPECT_EQ(all.at(n + 1).state.filters.size(), 1u);
            const double cx = all[n].numbers[0] + all[n].numbers[2] / 2,
                         cy = all[n].numbers[1] + all[n].numbers[3] / 2;
            dots.emplace(std::pair(cx, cy), all[n]);
        }
    return dots;
}

} // namespace

TEST(VanishTest, TheGridCoversTheViewButItsFirstColumnAndRow) {
    // A 60 × 36 view: the area (28, 28, 54, 30) has 5 columns and 3 rows, of which column 0 and
    // row 0 lie 6 points above and left of it.
    const auto dots = dotsDrawn(vanishing(0.5), {110, 86});
    EXPECT_EQ(dots.size(), 4u * 2u);
    for (const auto& [centre, dot] : dots) {
        EXPECT_GT(centre.first, 28) << "nothing of column 0";
        EXPECT_GT(centre.second, 28) << "nothing of row 0";
        EXPECT_NEAR(dot.state.opacity, 0.5, 0.3 + 1e-9);
    }
    EXPECT_TRUE(dotsDrawn(vanishing(1), {110, 86}).empty()) << "at rest only the view shows";
    EXPECT_TRUE(dotsDrawn(vanishing(0.5), {50, 50}).empty()) << "a view of no size has no grid";

    // Every frame of one width has the same sizes and drift: only the progress scales them.
    const auto later = dotsDrawn(vanishing(0.25), {110, 86});
    ASSERT_EQ(later.size(), dots.size());
    auto a = dots.begin();
    for (auto b = later.begin(); b != later.end(); ++a, ++b) {
        EXPECT_NEAR(b->second.numbers[2], a->second.numbers[2] / 2, 1e-9) << "size × progress";
        EXPECT_NEAR(b->second.state.transform.tx, a->second.state.transform.tx * 0.75 / 0.5, 1e-9);
        EXPECT_NEAR(b->second.state.transform.ty, a->second.state.transform.ty * 0.75 / 0.5, 1e-9);
    }
}

TEST(VanishTest, AMaskKeepsTheDotsInsideItAsTheyAreWithout) {
    // A 200-point view: the area is 194 points square, 17 cells a side.
    constexpr graphics::CGSize size{250, 250};
    constexpr double centre = 125, holeRadius = 194 / 4.0;
    const auto plain = dotsDrawn(vanishing(0.5), size);
    const auto ring = dotsDrawn(vanishing(0.5, ui::AnyShape(Ring()), true), size);
    const auto disc = dotsDrawn(vanishing(0.5, ui::AnyShape(Ring()), false), size);
    ASSERT_FALSE(ring.empty());
    EXPECT_GT(disc.size(), ring.size());
    const auto inHole = [&](const Command& dot) {
        const double x = dot.numbers[0] + dot.numbers[2] / 2 - centre,
                     y = dot.numbers[1] + dot.numbers[3] / 2 - centre;
        return x * x + y * y < (holeRadius - 12) * (holeRadius - 12);
    };
    int holeDots = 0;
    for (const auto& [at, dot] : ring)
        EXPECT_FALSE(inHole(dot)) << "even-odd leaves the hole empty";
    for (const auto& [at, dot] : disc)
        holeDots += inHole(dot);
    EXPECT_GT(holeDots, 0) << "winding fills it";
    for (const auto* masked : {&ring, &disc})
        for (const auto& [at, dot] : *masked) {
            ASSERT_TRUE(plain.contains(at));
            EXPECT_EQ(dot.description(), plain.at(at).description()) << "the same size and drift";
        }
}

TEST(VanishTest, TheRemovalHidesTheViewAndTakesTheDefaultAnimationAsAnEaseOut) {
    const QColor green(0, 153, 0);
    const ui::View card = ui::View(ui::Color(0, 0.6, 0)).frame(120, 80);
    const auto greenPixels = [&](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == green;
        return n;
    };
    flairtest::TransitionHost stage(Ostravelle::vanish(red, false), card, {200, 160});
    stage.set(true, ui::Animation::default_());
    EXPECT_GT(greenPixels(stage.host.render()), 0) << "inserted at once";

    stage.set(false, ui::Animation::default_());
    const ui::Animation& easeOut = Ostravelle::vanishAnimation();
    EXPECT_TRUE(easeOut == ui::Animation::easeOut(0.9));
    stage.host.stepFrame(0.3);
    const auto* vanish = flairtest::ghostModifier<Vanish>(stage.host);
    const auto progress = [&] { return flairtest::enginePresented<double>(vanish).value_or(-1); };
    EXPECT_NEAR(progress(), easeOut.sample(0.3, easeOut.runDuration(1, 0)).c1, 1e-9);
    EXPECT_EQ(greenPixels(stage.host.render()), 0) << "hidden from the start of the removal";
    stage.host.stepFrame(0.61);
    EXPECT_TRUE(stage.host.removalGhosts().empty());

    stage.set(true, std::nullopt);
    stage.set(false, ui::Animation::linear(0.3));
    stage.host.stepFrame(0.15);
    vanish = flairtest::ghostModifier<Vanish>(stage.host);
    EXPECT_NEAR(progress(), 0.5, 1e-9) << "another animation is kept";
    stage.host.stepFrame(0.16);
    EXPECT_TRUE(stage.host.removalGhosts().empty());
}
