#include "Handles.h"
#include "TestBox.h"

#include "ui/EventTargets.h"
#include "ui/Gesture.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace uitest;

namespace {

using Log = std::vector<std::string>;
using Focus = std::optional<int>;

// Three fields bound to one focus value by number, a plain focusable view, and a field that
// can be taken away.
struct Form {
    std::shared_ptr<Handles<Focus>> focus;
    std::shared_ptr<Handles<bool>> flags;
    std::shared_ptr<Log> log;
    ui::View body(ui::ViewContext& ctx) const {
        auto focused = ctx.focusState<Focus>("focused");
        auto showThird = ctx.state<bool>("showThird", true);
        focus->keep("focused", ctx.state<Focus>("focused", Focus{})); // the focus state's own storage
        flags->keep("showThird", showThird);
        auto field = [&](int n) {
            return box(50, 20, "field " + std::to_string(n))
                .focusable()
                .onKeyPress([log = log, n](const ui::KeyPress& press) {
                    if (press.key != ui::KeyEquivalent('x')) return ui::KeyPress::Result::ignored;
                    log->push_back("x in " + std::to_string(n));
                    return ui::KeyPress::Result::handled;
                })
                .focused(focused.binding(), n);
        };
        std::vector<ui::View> rows{field(1), field(2)};
        if (showThird.value()) rows.push_back(field(3));
        rows.push_back(box(50, 20, "plain").focusable());
        return ui::VStack(rows);
    }
};

struct FormTest : ::testing::Test {
    std::shared_ptr<Handles<Focus>> focus = std::make_shared<Handles<Focus>>();
    std::shared_ptr<Handles<bool>> flags = std::make_shared<Handles<bool>>();
    std::shared_ptr<Log> log = std::make_shared<Log>();
    ui::TestHost host{Form{focus, flags, log}, {200, 200}};

    std::optional<std::string> focusedText() const {
        for (auto* e = host.focusedElement(); e;
             e = e->children().empty() ? nullptr : e->children().front().get()) {
            if (auto text = e->node().text()) return text;
        }
        return std::nullopt;
    }
    Focus value() const { return (*focus)["focused"].value(); }
    // What the views inside a field see of the focus.
    bool seesFocus(const std::string& field) const {
        return host.findByText(field)->environment().get<ui::IsFocusedKey>();
    }
};

TEST_F(FormTest, FocusFollowsTheBindingAndKeysGoToTheFocusedView) {
    EXPECT_FALSE(host.focusedElement());
    EXPECT_FALSE(host.keyPress('x')) << "no focus, no taker";
    (*focus)["focused"].set(2);
    host.update();
    EXPECT_EQ(focusedText(), "field 2");
    EXPECT_TRUE(seesFocus("field 2"));
    EXPECT_FALSE(seesFocus("field 1"));
    EXPECT_TRUE(host.keyPress('x'));
    EXPECT_FALSE(host.keyPress('y'));
    EXPECT_EQ(*log, (Log{"x in 2"}));

    (*focus)["focused"].set(std::nullopt);
    host.update();
    EXPECT_FALSE(host.focusedElement());
    EXPECT_FALSE(seesFocus("field 2"));
}

TEST_F(FormTest, TabMovesTheFocusInOrderAndWritesTheBinding) {
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::tab));
    EXPECT_EQ(focusedText(), "field 1");
    EXPECT_EQ(value(), Focus(1));
    host.keyPress(ui::KeyEquivalent::tab);
    EXPECT_TRUE(seesFocus("field 2"));
    EXPECT_FALSE(seesFocus("field 1"));
    host.keyPress(ui::KeyEquivalent::tab);
    host.keyPress(ui::KeyEquivalent::tab);
    EXPECT_EQ(focusedText(), "plain");
    EXPECT_EQ(value(), std::nullopt) << "the plain view is bound to nothing";
    host.keyPress(ui::KeyEquivalent::tab);
    EXPECT_EQ(value(), Focus(1)) << "wraps around";
    host.keyPress(ui::KeyEquivalent::tab, ui::EventModifiers::shift);
    EXPECT_EQ(focusedText(), "plain");
    host.keyPress(ui::KeyEquivalent::tab, ui::EventModifiers::shift);
    EXPECT_EQ(value(), Focus(3));
}

TEST_F(FormTest, AClickFocusesAndAFocusedViewThatGoesTakesItsBindingAlong) {
    auto* third = host.findByText("field 3");
    ASSERT_TRUE(third);
    host.tap(third);
    EXPECT_EQ(value(), Focus(3));
    host.tap({1, 1});
    EXPECT_EQ(value(), Focus(3)) << "a click on nothing leaves the focus";

    (*flags)["showThird"].set(false);
    host.update();
    EXPECT_FALSE(host.focusedElement());
    EXPECT_EQ(value(), std::nullopt);
}

