#include "TestBox.h"

#include "ViewKit/ReorderableForEach.h"

#include "foundation/CollectionMove.h"
#include "ui/List.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using graphics::CGPoint;
using uitest::box;

// Equal when their titles are: two goals can be equal and still be different rows.
struct Goal {
    int id = 0;
    std::string title;
    bool operator==(const Goal& other) const { return title == other.title; }
};

// What the caller owns: the goals, the dragged one, and the moves asked for.
struct Caller {
    std::vector<Goal> items;
    std::optional<Goal> active;
    std::vector<std::string> moves; // "{from}->destination"
    int activeWrites = 0;

    std::vector<int> ids() const {
        std::vector<int> out;
        for (const auto& goal : items)
            out.push_back(goal.id);
        return out;
    }
};

enum class Container { list, scrolledStack };

constexpr double rowHeight = 30;

QColor colorOf(int id) {
    static const QColor colors[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan, Qt::magenta};
    return colors[(id - 1) % 6];
}

// A reorderable list, 150 high, of the caller's goals above an area outside it. Rows are 30
// high either way; a preview builder, when asked for, shows "preview <title>".
ui::View reorderable(const std::shared_ptr<Caller>& caller, ui::State<int> version, Container container,
                     bool withPreview, double width) {
    auto bump = [version] { version.set(*version + 1); };
    ui::Binding<std::optional<Goal>> active([caller] { return caller->active; },
                                            [caller, bump](std::optional<Goal> goal) {
                                                caller->active = std::move(goal);
                                                ++caller->activeWrites;
                                                bump();
                                            });
    const double boxHeight = container == Container::list ? rowHeight - 8 : rowHeight;
    auto row = [=](const Goal& goal) { return box(width - 20, boxHeight, goal.title, colorOf(goal.id)); };
    auto move = [caller, bump](const foundation::IndexSet& offsets, int destination) {
        caller->moves.push_back("{" + std::to_string(*offsets.first()) + "}->" + std::to_string(destination));
        foundation::moveElements(caller->items, offsets, std::size_t(destination));
        bump();
    };
    ui::View rows =
        withPreview
            ? ViewKit::ReorderableForEach<Goal>(
                  caller->items, active, row,
                  [](const Goal& goal) { return box(40, 20, "preview " + goal.title, Qt::black); }, move)
            : ViewKit::ReorderableForEach<Goal>(caller->items, active, row, move);
    ui::View shown = container == Container::list
                         ? ui::View(ui::List({rows}))
                         : ui::View(ui::ScrollView(ui::VStack(ui::HorizontalAlignment::leading, 0, {rows})));
    return (shown | ViewKit::reorderableForEachContainer(active)).frame(width, 150);
}

struct Board {
    std::shared_ptr<Caller> caller;
    Container container = Container::list;
    bool withPreview = false;
    ui::View body(ui::ViewContext& ctx) const {
        auto version = ctx.state<int>("version", 0);
        return ui::VStack(
            ui::HorizontalAlignment::leading, 0,
            {reorderable(caller, version, container, withPreview, 300), box(300, 150, "outside", Qt::gray)});
    }
};

std::shared_ptr<Caller> goals(std::vector<std::string> titles) {
    auto caller = std::make_shared<Caller>();
    for (std::size_t i = 0; i < titles.size(); ++i)
        caller->items.push_back({int(i) + 1, titles[i]});
    return caller;
}

// Drives a drag with the pointer, letting each move's animation land.
class Dragging {
public:
    Dragging(ui::TestHost& host, double x = 100)
        : host_(host)
        , x_(x) {}
    static CGPoint row(int index, double x = 100) { return {x, rowHeight * index + rowHeight / 2}; }
    void start(int index) {
        host_.pointerDown(row(index, x_));
        to(CGPoint{x_, row(index, x_).y + 6});
    }
    void over(int index) { to(row(index, x_)); }
    void to(CGPoint point) {
        host_.pointerMove(point);
        host_.stepFrames(40);
        at_ = point;
    }
    void release() {
        host_.pointerUp(at_);
        host_.stepFrames(40);
    }
    CGPoint at() const { return at_; }

private:
    ui::TestHost& host_;
    double x_;
    CGPoint at_;
};

double opacityOf(const ui::TestHost& host, std::string_view title) {
    double product = 1;
    for (const auto* e = host.findByText(title); e; e = e->parent()) {
        if (e->node().typeName() == "Opacity") product *= e->presentedValue("opacity", 1.0);
    }
    return product;
}

class ReorderableForEachTest : public testing::TestWithParam<Container> {};

} // namespace

