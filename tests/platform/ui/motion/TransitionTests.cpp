#include "ElementSearch.h"
#include "Handles.h"
#include "TestBox.h"

#include "ui/Animation.h"
#include "ui/AnyTransition.h"
#include "ui/ForEach.h"
#include "ui/LazyStack.h"
#include "ui/Stack.h"
#include "ui/ScaleEffect.h"
#include "ui/GeometryEffect.h"
#include "ui/OffsetEffect.h"
#include "ui/TestHost.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace uitest;

namespace {

using ui::AnyTransition;
using Pair = ui::AnimatablePair<CGFloat, CGFloat>;

// Shows what `content` makes of the state "show".
struct Switch {
    HandlesPtr<bool> handles;
    bool initial;
    std::function<ui::View(bool)> content;
    ui::View body(ui::ViewContext& ctx) const {
        auto show = ctx.state<bool>("show", initial);
        handles->keep("show", show);
        return content(*show);
    }
};

struct Fixture {
    HandlesPtr<bool> handles = std::make_shared<Handles<bool>>();
    ui::TestHost host;
    Fixture(bool initial, std::function<ui::View(bool)> content)
        : host(ui::View(Switch{handles, initial, std::move(content)}), {100, 100}) {}
    void set(bool show, std::optional<ui::Animation> animation) {
        if (animation)
            ui::withAnimation(*animation, [&] { (*handles)["show"].set(show); });
        else
            (*handles)["show"].set(show);
        host.update();
    }
};

// "a" on top, and "b" below it while shown, with `transition`.
std::function<ui::View(bool)> twoRows(AnyTransition transition, std::function<void()> tapped = {}) {
    return [=](bool show) {
        ui::View b = box(100, 20, "b").onTapGesture(tapped ? tapped : [] {}).transition(transition);
        return ui::VStack(ui::HorizontalAlignment::center, 0,
                          {box(100, 20, "a", Qt::blue), ui::ConditionalContent(show, b)})
            .frame(100, 100, ui::Alignment::top);
    };
}

const ui::Element* leaf(const ui::Element* element) {
    while (element && !element->children().empty())
        element = element->children().front().get();
    return element;
}

double minY(const ui::Element* element) {
    return ui::TestHost::frame(element).minY();
}

// The product of the opacities along the subtree's first branch.
double opacity(const ui::Element* root) {
    double product = 1;
    for (const auto* e = root; e; e = e->children().empty() ? nullptr : e->children().front().get()) {
        if (e->node().typeName() == "Opacity") product *= e->presentedValue("opacity", 1.0);
    }
    return product;
}

Pair relativeOffset(const ui::Element* root) {
    const auto* node = inside(root, "RelativeOffset");
    return node ? node->presentedValue("relativeOffset", Pair(0, 0)) : Pair(0, 0);
}

const ui::Element* ghost(Fixture& f) {
    auto ghosts = f.host.removalGhosts();
    return ghosts.size() == 1 ? ghosts.front() : nullptr;
}

TEST(TransitionTest, MoveFromTheTopInsertsAndRemovesOverTime) {
    int taps = 0;
    Fixture f(false, twoRows(AnyTransition::move(ui::Edge::top), [&] { ++taps; }));
    f.set(true, ui::Animation::linear(1));
    EXPECT_EQ(minY(f.host.findByText("b")), 0) << "starts a whole height above its place";
    f.host.stepFrame(0.25);
    EXPECT_DOUBLE_EQ(minY(f.host.findByText("b")), 5);
    f.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(minY(f.host.findByText("b")), 15);
    f.host.stepFrame(0.25);
    EXPECT_EQ(minY(f.host.findByText("b")), 20);
    EXPECT_FALSE(f.host.frameClock().hasSubscribers());

    f.set(false, ui::Animation::linear(1));
    EXPECT_EQ(f.host.findByText("b"), nullptr) << "no longer one of the views";
    ASSERT_NE(ghost(f), nullptr);
    EXPECT_EQ(minY(leaf(ghost(f))), 20) << "leaves from where it stood";
    f.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(minY(leaf(ghost(f))), 10);
    f.host.tap({50, 15});
    EXPECT_EQ(taps, 0) << "a leaving view takes no hits";
    f.host.stepFrame(0.4);
    EXPECT_NEAR(minY(leaf(ghost(f))), 2, 1e-9);
    f.host.stepFrame(0.1);
    EXPECT_TRUE(f.host.removalGhosts().empty()) << "dropped as its removal ends";
    EXPECT_FALSE(f.host.frameClock().hasSubscribers());
}

TEST(TransitionTest, APressOnAViewThatIsRemovedMeanwhileDoesNotTapIt) {
    int taps = 0;
    Fixture f(true, twoRows(AnyTransition::opacity(), [&] { ++taps; }));
    f.host.pointerDown({50, 30});
    f.set(false, ui::Animation::linear(1));
    ASSERT_NE(ghost(f), nullptr) << "still painting on its way out";
    f.host.pointerUp({50, 30});
    EXPECT_EQ(taps, 0);
}

TEST(TransitionTest, OpacityFadesInAndOutAndTheCompletionWaitsForTheRemoval) {
    Fixture f(true, twoRows(AnyTransition::opacity()));
    EXPECT_EQ(opacity(f.host.findByTypeName("Transition")), 1)
        << "views there from the start do not transition";
    EXPECT_FALSE(f.host.frameClock().hasSubscribers());

    bool completed = false;
    ui::withAnimation(
        ui::Animation::linear(1), [&] { (*f.handles)["show"].set(false); }, [&] { completed = true; });
    f.host.update();
    ASSERT_NE(ghost(f), nullptr);
    EXPECT_EQ(opacity(ghost(f)), 1);
    f.host.stepFrame(0.75);
    EXPECT_DOUBLE_EQ(opacity(ghost(f)), 0.25);
    EXPECT_FALSE(completed);
    f.host.stepFrame(0.25);
    EXPECT_TRUE(f.host.removalGhosts().empty());
    f.host.update();
    EXPECT_TRUE(completed) << "the change's completion runs once the ghost is done";

    f.set(true, ui::Animation::linear(1));
    EXPECT_EQ(opacity(f.host.findByTypeName("Transition")), 0);
    f.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(opacity(f.host.findByTypeName("Transition")), 0.5);
}

TEST(TransitionTest, WithoutAnAnimationViewsComeAndGoAtOnce) {
    Fixture f(true, twoRows(AnyTransition::move(ui::Edge::top).combined(AnyTransition::opacity())));
    f.set(false, std::nullopt);
    EXPECT_TRUE(f.host.removalGhosts().empty());
    f.set(true, std::nullopt);
    EXPECT_EQ(minY(f.host.findByText("b")), 20);
    EXPECT_EQ(opacity(f.host.findByTypeName("Transition")), 1);

    ui::Transaction disabled;
    disabled.setAnimation(ui::Animation::linear(1));
    disabled.disablesAnimations = true;
    ui::withTransaction(disabled, [&] { (*f.handles)["show"].set(false); });
    f.host.update();
    EXPECT_TRUE(f.host.removalGhosts().empty()) << "disabled animations win";

    // Under an animation, a view with no transition (or the identity one) goes at once too.
    Fixture plain(true, [](bool show) {
        return ui::VStack({box(10, 10, "a"), ui::ConditionalContent(show, box(10, 10, "b"))});
    });
    plain.set(false, ui::Animation::linear(1));
    EXPECT_TRUE(plain.host.removalGhosts().empty());
    Fixture identity(true, twoRows(AnyTransition::identity()));
    identity.set(false, ui::Animation::linear(1));
    EXPECT_TRUE(identity.host.removalGhosts().empty());
    EXPECT_EQ(identity.host.findByText("b"), nullptr);
}

TEST(TransitionTest, AsymmetricAndCombinedTransitions) {
    Fixture f(false, twoRows(AnyTransition::asymmetric(AnyTransition::opacity(),
                                                       AnyTransition::move(ui::Edge::leading))));
    f.set(true, ui::Animation::linear(1));
    f.host.stepFrame(0.5);
    const auto* shown = f.host.findByTypeName("Transition");
    EXPECT_DOUBLE_EQ(opacity(shown), 0.5);
    EXPECT_EQ(relativeOffset(shown), Pair(0, 0)) << "the removal's move stays at rest while inserting";
    f.host.stepFrame(0.5);

    f.set(false, ui::Animation::linear(1));
    f.host.stepFrame(0.5);
    ASSERT_NE(ghost(f), nullptr);
    EXPECT_EQ(opacity(ghost(f)), 1);
    EXPECT_EQ(relativeOffset(ghost(f)), Pair(-0.5, 0));
    EXPECT_EQ(ui::TestHost::frame(leaf(ghost(f))).minX(), -50);

    Fixture both(false, twoRows(AnyTransition::opacity().combined(AnyTransition::offset(40, 0))));
    both.set(true, ui::Animation::linear(1));
    both.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(opacity(both.host.findByTypeName("Transition")), 0.5);
    EXPECT_DOUBLE_EQ(ui::TestHost::frame(both.host.findByText("b")).minX(), 20);
}

// Fades its content by the progress and reports each body to its own closure.
struct Reveal {
    double animatableData = 0;
    std::function<void(double)> seen;
    ui::View body(ui::ViewContext&, ui::View content) const {
        seen(animatableData);
        return content.opacity(animatableData);
    }
};

TEST(TransitionTest, AModifierTransitionAppliesEachEndWithItsOwnFields) {
    std::vector<double> active, identity;
    auto transition = AnyTransition::modifier(Reveal{0, [&](double p) { active.push_back(p); }},
                                              Reveal{1, [&](double p) { identity.push_back(p); }});
    Fixture f(false, twoRows(transition));
    f.set(true, ui::Animation::linear(1));
    active.clear();
    f.host.stepFrame(0.25);
    f.host.stepFrame(0.25);
    ASSERT_FALSE(identity.empty());
    EXPECT_DOUBLE_EQ(identity.back(), 0.5) << "an insertion shows the identity end on its way";
    EXPECT_DOUBLE_EQ(opacity(f.host.findByTypeName("Transition")), 0.5);
    EXPECT_TRUE(active.empty());
    f.host.stepFrame(0.5);
    EXPECT_EQ(identity.back(), 1);

    identity.clear();
    f.set(false, ui::Animation::linear(1));
    f.host.stepFrame(0.25);
    ASSERT_FALSE(active.empty());
    EXPECT_DOUBLE_EQ(active.back(), 0.75) << "a removal shows the active end on its way";
    EXPECT_TRUE(identity.empty());
    f.host.stepFrame(0.75);
    EXPECT_TRUE(f.host.removalGhosts().empty());
}

TEST(TransitionTest, ATransitionsOwnAnimationOverridesTheTransactions) {
    Fixture f(true, twoRows(AnyTransition::opacity().animation(ui::Animation::linear(2))));
    f.set(false, ui::Animation::linear(1));
    f.host.stepFrame(1);
    ASSERT_NE(ghost(f), nullptr);
    EXPECT_DOUBLE_EQ(opacity(ghost(f)), 0.5);
    f.host.stepFrame(1);
    EXPECT_TRUE(f.host.removalGhosts().empty());

    f.set(true, std::nullopt);
    EXPECT_EQ(opacity(f.host.findByTypeName("Transition")), 0)
        << "animates with no animation in the transaction";
    f.host.stepFrame(1);
    EXPECT_DOUBLE_EQ(opacity(f.host.findByTypeName("Transition")), 0.5);
    f.host.stepFrame(1);

    ui::Transaction disabled;
    disabled.disablesAnimations = true;
    ui::withTransaction(disabled, [&] { (*f.handles)["show"].set(false); });
    f.host.update();
    EXPECT_TRUE(f.host.removalGhosts().empty());
}

TEST(TransitionTest, ATransactionEditOfATransitionReachesOnlyItsModifiers) {
    // The default animation becomes a linear two seconds; any other is kept.
    const auto lengthenDefault = [](ui::Transaction& t) {
        if (t.animation && *t.animation == ui::Animation::default_())
            t.setAnimation(ui::Animation::linear(2));
    };
    Fixture f(true, twoRows(AnyTransition::opacity().transaction(lengthenDefault)));
    f.set(false, ui::Animation::default_());
    f.host.stepFrame(1);
    ASSERT_NE(ghost(f), nullptr);
    EXPECT_DOUBLE_EQ(opacity(ghost(f)), 0.5);
    f.host.stepFrame(1);
    EXPECT_TRUE(f.host.removalGhosts().empty());

    f.set(true, ui::Animation::linear(1));
    f.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(opacity(f.host.findByTypeName("Transition")), 0.5) << "another animation is kept";
    f.host.stepFrame(0.5);

    f.set(false, std::nullopt);
    EXPECT_TRUE(f.host.removalGhosts().empty()) << "an edit alone does not make a removal animate";
}

// Rows 1, 2, 3 fading in and out, below a gap of the state "gap".
struct Rows {
    std::shared_ptr<Handles<std::vector<int>>> items;
    HandlesPtr<double> gap;
    bool lazy = false;
    ui::View body(ui::ViewContext& ctx) const {
        auto shown = ctx.state<std::vector<int>>("items", {1, 2, 3});
        auto top = ctx.state<double>("gap", 0);
        items->keep("items", shown);
        gap->keep("gap", top);
        const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
        ui::View rows = ui::ForEach(*shown, [colours](int i) {
            return box(100, 20, std::to_string(i), colours[i - 1]).transition(AnyTransition::opacity());
        });
        ui::View stack = lazy ? ui::View(ui::LazyVStack(ui::HorizontalAlignment::center, 0, {rows}))
                              : ui::View(ui::VStack(ui::HorizontalAlignment::center, 0, {rows}));
        return stack.padding(ui::EdgeSet::top, *top).frame(100, 100, ui::Alignment::top);
    }
};

// The fill colours the display list paints, back to front.
void fills(const ui::DisplayList& list, std::vector<QColor>& out) {
    for (const auto& item : list.items()) {
        if (const auto* fill = std::get_if<ui::DisplayList::Fill>(&item)) out.push_back(fill->brush.color());
        if (const auto* layer = std::get_if<ui::DisplayList::Layer>(&item)) fills(*layer->content, out);
    }
}

TEST(TransitionTest, ARowRemovedFromAForEachStaysInPlaceWhileItsSiblingsMove) {
    for (bool lazy : {false, true}) {
        SCOPED_TRACE(lazy ? "lazy stack" : "stack");
        auto items = std::make_shared<Handles<std::vector<int>>>();
        auto gap = std::make_shared<Handles<double>>();
        ui::TestHost host(ui::View(Rows{items, gap, lazy}), {100, 100});
        ui::withAnimation(ui::Animation::linear(1), [&] { (*items)["items"].set({1, 3}); });
        host.update();
        host.stepFrame(0.5);
        auto ghosts = host.removalGhosts();
        ASSERT_EQ(ghosts.size(), 1u);
        EXPECT_EQ(minY(leaf(ghosts[0])), 20);
        EXPECT_LT(minY(host.findByText("3")), 40) << "the row below takes the place";
        EXPECT_DOUBLE_EQ(opacity(ghosts[0]), 0.5);

        std::vector<QColor> painted;
        fills(host.graph().displayList(), painted);
        EXPECT_EQ(painted, (std::vector<QColor>{Qt::red, Qt::green, Qt::blue})) << "painted where it stood";

        (*gap)["gap"].set(10);
        host.update();
        EXPECT_EQ(minY(leaf(host.removalGhosts().front())), 30) << "moves with its container";
        EXPECT_EQ(minY(host.findByText("3")), 40) << "follows its container while its own move goes on";

        host.stepFrame(0.5);
        EXPECT_TRUE(host.removalGhosts().empty());
    }
}

TEST(TransitionTest, AViewReinsertedDuringItsRemovalIsANewOne) {
    Fixture f(true, [](bool show) {
        return ui::VStack(ui::HorizontalAlignment::center, 0,
                          {box(100, 20, "a"),
                           ui::ConditionalContent(
                               show, box(100, 20, "b").transition(AnyTransition::opacity()).id("b"))})
            .frame(100, 100, ui::Alignment::top);
    });
    f.set(false, ui::Animation::linear(1));
    f.host.stepFrame(0.5);
    f.set(true, ui::Animation::linear(1));
    ASSERT_NE(ghost(f), nullptr) << "the leaving one goes on leaving";
    ui::Element* back = f.host.find("b");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(opacity(back), 0);
    EXPECT_DOUBLE_EQ(opacity(ghost(f)), 0.5);
    f.host.stepFrame(0.5);
    EXPECT_TRUE(f.host.removalGhosts().empty());
    EXPECT_EQ(f.host.find("b"), back);
    EXPECT_DOUBLE_EQ(opacity(back), 0.5);
    EXPECT_EQ(minY(f.host.findByText("b")), 20);
}

struct Faded {
    ui::View body(ui::ViewContext&) const { return box(100, 20, "b").transition(AnyTransition::opacity()); }
};

TEST(TransitionTest, OnlyTheOutermostTransitionOfAnInsertedViewRuns) {
    // Through a custom view: its body's transition is the inserted view's.
    Fixture custom(false, [](bool show) {
        return ui::VStack({box(10, 10), ui::ConditionalContent(show, Faded{})});
    });
    custom.set(true, ui::Animation::linear(1));
    EXPECT_EQ(opacity(custom.host.findByTypeName("Transition")), 0);

    // Inside a new stack, a view is part of the stack's insertion, not inserted itself.
    Fixture nested(false, [](bool show) {
        return ui::VStack(
            {box(10, 10),
             ui::ConditionalContent(show, ui::VStack({box(10, 10).transition(AnyTransition::opacity())}))});
    });
    nested.set(true, ui::Animation::linear(1));
    EXPECT_EQ(opacity(nested.host.findByTypeName("Transition")), 1);
    nested.set(false, ui::Animation::linear(1));
    EXPECT_TRUE(nested.host.removalGhosts().empty());

    Fixture outer(false, [](bool show) {
        return ui::VStack(
            {box(10, 10),
             ui::ConditionalContent(
                 show,
                 box(10, 10, "b").transition(AnyTransition::opacity()).transition(AnyTransition::scale()))});
    });
    outer.set(true, ui::Animation::linear(1));
    EXPECT_EQ(opacity(outer.host.findByText("b")->parent()), 1) << "the inner transition stays at rest";
    const auto* scaled = outer.host.findType<ui::ScaleEffect>();
    ASSERT_NE(scaled, nullptr);
    using Scale = ui::AnimatablePair<double, double>;
    EXPECT_EQ(scaled->presentedValue("geometryEffect", Scale(1, 1)), Scale(0, 0));
}

TEST(TransitionTest, AModifierTransitionOverAGeometryEffectInterpolatesItsData) {
    const AnyTransition shifted =
        AnyTransition::modifier(ui::OffsetEffect{{-40, 10}}, ui::OffsetEffect{{0, 0}});
    Fixture f(false, twoRows(shifted));
    f.set(true, ui::Animation::linear(1));
    const auto* b = f.host.findByText("b");
    EXPECT_EQ(ui::TestHost::frame(b).minX(), -40) << "the active end first";
    f.host.stepFrame(0.5);
    EXPECT_EQ(ui::TestHost::frame(b).minX(), -20);
    EXPECT_EQ(minY(b), 25);
    f.host.stepFrame(0.5);
    EXPECT_EQ(ui::TestHost::frame(b).minX(), 0);
    f.set(false, ui::Animation::linear(1));
    f.host.stepFrame(0.5);
    EXPECT_EQ(f.host.removalGhosts().size(), 1U);
    f.host.stepFrame(0.5);
    EXPECT_TRUE(f.host.removalGhosts().empty());
}

TEST(TransitionTest, ScaleSlideAndPushMidway) {
    Fixture scaled(false, twoRows(AnyTransition::scale()));
    scaled.set(true, ui::Animation::linear(1));
    scaled.host.stepFrame(0.5);
    const QImage image = scaled.host.render();
    EXPECT_EQ(image.pixelColor(50, 30), QColor(Qt::red)) << "the middle of the half-size box";
    EXPECT_EQ(image.pixelColor(10, 30), QColor(Qt::white)) << "outside the half-size box";
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::blue)) << "the row above is left alone";

    Fixture slide(false, twoRows(AnyTransition::slide()));
    slide.set(true, ui::Animation::linear(1));
    slide.host.stepFrame(0.5);
    EXPECT_EQ(ui::TestHost::frame(slide.host.findByText("b")).minX(), -50) << "in from the leading edge";
    slide.host.stepFrame(0.5);
    slide.set(false, ui::Animation::linear(1));
    slide.host.stepFrame(0.5);
    ASSERT_NE(ghost(slide), nullptr);
    EXPECT_EQ(ui::TestHost::frame(leaf(ghost(slide))).minX(), 50) << "out to the trailing edge";

    Fixture push(false, twoRows(AnyTransition::push(ui::Edge::bottom)));
    push.set(true, ui::Animation::linear(1));
    push.host.stepFrame(0.5);
    const auto* shown = push.host.findByTypeName("Transition");
    EXPECT_EQ(minY(push.host.findByText("b")), 30) << "in from below";
    EXPECT_DOUBLE_EQ(opacity(shown), 0.5);
    push.host.stepFrame(0.5);
    push.set(false, ui::Animation::linear(1));
    push.host.stepFrame(0.5);
    ASSERT_NE(ghost(push), nullptr);
    EXPECT_EQ(minY(leaf(ghost(push))), 10) << "out towards the top";
    EXPECT_DOUBLE_EQ(opacity(ghost(push)), 0.5);
}

} // namespace
