#include "TransitionTestSupport.h"

#include "Flair/BlurTransition.h"
#include "Flair/FlickerTransition.h"
#include "Flair/IrisTransition.h"
#include "Flair/SnapshotTransitions.h"
#include "Flair/WipeTransition.h"

#include <QImage>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <utility>

using Flair::Blur;
using Flair::ExposureFade;
using Flair::Flicker;
using Flair::Iris;
using Flair::Snapshot;
using Flair::Wipe;
using flairtest::endsOf;
namespace Ostravelle = Flair::AnyTransition::Ostravelle;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
const QColor cardColour(20, 60, 240);
const QColor backdrop(Qt::white);

ui::View solidCard(double width, double height) {
    return ui::View(ui::Color(20 / 255.0, 60 / 255.0, 240 / 255.0)).frame(width, height).id("card");
}

} // namespace

TEST(FlickerTest, BlinksCountTimesAndEachSwitchIsImmediate) {
    EXPECT_TRUE(Flicker::isVisible(2, 0.2));
    EXPECT_TRUE(Flicker::isVisible(2, 0.25)) << "a tie goes to the even whole part";
    EXPECT_FALSE(Flicker::isVisible(2, 0.3));
    EXPECT_FALSE(Flicker::isVisible(2, 0.75));
    EXPECT_TRUE(Flicker::isVisible(2, 0));
    EXPECT_TRUE(Flicker::isVisible(2, 1));
    EXPECT_FALSE(Flicker::isVisible(2, notANumber));
    for (std::int64_t count : {0, -3}) {
        const auto [active, identity] = endsOf<Flicker>(Ostravelle::flicker(count));
        EXPECT_EQ(active, (Flicker{1, 0})) << count;
        EXPECT_EQ(identity, (Flicker{1, 1})) << count;
    }
    EXPECT_EQ(endsOf<Flicker>(Ostravelle::flicker()).first, (Flicker{1, 0}));
    static_assert(Flair::ProgressableAnimation<Flicker>);
    EXPECT_EQ(std::hash<Flicker>{}(Flicker{2, -0.0}), std::hash<Flicker>{}(Flicker{2, 0.0}));

    // Under a linear insertion the card is wholly there or wholly gone, never in between.
    flairtest::TransitionHost stage(Ostravelle::flicker(2), solidCard(40, 40), {40, 40});
    stage.set(true, ui::Animation::linear(1));
    stage.host.stepFrame(0.2);
    EXPECT_EQ(stage.host.render().pixelColor(20, 20), cardColour);
    stage.host.stepFrame(0.1);
    EXPECT_EQ(stage.host.render().pixelColor(20, 20), backdrop);
    stage.host.stepFrame(0.3);
    EXPECT_EQ(stage.host.render().pixelColor(20, 20), cardColour);
}

TEST(BlurTransitionTest, BlursByTheRadiusAsGiven) {
    EXPECT_EQ(endsOf<Blur>(Ostravelle::blur()).first, Blur{30});
    EXPECT_EQ(endsOf<Blur>(Ostravelle::blur()).second, Blur{0});
    EXPECT_EQ(endsOf<Blur>(Ostravelle::blur(45)).first, Blur{45}) << "not clamped";
    EXPECT_EQ(endsOf<Blur>(Ostravelle::blur(-5)).first, Blur{-5});
    EXPECT_EQ(std::hash<Blur>{}(Blur{-0.0}), std::hash<Blur>{}(Blur{0.0}));

    // Radius 0 leaves the view as it is.
    ui::TestHost plain(solidCard(30, 30).frame(50, 50), {50, 50});
    ui::TestHost blurred(solidCard(30, 30).modifier(Blur{0}).frame(50, 50), {50, 50});
    EXPECT_TRUE(flairtest::sameImage(plain.render(), blurred.render()));
}

TEST(IrisTest, TheCircleReachesTheFarthestCornerAndItsBlurIsClamped) {
    EXPECT_NEAR(Iris::diameter(ui::UnitPoint::center, 1, {100, 100}), 141.42, 0.01);
    EXPECT_NEAR(Iris::diameter(ui::UnitPoint::zero, 1, {100, 100}), 282.84, 0.01);
    EXPECT_NEAR(Iris::diameter(ui::UnitPoint::zero, 0.5, {100, 100}), 141.42, 0.01);
    EXPECT_EQ(Iris::diameter(ui::UnitPoint::center, 0, {100, 100}), 0);

    for (auto [given, used] :
         std::initializer_list<std::pair<double, double>>{{45, 30}, {-5, 0}, {notANumber, 0}, {12, 12}}) {
        const auto [active, identity] = endsOf<Iris>(Ostravelle::iris({0.2, 0.7}, given));
        EXPECT_EQ(active.blurRadius, used) << given;
        EXPECT_EQ(active.origin, (ui::UnitPoint{0.2, 0.7}));
        EXPECT_EQ(active.animatableData, 0);
        EXPECT_EQ(identity.animatableData, 1);
        EXPECT_EQ(endsOf<Wipe>(Ostravelle::wipe(ui::Edge::top, given)).first.animatableData,
                  (ui::AnimatablePair<double, double>(0, used)))
            << given;
    }

    // From the top-left corner at half way the circle's radius is the diagonal: all of the view
    // within it shows, nothing outside.
    ui::TestHost host(solidCard(100, 100).modifier(Iris{ui::UnitPoint::zero, 0, 0.5}), {100, 100});
    const QImage image = host.render();
    EXPECT_EQ(image.pixelColor(45, 45), cardColour) << "inside a radius of 70.7";
    EXPECT_EQ(image.pixelColor(60, 60), backdrop);
}

