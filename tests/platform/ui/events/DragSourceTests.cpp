// What a drag source hears of its drag's end, and the preview the window shows under the pointer.
#include "Handles.h"
#include "TestBox.h"

#include "foundation/NSItemProvider.h"
#include "ui/DropDelegate.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace uitest;
using graphics::CGPoint;

namespace {

class Target final : public ui::DropDelegate {
public:
    Target(bool validates, bool performs, ui::DropOperation operation = ui::DropOperation::copy)
        : validates_(validates)
        , performs_(performs)
        , operation_(operation) {}
    std::optional<ui::DropProposal> dropUpdated(const ui::DropInfo&) override {
        return ui::DropProposal(operation_);
    }
    bool validateDrop(const ui::DropInfo&) override { return validates_; }
    bool performDrop(const ui::DropInfo&) override { return performs_; }

private:
    bool validates_, performs_;
    ui::DropOperation operation_;
};

// A source on the left and four targets in a row: one that performs, one whose validateDrop
// refuses, one that proposes forbidden and one whose performDrop fails; each 50 wide.
struct Strip {
    std::shared_ptr<std::vector<bool>> ends;
    HandlesPtr<bool> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto shown = ctx.state<bool>("shown", true);
        handles->keep("shown", shown);
        auto target = [](std::string name, std::shared_ptr<ui::DropDelegate> delegate) {
            return box(50, 50, std::move(name), Qt::gray)
                .onDrop({foundation::UTType::text()}, std::move(delegate));
        };
        ui::View source = box(50, 50, "source").onDrag(
            [] { return foundation::NSItemProvider(std::string("x")); },
            [ends = ends](bool performed) { ends->push_back(performed); });
        return ui::HStack(
            ui::VerticalAlignment::top, 0,
            {*shown ? source : box(50, 50, "gone", Qt::white),
             target("performs", std::make_shared<Target>(true, true)),
             target("refuses", std::make_shared<Target>(false, true)),
             target("forbidden", std::make_shared<Target>(true, true, ui::DropOperation::forbidden)),
             target("fails", std::make_shared<Target>(true, false)), box(50, 50, "empty", Qt::white)});
    }
};

void press(ui::TestHost& host, CGPoint to) {
    host.pointerDown({25, 25});
    host.pointerMove({35, 25});
    host.pointerMove(to);
}

} // namespace

TEST(DragSourceTest, TheEndCallbackRunsOnceWithWhetherATargetPerformedTheDrop) {
    auto ends = std::make_shared<std::vector<bool>>();
    auto handles = std::make_shared<Handles<bool>>();
    ui::TestHost host(Strip{ends, handles}, {300, 50});
    const std::vector<std::pair<CGPoint, bool>> releases{
        {{75, 25}, true}, {{125, 25}, false}, {{175, 25}, false}, {{225, 25}, false}, {{275, 25}, false}};
    for (const auto& [at, performed] : releases) {
        ends->clear();
        press(host, at);
        EXPECT_TRUE(ends->empty()) << "not before the drag ends";
        host.pointerUp(at);
        EXPECT_EQ(*ends, std::vector<bool>{performed}) << "released at " << at.x;
    }

    // Escape, the window losing the pointer: cancelled, and the release after is nothing.
    ends->clear();
    press(host, {75, 25});
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::escape));
    host.pointerUp({75, 25});
    press(host, {75, 25});
    host.events().cancelPointer();
    host.update();
    host.pointerUp({75, 25});
    EXPECT_EQ(*ends, (std::vector<bool>{false, false}));

    // The source going while its drag is under way ends the drag: no preview, no drop.
    ends->clear();
    press(host, {75, 25});
    (*handles)["shown"].set(false);
    host.update();
    EXPECT_EQ(*ends, std::vector<bool>{false});
    EXPECT_EQ(host.findByTypeName("DragPreview"), nullptr);
    host.pointerMove({80, 25});
    host.pointerUp({80, 25});
    EXPECT_EQ(*ends, std::vector<bool>{false});
}

namespace {

// A red source under a spacer the test grows, in a short scroll view, above a blue box painted
// after it. The source turns green when `dimmed` is set.
struct Moving {
    HandlesPtr<double> spacing;
    HandlesPtr<bool> dimmed;
    ui::View body(ui::ViewContext& ctx) const {
        auto above = ctx.state<double>("above", 0);
        auto green = ctx.state<bool>("green", false);
        spacing->keep("above", above);
        dimmed->keep("green", green);
        auto source = box(60, 40, "source", *green ? Qt::green : Qt::red).onDrag([] {
            return foundation::NSItemProvider(std::string("x"));
        });
        auto scrolled =
            ui::ScrollView(ui::VStack(ui::HorizontalAlignment::leading, 0, {box(60, *above), source}))
                .frame(100, 60);
        return ui::VStack(ui::HorizontalAlignment::leading, 0, {scrolled, box(200, 140, "after", Qt::blue)});
    }
};

} // namespace

TEST(DragSourceTest, ThePreviewStaysAtThePointerAboveEverythingAndShowsTheSourceAsItWas) {
    auto spacing = std::make_shared<Handles<double>>();
    auto dimmed = std::make_shared<Handles<bool>>();
    ui::TestHost host(Moving{spacing, dimmed}, {200, 200});
    // Pressed 10 in from the source's corner: the preview's corner stays 10 from the pointer.
    const auto source = ui::TestHost::frame(host.findByText("source"));
    host.pointerDown({source.minX() + 10, source.minY() + 10});
    host.pointerMove({source.minX() + 20, source.minY() + 20});
    host.pointerMove({130, 120});
    const auto* preview = host.findByTypeName("DragPreview");
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(ui::TestHost::frame(preview), (graphics::CGRect{{120, 110}, {60, 40}}));

    // The source moves down and changes its look: the preview keeps its place and its look.
    (*spacing)["above"].set(15);
    (*dimmed)["green"].set(true);
    host.update();
    host.pointerMove({140, 130});
    preview = host.findByTypeName("DragPreview");
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(ui::TestHost::frame(preview), (graphics::CGRect{{130, 120}, {60, 40}}));

    // Outside the scroll view and over the box painted after the source: still the red source.
    const QImage image = host.render();
    const QColor shown = image.pixelColor(140, 130);
    EXPECT_GT(shown.red(), 150) << "drawn above the box after it, unclipped";
    EXPECT_LT(shown.green(), 100) << "as the source looked when the drag began";
    host.pointerUp({140, 130});
    EXPECT_EQ(host.findByTypeName("DragPreview"), nullptr);
}
