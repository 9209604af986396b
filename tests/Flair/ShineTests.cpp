#include "ParticleTestSupport.h"

#include "Flair/Shine.h"
#include "ui/AnimatedCanvas.h"
#include "ui/Color.h"
#include "ui/Rectangle.h"
#include "ui/RoundedRectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cmath>

using namespace flairtest;
using Flair::ShineModifier;
using graphics::CGSize;

namespace {

const ui::Color blue(0.1, 0.25, 0.95);
const ui::Color green(0.1, 0.5, 0.2);

double presentedCount(const ui::TestHost& host) {
    const ui::Element* band = host.findByTypeName("AnimatedCanvas");
    return band ? ui::AnimatedCanvas<double>::presentedValue(*band).value_or(-1) : -1;
}

} // namespace

TEST(ShineTest, TheBandCrossesTheViewAlongItsDiagonalAsTheFractionRuns) {
    EXPECT_EQ(ShineModifier::progress(2.75), 0.75) << "between counts 2 and 3";
    EXPECT_EQ(ShineModifier::progress(3), 0);

    const auto half = ShineModifier::band({200, 100}, std::nullopt, 0.5);
    EXPECT_NEAR(half.angle, 0.4636, 1e-4);
    EXPECT_NEAR(half.centre.x, 100, 1e-9) << "on the centre half way";
    EXPECT_NEAR(half.intensity, 0.479, 1e-3);
    EXPECT_NEAR(half.opacity, 0.996, 1e-3);
    const auto early = ShineModifier::band({200, 100}, ui::Angle::radians(0), 0.25);
    EXPECT_NEAR(early.size.width, 400, 1e-9);
    EXPECT_NEAR(early.size.height, 100, 1e-9);
    EXPECT_NEAR(early.centre.x, 100 + 200 * (2 * 0.25 - 1), 1e-9);
    EXPECT_EQ(ShineModifier::band({200, 100}, std::nullopt, 0).intensity, 0) << "at rest, clear";
}

TEST(ShineTest, ACountedChangeSweepsOnceAndLightsOnlyTheViewsOwnPixels) {
    Trigger trigger;
    // A rounded card on a green ground: its corners are the ground's.
    const ui::View card = trigger(ui::RoundedRectangle(20).fill(blue).frame(200, 100), Flair::AnyChangeEffect::shine());
    ui::TestHost host(ui::ZStack({ui::View(green), card}).frame(240, 140), {240, 140});
    const QImage rest = host.render();

    trigger.change(host);
    advance(host, 0.3);
    trigger.change(host); // within half the duration: no second sweep
    advance(host, 0.2);
    EXPECT_NEAR(presentedCount(host), 0.5, 0.02) << "half way at half the duration, under ease-in-out";
    const QImage lit = host.render();
    EXPECT_GT(lit.pixelColor(120, 70).lightness(), rest.pixelColor(120, 70).lightness() + 40) << "the middle shines";
    EXPECT_EQ(lit.pixelColor(22, 22), rest.pixelColor(22, 22)) << "the card's rounded corner stays the ground's";
    EXPECT_EQ(lit.pixelColor(5, 70), rest.pixelColor(5, 70));

    advance(host, 0.6);
    EXPECT_EQ(presentedCount(host), 1) << "one sweep only";
    EXPECT_EQ(host.render(), rest) << "at rest nothing shows";
}
