#include "SchemeRendering.h"
#include "StatefulBinding.h"

#include "ViewKit/ForEachMultiPicker.h"
#include "ViewKit/ForEachPicker.h"
#include "ViewKit/ListMultiPicker.h"
#include "ViewKit/ListPicker.h"
#include "ViewKit/ListPickerItem.h"

#include "ui/Stack.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using ViewKit::ForEachMultiPicker;
using ViewKit::ForEachPicker;
using ViewKit::ListMultiPicker;
using ViewKit::ListPicker;
using ViewKit::ListPickerSection;

namespace {

struct Fruit {
    int id;
    std::string name;
    bool operator==(const Fruit&) const = default;
};

using viewkit_testing::Stateful;

// A row that is a ListPickerItem: the name and its check mark.
struct FruitRow {
    using Item = int;
    int item;
    std::string name;
    bool isSelected;
    ui::View body(ui::ViewContext&) const {
        return ui::HStack({ui::View(ui::Text::verbatim(name)), ViewKit::checkmark(isSelected)});
    }
};
static_assert(ViewKit::ListPickerItem<FruitRow>);

ui::View fruitRow(const Fruit& fruit, bool selected) {
    return ui::View(FruitRow{fruit.id, fruit.name, selected});
}

// Whether the row showing `name` shows its check mark.
bool marked(ui::TestHost& host, const std::string& name) {
    auto* text = host.findByText(name);
    if (!text) return false;
    for (const ui::Element* e = text; e; e = e->parent()) {
        if (const auto* row = dynamic_cast<const ui::detail::CustomViewNode<FruitRow>*>(&e->node()))
            return row->value().isSelected;
    }
    return false;
}

std::vector<std::string> names(const std::vector<Fruit>& fruits) {
    std::vector<std::string> out;
    for (const auto& f : fruits)
        out.push_back(f.name);
    return out;
}

const std::vector<Fruit> fruits{{1, "Apple"}, {2, "Pear"}, {3, "Plum"}};

} // namespace

TEST(ItemPickerTest, SingleChoiceAssignsOnEveryTapAndDismissesTheEnclosingSheetEachTime) {
    struct Screen {
        std::shared_ptr<std::vector<std::string>> picks;
        std::shared_ptr<ui::Binding<bool>> shown;
        ui::View body(ui::ViewContext& ctx) const {
            auto isShown = ctx.state<bool>("shown", true);
            auto fruit = ctx.state<Fruit>("fruit", fruits[0]);
            *shown = isShown.binding();
            ui::Binding<Fruit> selection([fruit] { return *fruit; },
                                         [fruit, picks = picks](Fruit f) {
                                             picks->push_back(f.name);
                                             fruit.set(f);
                                         });
            return ui::View(ui::Text("Behind")).sheet(isShown.binding(), [selection] {
                return ui::View(ListPicker<Fruit>(fruits, selection, false, true, fruitRow)).frame(240, 200);
            });
        }
    };
    auto picks = std::make_shared<std::vector<std::string>>();
    auto shown = std::make_shared<ui::Binding<bool>>(ui::Binding<bool>::constant(false));
    ui::TestHost host(ui::View(Screen{picks, shown}));
    host.update();
    ASSERT_TRUE(host.tap(host.findByText("Pear")));
    EXPECT_EQ(*picks, std::vector<std::string>{"Pear"});
    EXPECT_FALSE(shown->get());
    EXPECT_TRUE(host.presentations().empty());

    shown->set(true);
    host.update();
    EXPECT_TRUE(marked(host, "Pear"));
    ASSERT_TRUE(host.tap(host.findByText("Pear"))); // the selected row: assigned and dismissed again
    EXPECT_EQ(*picks, (std::vector<std::string>{"Pear", "Pear"}));
    EXPECT_FALSE(shown->get());

    // Outside a presentation only the selection changes.
    auto fruit = std::make_shared<Fruit>(fruits[0]);
    ui::TestHost bare(ui::View(Stateful<Fruit>{
        fruit, [](ui::Binding<Fruit> selection) {
            std::vector<Fruit> withTwin = fruits;
            withTwin.push_back({3, "Plum's twin"});
            return ui::VStack({ui::View(ForEachPicker<Fruit>{withTwin, selection, false, true, fruitRow})});
        }}));
    bare.update();
    ASSERT_TRUE(bare.tap(bare.findByText("Plum")));
    EXPECT_EQ(fruit->name, "Plum");
    EXPECT_TRUE(marked(bare, "Plum"));
    EXPECT_TRUE(marked(bare, "Plum's twin")) << "rows of a shared id are both marked";
    EXPECT_FALSE(marked(bare, "Apple"));
}

