#include "Handles.h"
#include "SchemeRendering.h"
#include "TestBox.h"

#include "ViewKit/FlipView.h"

#include "ui/GeometryEffect.h"
#include "ui/Rotation3DEffect.h"
#include "ui/TestHost.h"

#include <QColor>
#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

namespace {

using ViewKit::FlipDirection;

struct Options {
    double duration = 1;
    FlipDirection tap = FlipDirection::right;
    std::vector<FlipDirection> swipes = {FlipDirection::left, FlipDirection::right, FlipDirection::up,
                                         FlipDirection::down};
};

// The caller of a flip view: it owns the flag, a red front and a blue back.
struct Card {
    Options options;
    uitest::HandlesPtr<bool> flags;
    ui::View body(ui::ViewContext& ctx) const {
        auto flipped = ctx.state<bool>("flipped", false);
        flags->keep("flipped", flipped);
        return ViewKit::FlipView(uitest::box(100, 100, "front", Qt::red), uitest::box(100, 100, "back", Qt::blue),
                                 flipped.binding(), options.duration, options.tap, options.swipes);
    }
};

struct Turn {
    double card = 0;    // degrees, as presented
    double content = 0; // degrees, as presented
    ui::RotationAxis axis;
};

class FlipHost {
public:
    explicit FlipHost(Options options = {}, ui::EnvironmentValues environment = {})
        : host_(ui::View(Card{options, flags_}), {200, 200}, std::move(environment)) {}

    bool flipped() const { return (*flags_)["flipped"].value(); }
    void setFlipped(bool value) {
        (*flags_)["flipped"].set(value);
        host_.update();
    }
    void tap() { host_.tap(graphics::CGPoint{100, 100}); }
    void swipe(graphics::CGSize translation) {
        host_.pointerDown({100, 100});
        host_.pointerMove({100 + translation.width / 2, 100 + translation.height / 2});
        host_.pointerUp({100 + translation.width, 100 + translation.height});
    }
    // The two rotations, outer (card) first.
    Turn turn() const {
        const auto effects = host_.findAllType<ui::Rotation3DEffect>();
        EXPECT_EQ(effects.size(), 2u);
        if (effects.size() != 2) return {};
        const auto presented = [](const ui::Element* e) {
            const auto& effect = e->nodeAs<ui::detail::GeometryEffectNode<ui::Rotation3DEffect>>()->value();
            return e->presentedValue("geometryEffect", effect.angle) * 180 / std::numbers::pi;
        };
        const auto& card = effects[0]->nodeAs<ui::detail::GeometryEffectNode<ui::Rotation3DEffect>>()->value();
        return {presented(effects[0]), presented(effects[1]), card.axis};
    }
    // Whether the pixel `dx` right of the centre shows the front's red or the back's blue.
    char faceAt(int dx = 0) const {
        const QImage image = host_.render();
        const QColor c(image.pixel(100 + dx, 100));
        if (c.red() > 200 && c.blue() < 80) return 'F';
        if (c.blue() > 200 && c.red() < 80) return 'B';
        return '-';
    }
    void step(double seconds) { host_.stepFrame(seconds); }
    ui::TestHost& host() { return host_; }

private:
    uitest::HandlesPtr<bool> flags_ = std::make_shared<uitest::Handles<bool>>();
    ui::TestHost host_;
};

constexpr ui::RotationAxis vertical{0, 1, 0};
constexpr ui::RotationAxis horizontal{1, 0, 0};

} // namespace

TEST(FlipViewTest, ATapTurnsTowardsTheTapDirectionAboutItsAxis) {
    FlipHost left(Options{.tap = FlipDirection::left});
    left.tap();
    EXPECT_TRUE(left.flipped()) << "the binding changes as the turn starts";
    left.step(2);
    EXPECT_DOUBLE_EQ(left.turn().card, -180);
    EXPECT_DOUBLE_EQ(left.turn().content, -180);
    EXPECT_EQ(left.turn().axis, vertical);

    FlipHost down(Options{.tap = FlipDirection::down});
    down.tap();
    down.step(2);
    EXPECT_DOUBLE_EQ(down.turn().card, -180);
    EXPECT_EQ(down.turn().axis, horizontal);

    FlipHost right;
    right.tap();
    right.step(2);
    right.tap();
    right.step(2);
    EXPECT_DOUBLE_EQ(right.turn().card, 360);
    EXPECT_DOUBLE_EQ(right.turn().content, 360);
    EXPECT_FALSE(right.flipped()) << "two turns bring the first face back";
    EXPECT_EQ(right.faceAt(), 'F');
}

