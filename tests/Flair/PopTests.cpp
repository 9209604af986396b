#include "TransitionTestSupport.h"

#include "Flair/PopTransition.h"
#include "Flair/SeedHash.h"
#include "foundation/Random.h"
#include "ui/RecordingGraphicsBackend.h"
#include "ui/TintShapeStyle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using Flair::Pop;
using Command = ui::RecordingGraphicsBackend::Command;
namespace Ostravelle = Flair::AnyTransition::Ostravelle;

namespace {

const ui::AnyShapeStyle red(ui::Color(1, 0, 0));
constexpr graphics::CGSize canvas{160, 160}; // a 100-point view and the 30-point overhang

std::vector<Command> dots(double seed, double progress) {
    auto backend = std::make_shared<ui::RecordingGraphicsBackend>();
    ui::GraphicsContext ctx(backend);
    Flair::SeededRandomNumberGenerator random(Flair::seedHash(seed));
    Pop::drawDots(ctx, canvas, progress, red, random);
    return backend->commands();
}

std::vector<Command> fills(double seed, double progress) {
    std::vector<Command> out;
    for (const Command& c : dots(seed, progress))
        if (c.name == "fill") out.push_back(c);
    return out;
}

std::vector<std::string> described(const std::vector<Command>& commands) {
    std::vector<std::string> out;
    for (const Command& c : commands)
        out.push_back(c.description());
    return out;
}

// The first dot's speed for `seed`.
double firstSpeed(double seed) {
    Flair::SeededRandomNumberGenerator random(Flair::seedHash(seed));
    return foundation::randomDouble(0.95, 1.1, random);
}

} // namespace

TEST(PopTest, TheViewGrowsAfterTheRingBursts) {
    for (double p : {0.0, 0.2, 0.4})
        EXPECT_EQ(Pop::contentScale(p), 0) << p;
    EXPECT_DOUBLE_EQ(Pop::contentScale(0.45), 0.75);
    EXPECT_EQ(Pop::contentScale(1), 1 - std::exp2(-20));
    EXPECT_EQ(Pop::discScale(0), 0);
    EXPECT_EQ(Pop::holeScale(0), 0);
    EXPECT_EQ(Pop::holeScale(0.15), 0) << "the hole opens after the disc";
    EXPECT_EQ(Pop::ringOpacity(1), 0);
    EXPECT_GT(Pop::ringOpacity(0.3), 0.9);
}

TEST(PopTest, DotsFlyOutFromAThirdOfTheWayAndAPassStopsAtTheFirstDotNotRunning) {
    for (double p : {0.0, 0.2, 1.0 / 3})
        EXPECT_TRUE(dots(7, p).empty()) << p;
    EXPECT_TRUE(dots(7, 1).empty()) << "at the end every dot has faded and the first ends the pass";

    const std::vector<Command> mid = fills(7, 0.6);
    ASSERT_FALSE(mid.empty());
    EXPECT_EQ(described(fills(7, 0.6)), described(mid)) << "the same seed draws the same dots";
    EXPECT_NE(described(fills(8, 0.6)), described(mid));
    for (const Command& dot : mid) {
        ASSERT_EQ(dot.state.filters.size(), 1u) << "each dot has its own hue, and only that one";
        ASSERT_TRUE(dot.state.filters.front().color);
        EXPECT_EQ(dot.state.filters.front().color->kind, ui::ColorFilter::Kind::hueRotation);
        EXPECT_LE(std::abs(ui::Angle::radians(dot.state.filters.front().color->amount).degrees()), 25 + 1e-9);
    }

    // A seed whose first dot is fast: nothing shows until that dot starts.
    double seed = 0;
    while (firstSpeed(seed) < 1.05)
        seed += 1;
    const double speed = firstSpeed(seed);
    const double starts = 1 - 1 / speed; // the dots' progress at which the first starts
    EXPECT_TRUE(dots(seed, 1.0 / 3 + starts / 2 * 0.99).empty());
    EXPECT_FALSE(dots(seed, 1.0 / 3 + (starts + 0.05) / 2).empty());
}

TEST(PopTest, EachPopCarriesItsOwnSeedsAndTheStyleItWasGiven) {
    const auto [active, identity] = flairtest::endsOf<Pop>(Ostravelle::pop(red));
    EXPECT_EQ(active.animatableData, 0);
    EXPECT_EQ(identity.animatableData, 1);
    EXPECT_NE(active.seed, identity.seed);
    EXPECT_TRUE(active.style == red);
    const auto other = flairtest::endsOf<Pop>(Ostravelle::pop(red));
    EXPECT_NE(active.seed, other.first.seed) << "two pops draw different dots";
    for (double s : {active.seed, identity.seed, other.first.seed}) {
        EXPECT_GE(s, 0);
        EXPECT_LE(s, 255);
    }
    EXPECT_TRUE(flairtest::endsOf<Pop>(Ostravelle::pop()).first.style ==
                ui::AnyShapeStyle(ui::TintShapeStyle()));

    // Inserted over 1.2 s linear whatever the animation.
    flairtest::TransitionHost stage(Ostravelle::pop(red), flairtest::bandedCard(60, 60), {100, 100});
    stage.set(true, ui::Animation::default_());
    stage.host.stepFrame(0.6);
    EXPECT_NEAR(flairtest::enginePresented<double>(stage.host.findType<Pop>()).value_or(-1), 0.5, 1e-9);
}