TEST(ItemPickerTest, AViewThatDependsOnTheSelectionAnimatesOnlyWhenAsked) {
    struct Screen {
        bool animated;
        std::shared_ptr<std::vector<bool>> seen;
        ui::View body(ui::ViewContext& ctx) const {
            auto fruit = ctx.state<Fruit>("fruit", fruits[0]);
            ui::Binding<Fruit> selection([fruit] { return *fruit; }, [fruit](Fruit f) { fruit.set(f); });
            seen->push_back(ctx.transaction().animation != nullptr);
            return ui::VStack({ui::View(ForEachPicker<Fruit>{fruits, selection, animated, false, fruitRow}),
                               ui::View(ui::Text::verbatim("Chosen " + fruit->name))});
        }
    };
    for (const bool animated : {false, true}) {
        auto seen = std::make_shared<std::vector<bool>>();
        ui::TestHost host(ui::View(Screen{animated, seen}));
        host.update();
        seen->clear();
        ASSERT_TRUE(host.tap(host.findByText("Plum")));
        ASSERT_FALSE(seen->empty());
        EXPECT_EQ(seen->back(), animated);
        EXPECT_NE(host.findByText("Chosen Plum"), nullptr);
    }
}

TEST(ItemPickerTest, MultipleChoiceRemovesEveryCopyAndAppendsAfterAllOthers) {
    auto chosen =
        std::make_shared<std::vector<Fruit>>(std::vector<Fruit>{{2, "Pear"}, {1, "Apple"}, {2, "Pear too"}});
    ui::Binding<std::vector<Fruit>> selection([chosen] { return *chosen; },
                                              [chosen](std::vector<Fruit> f) { *chosen = std::move(f); });
    ui::TestHost host(ui::View(ListMultiPicker<Fruit>(fruits, selection, fruitRow)));
    host.update();
    EXPECT_TRUE(marked(host, "Pear"));
    EXPECT_TRUE(marked(host, "Apple"));
    EXPECT_FALSE(marked(host, "Plum"));

    ASSERT_TRUE(host.tap(host.findByText("Pear")));
    EXPECT_EQ(names(*chosen), std::vector<std::string>{"Apple"});
    ASSERT_TRUE(host.tap(host.findByText("Plum")));
    ASSERT_TRUE(host.tap(host.findByText("Pear")));
    EXPECT_EQ(names(*chosen), (std::vector<std::string>{"Apple", "Plum", "Pear"}));
    EXPECT_TRUE(marked(host, "Pear"));

    // The bare rows do the same.
    chosen->clear();
    ui::TestHost bare(
        ui::View(ui::VStack({ui::View(ForEachMultiPicker<Fruit>{fruits, selection, fruitRow})})));
    bare.update();
    ASSERT_TRUE(bare.tap(bare.findByText("Plum")));
    ASSERT_TRUE(bare.tap(bare.findByText("Apple")));
    EXPECT_EQ(names(*chosen), (std::vector<std::string>{"Plum", "Apple"}));
}

TEST(ItemPickerTest, SectionsShareOneSelectionAndHeadersFollowTheirTitles) {
    auto fruit = std::make_shared<Fruit>(Fruit{5, "Lemon"});
    const std::vector<ListPickerSection<Fruit>> sections{
        ListPickerSection<Fruit>("Pome", {{1, "Apple"}, {2, "Pear"}}),
        ListPickerSection<Fruit>(" \t ", {{3, "Plum"}}), ListPickerSection<Fruit>("\n", {{4, "Cherry"}}),
        ListPickerSection<Fruit>("Citrus", {{5, "Lemon"}}), ListPickerSection<Fruit>("Empty", {})};
    EXPECT_NE(sections[0].id, sections[1].id);
    ui::TestHost host(ui::View(Stateful<Fruit>{fruit,
                                               [sections](ui::Binding<Fruit> selection) {
                                                   return ui::View(ListPicker<Fruit>(sections, selection,
                                                                                     false, false, fruitRow));
                                               }}),
                      {300, 600});
    host.update();
    EXPECT_NE(host.findByText("Pome"), nullptr);
    EXPECT_NE(host.findByText("\n"), nullptr);
    EXPECT_EQ(host.findAll([](const ui::Element& e) {
                      return e.node().text() == std::optional<std::string>(" \t ");
                  })
                  .size(),
              0u);
    EXPECT_TRUE(marked(host, "Lemon"));

    ASSERT_TRUE(host.tap(host.findByText("Cherry")));
    EXPECT_EQ(fruit->name, "Cherry");
    EXPECT_TRUE(marked(host, "Cherry"));
    EXPECT_FALSE(marked(host, "Lemon"));
    EXPECT_FALSE(marked(host, "Apple"));

    // Nothing to show: no rows at all.
    const auto selection = ui::Binding<Fruit>::constant(fruits[0]);
    ui::TestHost empty(ui::View(
        ListPicker<Fruit>(std::vector<ListPickerSection<Fruit>>{}, selection, false, false, fruitRow)));
    empty.update();
    EXPECT_TRUE(empty.findAllType<FruitRow>().empty());
    ui::TestHost noItems(
        ui::View(ListPicker<Fruit>(std::vector<Fruit>{}, selection, false, false, fruitRow)));
    noItems.update();
    EXPECT_TRUE(noItems.findAllType<FruitRow>().empty());
}