TEST(WipeTest, TheEdgeSweepsFromTheNamedSide) {
    EXPECT_EQ(Wipe::angleOf(ui::Edge::top).radians(), std::numbers::pi / 2);
    EXPECT_EQ(Wipe::angleOf(ui::Edge::leading).radians(), 0);
    EXPECT_EQ(Wipe::angleOf(ui::Edge::bottom).radians(), 3 * std::numbers::pi / 2);
    EXPECT_EQ(Wipe::angleOf(ui::Edge::trailing).radians(), std::numbers::pi);

    const auto at = [](ui::Edge edge, double p) {
        ui::TestHost host(solidCard(100, 50).modifier(Wipe{Wipe::angleOf(edge), {p, 0}}), {100, 50});
        return host.render();
    };
    const QImage top = at(ui::Edge::top, 0.5);
    for (int x : {2, 50, 97}) {
        EXPECT_EQ(top.pixelColor(x, 2), cardColour) << x;
        EXPECT_EQ(top.pixelColor(x, 23), cardColour) << x;
        EXPECT_EQ(top.pixelColor(x, 27), backdrop) << x;
        EXPECT_EQ(top.pixelColor(x, 47), backdrop) << x;
    }
    const QImage trailing = at(ui::Edge::trailing, 0.25);
    EXPECT_EQ(trailing.pixelColor(80, 25), cardColour);
    EXPECT_EQ(trailing.pixelColor(70, 25), backdrop);
    const QImage bottom = at(ui::Edge::bottom, 1);
    EXPECT_EQ(bottom.pixelColor(1, 1), cardColour) << "all shown at rest";
    EXPECT_EQ(bottom.pixelColor(98, 48), cardColour);
}

TEST(SnapshotTest, LooksAndTheirClamps) {
    const auto expectLook = [](double p, double saturation, double brightness, double blur) {
        const Snapshot::Look look = Snapshot::look(p);
        EXPECT_DOUBLE_EQ(look.saturation, saturation) << p;
        EXPECT_DOUBLE_EQ(look.contrast, saturation) << p;
        EXPECT_DOUBLE_EQ(look.brightness, brightness) << p;
        EXPECT_DOUBLE_EQ(look.blurRadius, blur) << p;
    };
    expectLook(0.5, 0.75, 0.425, 2.5);
    expectLook(1.1, 1, 0, 0);
    expectLook(1, 1, 0, 0);
    expectLook(-0.1, 0.5, 0.85, 5);
    expectLook(notANumber, 0.5, 0.85, 5);

    EXPECT_EQ(ExposureFade::opacity(0.1), 0.5);
    EXPECT_DOUBLE_EQ(ExposureFade::brightness(0.1), -0.9);
    EXPECT_EQ(ExposureFade::opacity(1), 0.9990234375);
    EXPECT_EQ(ExposureFade::brightness(1), 0);
    EXPECT_EQ(ExposureFade::opacity(1.2), 1 - std::exp2(-12));
    EXPECT_EQ(ExposureFade::brightness(1.2), 0);
    EXPECT_DOUBLE_EQ(ExposureFade::opacity(-0.1), -1);
    EXPECT_EQ(ExposureFade::brightness(-0.1), -1);
    EXPECT_EQ(ExposureFade::brightness(notANumber), -1);

    // The identity end keeps its not-quite-full opacity at rest; a negative one draws nothing.
    EXPECT_EQ(ExposureFade::opacity(endsOf<ExposureFade>(Ostravelle::filmExposure()).second.animatableData),
              0.9990234375);
    EXPECT_EQ(endsOf<Snapshot>(Ostravelle::snapshot()).first, Snapshot{0});
    ui::TestHost negative(solidCard(30, 30).modifier(ExposureFade{-0.1}), {30, 30});
    EXPECT_EQ(negative.render().pixelColor(15, 15), backdrop);

    static_assert(Flair::ProgressableAnimation<Snapshot> && Flair::ProgressableAnimation<ExposureFade>);
    EXPECT_EQ(std::hash<Snapshot>{}(Snapshot{-0.0}), std::hash<Snapshot>{}(Snapshot{0.0}));
    EXPECT_EQ(std::hash<ExposureFade>{}(ExposureFade{-0.0}), std::hash<ExposureFade>{}(ExposureFade{0.0}));
}
