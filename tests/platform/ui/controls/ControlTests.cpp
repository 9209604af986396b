// Toggles, pickers, menus, context menus, links and colour pickers driven through the test host.
#include "ui/ColorScheme.h"
#include "ui/Button.h"
#include "ui/ColorPicker.h"
#include "ui/Divider.h"
#include "ui/ForEach.h"
#include "ui/Group.h"
#include "ui/Link.h"
#include "ui/Menu.h"
#include "ui/Picker.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Toggle.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace ui;

template <class T> Binding<T> bound(std::shared_ptr<T> value) {
    return Binding<T>([value] { return *value; }, [value](T v) { *value = std::move(v); });
}

// A view keeping the value in its state, as a caller of the control would, mirrored into
// `mirror` for the test to read.
template <class T> struct Stateful {
    std::shared_ptr<T> mirror;
    std::function<View(Binding<T>)> make;
    View body(ViewContext& ctx) const {
        auto state = ctx.state<T>("value", *mirror);
        return make(Binding<T>([state] { return *state; },
                               [state, mirror = mirror](T v) {
                                   *mirror = v;
                                   state.set(std::move(v));
                               }));
    }
};

TEST(ToggleTest, ClickFlipsTheBindingInEachStyleButNotWhenDisabled) {
    for (AnyToggleStyle style : {AnyToggleStyle(SwitchToggleStyle{}), AnyToggleStyle(CheckboxToggleStyle{})}) {
        auto on = std::make_shared<bool>(false);
        TestHost host(Stateful<bool>{on, [style](Binding<bool> b) {
                          return Toggle("Automatically check for updates", b).toggleStyle(style).id("t");
                      }},
                      {300, 60});
        const auto frame = TestHost::frame(host.find("t"));
        host.tap({frame.maxX() - 4, frame.midY()}); // the switch sits last, the checkbox's label too
        EXPECT_TRUE(*on);
        host.tap({frame.maxX() - 4, frame.midY()});
        EXPECT_FALSE(*on);

        host.setRoot(Toggle("Automatically check for updates", bound(on)).toggleStyle(style).disabled(true).id("t"));
        host.tap({frame.maxX() - 4, frame.midY()});
        EXPECT_FALSE(*on);
    }
}

TEST(ToggleTest, SwitchKnobSlidesUnderAnAnimation) {
    auto on = std::make_shared<bool>(false);
    struct Root {
        View body(ViewContext& ctx) const {
            auto state = ctx.state<bool>("on", false);
            return Toggle("Dark", state.binding()).toggleStyle(SwitchToggleStyle{}).labelsHidden().id("t");
        }
    };
    TestHost host(Root{}, {100, 40});
    ASSERT_FALSE(host.findByText("Dark")) << "labels are hidden";
    auto knobX = [&] {
        // The knob is the last circle: find the white fill by rendering its row of pixels.
        const QImage image = host.render();
        const auto frame = TestHost::frame(host.find("t"));
        const int y = int(frame.midY());
        int best = -1;
        for (int x = int(frame.minX()); x < int(frame.maxX()); ++x) {
            if (image.pixelColor(x, y) == QColor(Qt::white) && best < 0) best = x;
        }
        return best;
    };
    const int off = knobX();
    host.tap(host.find("t"));
    host.stepFrames(10);
    const int during = knobX();
    host.stepFrames(60);
    const int onX = knobX();
    EXPECT_LT(off, during);
    EXPECT_LT(during, onX);
}

struct Interval {
    std::shared_ptr<double> seconds;
    PickerStyle style;
    View view() const {
        return Stateful<double>{seconds, [style = style](Binding<double> b) {
                                    return Picker("Frequency:", b,
                                                  Group({View(Text("Hourly")).tag(3600.0),
                                                         View(Text("Daily")).tag(86400.0),
                                                         View(Text("Weekly")).tag(604800.0)}))
                                        .pickerStyle(style)
                                        .id("p");
                                }};
    }
};