TEST(ItemPickerTest, TheItemsOnlyListKeepsItsRowsAcrossPicks) {
    // Rows that count their own taps in state: a new section on each pick would reset them.
    struct CountingRow {
        std::string name;
        bool isSelected;
        ui::View body(ui::ViewContext& ctx) const {
            auto seen = ctx.state<int>("seen", 0);
            if (isSelected && *seen == 0) seen.set(1);
            return ui::View(ui::Text::verbatim(name + (*seen ? " seen" : "")));
        }
    };
    struct Screen {
        ui::View body(ui::ViewContext& ctx) const {
            auto fruit = ctx.state<Fruit>("fruit", fruits[0]);
            ui::Binding<Fruit> selection([fruit] { return *fruit; }, [fruit](Fruit f) { fruit.set(f); });
            return ui::View(
                ListPicker<Fruit>(fruits, selection, true, false, [](const Fruit& f, bool selected) {
                    return ui::View(CountingRow{f.name, selected});
                }));
        }
    };
    ui::TestHost host(ui::View(Screen{}));
    host.update();
    host.update();
    ASSERT_NE(host.findByText("Apple seen"), nullptr);
    ASSERT_TRUE(host.tap(host.findByText("Pear")));
    host.update();
    host.stepFrames(5);
    EXPECT_NE(host.findByText("Apple seen"), nullptr) << "the row kept its state";
    EXPECT_NE(host.findByText("Pear seen"), nullptr);
    EXPECT_TRUE(host.removalGhosts().empty());
}

TEST(ItemPickerTest, RowsFollowAChangeOfTheItems) {
    // The pickers keep their items' ids between updates: a change of the items must still show.
    auto picked = std::make_shared<Fruit>(fruits[2]);
    ui::Binding<Fruit> selection([picked] { return *picked; }, [picked](Fruit f) { *picked = f; });
    auto chosen = std::make_shared<std::vector<Fruit>>();
    ui::Binding<std::vector<Fruit>> choice([chosen] { return *chosen; },
                                           [chosen](std::vector<Fruit> f) { *chosen = std::move(f); });
    auto setItems =
        std::make_shared<ui::Binding<std::vector<Fruit>>>(ui::Binding<std::vector<Fruit>>::constant({}));
    const auto hostOf = [&](std::function<ui::View(std::vector<Fruit>)> make) {
        auto items = std::make_shared<std::vector<Fruit>>(fruits);
        return std::make_unique<ui::TestHost>(
            ui::View(Stateful<std::vector<Fruit>>{items,
                                                  [setItems, make](ui::Binding<std::vector<Fruit>> list) {
                                                      *setItems = list;
                                                      return make(list.get());
                                                  }}),
            graphics::CGSize{300, 400});
    };
    const std::vector<Fruit> renamed{{1, "Apple"}, {2, "Pear"}, {3, "Damson"}};

    auto single = hostOf([&](std::vector<Fruit> items) {
        return ui::View(ListPicker<Fruit>(
            {ListPickerSection<Fruit>("Fruit", items), ListPickerSection<Fruit>("More", {})}, selection,
            false, false, fruitRow));
    });
    single->update();
    EXPECT_TRUE(marked(*single, "Plum"));
    setItems->set(renamed);
    single->update();
    EXPECT_EQ(single->findByText("Plum"), nullptr);
    EXPECT_TRUE(marked(*single, "Damson")) << "the same id, the new row";
    ASSERT_TRUE(single->tap(single->findByText("Damson")));
    EXPECT_EQ(picked->name, "Damson");
    setItems->set({{4, "Cherry"}});
    single->update();
    EXPECT_EQ(single->findAllType<FruitRow>().size(), 1u);

    auto multi = hostOf([&](std::vector<Fruit> items) {
        return ui::View(ui::VStack({ui::View(ForEachMultiPicker<Fruit>{items, choice, fruitRow})}));
    });
    multi->update();
    setItems->set(renamed);
    multi->update();
    EXPECT_EQ(multi->findByText("Plum"), nullptr);
    ASSERT_TRUE(multi->tap(multi->findByText("Damson")));
    EXPECT_EQ(names(*chosen), std::vector<std::string>{"Damson"});
}

TEST(ItemPickerTest, DrawsSectionsWithCheckMarks) {
    auto fruit = std::make_shared<Fruit>(fruits[1]);
    ui::Binding<Fruit> selection([fruit] { return *fruit; }, [fruit](Fruit f) { *fruit = f; });
    const std::vector<ListPickerSection<Fruit>> sections{
        ListPickerSection<Fruit>("Pome", {{1, "Apple"}, {2, "Pear"}}),
        ListPickerSection<Fruit>("Stone fruit", {{3, "Plum"}, {4, "Cherry"}})};
    viewkit_testing::renderBothSchemes(
        ui::View(ListPicker<Fruit>(sections, selection, false, false, fruitRow)), {240, 200},
        "viewkit-list-picker");
}
