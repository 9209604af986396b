#include "TestBox.h"

#include "ViewKit/ListCard.h"
#include "ViewKit/ListCardButtonStyle.h"
#include "ViewKit/ListCardStyle.h"

#include "ui/Button.h"
#include "ui/PopupPresenter.h"
#include "ui/Rectangle.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

using ViewKit::ListCard;

// A 60 × 40 card of clear content, centred in a 100 × 100 window.
ui::View card(std::optional<ViewKit::ListCardStyle> style = std::nullopt) {
    ui::View view = ListCard([] { return ui::View(ui::Color::clear).frame(60, 40); });
    if (style) view = view | ViewKit::listCardStyle(*style);
    return view;
}

QImage rendered(const ui::View& view, QColor background = Qt::gray) {
    ui::TestHost host(view, {100, 100});
    return host.render(1, background);
}

} // namespace

TEST(ListCardTest, TheStandardCardIsRoundedAndCastsASoftShadowBelowItsClip) {
    const ViewKit::ListCardStyle standard;
    EXPECT_EQ(standard.cornerRadius, 8);
    EXPECT_EQ(standard.shadowStyle, ViewKit::ViewShadowStyle::listCard());

    const QImage image = rendered(card());
    // The card spans 20…80 × 30…70: light (the inverted primary) inside, the background at its
    // rounded corner, and a darker band of shadow just below its bottom edge.
    EXPECT_GT(QColor(image.pixel(50, 50)).lightness(), 225) << "a light card";
    EXPECT_LT(QColor(image.pixel(20, 30)).lightness(), 250) << "the corner is cut";
    EXPECT_LT(QColor(image.pixel(50, 71)).lightness(), QColor(image.pixel(5, 5)).lightness()) << "shadow below";

    const QImage square = rendered(card(ViewKit::ListCardStyle{0, ViewKit::ViewShadowStyle::none()}));
    EXPECT_EQ(QColor(square.pixel(20, 30)), QColor(square.pixel(50, 50))) << "a square corner";
    EXPECT_EQ(QColor(square.pixel(50, 71)), QColor(square.pixel(5, 5))) << "no shadow";
}

TEST(ListCardTest, OnlyACardWithMenuItemsOpensAMenu) {
    ui::TestHost plain(card(), {100, 100});
    plain.secondaryClick({50, 50});
    EXPECT_EQ(plain.popups().menusPresented(), 0);

    ui::TestHost menu(ListCard([] { return ui::View(ui::Color::clear).frame(60, 40); },
                               [] { return ui::View(ui::Button("Rename", [] {})); }),
                      {100, 100});
    menu.secondaryClick({50, 50});
    EXPECT_EQ(menu.popups().menusPresented(), 1);
}

TEST(ListCardButtonStyleTest, ThePressedLabelShrinksAtOnceOrAnimated) {
    const auto widthWhilePressed = [](ViewKit::ListCardButtonStyle style, double seconds) {
        ui::TestHost host(ui::View(ui::Button([] {}, uitest::box(100, 50, "label"))).buttonStyle(style), {200, 200});
        host.pointerDown({100, 100});
        host.stepFrame(seconds);
        const double width = ui::TestHost::frame(host.findByText("label")).width();
        host.pointerUp({100, 100});
        return width;
    };
    EXPECT_DOUBLE_EQ(widthWhilePressed(ViewKit::ListCardButtonStyle(), 0), 98);
    const double midway = widthWhilePressed(ViewKit::ListCardButtonStyle(ui::Animation::linear(1)), 0.5);
    EXPECT_GT(midway, 98);
    EXPECT_LT(midway, 100);
    EXPECT_DOUBLE_EQ(widthWhilePressed(ViewKit::ListCardButtonStyle(std::nullopt, 1.0), 0), 100) << "no feedback";
}
