#include "ui/Accessibility.h"
#include "ui/Circle.h"
#include "ui/HitTestTraits.h"
#include "ui/Rectangle.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

namespace {

struct ReadsWritingTools {
    std::shared_ptr<ui::WritingToolsBehavior>* seen;
    ui::View body(ui::ViewContext& ctx) const {
        *seen = std::make_shared<ui::WritingToolsBehavior>(ctx.environment<ui::WritingToolsBehaviorKey>());
        return ui::EmptyView();
    }
};

TEST(RecordedTraitsTest, HitTestingTraitsAreKeptForTheEventLayer) {
    ui::TestHost host(ui::HStack({ui::View(ui::Color::clear).frame(20, 20).contentShape(ui::Circle()),
                                  ui::View(ui::Color::red).frame(20, 20).allowsHitTesting(false)})
                          .padding(0),
                      {60, 20});
    auto* shape = host.findByTypeName("ContentShape");
    ASSERT_NE(shape, nullptr);
    const auto* node = shape->nodeAs<ui::ContentShapeNode>();
    // The recording takes no part in layout: it spans its content.
    EXPECT_EQ(shape->frame().size, (graphics::CGSize{20, 20}));
    EXPECT_TRUE(node->contains({shape->frame().midX(), shape->frame().midY()}, shape->frame()));
    EXPECT_FALSE(node->contains({shape->frame().minX() + 1, shape->frame().minY() + 1}, shape->frame()));
    auto* passing = host.findByTypeName("AllowsHitTesting");
    ASSERT_NE(passing, nullptr);
    EXPECT_FALSE(passing->nodeAs<ui::AllowsHitTestingNode>()->isEnabled());
}

TEST(RecordedTraitsTest, AccessibilityModifiersMergeNearestFirst) {
    ui::TestHost host(ui::View(ui::Text::verbatim("Burn"))
                          .accessibilityLabel(ui::Text::verbatim("inner"))
                          .accessibilityAddTraits(ui::AccessibilityTraits::isButton)
                          .padding(2)
                          .accessibilityLabel(ui::Text::verbatim("outer"))
                          .accessibilityHint(ui::Text::verbatim("Burns the completed goals"))
                          .accessibilityAddTraits(ui::AccessibilityTraits::isHeader)
                          .accessibilityRemoveTraits(ui::AccessibilityTraits::isHeader)
                          .accessibilityElement(ui::AccessibilityChildBehavior::ignore),
                      {100, 40});
    const auto properties = ui::accessibilityProperties(*host.findByText("Burn"));
    EXPECT_EQ(properties.label, ui::Text::verbatim("inner"));
    EXPECT_EQ(properties.hint, ui::Text::verbatim("Burns the completed goals"));
    EXPECT_EQ(properties.children, ui::AccessibilityChildBehavior::ignore);
    EXPECT_EQ(properties.addedTraits, ui::AccessibilityTraits::isButton);
    EXPECT_FALSE(properties.hidden.has_value());

    // A container ends the chain: a sibling's modifiers say nothing about this text.
    ui::TestHost stacked(ui::HStack({ui::View(ui::Text::verbatim("a")),
                                     ui::View(ui::Text::verbatim("b")).accessibilityHidden(true)})
                             .accessibilityLabel(ui::Text::verbatim("pair")),
                         {100, 40});
    EXPECT_FALSE(ui::accessibilityProperties(*stacked.findByText("a")).label.has_value());
    EXPECT_EQ(ui::accessibilityProperties(*stacked.findByText("b")).hidden, true);
}

TEST(RecordedTraitsTest, WritingToolsBehaviorReachesTheEnvironment) {
    std::shared_ptr<ui::WritingToolsBehavior> seen;
    ui::TestHost host(
        ui::View(ReadsWritingTools{&seen}).writingToolsBehavior(ui::WritingToolsBehavior::disabled));
    ASSERT_TRUE(seen);
    EXPECT_EQ(*seen, ui::WritingToolsBehavior::disabled);
}

} // namespace
