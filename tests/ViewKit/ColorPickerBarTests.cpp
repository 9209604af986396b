#include "SchemeRendering.h"
#include "StatefulBinding.h"

#include "ViewKit/ColorPickerBar.h"
#include "ViewKit/OptionalBinding.h"

#include "ui/Circle.h"
#include "ui/Frame.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

using ui::Color;
using ViewKit::ColorPickerBar;

namespace {

using Value = std::optional<Color>;

ui::Binding<Value> bound(const std::shared_ptr<Value>& value) {
    return ui::Binding<Value>([value] { return *value; }, [value](Value v) { *value = std::move(v); });
}

// A bar over `colors` whose value the caller keeps in its state, mirrored into `value`.
ui::View bar(const std::shared_ptr<Value>& value, std::vector<Color> colors,
             ColorPickerBar::Config config = ColorPickerBar::Config::standard()) {
    return ui::View(viewkit_testing::Stateful<Value>{
               value,
               [colors](ui::Binding<Value> binding) { return ui::View(ColorPickerBar(binding, colors)); }}) |
           ViewKit::colorPickerBarConfig(config);
}

// The bar's buttons left to right: the swatches, then the reset button.
std::vector<ui::Element*> buttons(ui::TestHost& host) {
    auto all = host.findAll([](const ui::Element& e) { return e.node().typeName() == "Button"; });
    std::sort(all.begin(), all.end(),
              [](auto* a, auto* b) { return ui::TestHost::frame(a).minX() < ui::TestHost::frame(b).minX(); });
    return all;
}

bool hasType(ui::TestHost& host, std::string_view name) {
    return !host.findAll([name](const ui::Element& e) { return e.node().typeName() == name; }).empty();
}

} // namespace

TEST(ColorPickerBarTest, SwatchFramesSpacingAndHeight) {
    auto value = std::make_shared<Value>(Color::green);
    ui::TestHost host(bar(value, {Color::red, Color::green, Color::blue}).frame(400, 60), {400, 60});
    host.update();
    const auto swatches = buttons(host);
    ASSERT_EQ(swatches.size(), 3u);
    std::vector<graphics::CGRect> frames;
    for (auto* s : swatches)
        frames.push_back(ui::TestHost::frame(s));
    EXPECT_DOUBLE_EQ(frames[0].width(), 20);
    EXPECT_DOUBLE_EQ(frames[0].height(), 30) << "20 with 5 above and below";
    EXPECT_DOUBLE_EQ(frames[1].width(), 30);
    EXPECT_DOUBLE_EQ(frames[1].height(), 30) << "the selected one has no padding";
    EXPECT_DOUBLE_EQ(frames[1].minX() - frames[0].maxX(), 10);
    EXPECT_DOUBLE_EQ(frames[2].minX() - frames[1].maxX(), 10);
    const auto strip = ui::TestHost::frame(host.findByTypeName("ScrollView"));
    EXPECT_DOUBLE_EQ(frames[0].minX() - strip.minX(), 10);
    const auto whole = ui::TestHost::frame(host.findType<ColorPickerBar>());
    EXPECT_LE(whole.height(), 30);
    EXPECT_TRUE(hasType(host, "Divider"));

    // No colours: the picker alone.
    ui::TestHost alone(bar(value, {}).frame(400, 60), {400, 60});
    alone.update();
    EXPECT_TRUE(buttons(alone).empty());
    EXPECT_FALSE(hasType(alone, "Divider"));
    EXPECT_FALSE(hasType(alone, "ScrollView"));
}

TEST(ColorPickerBarTest, NoValueSelectsNoSwatchAndThePickerShowsClear) {
    auto value = std::make_shared<Value>();
    ui::TestHost host(bar(value, {Color::red, Color::green}).frame(400, 60), {400, 60});
    host.update();
    for (auto* s : buttons(host))
        EXPECT_DOUBLE_EQ(ui::TestHost::frame(s).width(), 20);
    host.tap({20, 30}); // the colour well at the leading edge
    ASSERT_TRUE(host.popups().colorPanel());
    EXPECT_EQ(host.popups().colorPanel()->initial, Color::clear);
    EXPECT_TRUE(host.popups().colorPanel()->supportsOpacity);
    host.popups().pickColor(Color(0, 0, 1));
    host.update();
    ASSERT_TRUE(value->has_value());

    ASSERT_TRUE(host.tap(buttons(host)[0]));
    EXPECT_EQ(*value, Value(Color::red));
    ASSERT_TRUE(host.tap(buttons(host)[0])); // the current swatch: written again, not cleared
    EXPECT_EQ(*value, Value(Color::red));
}

TEST(ColorPickerBarTest, TheResetButtonShowsWhileTheValueDiffersFromItsValue) {
    const std::vector<Color> colors{Color::red, Color::green};
    auto value = std::make_shared<Value>();
    {
        ui::TestHost host(bar(value, colors, {true, true, std::nullopt}).frame(400, 60), {400, 60});
        host.update();
        EXPECT_EQ(buttons(host).size(), 2u) << "nothing chosen: no reset button";
        host.tap(buttons(host)[1]);
        ASSERT_EQ(buttons(host).size(), 3u);
        host.tap(buttons(host)[2]);
        EXPECT_EQ(*value, std::nullopt);
        EXPECT_EQ(buttons(host).size(), 2u);
    }
    {
        ui::TestHost host(bar(value, colors, {true, true, Color::red}).frame(400, 60), {400, 60});
        host.update();
        EXPECT_EQ(buttons(host).size(), 3u) << "none differs from red";
        host.tap(buttons(host)[0]);
        EXPECT_EQ(buttons(host).size(), 2u) << "red chosen";
        host.tap(buttons(host)[1]);
        ASSERT_EQ(buttons(host).size(), 3u);
        host.tap(buttons(host)[2]);
        EXPECT_EQ(*value, Value(Color::red));
    }
    // Over a colour that is always there, a reset to nothing stores clear and hides the button.
    auto plain = std::make_shared<Color>(Color::green);
    ui::TestHost host(
        ui::View(viewkit_testing::Stateful<Color>{
            plain,
            [colors](ui::Binding<Color> binding) { return ui::View(ColorPickerBar(binding, colors)); }}) |
            ViewKit::colorPickerBarConfig({true, true, std::nullopt}),
        {400, 60});
    host.update();
    ASSERT_EQ(buttons(host).size(), 3u);
    host.tap(buttons(host)[2]);
    EXPECT_EQ(*plain, Color::clear);
    EXPECT_EQ(buttons(host).size(), 2u);
}

