#include "ParticleTestSupport.h"
#include "TransitionTestSupport.h"

#include "Flair/AnvilPoofTransitions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

using Flair::Anvil;
using Flair::Poof;
using Command = ui::RecordingGraphicsBackend::Command;
namespace Ostravelle = Flair::AnyTransition::Ostravelle;

namespace {

// The smoke canvas over a view of `width` × 40.
graphics::CGSize smokeCanvas(double width) {
    return {width + 260, 40 + 250};
}

std::vector<Command> smoke(double viewWidth, double progress) {
    auto backend = std::make_shared<ui::RecordingGraphicsBackend>();
    ui::GraphicsContext ctx(backend);
    Anvil::drawSmoke(ctx, smokeCanvas(viewWidth), progress);
    return backend->commands();
}

std::vector<Command> named(const std::vector<Command>& commands, const std::string& name) {
    std::vector<Command> out;
    std::copy_if(commands.begin(), commands.end(), std::back_inserter(out),
                 [&](const Command& c) { return c.name == name; });
    return out;
}

std::vector<std::string> described(const std::vector<Command>& commands) {
    std::vector<std::string> out;
    for (const Command& c : commands)
        out.push_back(c.description());
    return out;
}

bool finite(const Command& c) {
    const auto& t = c.state.transform;
    for (double v : {t.a, t.b, t.c, t.d, t.tx, t.ty, c.state.opacity})
        if (!std::isfinite(v)) return false;
    return std::all_of(c.numbers.begin(), c.numbers.end(), [](double v) { return std::isfinite(v); });
}

double presentedProgress(const ui::Element* element) {
    return element ? flairtest::presentedData(element) : -1;
}

} // namespace

TEST(AnvilTest, TheViewDropsInTheFirstTenthAndShuddersAfterLanding) {
    EXPECT_DOUBLE_EQ(Anvil::dropOffset(0).height, -400);
    EXPECT_DOUBLE_EQ(Anvil::dropOffset(0.05).height, -200);
    for (double p : {0.1, 0.5, 1.0})
        EXPECT_EQ(Anvil::dropOffset(p).height, 0) << p;
    const graphics::CGSize mid = Anvil::shudderOffset(0.16);
    EXPECT_NEAR(mid.width, -1, 1e-12);
    EXPECT_NEAR(mid.height, 0, 1e-12);
    for (double p : {0.0, 0.1, 0.5, 1.0}) {
        EXPECT_NEAR(Anvil::shudderOffset(p).width, 0, 1e-12) << p;
        EXPECT_NEAR(Anvil::shudderOffset(p).height, 0, 1e-12) << p;
    }
}

TEST(AnvilTest, SmokeAndSparksAlongTheBottomOfAHundredPointView) {
    // Before landing: ten columns of two puff layers, no image yet, and twenty unlit sparks.
    const std::vector<Command> early = smoke(100, 0.05);
    EXPECT_EQ(named(early, "beginLayer").size(), 40u);
    EXPECT_TRUE(named(early, "draw").empty());
    const std::vector<Command> sparks = named(early, "fill");
    ASSERT_EQ(sparks.size(), 20u);
    for (const Command& spark : sparks)
        EXPECT_EQ(spark.state.opacity, 0);
    for (const Command& spark : named(smoke(100, 0.12), "fill"))
        EXPECT_EQ(spark.state.opacity, 0) << "still unlit at 0.12";

    // Mid-way: even columns white, odd grey, along the view's bottom edge (canvas y 190).
    const std::vector<Command> mid = smoke(100, 0.5);
    const std::vector<Command> puffs = named(mid, "draw");
    ASSERT_EQ(puffs.size(), 20u);
    for (std::size_t n = 0; n < puffs.size(); ++n) {
        EXPECT_EQ(puffs[n].subject, (n / 2) % 2 == 0 ? "anvil_smoke_white" : "anvil_smoke_gray") << n;
        EXPECT_GT(puffs[n].state.opacity, 0);
        EXPECT_NEAR(flairtest::drawnCentre(puffs[n]).y(), 190, 80) << n;
    }
    for (const Command& spark : named(mid, "fill"))
        EXPECT_GT(spark.state.opacity, 0);

    // The same width draws the same picture again; the end draws nothing.
    EXPECT_EQ(described(smoke(100, 0.5)), described(mid));
    EXPECT_NE(described(smoke(101, 0.5)), described(mid));
    EXPECT_TRUE(smoke(100, 1).empty());
    EXPECT_TRUE(smoke(0, 0.5).empty()) << "a view without width has no column, so no smoke and no sparks";
}

TEST(AnvilTest, ALoneColumnStandsInTheMiddleWithEveryNumberFinite) {
    const std::vector<Command> all = smoke(5, 0.5);
    ASSERT_EQ(named(all, "beginLayer").size(), 2u + 20u);
    for (const Command& c : all)
        EXPECT_TRUE(finite(c)) << c.description();
    const std::vector<Command> puffs = named(all, "draw");
    ASSERT_EQ(puffs.size(), 2u);
    const double t = (0.5 - 0.1) / 0.9;
    for (const Command& puff : puffs) {
        EXPECT_DOUBLE_EQ(puff.state.opacity, (1 - t) * 0.8) << "a centred column fades at full strength";
        // The column's x (130) and jitter of ±15, with no sideways spread.
        EXPECT_NEAR(flairtest::drawnCentre(puff).x(), 130, 15 + 1e-9);
    }
}

TEST(PoofTest, FramesPlayBackwardsThroughTheRemovalWhileTheViewIsHidden) {
    EXPECT_EQ(Poof::frameShown(1), 0);
    EXPECT_EQ(Poof::frameShown(0.75), 1);
    EXPECT_EQ(Poof::frameShown(0.5), 3);
    EXPECT_EQ(Poof::frameShown(0.25), 4);
    EXPECT_EQ(Poof::frameShown(0.05), 0);
    EXPECT_EQ(Poof::frameShown(0), 0);

    // A removal under the default animation runs 0.4 s linear all the same; the card is hidden
    // from its first frame and the ghost goes at the end.
    const QColor card(20, 60, 240);
    flairtest::TransitionHost stage(Ostravelle::poof(),
                                    ui::View(ui::Color(20 / 255.0, 60 / 255.0, 240 / 255.0)).frame(200, 200),
                                    {200, 200});
    stage.set(true, ui::Animation::default_());
    EXPECT_EQ(stage.host.render().pixelColor(100, 100), card) << "inserted at once";
    stage.set(false, ui::Animation::default_());
    stage.host.stepFrame(0.1);
    ASSERT_EQ(stage.host.removalGhosts().size(), 1u);
    EXPECT_NEAR(presentedProgress(flairtest::ghostModifier<Poof>(stage.host)), 0.75, 1e-9);
    EXPECT_NE(stage.host.render().pixelColor(5, 5), card) << "the card is hidden";
    stage.host.stepFrame(0.2);
    EXPECT_NEAR(presentedProgress(flairtest::ghostModifier<Poof>(stage.host)), 0.25, 1e-9);
    stage.host.stepFrame(0.11);
    EXPECT_TRUE(stage.host.removalGhosts().empty());
}