TEST(PickerTest, MenuStyleChoosesATagThroughThePopUpAndShowsNoneForAnUnknownValue) {
    auto seconds = std::make_shared<double>(43200);
    TestHost host(Interval{seconds, MenuPickerStyle{}}.view(), {300, 60});
    ASSERT_TRUE(host.findByText("Frequency:"));
    const QImage before = host.render();

    host.tap(host.findByText("Daily")); // laid out though hidden: the button is as wide as the widest
    ASSERT_TRUE(host.popups().menu());
    const auto& items = host.popups().menu()->items;
    ASSERT_EQ(host.popups().menu()->titles(), (std::vector<std::string>{"Hourly", "Daily", "Weekly"}));
    for (const auto& item : items)
        EXPECT_FALSE(item.isChecked);
    EXPECT_TRUE(host.chooseMenuItem("Weekly"));
    EXPECT_EQ(*seconds, 604800);
    EXPECT_FALSE(host.popups().menu()) << "the menu closes";
    EXPECT_NE(host.render(), before) << "the chosen option shows";

    host.tap(host.findByText("Daily"));
    ASSERT_TRUE(host.popups().menu());
    EXPECT_TRUE(host.popups().menu()->find("Weekly")->isChecked);
}

TEST(PickerTest, SegmentedInlineAndRadioRowsChooseTheirTag) {
    for (PickerStyle style : {PickerStyle(SegmentedPickerStyle{}), PickerStyle(InlinePickerStyle{}),
                              PickerStyle(RadioGroupPickerStyle{})}) {
        auto seconds = std::make_shared<double>(1);
        TestHost host(Interval{seconds, style}.view(), {400, 120});
        host.tap(host.findByText("Daily"));
        EXPECT_EQ(*seconds, 86400);
        host.tap(host.findByText("Hourly"));
        EXPECT_EQ(*seconds, 3600);
    }
}

TEST(PickerTest, TagsOfAnotherTypeCannotBeChosen) {
    auto value = std::make_shared<int>(1);
    TestHost host(Picker("N", bound(value),
                         Group({View(Text("one")).tag(1), View(Text("two")).tag(2L), View(Text("three")).tag(3)}))
                      .pickerStyle(InlinePickerStyle{}),
                  {300, 120});
    host.tap(host.findByText("two")); // a long, not an int
    EXPECT_EQ(*value, 1);
    host.tap(host.findByText("three"));
    EXPECT_EQ(*value, 3);
}

TEST(ContextMenuTest, SecondaryClickShowsTheItemsAndRunsTheChosenOne) {
    auto deleted = std::make_shared<int>(0);
    auto rowView = [&](bool withDelete) {
        View items = withDelete ? View(Button("Delete", ButtonRole::destructive, [deleted] { ++*deleted; }))
                                : View();
        return View(Text("Goal")).padding(20).contextMenu(items).id("row");
    };
    TestHost host(rowView(true), {200, 100});
    EXPECT_FALSE(host.tap(host.find("row"))); // a primary click is not a context click
    EXPECT_FALSE(host.popups().menu());

    const auto frame = TestHost::frame(host.find("row"));
    EXPECT_TRUE(host.secondaryClick({frame.midX(), frame.midY()}));
    ASSERT_TRUE(host.popups().menu());
    ASSERT_EQ(host.popups().menu()->titles(), std::vector<std::string>{"Delete"});
    EXPECT_EQ(host.popups().menu()->items[0].role, ButtonRole::destructive);
    EXPECT_EQ(host.popups().menuAnchor().origin.x, frame.midX());
    EXPECT_EQ(host.popups().menu()->colorScheme, ColorScheme::light);
    EXPECT_TRUE(host.chooseMenuItem("Delete"));
    EXPECT_EQ(*deleted, 1);

    // A dark view's menu is dark too.
    host.setRoot(rowView(true).environment<ColorSchemeKey>(ColorScheme::dark));
    host.secondaryClick({frame.midX(), frame.midY()});
    ASSERT_TRUE(host.popups().menu());
    EXPECT_EQ(host.popups().menu()->colorScheme, ColorScheme::dark);
    host.chooseMenuItem("Delete");

    host.setRoot(rowView(false)); // no entries: no menu at all
    const int shown = host.popups().menusPresented();
    host.secondaryClick({frame.midX(), frame.midY()});
    EXPECT_EQ(host.popups().menusPresented(), shown);
}

