#include "SchemeRendering.h"

#include "ViewKit/CircularProgressBar.h"
#include "ViewKit/LinearProgressBar.h"

#include "ui/AccessibilityTree.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

using ViewKit::CircularProgressBar;
using ViewKit::LinearProgressBar;

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// A red arc with nothing else drawn, so pixels on the ring tell where the arc lies.
ViewKit::CircularProgressBarStyle bareArc(double startAngle = 0) {
    ViewKit::CircularProgressBarStyle style;
    style.backgroundColor = ui::Color::clear;
    style.strokeColor = ui::Color::clear;
    style.progressColor = ui::Color(1, 0, 0);
    style.showTitle = false;
    style.startAngle = startAngle;
    return style;
}

ui::View circular(double progress, const ViewKit::CircularProgressBarStyle& style) {
    return ui::View(CircularProgressBar(progress)) | ViewKit::circularProgressBarStyle(style);
}

// Whether the 100 × 100 bar is red `degrees` clockwise from twelve o'clock, on its ring.
bool redAt(const QImage& image, double degrees) {
    const double radians = degrees * std::numbers::pi / 180;
    const QColor pixel = image.pixelColor(int(50 + 48 * std::sin(radians)), int(50 - 48 * std::cos(radians)));
    return pixel.red() > 200 && pixel.green() < 80;
}

QImage rendered(const ui::View& view, graphics::CGSize size = {100, 100}, QColor background = Qt::white) {
    ui::TestHost host(view, size);
    return host.render(1, background);
}

} // namespace

TEST(CircularProgressBarTest, TheTitleIsThePercentageWithinZeroAndAHundred) {
    EXPECT_EQ(CircularProgressBar::title(0, 0), "0%");
    EXPECT_EQ(CircularProgressBar::title(0.5, 0), "50%");
    EXPECT_EQ(CircularProgressBar::title(1.7, 0), "100%");
    EXPECT_EQ(CircularProgressBar::title(-0.2, 0), "0%");
    EXPECT_EQ(CircularProgressBar::title(notANumber, 0), "0%") << "not nan%";
    EXPECT_EQ(CircularProgressBar::title(0.1234, 1), "12.3%");
    EXPECT_EQ(CircularProgressBar::title(0.1234, -1), "12%") << "negative decimals count as 0";

    ui::TestHost standard(CircularProgressBar(0.5), {100, 100});
    EXPECT_NE(standard.findByText("50%"), nullptr);
    ui::TestHost untitled(circular(0.5, bareArc()), {100, 100});
    EXPECT_EQ(untitled.findByText("50%"), nullptr);
}

TEST(CircularProgressBarTest, TheArcRunsClockwiseFromItsStartAngle) {
    const QImage top = rendered(circular(0.25, bareArc(0)));
    EXPECT_TRUE(redAt(top, 10));
    EXPECT_TRUE(redAt(top, 80));
    EXPECT_FALSE(redAt(top, 120));
    EXPECT_FALSE(redAt(top, -20)) << "nothing before twelve o'clock";

    const QImage right = rendered(circular(0.25, bareArc(90)));
    EXPECT_TRUE(redAt(right, 100));
    EXPECT_TRUE(redAt(right, 170));
    EXPECT_FALSE(redAt(right, 45));

    EXPECT_FALSE(redAt(rendered(circular(notANumber, bareArc())), 10)) << "no arc for NaN";
    EXPECT_FALSE(redAt(rendered(circular(0, bareArc())), 10));
    EXPECT_TRUE(redAt(rendered(circular(1.7, bareArc())), 300)) << "a full ring above 1";
}

TEST(CircularProgressBarTest, TheModifiersReplaceWhatTheyAreGiven) {
    ViewKit::CircularProgressBarStyle style = bareArc();
    style.showTitle = true;
    style.progressModifier = [](ui::AnyView) { return ui::AnyView(ui::Text("instead of the arc")); };
    style.titleModifier = [](ui::AnyView title) { return ui::AnyView(title.opacity(0.5).id(std::string("title"))); };
    ui::TestHost host(circular(0.5, style), {100, 100});
    EXPECT_NE(host.findByText("instead of the arc"), nullptr);
    EXPECT_NE(host.find("title"), nullptr);
    EXPECT_FALSE(redAt(host.render(), 45));
}

TEST(CircularProgressBarTest, AProgressChangeAnimatesTheArcWithTheSpring) {
    ui::TestHost host(circular(0, bareArc()), {100, 100});
    host.update();
    host.setRoot(circular(1, bareArc()));
    host.stepFrame(0.1);
    const QImage midway = host.render();
    EXPECT_TRUE(redAt(midway, 10)) << "the arc has started to grow";
    EXPECT_FALSE(redAt(midway, 330)) << "but is not yet full";
    host.stepFrames(120);
    EXPECT_TRUE(redAt(host.render(), 330));
}

