// Every transition of the library through real insertions and removals.
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

#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace Ostravelle = Flair::AnyTransition::Ostravelle;
using flairtest::bandedCard;
using flairtest::sameImage;
using flairtest::TransitionHost;
using Phase = ui::AnyTransition::Phase;

namespace {

constexpr graphics::CGSize stage{240, 160};

struct Case {
    std::string name;
    ui::AnyTransition transition;
};

std::vector<Case> everyTransition() {
    constexpr double pi = std::numbers::pi;
    return {
        {"blur", Ostravelle::blur()},
        {"blur 12", Ostravelle::blur(12)},
        {"flicker", Ostravelle::flicker()},
        {"flicker 3", Ostravelle::flicker(3)},
        {"iris", Ostravelle::iris({0.3, 0.6}, 10)},
        {"wipe edge", Ostravelle::wipe(ui::Edge::bottom, 8)},
        {"wipe angle", Ostravelle::wipe(ui::Angle::degrees(30), 0)},
        {"snapshot", Ostravelle::snapshot()},
        {"filmExposure", Ostravelle::filmExposure()},
        {"move edge", Ostravelle::move(ui::Edge::trailing)},
        {"move angle", Ostravelle::move(pi / 3)},
        {"skid", Ostravelle::skid()},
        {"skid trailing", Ostravelle::skid(Ostravelle::SkidDirection::trailing)},
        {"flip", Ostravelle::flip()},
        {"rotate3D", Ostravelle::rotate3D(pi / 2, {0, 1, 0}, ui::UnitPoint::leading, 10, 0.3)},
        {"fling", Ostravelle::fling()},
        {"boing", Ostravelle::boing()},
        {"boing leading", Ostravelle::boing(ui::Edge::leading)},
        {"blinds", Ostravelle::blinds()},
        {"blinds vertical staggered", Ostravelle::blinds(12, Ostravelle::BlindsStyle::vertical, true)},
        {"clock", Ostravelle::clock()},
        {"clock soft", Ostravelle::clock({0, 0}, 10)},
        {"glare", Ostravelle::glare()},
        {"glare plain", Ostravelle::glare(ui::Angle::degrees(-20), ui::Color(1, 0.8, 0), false)},
    };
}

QImage still(ui::View view) {
    ui::TestHost host(ui::View(std::move(view)).frame(stage.width, stage.height), stage);
    return host.render();
}

} // namespace

TEST(TransitionLifeTest, InsertionAndRemovalRunFromTheActiveEndToRestAndBack) {
    const ui::View card = bandedCard(120, 80);
    const QImage blank = still(ui::View());
    const QImage rest = still(card);
    for (const Case& c : everyTransition()) {
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