TEST_P(ReorderableForEachTest, RowsMoveLiveAsTheDraggedRowEntersThem) {
    // A over C, then on over D: each row entered moves the item once.
    auto caller = goals({"A", "B", "C", "D"});
    ui::TestHost host(Board{caller, GetParam()}, {300, 300});
    Dragging drag(host);
    drag.start(0);
    EXPECT_TRUE(caller->moves.empty()) << "over its own row nothing moves";
    ASSERT_TRUE(caller->active);
    EXPECT_EQ(caller->active->id, 1);
    drag.over(2);
    EXPECT_EQ(caller->moves, std::vector<std::string>{"{0}->3"});
    EXPECT_EQ(caller->ids(), (std::vector<int>{2, 3, 1, 4}));
    drag.to({100, Dragging::row(2).y + 3});
    drag.over(3);
    EXPECT_EQ(caller->moves, (std::vector<std::string>{"{0}->3", "{2}->4"}));
    EXPECT_EQ(caller->ids(), (std::vector<int>{2, 3, 4, 1}));
    drag.release();
    EXPECT_FALSE(caller->active);

    // D over B; then one down (1 to 2) and one up (2 to 1).
    caller = goals({"A", "B", "C", "D"});
    host.setRoot(Board{caller, GetParam()});
    Dragging again(host);
    again.start(3);
    again.over(1);
    again.release();
    again.start(1);
    again.over(2);
    again.release();
    again.start(2);
    again.over(1);
    again.release();
    EXPECT_EQ(caller->moves, (std::vector<std::string>{"{3}->1", "{1}->3", "{2}->1"}));
    EXPECT_EQ(caller->ids(), (std::vector<int>{1, 4, 2, 3}));
}

TEST_P(ReorderableForEachTest, TheMovedRowIsHalfTransparentUntilItsDragEndsHoweverItEnds) {
    auto caller = goals({"A", "B", "C", "D"});
    ui::TestHost host(Board{caller, GetParam()}, {300, 300});
    Dragging drag(host);
    drag.start(0);
    EXPECT_EQ(opacityOf(host, "A"), 1) << "not before it moved";
    drag.over(1);
    EXPECT_EQ(opacityOf(host, "A"), 0.5);
    EXPECT_EQ(opacityOf(host, "B"), 1);
    drag.release(); // on its own row
    EXPECT_FALSE(caller->active);
    EXPECT_EQ(opacityOf(host, "A"), 1);

    // Dropped on the container beside the rows: the next drag starts opaque.
    drag.start(1);
    drag.over(2);
    drag.to({100, 135});
    drag.release();
    EXPECT_FALSE(caller->active);
    drag.start(2);
    EXPECT_EQ(opacityOf(host, "A"), 1);
    EXPECT_TRUE(caller->active);

    // Released outside the list, then Escape, then a press the window loses: idle each time,
    // the order as the moves left it.
    drag.over(0);
    drag.to({100, 250});
    drag.release();
    EXPECT_FALSE(caller->active);
    drag.start(0);
    drag.over(3);
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::escape));
    host.stepFrames(40);
    EXPECT_FALSE(caller->active);
    drag.release();
    drag.start(3);
    drag.over(2);
    host.events().cancelPointer();
    host.stepFrames(40);
    EXPECT_FALSE(caller->active);
    EXPECT_EQ(caller->ids(), (std::vector<int>{2, 3, 1, 4}));
    for (const auto* title : {"A", "B", "C", "D"})
        EXPECT_EQ(opacityOf(host, title), 1) << title;
}

