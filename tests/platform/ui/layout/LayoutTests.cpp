#include "TestBox.h"

#include "ui/EnvironmentKeys.h"
#include "ui/GeometryReader.h"
#include "ui/Spacer.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace uitest;
using graphics::CGRect;

namespace {

struct Case {
    const char* name;
    ui::View view;
    std::vector<std::pair<std::string, CGRect>> frames;
    graphics::CGSize size = {200, 100};
};

CGRect rect(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
    return {{x, y}, {w, h}};
}

TEST(LayoutTest, FramesOfStacksFramesPaddingSpacersAndFixedSizes) {
    using ui::FlexibleFrame;
    const std::vector<Case> cases{
        {"hstack spacing",
         ui::HStack({box(20, 10, "a"), box(30, 10, "b")}),
         {{"a", rect(71, 45, 20, 10)}, {"b", rect(99, 45, 30, 10)}}},
        {"spacer takes the rest",
         ui::HStack(ui::VerticalAlignment::center, 0, {box(20, 10, "a"), ui::Spacer(), box(30, 10, "b")}),
         {{"a", rect(0, 45, 20, 10)}, {"b", rect(170, 45, 30, 10)}}},
        {"spacer min length",
         ui::HStack(ui::VerticalAlignment::center, 0, {box(190, 10, "a"), ui::Spacer(20), box(10, 10, "b")}),
         {{"a", rect(-10, 45, 190, 10)}, {"b", rect(200, 45, 10, 10)}}},
        {"vstack leading",
         ui::VStack(ui::HorizontalAlignment::leading, 4, {box(20, 10, "a"), box(40, 10, "b")}),
         {{"a", rect(80, 38, 20, 10)}, {"b", rect(80, 52, 40, 10)}}},
        {"hstack top",
         ui::HStack(ui::VerticalAlignment::top, 0, {box(20, 10, "a"), box(20, 30, "b")}),
         {{"a", rect(80, 35, 20, 10)}, {"b", rect(100, 35, 20, 30)}}},
        {"flexible children share",
         ui::HStack(ui::VerticalAlignment::center, 0, {flexible("a"), flexible("b")}),
         {{"a", rect(0, 0, 100, 100)}, {"b", rect(100, 0, 100, 100)}}},
        {"least flexible first",
         ui::HStack(ui::VerticalAlignment::center, 0,
                    {flexible("a"), flexible("b").frame(FlexibleFrame{.maxWidth = 40})}),
         {{"a", rect(0, 0, 160, 100)}, {"b", rect(160, 0, 40, 100)}}},
        {"priority first",
         ui::HStack(ui::VerticalAlignment::center, 0,
                    {flexible("a"), flexible("b").frame(FlexibleFrame{.minWidth = 30}).layoutPriority(1)}),
         {{"a", rect(0, 0, 0, 100)}, {"b", rect(0, 0, 200, 100)}}},
        {"rigid children overflow",
         ui::HStack(ui::VerticalAlignment::center, 0, {box(150, 10, "a"), box(150, 10, "b")}),
         {{"a", rect(-50, 45, 150, 10)}, {"b", rect(100, 45, 150, 10)}}},
        {"fixed frame aligns",
         box(20, 10, "a").frame(50, 30, ui::Alignment::topLeading),
         {{"a", rect(75, 35, 20, 10)}}},
        {"fixed width only", flexible("a").frame(50, std::nullopt), {{"a", rect(75, 0, 50, 100)}}},
        {"min and max",
         box(20, 10, "a").frame(FlexibleFrame{.minWidth = 30, .maxWidth = 60}),
         {{"a", rect(90, 45, 20, 10)}}},
        {"max infinity fills",
         box(20, 10, "a").frame(FlexibleFrame{.maxWidth = 1e9, .alignment = ui::Alignment::leading}),
         {{"a", rect(0, 45, 20, 10)}}},
        {"min alone hugs",
         box(20, 10, "a").frame(FlexibleFrame{.minWidth = 40, .alignment = ui::Alignment::trailing}),
         {{"a", rect(100, 45, 20, 10)}}},
        {"ideal under fixedSize",
         flexible("a", Qt::red, {25, 15}).frame(FlexibleFrame{.idealWidth = 80}).fixedSize(),
         {{"a", rect(60, 42.5, 80, 15)}}},
        {"fixedSize one axis",
         flexible("a", Qt::red, {25, 15}).fixedSize(true, false),
         {{"a", rect(87.5, 0, 25, 100)}}},
        {"padding", box(20, 10, "a").padding(5), {{"a", rect(90, 45, 20, 10)}}},
        {"negative padding", box(40, 20, "a").padding(-5), {{"a", rect(80, 40, 40, 20)}}},
        {"leading padding",
         ui::HStack(ui::VerticalAlignment::center, 0,
                    {box(10, 10, "a").padding(ui::EdgeSet::leading, 20), box(10, 10, "b")}),
         {{"a", rect(100, 45, 10, 10)}, {"b", rect(110, 45, 10, 10)}}},
        {"offset keeps the layout",
         ui::HStack(ui::VerticalAlignment::center, 0, {box(10, 10, "a").offset(5, -5), box(10, 10, "b")}),
         {{"a", rect(95, 40, 10, 10)}, {"b", rect(100, 45, 10, 10)}}},
        {"position", box(10, 10, "a").position(20, 30), {{"a", rect(15, 25, 10, 10)}}},
        {"overlay gets the primary's size",
         box(40, 20, "p").overlay(flexible("o"), ui::Alignment::topLeading),
         {{"p", rect(80, 40, 40, 20)}, {"o", rect(80, 40, 40, 20)}}},
        {"background aligned",
         box(40, 20, "p").background(box(10, 10, "b"), ui::Alignment::bottomTrailing),
         {{"b", rect(110, 50, 10, 10)}}},
        {"aspect ratio fit",
         flexible("a").aspectRatio(1.0, ui::ContentMode::fit),
         {{"a", rect(50, 0, 100, 100)}}},
        {"aspect ratio fill",
         flexible("a").aspectRatio(1.0, ui::ContentMode::fill),
         {{"a", rect(0, -50, 200, 200)}}},
        {"alignment guide",
         ui::VStack(ui::HorizontalAlignment::leading, 8,
                    {box(20, 10, "a")
                         .alignmentGuide(ui::HorizontalAlignment::leading,
                                         [](const ui::ViewDimensions&) { return 10.0; }),
                     box(20, 10, "b")}),
         {{"a", rect(85, 36, 20, 10)}, {"b", rect(95, 54, 20, 10)}}},
        {"zstack alignment",
         ui::ZStack(ui::Alignment::bottomTrailing, {box(40, 40, "a"), box(10, 10, "b")}),
         {{"a", rect(80, 30, 40, 40)}, {"b", rect(110, 60, 10, 10)}}},
    };
    for (const auto& c : cases) {
        ui::TestHost host(c.view, c.size);
        for (const auto& [label, expected] : c.frames) {
            auto* element = host.findByText(label);
            ASSERT_NE(element, nullptr) << c.name << ": " << label;
            const auto f = host.frame(element);
            EXPECT_EQ(f, expected) << c.name << ": " << label << " is at (" << f.origin.x << ", "
                                   << f.origin.y << ", " << f.size.width << ", " << f.size.height << ")";
        }
    }
}

TEST(LayoutTest, GeometryReaderTakesWhatIsOfferedAndPlacesItsContentTopLeading) {
    graphics::CGSize seen;
    ui::TestHost host(ui::HStack(ui::VerticalAlignment::center, 0,
                                 {box(50, 10, "a"), ui::GeometryReader([&](const ui::GeometryProxy& proxy) {
                                      seen = proxy.size();
                                      return box(10, 10, "in");
                                  })}),
                      {200, 100});
    EXPECT_EQ(seen, (graphics::CGSize{150, 100}));
    EXPECT_EQ(host.frame(host.findByText("in")), rect(50, 0, 10, 10));
    host.setSize({300, 80});
    EXPECT_EQ(seen, (graphics::CGSize{250, 80}));
}

TEST(LayoutTest, RightToLeftRunsHorizontalStacksAndPaddingFromTheRight) {
    ui::EnvironmentValues rtl;
    rtl.set<ui::LayoutDirectionKey>(ui::LayoutDirection::rightToLeft);
    ui::TestHost host(ui::HStack(ui::VerticalAlignment::center, 0,
                                 {box(10, 10, "a").padding(ui::EdgeSet::leading, 20), box(10, 10, "b")}),
                      {200, 100}, rtl);
    EXPECT_EQ(host.frame(host.findByText("a")), rect(90, 45, 10, 10)) << "padded on its right";
    EXPECT_EQ(host.frame(host.findByText("b")), rect(80, 45, 10, 10));
}

TEST(LayoutTest, ALeafIsMeasuredAgainWhenItChangesAndOnlyThen) {
    struct Growing {
        std::shared_ptr<std::optional<ui::State<double>>> width;
        ui::View body(ui::ViewContext& ctx) const {
            auto w = ctx.state<double>("width", 10);
            *width = w;
            return ui::HStack(ui::VerticalAlignment::center, 0, {box(w.value(), 10, "a"), box(10, 10, "b")});
        }
    };
    auto width = std::make_shared<std::optional<ui::State<double>>>();
    ui::TestHost host(Growing{width}, {100, 10});
    EXPECT_EQ(host.frame(host.findByText("b")).minX(), 50);
    (*width)->set(30);
    host.update();
    EXPECT_EQ(host.frame(host.findByText("a")).width(), 30);
    EXPECT_EQ(host.frame(host.findByText("b")).minX(), 60);
    host.setSize({200, 10});
    EXPECT_EQ(host.frame(host.findByText("b")).minX(), 110);
}

TEST(LayoutTest, AReaderFollowsItsMovedSubtreeWhichStillMovesOnceTheReaderIsGone) {
    struct Moved {
        std::shared_ptr<std::optional<ui::State<bool>>> withReader;
        bool operator==(const Moved&) const { return true; }
        ui::View body(ui::ViewContext& ctx) const {
            auto r = ctx.state<bool>("reader", true);
            *withReader = r;
            std::vector<ui::View> inner{box(10, 10, "fixed")};
            if (r.value()) {
                inner.push_back(ui::GeometryReader([](const ui::GeometryProxy& proxy) {
                                    return box(5, 5, "at " + std::to_string(int(proxy.globalFrame().minX())));
                                }).frame(20, 10));
            }
            return ui::VStack(ui::HorizontalAlignment::leading, 0, std::move(inner));
        }
    };
    auto withReader = std::make_shared<std::optional<ui::State<bool>>>();
    ui::TestHost host(ui::ScrollView(ui::AxisSet::horizontal, false,
                                     ui::HStack(ui::VerticalAlignment::top, 0,
                                                {box(200, 10, "lead"), ui::View(Moved{withReader})})),
                      {100, 40});
    auto scrollTo = [&](CGFloat x) {
        ui::ScrollView::setContentOffset(*host.findByTypeName("ScrollView"), {x, 0});
        host.update();
    };
    EXPECT_NE(host.findByText("at 200"), nullptr);
    scrollTo(20);
    EXPECT_NE(host.findByText("at 180"), nullptr) << "a reader that stays is told where it went";

    (*withReader)->set(false);
    scrollTo(30);
    EXPECT_EQ(host.frame(host.findByText("fixed")).minX(), 170) << "without its reader, still moved along";
    EXPECT_EQ(host.findByText("at 180"), nullptr);
}

} // namespace
