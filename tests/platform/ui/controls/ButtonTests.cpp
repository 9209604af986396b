#include "ui/Button.h"
#include "ui/ButtonStyle.h"
#include "ui/Label.h"
#include "ui/List.h"
#include "ui/Presentation.h"
#include "ui/Rectangle.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using namespace ui;

// Shows the pressed state the style was given, so tests can read it as text.
struct ReportingStyle {
    View makeBody(const ButtonStyleConfiguration& c) const {
        return VStack({c.label, View(Text(std::string(c.isPressed ? "pressed" : "released")))})
            .padding(10)
            .contentShape(Rectangle());
    }
};

struct ButtonTest : testing::Test {
    std::shared_ptr<int> presses = std::make_shared<int>(0);
    View button(bool disabled = false) const {
        return Button("Go", [p = presses] { ++*p; }).buttonStyle(ReportingStyle{}).disabled(disabled).id("button");
    }
};

TEST_F(ButtonTest, PressedWhileDownInsideAndActsOnReleaseInsideOnly) {
    TestHost host(button(), {200, 100});
    const auto frame = TestHost::frame(host.find("button"));
    const graphics::CGPoint centre{frame.midX(), frame.midY()};

    ASSERT_TRUE(host.findByText("released"));
    EXPECT_EQ(host.findAllType<Button>().size(), 1u);
    host.pointerDown(centre);
    EXPECT_TRUE(host.findByText("pressed"));
    EXPECT_EQ(*presses, 0);
    host.pointerMove({frame.maxX() + 30, centre.y}); // dragged out: no longer pressed
    EXPECT_TRUE(host.findByText("released"));
    host.pointerMove(centre); // back in
    EXPECT_TRUE(host.findByText("pressed"));
    host.pointerUp(centre);
    EXPECT_TRUE(host.findByText("released"));
    EXPECT_EQ(*presses, 1);

    host.pointerDown(centre);
    host.pointerMove({frame.maxX() + 30, centre.y});
    host.pointerUp({frame.maxX() + 30, centre.y}); // released outside: nothing
    EXPECT_EQ(*presses, 1);
    EXPECT_TRUE(host.findByText("released"));
}

TEST_F(ButtonTest, DisabledButtonIgnoresClicksAndShortcuts) {
    TestHost host(button(true).keyboardShortcut(KeyEquivalent::return_, {}), {200, 100});
    host.tap(host.find("button"));
    EXPECT_FALSE(host.keyPress(KeyEquivalent::return_));
    EXPECT_EQ(*presses, 0);
    EXPECT_TRUE(host.findByText("released"));
}

TEST_F(ButtonTest, KeyboardShortcutTriggersIt) {
    TestHost host(button().keyboardShortcut(KeyEquivalent('n')), {200, 100});
    EXPECT_FALSE(host.keyPress(KeyEquivalent('n'))); // without Command it is another key
    EXPECT_TRUE(host.keyPress(KeyEquivalent('n'), EventModifiers::command));
    EXPECT_EQ(*presses, 1);
}

TEST_F(ButtonTest, StylesDrawTheLabelAndKeepTheClicks) {
    for (AnyButtonStyle style : {AnyButtonStyle(BorderedButtonStyle{}), AnyButtonStyle(BorderlessButtonStyle{}),
                                 AnyButtonStyle(PlainButtonStyle{}), AnyButtonStyle(BorderedProminentButtonStyle{}),
                                 AnyButtonStyle(DefaultButtonStyle{})}) {
        *presses = 0;
        TestHost host(Button(Text("New Goal"), "plus", [p = presses] { ++*p; }).buttonStyle(style).id("b"),
                      {200, 100});
        ASSERT_TRUE(host.findByText("New Goal"));
        host.tap(host.find("b"));
        EXPECT_EQ(*presses, 1);
    }
}

TEST_F(ButtonTest, ControlSizeChangesTheBezel) {
    auto heightAt = [&](ControlSize size) {
        TestHost host(Button("Go", [] {}).controlSize(size).id("b"), {200, 100});
        return TestHost::frame(host.find("b")).size.height;
    };
    EXPECT_LT(heightAt(ControlSize::small), heightAt(ControlSize::regular));
    EXPECT_LT(heightAt(ControlSize::regular), heightAt(ControlSize::large));
}

// In a list the automatic style is plain: a row that is a button looks like the rows around
// it. An explicit style still holds there, and a sheet shown from a row is no row.
TEST_F(ButtonTest, AutomaticStyleIsPlainAmongAListsRows) {
    auto heightOf = [](View content, const char* id) {
        TestHost host(std::move(content), {300, 300});
        host.update();
        return TestHost::frame(host.find(id)).size.height;
    };
    auto inList = [&](std::optional<AnyButtonStyle> style) {
        View button = Button("Go", [] {});
        if (style) button = button.buttonStyle(*style);
        return heightOf(List({button.id("b")}), "b");
    };
    EXPECT_EQ(inList(std::nullopt), inList(PlainButtonStyle{}));
    EXPECT_LT(inList(std::nullopt), inList(BorderedButtonStyle{}));

    const double bordered = heightOf(Button("Go", [] {}).id("b"), "b");
    auto shown = std::make_shared<bool>(true);
    Binding<bool> isPresented([shown] { return *shown; }, [shown](bool v) { *shown = v; });
    EXPECT_EQ(heightOf(List({View(Text("Row")).sheet(isPresented, [] { return View(Button("Go", [] {}).id("s")); })}),
                       "s"),
              bordered);
}

} // namespace
