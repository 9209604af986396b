#include "ParticleTestSupport.h"

#include "Flair/ParticleLayerModifier.h"
#include "Flair/SeedHash.h"
#include "Flair/SeededRandomNumberGenerator.h"
#include "Flair/Spray.h"
#include "foundation/Random.h"
#include "ui/Color.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

using namespace flairtest;
using Ping = Flair::SpraySimulation::Ping;
using Spray = Flair::SpraySimulation;
using graphics::CGSize;

namespace {

const Flair::Spring factorySpring{1.0, 30.0, 1.0};
const ui::Color blue(0.1, 0.25, 0.95);
const CGSize canvas{420, 400}; // a 100 × 40 card with the overhang
const QPointF cardCentre(210, (400 - 360) / 2.0 + 320);

int stepsToRest(double dt) {
    std::vector<Ping> pings{{fixedID(1), 0, 0, 1}};
    int steps = 0;
    while (!pings.empty() && steps < 500) {
        Spray::step(pings, dt, factorySpring);
        ++steps;
    }
    return steps;
}

// An identifier whose burst starts at symbol `offset`.
foundation::UUID idWithOffset(std::uint64_t offset) {
    for (int first = 0;; ++first) {
        Flair::SeededRandomNumberGenerator random(Flair::seedHash(fixedID(std::uint8_t(first))));
        if (foundation::randomUInt64Below(11, random) == offset) return fixedID(std::uint8_t(first));
    }
}

std::shared_ptr<ui::RecordingGraphicsBackend> drawn(const Ping& ping, int symbols, bool isInNamedLayer) {
    auto backend = std::make_shared<ui::RecordingGraphicsBackend>();
    auto ctx = recordingContext(backend, symbols, {12, 8});
    Spray::drawPings(ctx, canvas, {ping}, isInNamedLayer);
    return backend;
}

} // namespace

TEST(SprayTest, ABurstComesToRestOnItsSeventyEighthStepOfASixtiethInSinglePrecision) {
    EXPECT_EQ(stepsToRest(1.0 / 60), 78);
    EXPECT_EQ(stepsToRest(1.0 / 30), 40);
    std::vector<Ping> pings{{fixedID(1), 0, 0, 1}};
    Spray::step(pings, 1.0 / 60, factorySpring);
    EXPECT_EQ(pings[0].velocity, 0.5f) << "30 × 1/60, in float";
    EXPECT_EQ(pings[0].progress, 0.5f / 60);
}

TEST(SprayTest, ElevenParticlesFanOutTakingTheSymbolsInTurnFromTheBurstsOffset) {
    const auto backend = drawn({idWithOffset(2), 0.5f, 0, 1}, 3, false);
    const auto list = draws(*backend);
    ASSERT_EQ(list.size(), 11u);
    const char* expected[] = {"symbol(2)", "symbol(0)", "symbol(1)", "symbol(2)", "symbol(0)", "symbol(1)",
                              "symbol(2)", "symbol(0)", "symbol(1)", "symbol(2)", "symbol(0)"};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(list[i].subject, expected[i]) << i;

    // Particle 5 is neither turned nor moved sideways.
    const QTransform middle = list[5].state.transform.toQTransform();
    EXPECT_NEAR(middle.m12(), 0, 1e-6);
    EXPECT_NEAR(middle.m21(), 0, 1e-6);
    EXPECT_NEAR(drawnCentre(list[5]).x(), cardCentre.x(), 1e-4);

    // Particle 0, half way, moves xBound (the symbol's width, 12) out after a turn of 16.875°.
    const QPointF moved = drawnCentre(list[0]) - cardCentre;
    const double turn = 16.875 * std::numbers::pi / 180;
    EXPECT_NEAR(moved.x() * std::cos(turn) + moved.y() * std::sin(turn), 12, 1e-3);

    // Opacity ramps in only in a present named layer.
    const auto opacities = [](const ui::RecordingGraphicsBackend& b) {
        std::vector<double> result;
        for (const auto& c : b.commands())
            if (c.name == "beginLayer") result.push_back(c.state.opacity);
        return result;
    };
    EXPECT_EQ(opacities(*drawn({fixedID(4), 0.1f, 0, 1}, 3, true)),
              std::vector<double>(11, 4 * double(0.1f)));
    EXPECT_EQ(opacities(*drawn({fixedID(4), 0.1f, 0, 1}, 3, false)), std::vector<double>(11, 1.0));
    EXPECT_EQ(opacities(*drawn({fixedID(4), 0.5f, 0, 1}, 3, true)), std::vector<double>(11, 1.0));

    // The same burst draws the same picture every frame and on every run.
    const auto once = drawn({fixedID(4), 0.3f, 0, 1}, 3, false)->descriptions();
    EXPECT_EQ(drawn({fixedID(4), 0.3f, 0, 1}, 3, false)->descriptions(), once);
    ASSERT_EQ(once.size(), 33u);
    EXPECT_EQ(once[1],
              "draw -6 -4 12 8 symbol(0) | transform(0.0596933 0.000595512 -0.000595512 0.0596933 221.675 "
              "332.09) filters(brightness(0.0631391))");
    EXPECT_EQ(once[25],
              "draw -6 -4 12 8 symbol(2) | transform(0.691971 -0.00414185 0.00414185 0.691971 202.405 "
              "326.797) filters(brightness(0.0147608))");
    EXPECT_TRUE(drawn({fixedID(4), 0.5f, 0, 1}, 0, false)->commands().empty());
}

TEST(SprayTest, BurstsDrawBehindTheViewOrInTheirLayerAndComeToRest) {
    for (bool inLayer : {false, true}) {
        Trigger trigger;
        const auto layer = inLayer ? Flair::ParticleLayer::named("sky") : Flair::ParticleLayer::local;
        const ui::View card =
            trigger(ui::Rectangle().fill(blue).frame(100, 40),
                    Flair::AnyChangeEffect::spray(ui::UnitPoint::center, layer, [] {
                        return ui::View(ui::Rectangle().fill(ui::Color(1, 0.5, 0)).frame(12, 8));
                    }));
        ui::TestHost host(ui::ZStack({card}).frame(600, 600) | Flair::particleLayer("sky"), {600, 600});
        trigger.change(host);
        host.stepFrame(0.05);
        trigger.change(host);
        advance(host, 0.5);
        const ui::Element* spray = host.findType<Spray>();
        const auto* pings = spray->findSlot<ui::detail::StateBox<std::vector<Ping>>>("pings");
        ASSERT_NE(pings, nullptr);
        EXPECT_EQ(pings->value.size(), 2u) << "two bursts at once";
        const ui::Element* canvasElement = host.findByTypeName("Canvas");
        ASSERT_NE(canvasElement, nullptr);
        EXPECT_EQ(isAncestor(spray, canvasElement), !inLayer);
        EXPECT_GT(painted(host).size(), 1u) << "particles drawn";
        advance(host, 1.2);
        EXPECT_TRUE(pings->value.empty());
        EXPECT_FALSE(host.frameClock().hasSubscribers());
    }
}