TEST(MenuTest, ItsItemsBecomeEntriesWithTheirStateShortcutsAndSubmenus) {
    auto log = std::make_shared<std::vector<std::string>>();
    auto flag = std::make_shared<bool>(true);
    auto choice = std::make_shared<std::string>("b");
    auto run = [log](std::string name) { return [log, name] { log->push_back(name); }; };
    View content = Group({
        Button("New Goal", run("new")).keyboardShortcut(KeyEquivalent('n')),
        Button("Burn", run("burn")).disabled(true),
        Divider(),
        Toggle("Show Done", bound(flag)),
        Picker("Sort", bound(choice), ForEach(
                                        std::vector<std::string>{"a", "b"}, [](const std::string& s) { return s; },
                                        [](const std::string& s) { return View(Text(std::string(s))).tag(s); })),
        Menu("More", Button("Archive", run("archive"))),
    });
    TestHost host(Menu("Actions", content).id("menu"), {200, 60});
    host.tap(host.find("menu"));
    const auto& menu = host.popups().menu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->titles(), (std::vector<std::string>{"New Goal", "Burn", "-", "Show Done", "Sort", "More"}));
    EXPECT_EQ(menu->items[0].shortcut, (KeyboardShortcut{KeyEquivalent('n')}));
    EXPECT_FALSE(menu->items[1].isEnabled);
    EXPECT_TRUE(menu->items[3].isChecked);
    ASSERT_EQ(menu->items[4].children.size(), 2u);
    EXPECT_TRUE(menu->items[4].children[1].isChecked);

    EXPECT_FALSE(host.chooseMenuItem("Burn"));
    host.tap(host.find("menu"));
    EXPECT_TRUE(host.chooseMenuItem("Archive"));
    host.tap(host.find("menu"));
    EXPECT_TRUE(host.chooseMenuItem("Show Done"));
    host.tap(host.find("menu"));
    EXPECT_TRUE(host.chooseMenuItem("a"));
    EXPECT_EQ(*log, std::vector<std::string>{"archive"});
    EXPECT_FALSE(*flag);
    EXPECT_EQ(*choice, "a");
}

TEST(LinkTest, ClickCallsTheEnvironmentsOpenURLAndFallsBackToTheSystemOpener) {
    const auto url = *foundation::URL::fromString("https://example.org/help");
    auto opened = std::make_shared<std::vector<std::string>>();
    auto system = std::make_shared<std::vector<std::string>>();
    auto previous = OpenURLAction::setSystemOpener([system](const foundation::URL& u) {
        system->push_back(u.absoluteString());
        return true;
    });

    TestHost custom(Link("Help", url).environment<OpenURLKey>(OpenURLAction([opened](const foundation::URL& u) {
        opened->push_back(u.absoluteString());
        return OpenURLAction::Result::handled;
    })),
                    {200, 60});
    custom.tap(custom.findByText("Help"));
    EXPECT_EQ(*opened, std::vector<std::string>{"https://example.org/help"});
    EXPECT_TRUE(system->empty());

    TestHost plain(Link("Help", url), {200, 60});
    plain.tap(plain.findByText("Help"));
    EXPECT_EQ(*system, std::vector<std::string>{"https://example.org/help"});
    OpenURLAction::setSystemOpener(previous);
}

TEST(ColorPickerTest, PanelPicksAreWrittenAndOpaqueWithoutOpacitySupport) {
    auto color = std::make_shared<Color>(Color::red);
    auto resolve = [](const Color& c) { return c.resolve(styleContext(EnvironmentValues())); };
    for (bool opacity : {true, false}) {
        TestHost host(ColorPicker("Tint", bound(color), opacity).id("c"), {200, 60});
        ASSERT_TRUE(host.findByText("Tint"));
        host.tap({TestHost::frame(host.find("c")).maxX() - 10, TestHost::frame(host.find("c")).midY()});
        ASSERT_TRUE(host.popups().colorPanel());
        EXPECT_EQ(host.popups().colorPanel()->supportsOpacity, opacity);
        EXPECT_EQ(resolve(host.popups().colorPanel()->initial), resolve(*color));
        host.popups().pickColor(Color(0, 0, 1, 0.5));
        EXPECT_FLOAT_EQ(resolve(*color).opacity, opacity ? 0.5f : 1.0f);
        EXPECT_FLOAT_EQ(resolve(*color).blue(), 1.0f);
    }
}

} // namespace
