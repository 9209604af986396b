#include "ParticleTestSupport.h"

#include "Flair/ParticleLayer.h"
#include "Flair/ParticleLayerAttachment.h"
#include "Flair/ParticleLayerModifier.h"
#include "Flair/ParticleLayerPreferenceKey.h"
#include "Flair/Rise.h"
#include "Flair/SeedHash.h"
#include "ui/Color.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/Text.h"

#include <gtest/gtest.h>

#include <QColor>

#include <functional>
#include <string>
#include <vector>

using namespace flairtest;
using Flair::ParticleLayer;
using Flair::ParticleLayerPreferenceKey;
using graphics::CGRect;

namespace {

const ui::Color blue(0.1, 0.25, 0.95);
const ui::Color orange(1, 0.5, 0);

// A 60 × 20 particle, found by `id`, that shows the colour scheme it was given.
struct Marker {
    std::string id;
    ui::View body(ui::ViewContext& ctx) const {
        const bool dark = ctx.environment<ui::ColorSchemeKey>() == ui::ColorScheme::dark;
        return ui::Rectangle().fill(orange).overlay(ui::Text(dark ? "dark" : "light")).frame(60, 20).id(id);
    }
};

// A 30 × 30 card carrying a particle view.
ui::View decorated(ParticleLayer layer, bool isEnabled, const std::string& id = "particle",
                   ui::Alignment alignment = ui::Alignment::center) {
    return ui::Rectangle().fill(blue).frame(30, 30).modifier(
        Flair::particleLayerOverlay(alignment, std::move(layer), isEnabled, Marker{id}));
}

struct Entries {
    std::vector<ParticleLayerPreferenceKey::Value> seen;
};

ui::View recording(ui::View view, const std::shared_ptr<Entries>& entries) {
    return view.onPreferenceChange(
        ParticleLayerPreferenceKey{},
        [entries](const ParticleLayerPreferenceKey::Value& v) { entries->seen.push_back(v); });
}

// Whether the element is drawn in place by the modifier that carries it.
bool drawnInPlace(const ui::TestHost& host, const ui::Element* particle) {
    for (auto* modifier : host.findAllType<Flair::ParticleLayerOverlayModifier>())
        if (isAncestor(modifier, particle)) return true;
    return false;
}

} // namespace

