#include "FlairTestSupport.h"
#include "TransitionTestSupport.h"

#include "Flair/Boing.h"
#include "Flair/BoingTransition.h"
#include "Flair/Move.h"
#include "Flair/MoveTransitions.h"
#include "Flair/Scaled.h"
#include "Flair/ShadedTransform3DEffect.h"
#include "Flair/Skid.h"
#include "Flair/Transform3DEffect.h"

#include <cmath>
#include <numbers>
#include <optional>

using Flair::Boing;
using Flair::Move;
using Flair::Scaled;
using Flair::ShadedTransform3DEffect;
using Flair::Skid;
using Flair::Transform3DEffect;
using flairtest::TransitionHost;
using graphics::CGRect;
using graphics::ProjectionTransform;
namespace Ostravelle = Flair::AnyTransition::Ostravelle;

namespace {

constexpr double pi = std::numbers::pi;

CGRect cardFrame(const ui::TestHost& host) {
    return ui::TestHost::frame(host.find("card"));
}

// A stage twice the card's size either way, the card in its middle, inserted under `animation`.
struct Inserted {
    TransitionHost stage;
    CGRect rest;
    Inserted(ui::AnyTransition transition, double w, double h, ui::Animation animation)
        : stage(std::move(transition), flairtest::bandedCard(w, h), {2 * w, 2 * h})
        , rest{{w / 2, h / 2}, {w, h}} {
        stage.set(true, animation);
    }
};

} // namespace

TEST(ScaledBodyTest, TheEngineSeesSixtyFourTimesWhatTheEffectDrawsWithoutASecondAnimation) {
    Inserted move(Ostravelle::move(ui::Edge::leading), 100, 50, ui::Animation::linear(1));
    move.stage.host.stepFrame(0.5);
    const auto engine = flairtest::enginePresented<Flair::TRS>(move.stage.host.findType<Scaled<Move>>());
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->translation.x, -32);
    EXPECT_EQ(engine->scale.x, 64);
    const auto drawn = flairtest::presentedData<Move>(move.stage.host);
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->translation.x, -0.5) << "the effect's own value, not animated again";
    EXPECT_EQ(drawn->scale.x, 1);
    EXPECT_NEAR(cardFrame(move.stage.host).minX(), move.rest.minX() - 50, 1e-9);

    // Under a spring the engine's rest thresholds see 64 × p, so the skid lands finely.
    Inserted skid(Ostravelle::skid(), 100, 50, ui::Animation::spring());
    double last = 0;
    bool landed = false;
    for (int frame = 0; frame < 600 && !landed; ++frame) {
        skid.stage.host.stepFrame();
        const auto p = flairtest::presentedData<Skid>(skid.stage.host);
        ASSERT_TRUE(p);
        landed = *p == 1;
        if (!landed) last = *p;
    }
    EXPECT_TRUE(landed);
    EXPECT_NE(last, 0);
    EXPECT_LE(std::abs(last - 1), 1e-3 / 64);
}

TEST(MoveTransitionTest, MovesAndSkidsStartOutsideTheirFramesAndEndInPlace) {
    struct Case {
        double angle;
        double dx, dy; // in card widths and heights
    };
    for (Case c : {Case{0, -1, 0}, Case{pi, 1, 0}, Case{pi / 2, 0, -1}}) {
        Inserted move(Ostravelle::move(c.angle), 80, 40, ui::Animation::linear(1));
        const CGRect start = cardFrame(move.stage.host);
        EXPECT_NEAR(start.minX(), move.rest.minX() + c.dx * 80, 1e-6) << c.angle;
        EXPECT_NEAR(start.minY(), move.rest.minY() + c.dy * 40, 1e-6) << c.angle;
        move.stage.host.stepFrame(1.05);
        EXPECT_EQ(cardFrame(move.stage.host), move.rest) << c.angle;
    }
    Inserted edge(Ostravelle::move(ui::Edge::bottom), 80, 40, ui::Animation::linear(1));
    EXPECT_EQ(cardFrame(edge.stage.host).minY(), edge.rest.minY() + 40);

    Inserted skid(Ostravelle::skid(), 200, 100, ui::Animation::linear(1));
    flairtest::expectNear(*flairtest::presentedEffect<Skid>(skid.stage.host),
                          ProjectionTransform(1, 0, 0, 0.5, 1, 0, -500, 0, 1));
    skid.stage.host.stepFrame(1.05);
    EXPECT_EQ(*flairtest::presentedEffect<Skid>(skid.stage.host), ProjectionTransform::identity);
    Inserted trailing(Ostravelle::skid(Ostravelle::SkidDirection::trailing), 200, 100,
                      ui::Animation::linear(1));
    EXPECT_GT(cardFrame(trailing.stage.host).minX(), trailing.rest.maxX()) << "from the right";

    // A view without width or height is drawn as it is.
    for (const ui::AnyTransition& t : {Ostravelle::skid(), Ostravelle::boing(ui::Edge::leading)}) {
        TransitionHost flat(t, flairtest::bandedCard(0, 40), {100, 100});
        flat.set(true, ui::Animation::linear(1));
        EXPECT_EQ(ui::TestHost::frame(flat.host.find("card")), (CGRect{{50, 30}, {0, 40}}));
    }
}

