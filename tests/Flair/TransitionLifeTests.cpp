// Every transition of the library through real insertions and removals.
#include "NamedTransitions.h"
#include "TransitionTestSupport.h"

using flairtest::bandedCard;
using flairtest::sameImage;
using flairtest::TransitionHost;
using Phase = ui::AnyTransition::Phase;

namespace {

constexpr graphics::CGSize stage{240, 160};

QImage still(ui::View view) {
    ui::TestHost host(ui::View(std::move(view)).frame(stage.width, stage.height), stage);
    return host.render();
}

} // namespace

TEST(TransitionLifeTest, InsertionAndRemovalRunFromTheActiveEndToRestAndBack) {
    const ui::View card = bandedCard(120, 80);
    const QImage blank = still(ui::View());
    const QImage rest = still(card);
    for (const flairtest::NamedTransition& c : flairtest::namedTransitions()) {
        SCOPED_TRACE(c.name);
        const QImage absent = still(flairtest::atPhase(c.transition, card, Phase::insertion));
        const QImage atRest = still(flairtest::atPhase(c.transition, card, Phase::identity));
        if (c.name.rfind("flicker", 0) != 0) EXPECT_FALSE(sameImage(absent, atRest)) << "the ends differ";

        TransitionHost stageHost(c.transition, card, stage);
        ui::TestHost& host = stageHost.host;
        stageHost.set(true, ui::Animation::linear(1));
        EXPECT_TRUE(sameImage(host.render(), absent)) << "the first frame shows the active end";
        host.stepFrame(0.5);
        host.stepFrame(0.55);
        EXPECT_TRUE(sameImage(host.render(), atRest)) << "the insertion ends exactly at rest";

        stageHost.set(false, ui::Animation::linear(1));
        EXPECT_TRUE(sameImage(host.render(), atRest)) << "the removal starts at rest";
        host.stepFrame(0.5);
        EXPECT_EQ(host.removalGhosts().size(), 1U);
        host.stepFrame(0.55);
        EXPECT_TRUE(host.removalGhosts().empty()) << "the ghost goes when the animation ends";
        EXPECT_TRUE(sameImage(host.render(), blank));

        stageHost.set(true, std::nullopt);
        EXPECT_TRUE(sameImage(host.render(), atRest)) << "without an animation the view comes at once";
        stageHost.set(false, std::nullopt);
        EXPECT_TRUE(host.removalGhosts().empty());
        EXPECT_TRUE(sameImage(host.render(), blank)) << "and goes at once";
    }
    EXPECT_FALSE(sameImage(rest, blank));
}
