#include "Flair/AnyConditionalEffect.h"
#include "Flair/ConditionalEffect.h"
#include "Flair/ParticleLayerModifier.h"
#include "Flair/SmokeEffect.h"
#include "foundation/Bundle.h"
#include "ui/Color.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <fstream>
#include <numbers>

using Flair::AnyConditionalEffect;
using Flair::ParticleLayer;
using Flair::SmokeLayerView;

namespace {

std::shared_ptr<ui::EmitterLayer> emitterFor(double w, double h) {
    return SmokeLayerView{{w, h}, true, {}, 0}.makeEmitterLayer(0);
}

// Two views side by side, 400 points apart: on the left a clear 200 × 50 view under the smoke
// effect, on the right the bare smoke of the same size.
ui::View sideBySide(bool on, ParticleLayer layer) {
    const ui::View decorated = ui::View(ui::Color::clear).frame(200, 50) |
                               Flair::conditionalEffect(AnyConditionalEffect::smoke(layer), on);
    const std::vector<std::string> names(Flair::SmokeEffect::particleNames.begin(),
                                         Flair::SmokeEffect::particleNames.end());
    const ui::View bare = Flair::SmokeEffect{on, ParticleLayer::local, names}.smokeView().frame(200, 50);
    ui::View scene = ui::ZStack({decorated.position({200, 325}), bare.position({600, 325})});
    if (layer != ParticleLayer::local) scene = scene | Flair::particleLayer("sky");
    return scene.frame(800, 400);
}

std::vector<ui::EmitterLayer*> emitters(const ui::TestHost& host) {
    std::vector<ui::EmitterLayer*> found;
    for (auto* element : host.findAll([](const ui::Element& e) { return ui::hostedLayer<SmokeLayerView>(&e); }))
        found.push_back(ui::hostedLayer<SmokeLayerView>(element));
    return found;
}

void advance(ui::TestHost& host, double seconds) {
    for (int i = 0; i < int(std::lround(seconds * 60)); ++i)
        host.stepFrame();
}

// How many pixels of the left half differ from the right half by more than `tolerance`, away
// from the decorated view's edges (antialiased in the two copies).
int differingPixels(const QImage& image, int tolerance = 6) {
    int differing = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            const bool nearEdge = (std::abs(x - 100) <= 1 || std::abs(x - 300) <= 1) && y >= 299 && y <= 351;
            const bool nearTopOrBottom = (std::abs(y - 300) <= 1 || std::abs(y - 350) <= 1) && x >= 99 && x <= 301;
            if (nearEdge || nearTopOrBottom) continue;
            const QRgb a = image.pixel(x, y), b = image.pixel(x + 400, y);
            if (std::abs(qRed(a) - qRed(b)) > tolerance || std::abs(qAlpha(a) - qAlpha(b)) > tolerance) ++differing;
        }
    return differing;
}

int inkedPixels(const QImage& image, QRect area) {
    int inked = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            inked += qRed(image.pixel(x, y)) < 250;
    return inked;
}

} // namespace

TEST(SmokeEmitterTest, GeometryAndCellFollowTheViewsSize) {
    const auto wide = emitterFor(200, 50);
    EXPECT_EQ(wide->seed, 0u);
    EXPECT_EQ(wide->emitterShape, ui::EmitterLayer::Shape::rectangle);
    EXPECT_FALSE(wide->masksToBounds);
    EXPECT_EQ(wide->emitterPosition, (graphics::CGPoint{100, 25}));
    EXPECT_EQ(wide->emitterSize, (graphics::CGSize{0, 0})); // inset past nothing: a point
    ASSERT_EQ(wide->emitterCells.size(), 1u);
    const auto& cell = wide->emitterCells[0];
    EXPECT_NEAR(cell.scale, 0.2667, 1e-4);
    EXPECT_NEAR(cell.scale * 256 / 2.25, 30.34, 1e-2);
    EXPECT_EQ(cell.birthRate, 40);
    EXPECT_EQ(cell.velocity, 150);
    EXPECT_EQ(cell.lifetime, 1.5f);
    EXPECT_EQ(cell.velocityRange, 10);
    EXPECT_EQ(cell.spinRange, std::numbers::pi);
    EXPECT_EQ(cell.alphaRange, 1);
    EXPECT_EQ(cell.alphaSpeed, -1);
    EXPECT_EQ(cell.emissionRange, std::numbers::pi / 10);
    EXPECT_EQ(cell.emissionLongitude, -std::numbers::pi / 2);
    EXPECT_EQ(wide->lifetime(0), 1);

    const auto tall = emitterFor(100, 300);
    EXPECT_EQ(tall->emitterPosition, (graphics::CGPoint{50, 50})); // the top strip of 100 points
    EXPECT_NEAR(tall->emitterSize.width, 69.7, 0.05);
    EXPECT_NEAR(tall->emitterSize.height, 69.7, 0.05);
    const auto& tallCell = tall->emitterCells[0];
    EXPECT_EQ(tallCell.birthRate, 20);
    EXPECT_EQ(tallCell.velocity, 75);
    EXPECT_NEAR(tallCell.scale, 0.1333, 1e-4);
    EXPECT_NEAR(tallCell.scaleRange, 0.1, 1e-12);
    EXPECT_NEAR(tallCell.scaleSpeed, -0.05, 1e-12);

    const auto narrow = emitterFor(20, 100);
    EXPECT_EQ(narrow->emitterCells[0].birthRate, 10); // the floor
    EXPECT_EQ(narrow->emitterCells[0].velocity, 15);
    EXPECT_EQ(emitterFor(300, 100)->emitterCells[0].velocity, 175); // the cap
    EXPECT_EQ(emitterFor(340, 100)->emitterSize, (graphics::CGSize{0, 0})); // from ~330 wide: a point
    EXPECT_EQ(SmokeLayerView({200, 50}, false, {}, 2).makeEmitterLayer(0)->lifetime(0), 0);
}