TEST(ColorPickerBarTest, RingsTheClearSwatchAndTheStandardColours) {
    EXPECT_EQ(ColorPickerBar::standardColors().size(), 15u);
    EXPECT_EQ(ColorPickerBar::standardColors(false), ColorPickerBar::standardColors());
    const auto withClear = ColorPickerBar::standardColors(true);
    ASSERT_EQ(withClear.size(), 16u);
    EXPECT_EQ(withClear[0], Color::clear);
    EXPECT_EQ(withClear[1], Color::black);

    // The black swatch shows a white ring in dark only (drawn on a dark ground in both).
    auto value = std::make_shared<Value>();
    auto lightPixels = [&](ui::ColorScheme scheme) {
        ui::TestHost host(ui::View(ColorPickerBar(bound(value), {Color::black})).frame(200, 40), {200, 40},
                          viewkit_testing::inScheme(scheme));
        host.update();
        const auto frame = ui::TestHost::frame(buttons(host)[0]);
        const QImage image = host.render(1, QColor::fromRgb(viewkit_testing::darkWindow));
        int light = 0;
        for (int y = int(frame.minY()); y < int(frame.maxY()); ++y)
            for (int x = int(frame.minX()); x < int(frame.maxX()); ++x)
                light += QColor(image.pixel(x, y)).lightness() > 128;
        return light;
    };
    EXPECT_GT(lightPixels(ui::ColorScheme::dark), 20);
    EXPECT_EQ(lightPixels(ui::ColorScheme::light), 0);

    // The clear swatch is the dotted circle, not a filled disc.
    ui::TestHost clear(bar(value, {Color::clear}).frame(400, 60), {400, 60});
    clear.update();
    EXPECT_NE(clear.findAll([](const ui::Element& e) { return e.node().typeName() == "Image"; }).size(), 0u);
}

TEST(ColorPickerBarTest, OptionalBindingReadsTheDefaultAndWritesPresentValues) {
    auto value = std::make_shared<std::optional<int>>();
    ui::Binding<std::optional<int>> optional([value] { return *value; },
                                             [value](std::optional<int> v) { *value = v; });
    auto plain = ViewKit::optionalBinding(optional, 7);
    EXPECT_EQ(plain.get(), 7);
    plain.set(3);
    EXPECT_EQ(*value, std::optional<int>(3));
    EXPECT_EQ(plain.get(), 3);
}

TEST(ColorPickerBarTest, ASwatchGrowsHalfWayAtTheMiddleOfTheAnimation) {
    struct Screen {
        std::shared_ptr<ui::Binding<Value>> kept;
        ui::View body(ui::ViewContext& ctx) const {
            auto value = ctx.state<Value>("value", std::nullopt);
            *kept = value.binding();
            return ui::View(ColorPickerBar(value.binding(), {Color::red, Color::green})).frame(400, 60);
        }
    };
    auto kept = std::make_shared<ui::Binding<Value>>(ui::Binding<Value>::constant(std::nullopt));
    ui::TestHost host(ui::View(Screen{kept}), {400, 60});
    host.update();
    // The red disc as painted: as wide as the red run across its middle.
    auto redWidth = [&] {
        const auto frame = ui::TestHost::frame(buttons(host)[0]);
        const QImage image = host.render();
        int red = 0;
        for (int x = int(frame.minX()) - 10; x < int(frame.maxX()) + 10; ++x) {
            const QColor c = image.pixel(x, int(frame.midY()));
            red += c.red() > 180 && c.green() < 120;
        }
        return red;
    };
    EXPECT_NEAR(redWidth(), 20, 1);
    host.tap(buttons(host)[0]);
    host.stepFrame(ui::Animation::defaultDuration / 2);
    EXPECT_NEAR(redWidth(), 25, 1.5);
    host.stepFrame(ui::Animation::defaultDuration);
    EXPECT_NEAR(redWidth(), 30, 1);
}

TEST(ColorPickerBarTest, DrawsBarsInBothSchemes) {
    auto none = std::make_shared<Value>();
    auto red = std::make_shared<Value>(Color::red);
    auto clear = std::make_shared<Value>(Color::clear);
    const ColorPickerBar::Config withReset{true, true, std::nullopt};
    viewkit_testing::renderBothSchemes(
        ui::VStack(ui::HorizontalAlignment::leading, 8,
                   {ui::View(ColorPickerBar(bound(none), ColorPickerBar::standardColors(true))),
                    ui::View(ColorPickerBar(bound(red), ColorPickerBar::standardColors())) |
                        ViewKit::colorPickerBarConfig(withReset),
                    ui::View(ColorPickerBar(bound(clear), ColorPickerBar::standardColors(true))) |
                        ViewKit::colorPickerBarConfig(withReset)})
            .padding(8)
            .frame(460, 130, ui::Alignment::topLeading),
        {460, 130}, "viewkit-color-picker-bar");
}