TEST(ParticleLayerTest, LayersCompareAndHashByNameAndSeedsAreFixed) {
    EXPECT_EQ(ParticleLayer::local, ParticleLayer::local);
    EXPECT_EQ(ParticleLayer::named("sky"), ParticleLayer::named(std::string("sky")));
    EXPECT_NE(ParticleLayer::named(1), ParticleLayer::named(true));
    EXPECT_NE(ParticleLayer::named("sky"), ParticleLayer::local);
    const std::hash<ParticleLayer> hash;
    EXPECT_EQ(hash(ParticleLayer::named("sky")), hash(ParticleLayer::named("sky")));
    EXPECT_NE(hash(ParticleLayer::named("sky")), hash(ParticleLayer::local));

    const foundation::UUID id(foundation::UUID::Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    EXPECT_EQ(Flair::seedHash(id), std::hash<foundation::UUID>{}(id));
    EXPECT_EQ(Flair::seedHash(-0.0), Flair::seedHash(0.0));
    EXPECT_EQ(Flair::seedHash(1.0), 0x2a20cd80798dae26ull) << "the same on every run and machine";
    EXPECT_NE(Flair::seedHash(100.0), Flair::seedHash(101.0));
}

TEST(ParticleLayerTest, ALaterSiblingsEntryWinsTheReduce) {
    const foundation::UUID a, b;
    const ui::Anchor<CGRect> first(CGRect{{0, 0}, {1, 1}}), second(CGRect{{5, 5}, {1, 1}});
    ParticleLayerPreferenceKey::Value value{{a, {"sky", ui::View(), first}}};
    ParticleLayerPreferenceKey::reduce(value, [&] {
        return ParticleLayerPreferenceKey::Value{{a, {"sea", ui::View(), second}},
                                                 {b, {"sky", ui::View(), first}}};
    });
    ASSERT_EQ(value.size(), 2u);
    EXPECT_EQ(value.at(a).bounds, second);
    EXPECT_EQ(value.at(a).name, foundation::AnyHashable("sea"));
}

TEST(ParticleLayerTest, LocalOrAbsentLayersDrawInPlaceAndPublishNothing) {
    struct Case {
        ParticleLayer layer;
        bool isEnabled;
        std::optional<std::string> enclosingLayer;
    };
    const std::vector<Case> cases{{ParticleLayer::local, true, std::nullopt},
                                  {ParticleLayer::local, false, "sky"},
                                  {ParticleLayer::named("sky"), true, std::nullopt},
                                  {ParticleLayer::named("sky"), false, "sea"}};
    for (const auto& c : cases) {
        auto entries = std::make_shared<Entries>();
        ui::View view = decorated(c.layer, c.isEnabled, "particle", ui::Alignment::top).padding(20);
        if (c.enclosingLayer) view = view | Flair::particleLayer(*c.enclosingLayer);
        ui::TestHost host(recording(view, entries), {70, 70});
        const ui::Element* particle = host.find("particle");
        ASSERT_NE(particle, nullptr);
        EXPECT_TRUE(drawnInPlace(host, particle));
        EXPECT_EQ(ui::TestHost::frame(particle), (CGRect{{5, 20}, {60, 20}})) << "at the top of the card";
        ASSERT_FALSE(entries->seen.empty());
        EXPECT_TRUE(entries->seen.back().empty());
    }
}

TEST(ParticleLayerTest, APresentLayerDrawsOverThePublisherOutsideClipsWithItsEnvironment) {
    // The card sits in a clipped 30 × 30 box, in the dark scheme; the layer around is light.
    const auto scene = [](bool isEnabled) {
        return ui::ZStack({decorated(ParticleLayer::named("sky"), isEnabled)
                               .environment(ui::ColorSchemeKey{}, ui::ColorScheme::dark)
                               .frame(30, 30)
                               .clipped()
                               .id("box")})
                   .frame(100, 60) |
               Flair::particleLayer("sky");
    };
    {
        ui::TestHost host(scene(true), {100, 60});
        const ui::Element* particle = host.find("particle");
        ASSERT_NE(particle, nullptr);
        EXPECT_FALSE(drawnInPlace(host, particle));
        EXPECT_FALSE(isAncestor(host.find("box"), particle)) << "drawn in the layer's overlay";
        EXPECT_EQ(ui::TestHost::frame(particle), (CGRect{{20, 20}, {60, 20}})) << "centred on the card";
        EXPECT_NE(host.findByText("dark"), nullptr) << "with the environment at the effect";
        EXPECT_EQ(host.render().pixelColor(25, 30), QColor(255, 128, 0))
            << "outside the clip the particle shows";
    }
    {
        ui::TestHost host(scene(false), {100, 60});
        EXPECT_EQ(host.find("particle"), nullptr) << "disabled: drawn nowhere";
        EXPECT_EQ(host.render().pixelColor(25, 30), QColor(Qt::white));
    }
}

TEST(ParticleLayerTest, TheInnermostLayerOfTheNameDrawsAndOtherNamesPassEntriesOn) {
    const ui::View effect = decorated(ParticleLayer::named("sky"), true);
    {
        ui::TestHost host((effect | Flair::particleLayer("sky")).id("inner") | Flair::particleLayer("sky"));
        ASSERT_EQ(host.findAll([](const ui::Element& e) {
                          return e.explicitID() && *e.explicitID() == foundation::AnyHashable("particle");
                      })
                      .size(),
                  1u);
        const ui::Element* particle = host.find("particle");
        EXPECT_FALSE(drawnInPlace(host, particle));
        EXPECT_TRUE(isAncestor(host.find("inner"), particle));
    }
    {
        ui::TestHost host((effect | Flair::particleLayer("sea")).id("inner") | Flair::particleLayer("sky"));
        const ui::Element* particle = host.find("particle");
        ASSERT_NE(particle, nullptr);
        EXPECT_FALSE(drawnInPlace(host, particle));
        EXPECT_FALSE(isAncestor(host.find("inner"), particle)) << "drawn by the outer layer";
    }
    {
        // An effect on a view that carries another keeps the inner one's entry.
        const ui::View both = effect.modifier(Flair::particleLayerOverlay(
            ui::Alignment::center, ParticleLayer::named("sky"), true, Marker{"outer"}));
        ui::TestHost host(both | Flair::particleLayer("sky"));
        ASSERT_NE(host.find("particle"), nullptr);
        ASSERT_NE(host.find("outer"), nullptr);
        EXPECT_FALSE(drawnInPlace(host, host.find("particle")));
        EXPECT_FALSE(drawnInPlace(host, host.find("outer")));
    }
}

namespace {
// Three effects side by side in one layer; `bump` makes the row evaluate again.
struct Row {
    std::shared_ptr<std::optional<ui::State<int>>> bump;
    ui::View body(ui::ViewContext& ctx) const {
        auto n = ctx.state<int>("n", 0);
        *bump = n;
        std::vector<ui::View> cards;
        for (int i = 0; i < 3; ++i)
            cards.push_back(
                decorated(ParticleLayer::named("sky"), true, "m" + std::to_string(i)).padding(*n));
        return ui::HStack(ui::VerticalAlignment::center, 10, std::move(cards));
    }
};
} // namespace

TEST(ParticleLayerTest, EntriesStackInTheOrderOfTheirIdentifiersOnEveryUpdate) {
    auto entries = std::make_shared<Entries>();
    auto bump = std::make_shared<std::optional<ui::State<int>>>();
    const ui::View row = recording(ui::View(Row{bump}), entries);
    ui::TestHost host(row | Flair::particleLayer("sky"), {200, 60});
    auto bareBump = std::make_shared<std::optional<ui::State<int>>>();
    ui::TestHost bare(ui::View(Row{bareBump}), {200, 60});
    for (int round = 0; round < 2; ++round) {
        ASSERT_FALSE(entries->seen.empty());
        const auto& value = entries->seen.back();
        ASSERT_EQ(value.size(), 3u);
        // The card each entry came from, by where its bounds are, in identifier order.
        std::vector<std::string> expected;
        for (const auto& [id, contents] : value) {
            const double x = contents.bounds.globalValue().midX();
            expected.push_back(x < 80 ? "m0" : x < 120 ? "m1" : "m2");
        }
        std::vector<std::pair<std::size_t, std::string>> byTreeOrder;
        const auto all = host.findAll([](const ui::Element&) { return true; });
        for (const std::string name : {"m0", "m1", "m2"})
            byTreeOrder.emplace_back(std::find(all.begin(), all.end(), host.find(name)) - all.begin(), name);
        std::sort(byTreeOrder.begin(), byTreeOrder.end());
        std::vector<std::string> drawn;
        for (const auto& [position, name] : byTreeOrder)
            drawn.push_back(name);
        EXPECT_EQ(drawn, expected) << "round " << round;
        EXPECT_EQ(entries->seen.size(), std::size_t(round + 1));
        (*bump)->set(1);
        host.update();
    }
    (*bareBump)->set(1);
    bare.update();
    EXPECT_EQ(ui::TestHost::frame(host.findByTypeName("HStack")),
              ui::TestHost::frame(bare.findByTypeName("HStack")))
        << "the layer changes no layout";
}

TEST(ParticleLayerTest, AnEffectDrawnInTheLayerStillStepsItsOwnState) {
    Trigger trigger;
    const ui::View card = ui::Rectangle().fill(blue).frame(30, 30);
    const auto rise = Flair::AnyChangeEffect::rise(ui::UnitPoint::center, ParticleLayer::named("sky"),
                                                   [] { return ui::View(Marker{"particle"}); });
    ui::TestHost host(ui::ZStack({trigger(card, rise).clipped().id("box")}).frame(100, 100) |
                          Flair::particleLayer("sky"),
                      {100, 100});
    EXPECT_EQ(host.findByTypeName("Canvas"), nullptr) << "nothing to draw, so nothing anywhere";
    trigger.change(host);
    advance(host, 0.1);
    const ui::Element* canvas = host.findByTypeName("Canvas");
    ASSERT_NE(canvas, nullptr);
    EXPECT_FALSE(isAncestor(host.find("box"), canvas)) << "the live particle draws in the layer";
    advance(host, 1.5);
    EXPECT_EQ(host.findByTypeName("Canvas"), nullptr) << "at rest the particle is removed there too";
    EXPECT_FALSE(host.frameClock().hasSubscribers()) << "the timeline paused";
}