TEST(SmokeEffectTest, InsideAndOutsideCopiesMakeTheWholeSmoke) {
    for (const auto& layer : {ParticleLayer::local, ParticleLayer::named("sky")}) {
        SCOPED_TRACE(layer == ParticleLayer::local ? "local" : "named");
        ui::TestHost host(sideBySide(true, layer), {800, 400});
        advance(host, 1.2);
        ASSERT_EQ(emitters(host).size(), 9u); // three per copy, three for the bare smoke
        const QImage image = host.render();
        EXPECT_GT(inkedPixels(image, QRect(0, 0, 400, 300)), 2000); // risen above the view
        EXPECT_GT(inkedPixels(image, QRect(100, 300, 200, 50)), 500); // and inside it
        EXPECT_LT(differingPixels(image), 40);
    }
}

TEST(SmokeEffectTest, TheConditionOnlySwitchesTheLifetime) {
    bool on = false;
    ui::TestHost host(sideBySide(on, ParticleLayer::local), {800, 400});
    const auto made = emitters(host);
    ASSERT_EQ(made.size(), 9u);
    for (auto* emitter : made)
        EXPECT_EQ(emitter->lifetime(host.frameClock().now()), 0);
    advance(host, 1.5);
    EXPECT_EQ(inkedPixels(host.render(), QRect(0, 0, 800, 400)), 0);
    EXPECT_FALSE(host.frameClock().hasSubscribers());

    const graphics::CGPoint position = made[0]->emitterPosition;
    host.setRoot(sideBySide(true, ParticleLayer::local));
    host.update();
    EXPECT_EQ(emitters(host), made); // the same emitters
    for (auto* emitter : made)
        EXPECT_EQ(emitter->lifetime(host.frameClock().now()), 1);
    advance(host, 1);
    EXPECT_GT(inkedPixels(host.render(), QRect(0, 0, 800, 400)), 2000);

    host.setRoot(sideBySide(false, ParticleLayer::local));
    host.update();
    EXPECT_EQ(emitters(host), made);
    EXPECT_EQ(made[0]->emitterPosition, position);
    advance(host, 1.5);
    EXPECT_EQ(inkedPixels(host.render(), QRect(0, 0, 800, 400)), 0);
    host.stepFrame();
    EXPECT_FALSE(host.frameClock().hasSubscribers());
}

TEST(SmokeEffectDeathTest, AMissingOrBrokenSmokeImageStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing_support::TemporaryFolder root;
    std::filesystem::create_directories(root.path() / "Resources");
    std::ofstream(root.path() / "Resources/anvil_smoke_gray_alt.png") << "no picture";
    const auto bundle = foundation::Bundle::withPath(root.path());
    ASSERT_TRUE(bundle);
    EXPECT_DEATH(Flair::detail::requireSmokeImage(*bundle, "anvil_smoke_gray"),
                 "Fatal error: unable to load image anvil_smoke_gray from Flair_Flair");
    EXPECT_DEATH(Flair::detail::requireSmokeImage(*bundle, "anvil_smoke_gray_alt"),
                 "Fatal error: unable to load image anvil_smoke_gray_alt from Flair_Flair");
}
