#include "ElementSearch.h"
#include "Handles.h"
#include "TestBox.h"

#include "ui/Animation.h"
#include "ui/AnyTransition.h"
#include "ui/ForEach.h"
#include "ui/List.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace uitest;

namespace {

using Names = std::vector<std::string>;
using Pair = ui::AnimatablePair<CGFloat, CGFloat>;

struct NamedRows {
    HandlesPtr<Names> handles;
    std::optional<ui::AnyTransition> transition; // the rows' own, if any
    ui::View body(ui::ViewContext& ctx) const {
        auto names = ctx.state<Names>("names", Names{"a", "b", "c"});
        handles->keep("names", names);
        return ui::List({ui::ForEach(*names, [](const std::string& name) { return name; },
                                     [t = transition](const std::string& name) {
                                         auto row = box(100, 22, name);
                                         return t ? row.transition(*t) : row;
                                     })});
    }
};

struct Fixture {
    HandlesPtr<Names> handles = std::make_shared<Handles<Names>>();
    ui::TestHost host;
    explicit Fixture(std::optional<ui::AnyTransition> transition = std::nullopt)
        : host(ui::View(NamedRows{handles, std::move(transition)}), {200, 200}) {}
    void set(Names names, std::optional<ui::Animation> animation) {
        if (animation)
            ui::withAnimation(*animation, [&] { (*handles)["names"].set(names); });
        else
            (*handles)["names"].set(names);
        host.update();
    }
};

// The product of the opacities from `root` down to the element painting `text`.
double opacityAbove(const ui::Element* root, std::string_view text, const ui::TestHost& host) {
    double product = 1;
    for (const auto* e = host.findByText(text); e; e = e->parent()) {
        if (e->node().typeName() == "Opacity") product *= e->presentedValue("opacity", 1.0);
        if (e == root) break;
    }
    return product;
}

double ghostOpacity(const ui::Element* ghost) {
    double product = 1;
    for (const auto* e = ghost; e; e = e->children().empty() ? nullptr : e->children().front().get()) {
        if (e->node().typeName() == "Opacity") product *= e->presentedValue("opacity", 1.0);
    }
    return product;
}

TEST(ListRowTransitionTest, RowsFadeInAndOutUnderAnAnimationAndComeAndGoAtOnceWithout) {
    Fixture f;
    EXPECT_DOUBLE_EQ(opacityAbove(nullptr, "a", f.host), 1) << "the first rows do not fade in";
    EXPECT_FALSE(f.host.frameClock().hasSubscribers());

    f.set({"a", "c"}, ui::Animation::linear(1));
    EXPECT_EQ(f.host.findByText("b"), nullptr);
    auto ghosts = f.host.removalGhosts();
    ASSERT_EQ(ghosts.size(), 1u);
    f.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(ghostOpacity(f.host.removalGhosts().front()), 0.5);
    EXPECT_DOUBLE_EQ(opacityAbove(nullptr, "c", f.host), 1) << "the rows that stay do not fade";
    f.host.stepFrame(0.5);
    EXPECT_TRUE(f.host.removalGhosts().empty());

    f.set({"a", "c", "d"}, ui::Animation::linear(1));
    EXPECT_DOUBLE_EQ(opacityAbove(nullptr, "d", f.host), 0);
    f.host.stepFrame(0.25);
    EXPECT_DOUBLE_EQ(opacityAbove(nullptr, "d", f.host), 0.25);
    f.host.stepFrame(0.75);
    EXPECT_DOUBLE_EQ(opacityAbove(nullptr, "d", f.host), 1);

    f.set({"a", "d", "e"}, std::nullopt);
    EXPECT_TRUE(f.host.removalGhosts().empty());
    EXPECT_DOUBLE_EQ(opacityAbove(nullptr, "e", f.host), 1);
    EXPECT_FALSE(f.host.frameClock().hasSubscribers());
}

TEST(ListRowTransitionTest, ARowsOwnTransitionReplacesTheFade) {
    Fixture f(ui::AnyTransition::move(ui::Edge::top));
    f.set({"a", "c"}, ui::Animation::linear(1));
    ASSERT_EQ(f.host.removalGhosts().size(), 1u);
    f.host.stepFrame(0.5);
    const auto* ghost = f.host.removalGhosts().front();
    EXPECT_DOUBLE_EQ(ghostOpacity(ghost), 1) << "moves out instead of fading";
    const auto* offset = inside(ghost, "RelativeOffset");
    ASSERT_NE(offset, nullptr);
    EXPECT_DOUBLE_EQ(offset->presentedValue("relativeOffset", Pair(0, 0)).second, -0.5);
    f.host.stepFrame(0.5);
    EXPECT_TRUE(f.host.removalGhosts().empty());
}

} // namespace