TEST(BoingTransitionTest, StretchedFarOutAndSquashedAboutTheOppositeSideOnOvershoot) {
    Inserted boing(Ostravelle::boing(), 200, 100, ui::Animation::linear(1));
    const CGRect start = cardFrame(boing.stage.host);
    EXPECT_NEAR(start.height(), 158.4, 0.05);
    EXPECT_NEAR(start.width() * start.height(), 200 * 100, 1e-6) << "the area stays";
    EXPECT_NEAR(start.midY(), boing.rest.midY() - 200, 1e-6);
    EXPECT_NEAR(start.midX(), boing.rest.midX(), 1e-6);
    boing.stage.host.stepFrame(1.05);
    EXPECT_EQ(cardFrame(boing.stage.host), boing.rest);

    const auto overshoot = [](ui::Edge edge) {
        ui::TestHost host(
            flairtest::bandedCard(200, 100).modifier(Scaled<Boing>{Boing{edge, 1.2}}).frame(400, 200),
            {400, 200});
        return cardFrame(host);
    };
    const CGRect rest{{100, 50}, {200, 100}};
    const CGRect top = overshoot(ui::Edge::top);
    EXPECT_NEAR(top.maxY(), rest.maxY(), 1e-9) << "about the bottom edge";
    EXPECT_NEAR(top.midX(), rest.midX(), 1e-9);
    EXPECT_NEAR(top.height(), 88.33, 0.01);
    EXPECT_NEAR(top.width(), 200 * 1.1321, 0.02);
    const CGRect leading = overshoot(ui::Edge::leading);
    EXPECT_NEAR(leading.maxX(), rest.maxX(), 1e-9) << "about the trailing side";
    EXPECT_NEAR(leading.midY(), rest.midY(), 1e-9);
    EXPECT_NEAR(leading.width(), 175, 1e-6);
}

TEST(TurnTransitionTest, FlipStartsEdgeOnAndTurnsKeepTheirPerspective) {
    const auto [flipAway, flipRest] = flairtest::endsOf<ShadedTransform3DEffect>(Ostravelle::flip());
    EXPECT_EQ(flipAway.animatableData.first.rotation,
              (graphics::Quaternion{0.7071067811865475, 0, 0, 0.7071067811865476}));
    EXPECT_EQ(flipAway.animatableData.second.second, 1.0 / 6);
    EXPECT_EQ(flipRest.animatableData.second.second, 1.0 / 6);
    EXPECT_EQ(flipAway.lightSource, (Flair::Vector3{0, -1, 0}));
    EXPECT_EQ(Flair::shadeBrightness(flipRest.animatableData.first, flipRest.lightSource), 0)
        << "unshaded at rest";
    EXPECT_EQ(flipAway.animatableData.second.first, flipRest.animatableData.second.first) << "same anchor";

    // On screen: edge-on at the start, flat at rest.
    Inserted flip(Ostravelle::flip(), 120, 80, ui::Animation::linear(1));
    EXPECT_NEAR(cardFrame(flip.stage.host).height(), 0, 1e-6);
    flip.stage.host.stepFrame(1.05);
    const CGRect flat = cardFrame(flip.stage.host);
    EXPECT_NEAR(flat.width(), 120, 1e-9);
    EXPECT_NEAR(flat.height(), 80, 1e-9);

    const auto [flingAway, flingRest] = flairtest::endsOf<Transform3DEffect>(Ostravelle::fling());
    const graphics::Quaternion q = flingAway.trs().rotation;
    EXPECT_NEAR(q.ix, -0.5971983785, 1e-9);
    EXPECT_NEAR(q.iy, 0.3354696534, 1e-9);
    EXPECT_NEAR(q.iz, -0.1981867591, 1e-9);
    EXPECT_NEAR(q.r, 0.7010964391, 1e-9);
    EXPECT_EQ(flingAway.trs().translation, (Flair::Vector3{-100, -50, -2500}));
    EXPECT_EQ(flingAway.anchor(), (Flair::Anchor3D{ui::UnitPoint{0.5, 0}, -20}));
    EXPECT_EQ(flingRest.anchor(), (Flair::Anchor3D{ui::UnitPoint::center, 0}));
    EXPECT_EQ(flingAway.perspective(), 0.16);
    EXPECT_EQ(flingRest.perspective(), 0.16);

    const auto [turned, still] = flairtest::endsOf<ShadedTransform3DEffect>(
        Ostravelle::rotate3D(pi, {0, 2, 0}, ui::UnitPoint::leading, 5, 0.3));
    EXPECT_EQ(turned.animatableData.first.rotation,
              (graphics::Quaternion{0, 2 * std::sin(pi / 2), 0, std::cos(pi / 2)}))
        << "the axis is not normalised";
    EXPECT_EQ(still.animatableData.first.rotation, graphics::Quaternion::identity);
    EXPECT_EQ(still.animatableData.second.first, (Flair::Anchor3D{ui::UnitPoint::leading, 5}));
}