TEST(FlipViewTest, TheFaceSwitchesHalfWayThroughTheTurn) {
    FlipHost card;
    EXPECT_EQ(card.faceAt(40), 'F') << "the front, flat";
    card.tap();
    card.step(0.4);
    EXPECT_NEAR(card.turn().card, 72, 1);
    EXPECT_DOUBLE_EQ(card.turn().content, 0);
    EXPECT_EQ(card.faceAt(), 'F') << "the front, turned";
    EXPECT_EQ(card.faceAt(40), '-') << "and narrowed";
    card.host().renderPNG(QDir::temp().filePath("viewkit-flip-mid-turn-light.png"), 2);
    card.step(0.2);
    EXPECT_NEAR(card.turn().card, 108, 1);
    EXPECT_DOUBLE_EQ(card.turn().content, 180);
    EXPECT_EQ(card.faceAt(), 'B') << "the back, turned";
    card.step(0.4);
    EXPECT_DOUBLE_EQ(card.turn().card, 180);
    EXPECT_EQ(card.faceAt(40), 'B') << "the back, flat and not mirrored";

    FlipHost dark({}, viewkit_testing::inScheme(ui::ColorScheme::dark));
    dark.tap();
    dark.step(0.6);
    dark.host().renderPNG(QDir::temp().filePath("viewkit-flip-mid-turn-dark.png"), 2,
                          viewkit_testing::windowColour(ui::ColorScheme::dark));
}

TEST(FlipViewTest, SwipesTurnOnlyTowardsTheirListedDirectionsAboutTheTapAxis) {
    FlipHost none(Options{.swipes = {}});
    none.swipe({80, 0});
    none.step(2);
    EXPECT_FALSE(none.flipped());
    EXPECT_DOUBLE_EQ(none.turn().card, 0);
    none.tap();
    none.step(2);
    EXPECT_TRUE(none.flipped()) << "taps still turn";

    FlipHost upOnly(Options{.tap = FlipDirection::right, .swipes = {FlipDirection::up}});
    upOnly.swipe({0, 80});
    upOnly.step(2);
    EXPECT_FALSE(upOnly.flipped()) << "down is not listed";
    upOnly.swipe({0, -80});
    upOnly.step(2);
    EXPECT_TRUE(upOnly.flipped());
    EXPECT_DOUBLE_EQ(upOnly.turn().card, 180);
    EXPECT_EQ(upOnly.turn().axis, vertical) << "the axis of the tap direction";

    FlipHost slow;
    slow.host().pointerDown({100, 100});
    slow.host().pointerMove({140, 100});
    slow.host().clock().advance(1.5);
    slow.host().pointerUp({180, 100});
    slow.step(2);
    EXPECT_FALSE(slow.flipped()) << "too slow to be a swipe";
}

TEST(FlipViewTest, SettingTheFlagSwitchesFacesWithoutATurnAndBadDurationsTurnAtOnce) {
    FlipHost card;
    card.setFlipped(true);
    EXPECT_EQ(card.faceAt(40), 'B');
    EXPECT_DOUBLE_EQ(card.turn().card, 0);
    EXPECT_DOUBLE_EQ(card.turn().content, 0);

    for (const double duration : {0.0, -3.0, std::numeric_limits<double>::quiet_NaN()}) {
        FlipHost quick(Options{.duration = duration});
        quick.tap();
        quick.step(0.0005);
        EXPECT_DOUBLE_EQ(quick.turn().card, 180) << duration;
        quick.step(0.01);
        EXPECT_DOUBLE_EQ(quick.turn().content, 180) << duration;
        EXPECT_EQ(quick.faceAt(40), 'B') << duration;
    }
}
