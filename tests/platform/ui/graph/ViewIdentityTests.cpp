#include "Handles.h"
#include "TestBox.h"

#include "foundation/UUID.h"
#include "ui/AnyView.h"
#include "ui/ForEach.h"
#include "ui/Group.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace uitest;

namespace {

// A row with its own counter, shown in its label.
struct Row {
    std::string name;
    HandlesPtr<int> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto count = ctx.state<int>("count", 0);
        handles->keep(name, count);
        return box(10, 10, name + ":" + std::to_string(count.value()));
    }
};

struct Other {
    std::string name;
    HandlesPtr<int> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto count = ctx.state<int>("count", 0);
        handles->keep(name, count);
        return box(10, 10, name + ":" + std::to_string(count.value()));
    }
};

// Holds a flag that its test flips; `make` builds the content from it.
struct Switch {
    std::function<ui::View(bool)> make;
    HandlesPtr<bool> flags;
    ui::View body(ui::ViewContext& ctx) const {
        auto flag = ctx.state<bool>("flag", false);
        flags->keep("flag", flag);
        return make(flag.value());
    }
};

TEST(ViewIdentityTest, StateSurvivesReevaluationAndResetsWhenAnIfBranchFlips) {
    auto rows = std::make_shared<Handles<int>>();
    auto flags = std::make_shared<Handles<bool>>();
    ui::TestHost host(
        Switch{[rows](bool flag) {
                   return ui::VStack(
                       {ui::ConditionalContent(flag, Row{"a", rows}, Row{"a", rows}), Row{"kept", rows}});
               },
               flags});
    (*rows)["a"].set(3);
    (*rows)["kept"].set(5);
    host.update();
    EXPECT_NE(host.findByText("a:3"), nullptr);

    flags->byName.at("flag").set(true); // re-evaluates the parent: the other branch is a new view
    host.update();
    EXPECT_NE(host.findByText("a:0"), nullptr);
    EXPECT_NE(host.findByText("kept:5"), nullptr);

    flags->byName.at("flag").set(false);
    host.update();
    EXPECT_NE(host.findByText("a:0"), nullptr) << "a branch that went comes back fresh";
}

TEST(ViewIdentityTest, AnyViewKeepsStateWhileTheTypeStaysAndResetsWhenItChanges) {
    auto rows = std::make_shared<Handles<int>>();
    auto flags = std::make_shared<Handles<bool>>();
    auto toggle = std::make_shared<bool>(false);
    ui::TestHost host(Switch{[rows, toggle](bool) {
                                 return *toggle ? ui::AnyView(Other{"x", rows}) : ui::AnyView(Row{"x", rows});
                             },
                             flags});
    (*rows)["x"].set(2);
    flags->byName.at("flag").set(true); // same erased type, evaluated again
    host.update();
    EXPECT_NE(host.findByText("x:2"), nullptr);

    *toggle = true;
    flags->byName.at("flag").set(false);
    host.update();
    EXPECT_NE(host.findByText("x:0"), nullptr);
}

struct Item {
    foundation::UUID id;
    std::string name;
};

TEST(ViewIdentityTest, KeyedForEachReorderKeepsEachRowsState) {
    auto rows = std::make_shared<Handles<int>>();
    auto flags = std::make_shared<Handles<bool>>();
    const std::vector<Item> items{
        {foundation::UUID(), "a"}, {foundation::UUID(), "b"}, {foundation::UUID(), "c"}};
    ui::TestHost host(Switch{[rows, items](bool reversed) {
                                 auto data = items;
                                 if (reversed) std::reverse(data.begin(), data.end());
                                 return ui::VStack({ui::ForEach(data, [rows](const Item& item) {
                                     return ui::View(Row{item.name, rows});
                                 })});
                             },
                             flags});
    (*rows)["a"].set(1);
    (*rows)["c"].set(3);
    host.update();
    flags->byName.at("flag").set(true);
    host.update();
    EXPECT_NE(host.findByText("a:1"), nullptr);
    EXPECT_NE(host.findByText("b:0"), nullptr);
    EXPECT_NE(host.findByText("c:3"), nullptr);
    // And the order on screen follows the data.
    EXPECT_LT(host.frame(host.findByText("c:3")).minY(), host.frame(host.findByText("a:1")).minY());
}

TEST(ViewIdentityTest, ForEachByOffsetStringsRangesAndIDs) {
    auto rows = std::make_shared<Handles<int>>();
    auto flags = std::make_shared<Handles<bool>>();
    ui::TestHost host(Switch{[rows](bool flipped) {
                                 std::vector<std::string> names{"p", "q"};
                                 if (flipped) std::swap(names[0], names[1]);
                                 return ui::VStack({
                                     ui::ForEach(names, ui::ForEach::byOffset,
                                                 [rows](const std::string& n) {
                                                     return ui::View(Row{"o" + n, rows});
                                                 }),
                                     ui::ForEach(
                                         names, [](const std::string& n) { return n; },
                                         [rows](const std::string& n) {
                                             return ui::View(Row{"s" + n, rows});
                                         }),
                                     ui::ForEach(0, 2,
                                                 [rows](int i) {
                                                     return ui::View(Row{"i" + std::to_string(i), rows});
                                                 }),
                                 });
                             },
                             flags});
    (*rows)["op"].set(1);
    (*rows)["sp"].set(2);
    (*rows)["i1"].set(4);
    host.update();
    flags->byName.at("flag").set(true);
    host.update();
    // By offset, the first row keeps its state whatever it shows now.
    EXPECT_NE(host.findByText("oq:1"), nullptr);
    EXPECT_NE(host.findByText("sp:2"), nullptr);
    EXPECT_NE(host.findByText("i1:4"), nullptr);
    EXPECT_NE(host.find(std::string("p")), nullptr);
    EXPECT_NE(host.find(1), nullptr);
}