TEST(CircularProgressBarTest, RendersInBothSchemes) {
    std::vector<ui::View> bars;
    for (const double progress : {0.0, 0.33, 1.0})
        bars.push_back(ui::View(CircularProgressBar(progress)).frame(80, 80));
    ViewKit::CircularProgressBarStyle custom;
    custom.backgroundColor = ui::Color::accentColor.opacity(0.2);
    custom.progressColor = ui::Color::accentColor;
    custom.strokeColor = ui::Color::accentColor.opacity(0.4);
    custom.titleColor = ui::Color::primary;
    custom.decimals = 1;
    custom.startAngle = 90;
    for (const double progress : {0.0, 0.33, 1.0})
        bars.push_back((ui::View(CircularProgressBar(progress)) | ViewKit::circularProgressBarStyle(custom)).frame(80, 80));
    viewkit_testing::renderBothSchemes(ui::VStack(ui::HorizontalAlignment::center, 10,
                                                  {ui::HStack(ui::VerticalAlignment::center, 10, {bars[0], bars[1], bars[2]}),
                                                   ui::HStack(ui::VerticalAlignment::center, 10, {bars[3], bars[4], bars[5]})}),
                                       {300, 190}, "viewkit-circular-progress");
}

TEST(LinearProgressBarTest, TheBarFillsTheRoomInsideThePadding) {
    // At 200 wide: the standard style has no padding, padded an inset of 2, large of 3.
    const std::vector<std::pair<double, std::array<double, 3>>> expected = {
        {0, {0, 0, 0}},     {0.5, {100, 98, 97}}, {1, {200, 196, 194}},
        {1.5, {300, 294, 291}}, {-1, {0, 0, 0}},  {notANumber, {0, 0, 0}},
    };
    const std::array<double, 3> paddings = {LinearProgressBar::Style().barPadding,
                                            LinearProgressBar::Style::padded().barPadding,
                                            LinearProgressBar::Style::large().barPadding};
    EXPECT_EQ(paddings, (std::array<double, 3>{0, 2, 3}));
    EXPECT_EQ(LinearProgressBar::Style::padded().height, 10);
    EXPECT_EQ(LinearProgressBar::Style::large().height, 16);
    for (const auto& [progress, widths] : expected)
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_DOUBLE_EQ(LinearProgressBar::barWidth(200, progress, paddings[i]), widths[i]) << progress << " " << i;
    EXPECT_EQ(LinearProgressBar::barWidth(4, 1, 3), 0) << "padding wider than the control";

    // As drawn: a full large bar reaches its inset on the right, and stays inside it vertically.
    ViewKit::LinearProgressBarStyle large = LinearProgressBar::Style::large();
    large.barColor = ui::Color(1, 0, 0);
    large.barShadow = ViewKit::ViewShadowStyle::none();
    ui::TestHost host(ui::View(LinearProgressBar(1)) | ViewKit::linearProgressBarStyle(large), {200, 16});
    const QImage image = host.render();
    EXPECT_EQ(ui::TestHost::frame(host.findType<LinearProgressBar>()).height(), 16);
    EXPECT_EQ(image.pixelColor(190, 8).red(), 255);
    EXPECT_EQ(image.pixelColor(190, 8).green(), 0) << "the bar's end shows";
    EXPECT_GT(image.pixelColor(198, 8).green(), 200) << "the inset beyond it";
    EXPECT_GT(image.pixelColor(100, 1).green(), 200) << "the inset above it";
}

TEST(LinearProgressBarTest, TheBarCastsItsShadowToTheRightAndTheMaterialTakesItsOpacity) {
    ViewKit::LinearProgressBarStyle style;
    style.barColor = ui::Color(1, 0, 0);
    const QImage image = rendered(ui::View(LinearProgressBar(0.5)) | ViewKit::linearProgressBarStyle(style), {200, 10});
    EXPECT_LT(QColor(image.pixel(101, 5)).lightness(), QColor(image.pixel(150, 5)).lightness()) << "shadow at the right";

    const auto trackLightness = [](double opacity) {
        ViewKit::LinearProgressBarStyle style;
        style.backgroundMaterialOpacity = opacity;
        return QColor(rendered(ui::View(LinearProgressBar(0)) | ViewKit::linearProgressBarStyle(style), {200, 10},
                               Qt::black)
                          .pixel(100, 5))
            .lightness();
    };
    EXPECT_LT(trackLightness(0.5), trackLightness(1));
}

TEST(LinearProgressBarTest, IsOneAccessibilityElementWithoutChildren) {
    ui::TestHost host(LinearProgressBar(0.5), {200, 10});
    host.update();
    const ui::AccessibilityObject root = ui::accessibilityTree(host.graph());
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_TRUE(root.children[0].children.empty());
    EXPECT_EQ(root.children[0].value, "");
}

TEST(LinearProgressBarTest, RendersInBothSchemes) {
    std::vector<ui::View> rows;
    for (const auto& style : {LinearProgressBar::Style(), LinearProgressBar::Style::padded(), LinearProgressBar::Style::large()})
        for (const double progress : {0.0, 0.5, 1.0})
            rows.push_back(ui::View(LinearProgressBar(progress)) | ViewKit::linearProgressBarStyle(style));
    viewkit_testing::renderBothSchemes(ui::VStack(ui::HorizontalAlignment::center, 8, rows).padding(10), {220, 200},
                                       "viewkit-linear-progress");
}