TEST_P(ReorderableForEachTest, ThePreviewStaysUnderThePointerAboveTheRowsAndOutsideTheList) {
    auto caller = goals({"A", "B", "C", "D"});
    ui::TestHost host(Board{caller, GetParam()}, {300, 300});
    const auto frameA = ui::TestHost::frame(host.findByText("A"));
    Dragging drag(host, frameA.midX());
    drag.start(0);
    drag.over(2);
    const auto* preview = host.findByTypeName("DragPreview");
    ASSERT_NE(preview, nullptr);
    const auto shown = ui::TestHost::frame(preview);
    EXPECT_NEAR(shown.midX(), drag.at().x, 1) << "pressed at its centre, it stays centred on the pointer";
    EXPECT_NEAR(shown.midY(), drag.at().y, 1);
    EXPECT_EQ(shown.size, frameA.size);
    drag.release();

    // Beside the rows, over B and C which paint after A, and then below the list: red, the look
    // A had, over them and unclipped.
    caller = goals({"A", "B", "C", "D"});
    host.setRoot(Board{caller, GetParam()});
    drag.start(0);
    drag.to({295, 60});
    QImage image = host.render();
    EXPECT_GT(image.pixelColor(200, 52).red(), 150);
    EXPECT_LT(image.pixelColor(200, 52).green(), 100);
    drag.to({295, 180});
    image = host.render();
    EXPECT_GT(image.pixelColor(200, 174).red(), 150);
    EXPECT_LT(image.pixelColor(200, 174).blue(), 100) << "not clipped by the list";
    drag.release();
    EXPECT_EQ(host.findByTypeName("DragPreview"), nullptr);

    // A builder's preview instead of the row.
    caller = goals({"A", "B"});
    host.setRoot(Board{caller, GetParam(), true});
    drag.start(1);
    ASSERT_NE(host.findByText("preview B"), nullptr);
    drag.release();
    EXPECT_EQ(host.findByText("preview B"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Containers, ReorderableForEachTest,
                         testing::Values(Container::list, Container::scrolledStack),
                         [](const testing::TestParamInfo<Container>& info) {
                             return info.param == Container::list ? "List" : "ScrollView";
                         });

TEST(ReorderableForEachTest, RowsAreFoundByTheirIdentifiersNotByEquality) {
    // Goals 1 and 2 are equal: dragging 2 over 3 moves 2.
    auto caller = goals({"same", "same", "other"});
    ui::TestHost host(Board{caller, Container::list}, {300, 300});
    // The two equal rows show the same text: press the second by place.
    host.pointerDown(Dragging::row(1, 100));
    host.pointerMove({100, Dragging::row(1).y + 6});
    host.pointerMove(Dragging::row(2, 100));
    host.stepFrames(40);
    EXPECT_EQ(caller->moves, std::vector<std::string>{"{1}->3"});
    EXPECT_EQ(caller->ids(), (std::vector<int>{1, 3, 2}));
    host.pointerUp(Dragging::row(2, 100));
}

namespace {

struct TwoLists {
    std::shared_ptr<Caller> left, right;
    ui::View body(ui::ViewContext& ctx) const {
        auto version = ctx.state<int>("version", 0);
        return ui::HStack(ui::VerticalAlignment::top, 0,
                          {reorderable(left, version, Container::list, false, 150),
                           reorderable(right, version, Container::scrolledStack, false, 150)});
    }
};

} // namespace

TEST(ReorderableForEachTest, AnotherListsDragIsRefusedAndBothListsEndIdle) {
    auto left = goals({"A", "B", "C"});
    auto right = goals({"X", "Y", "Z"});
    ui::TestHost host(TwoLists{left, right}, {300, 150});
    Dragging drag(host, 60);
    drag.start(0);
    drag.to(Dragging::row(0, 225));
    drag.to(Dragging::row(1, 225));
    drag.to({225, 135});
    drag.release();
    EXPECT_TRUE(left->moves.empty());
    EXPECT_TRUE(right->moves.empty());
    EXPECT_FALSE(left->active);
    EXPECT_FALSE(right->active);
    EXPECT_EQ(right->activeWrites, 0);
    EXPECT_EQ(left->ids(), (std::vector<int>{1, 2, 3}));

    // What the right list's delegates said while its `active` was absent.
    ui::Binding<std::optional<Goal>> absent(
        [] { return std::optional<Goal>(); },
        [](std::optional<Goal>) { ADD_FAILURE() << "nothing is written"; });
    bool changed = false;
    ViewKit::ReorderableDragRelocateDelegate<Goal> onRow(
        right->items[0], right->items, absent,
        ui::Binding<bool>([] { return false; }, [&](bool) { changed = true; }),
        [&](const foundation::IndexSet&, int) { changed = true; });
    ViewKit::ReorderableDropOutsideDelegate<Goal> onContainer(absent);
    const ui::DropInfo info({0, 0}, std::make_shared<foundation::NSItemProvider>(std::string("1")));
    onRow.dropEntered(info);
    EXPECT_EQ(onRow.dropUpdated(info), ui::DropProposal(ui::DropOperation::forbidden));
    EXPECT_EQ(onContainer.dropUpdated(info), ui::DropProposal(ui::DropOperation::forbidden));
    EXPECT_FALSE(onRow.performDrop(info));
    EXPECT_FALSE(onContainer.performDrop(info));
    EXPECT_FALSE(changed);
}

TEST(ReorderableForEachTest, TheDragCarriesTheIdentifierAsText) {
    struct Numbered {
        int id;
        bool operator==(const Numbered&) const = default;
    };
    std::optional<std::string> dropped;
    struct Catch final : ui::DropDelegate {
        std::optional<std::string>* into;
        explicit Catch(std::optional<std::string>* into)
            : into(into) {}
        bool performDrop(const ui::DropInfo& info) override {
            *into = info.itemProviders({foundation::UTType::text()}).at(0).loadString();
            return true;
        }
    };
    std::optional<Numbered> active;
    ui::Binding<std::optional<Numbered>> binding([&] { return active; },
                                                 [&](std::optional<Numbered> v) { active = v; });
    ui::TestHost host(
        ui::VStack(
            ui::HorizontalAlignment::leading, 0,
            {ViewKit::ReorderableForEach<Numbered>(
                 std::vector<Numbered>{{42}}, binding, [](const Numbered&) { return box(100, 30); },
                 [](const foundation::IndexSet&, int) {}),
             box(100, 30, "target").onDrop({foundation::UTType::text()}, std::make_shared<Catch>(&dropped))}),
        {100, 60});
    host.pointerDown({50, 15});
    host.pointerMove({50, 25});
    host.pointerMove({50, 45});
    host.pointerUp({50, 45});
    EXPECT_EQ(dropped, "42");
    EXPECT_FALSE(active) << "a drop elsewhere leaves the list idle";

    const foundation::UUID uuid;
    EXPECT_EQ(ViewKit::detail::payloadText(uuid), uuid.uuidString());
    EXPECT_EQ(ViewKit::detail::payloadText(std::string("row")), "row");
    EXPECT_EQ(ViewKit::detail::payloadText(2.5), "2.5");
}