struct Shortcuts {
    std::shared_ptr<Log> log;
    bool enabled;
    ui::View body(ui::ViewContext& ctx) const {
        auto focused = ctx.focusState<bool>("editing");
        auto button = [&](std::string name) {
            return ui::keyboardShortcutTarget(box(20, 20, name), [log = log, name] { log->push_back(name); });
        };
        return ui::VStack({
            box(50, 20, "editor")
                .focusable()
                .onKeyPress(ui::KeyEquivalent::return_,
                            [log = log] {
                                log->push_back("editor");
                                return ui::KeyPress::Result::handled;
                            })
                .focused(focused.binding()),
            button("add")
                .keyboardShortcut(ui::KeyEquivalent::return_, ui::EventModifiers::none)
                .disabled(!enabled),
            button("new").keyboardShortcut('n'),
        });
    }
};

TEST(KeyRoutingTest, TheFocusedViewTakesKeysBeforeShortcutsThatNeedTheirModifiers) {
    auto log = std::make_shared<Log>();
    ui::TestHost host(Shortcuts{log, true});
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::return_));
    EXPECT_FALSE(host.keyPress('n')) << "command is missing";
    EXPECT_TRUE(host.keyPress('N', ui::EventModifiers::command));
    host.keyPress(ui::KeyEquivalent::tab);
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::return_));
    EXPECT_EQ(*log, (Log{"add", "new", "editor"}));

    log->clear();
    host.setRoot(Shortcuts{log, false});
    host.events().focus(nullptr);
    EXPECT_FALSE(host.keyPress(ui::KeyEquivalent::return_)) << "a disabled control ignores its shortcut";
    EXPECT_TRUE(log->empty());
}

TEST(KeyRoutingTest, ModifierKeyObserversSeeTheirMaskInitiallyAndOnEachChange) {
    auto log = std::make_shared<Log>();
    const auto mask = ui::EventModifiers::shift | ui::EventModifiers::option;
    auto name = [](ui::EventModifiers m) {
        return std::string(m.contains(ui::EventModifiers::shift) ? "S" : "-") +
               (m.contains(ui::EventModifiers::option) ? "O" : "-");
    };
    ui::TestHost host(box(10, 10).onModifierKeysChanged(
        mask, true, [log, name](auto old, auto now) { log->push_back(name(old) + ">" + name(now)); }));
    host.setModifiers(ui::EventModifiers::shift);
    host.setModifiers(ui::EventModifiers::shift | ui::EventModifiers::command);
    host.tap({200, 150}, ui::EventModifiers::option);
    EXPECT_EQ(*log, (Log{"-->--", "-->S-", "S->-O"})) << "command is outside the mask";
}

} // namespace

namespace {

// A focusable field inside a view that can be dragged by it.
struct DraggableField {
    std::shared_ptr<Handles<Focus>> focus;
    std::shared_ptr<Log> log;
    ui::View body(ui::ViewContext& ctx) const {
        auto focused = ctx.focusState<Focus>("focused");
        focus->keep("focused", ctx.state<Focus>("focused", Focus{}));
        auto drag = ui::DragGesture(4).onChanged([log = log](const ui::DragGesture::Value&) {
            if (log->empty()) log->push_back("dragging");
        });
        return ui::VStack({box(100, 30, "field").focusable().focused(focused.binding(), 1).gesture(drag),
                           box(100, 30, "below")});
    }
};

} // namespace

TEST(DragFocusTest, APressThatBecomesADragLeavesTheFocusAndAStillClickTakesIt) {
    auto focus = std::make_shared<Handles<Focus>>();
    auto log = std::make_shared<Log>();
    ui::TestHost host{DraggableField{focus, log}, {200, 200}};
    const auto field = ui::TestHost::frame(host.findByText("field"));
    const graphics::CGPoint start{field.midX(), field.midY()};

    // Pressed and dragged: the drag runs, the field does not take the focus.
    host.pointerDown(start);
    EXPECT_EQ((*focus)["focused"].value(), std::nullopt) << "a press alone does not focus yet";
    host.pointerMove({start.x, start.y + 10});
    host.pointerMove({start.x, start.y + 30});
    host.pointerUp({start.x, start.y + 30});
    EXPECT_EQ(*log, Log{"dragging"});
    EXPECT_EQ((*focus)["focused"].value(), std::nullopt);
    EXPECT_FALSE(host.focusedElement());

    // A jitter below the drag's distance is still a click: the focus comes with the release.
    host.pointerDown(start);
    host.pointerMove({start.x + 1, start.y + 1});
    host.pointerUp({start.x + 1, start.y + 1});
    EXPECT_EQ((*focus)["focused"].value(), Focus(1));
}