TEST(ViewIdentityTest, AnExplicitIDChangeMakesANewView) {
    auto rows = std::make_shared<Handles<int>>();
    auto flags = std::make_shared<Handles<bool>>();
    ui::TestHost host(Switch{[rows](bool flag) { return ui::View(Row{"r", rows}).id(flag ? 2 : 1); }, flags});
    (*rows)["r"].set(7);
    host.update();
    EXPECT_NE(host.find(1), nullptr);
    flags->byName.at("flag").set(true);
    host.update();
    EXPECT_NE(host.findByText("r:0"), nullptr);
    EXPECT_NE(host.find(2), nullptr);
    EXPECT_EQ(host.find(1), nullptr);
}

struct Model {
    static inline int alive = 0;
    static inline int made = 0;
    Model() {
        ++alive;
        ++made;
    }
    ~Model() { --alive; }
};

struct Owner {
    ui::View body(ui::ViewContext& ctx) const {
        ctx.stateObject<Model>("model", [] { return std::make_shared<Model>(); });
        return box(1, 1);
    }
};

TEST(ViewIdentityTest, AStateObjectIsMadeOnceAndReleasedWithItsView) {
    auto flags = std::make_shared<Handles<bool>>();
    auto show = std::make_shared<bool>(true);
    Model::made = 0;
    ui::TestHost host(Switch{[show](bool) { return ui::ConditionalContent(*show, Owner{}); }, flags});
    flags->byName.at("flag").set(true);
    host.update();
    flags->byName.at("flag").set(false);
    host.update();
    EXPECT_EQ(Model::made, 1);
    EXPECT_EQ(Model::alive, 1);
    *show = false;
    flags->byName.at("flag").set(true);
    host.update();
    EXPECT_EQ(Model::alive, 0);
}

TEST(ViewIdentityTest, HandlesOfAGoneViewDoNothingAndEqualWritesDoNotInvalidate) {
    auto rows = std::make_shared<Handles<int>>();
    auto flags = std::make_shared<Handles<bool>>();
    ui::TestHost host(Switch{[rows](bool flag) {
                                 return ui::ConditionalContent(!flag, Row{"gone", rows});
                             },
                             flags});
    auto* row = host.findType<Row>();
    ASSERT_NE(row, nullptr);
    const int before = row->evaluationCount();
    (*rows)["gone"].set(0); // equal
    host.update();
    EXPECT_EQ(row->evaluationCount(), before);
    EXPECT_FALSE(host.graph().needsUpdate());

    auto handle = (*rows)["gone"];
    flags->byName.at("flag").set(true);
    host.update();
    EXPECT_EQ(host.findType<Row>(), nullptr);
    EXPECT_FALSE(handle.isAlive());
    handle.set(9); // nothing to invalidate, nothing breaks
    host.update();
    EXPECT_EQ(handle.value(), 0);
    EXPECT_FALSE(host.graph().needsUpdate());
}

struct Clash {
    ui::View body(ui::ViewContext& ctx) const {
        ctx.state<int>("value", 0);
        ctx.state<std::string>("value", "");
        return {};
    }
};

TEST(ViewIdentityDeathTest, AStateNameUsedWithTwoTypesIsFatal) {
    EXPECT_DEATH({ ui::TestHost host(Clash{}); }, "Fatal error: .*\"value\"");
}

TEST(ViewIdentityTest, ModifiersOnGroupsAndForEachApplyToEachChild) {
    ui::TestHost host(
        ui::VStack(
            ui::HorizontalAlignment::leading, 0,
            {ui::Group({box(10, 10, "a"), box(20, 10, "b")}).padding(5),
             ui::ForEach(0, 2, [](int i) { return box(10, 10, "f" + std::to_string(i)); }).padding(1)}),
        {100, 100});
    EXPECT_EQ(host.frame(host.findByText("a")).size, (graphics::CGSize{10, 10}));
    EXPECT_EQ(host.findAll([](const ui::Element& e) { return e.node().typeName() == "Padding"; }).size(), 4u);
    const auto a = host.frame(host.findByText("a"));
    const auto b = host.frame(host.findByText("b"));
    EXPECT_EQ(b.minY() - a.maxY(), 10) << "each child padded on its own";
}

TEST(ViewIdentityTest, EnumeratingChildrenSeesThroughGroupsAndReadsTags) {
    const ui::View content =
        ui::Group({box(1, 1).tag(std::string("one")),
                   ui::ForEach(0, 2, [](int i) { return box(1, 1).tag(i); }), ui::EmptyView()});
    const auto children = content.enumerateChildren();
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(*children[0].tagValue(), foundation::AnyHashable(std::string("one")));
    EXPECT_EQ(*children[2].tagValue(), foundation::AnyHashable(1));
    EXPECT_FALSE(box(1, 1).tagValue());
}

} // namespace
