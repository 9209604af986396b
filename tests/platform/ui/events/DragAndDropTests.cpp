#include "TestBox.h"

#include "foundation/NSItemProvider.h"
#include "ui/DropDelegate.h"
#include "ui/ForEach.h"
#include "ui/List.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace uitest;
using graphics::CGPoint;

namespace {

using Log = std::vector<std::string>;

class RecordingDelegate final : public ui::DropDelegate {
public:
    RecordingDelegate(std::string name, std::shared_ptr<Log> log, bool accepts = true)
        : name_(std::move(name))
        , log_(std::move(log))
        , accepts_(accepts) {}
    void dropEntered(const ui::DropInfo&) override { log_->push_back(name_ + " entered"); }
    std::optional<ui::DropProposal> dropUpdated(const ui::DropInfo&) override {
        if (log_->empty() || log_->back() != name_ + " updated") log_->push_back(name_ + " updated");
        return ui::DropProposal(ui::DropOperation::move);
    }
    bool validateDrop(const ui::DropInfo&) override {
        log_->push_back(name_ + " validate");
        return accepts_;
    }
    bool performDrop(const ui::DropInfo& info) override {
        const auto items = info.itemProviders({foundation::UTType::text()});
        log_->push_back(name_ + " perform " + (items.empty() ? "" : items[0].loadString().value_or("")));
        return true;
    }
    void dropExited(const ui::DropInfo&) override { log_->push_back(name_ + " exited"); }

private:
    std::string name_;
    std::shared_ptr<Log> log_;
    bool accepts_;
};

// Only the required operation: the others keep their defaults.
class MinimalDelegate final : public ui::DropDelegate {
public:
    explicit MinimalDelegate(std::shared_ptr<Log> log)
        : log_(std::move(log)) {}
    bool performDrop(const ui::DropInfo&) override {
        log_->push_back("performed");
        return true;
    }

private:
    std::shared_ptr<Log> log_;
};

void drag(ui::TestHost& host, std::vector<CGPoint> path) {
    host.pointerDown(path.front());
    for (std::size_t i = 1; i < path.size(); ++i)
        host.pointerMove(path[i]);
    host.pointerUp(path.back());
}


struct Board {
    std::shared_ptr<Log> log;
    std::shared_ptr<int> starts;
    bool acceptInner = true;
    ui::View body(ui::ViewContext&) const {
        auto source = box(50, 50, "source").onDrag([starts = starts] {
            ++*starts;
            return foundation::NSItemProvider(std::string("payload"));
        });
        auto inner = box(60, 60, "inner", Qt::blue)
                         .onDrop({foundation::UTType::text()},
                                 std::make_shared<RecordingDelegate>("inner", log, acceptInner));
        auto outer = ui::View(ui::ZStack({box(150, 150, "outer", Qt::green), inner}))
                         .onDrop({foundation::UTType::plainText()}, std::make_shared<RecordingDelegate>("outer", log));
        auto images = box(50, 50, "images", Qt::gray)
                          .onDrop({foundation::UTType("public.image")}, std::make_shared<RecordingDelegate>("images", log));
        return ui::HStack(ui::VerticalAlignment::top, 0, {source, outer, images});
    }
};
// In a 250 × 150 host: source 0-50, outer 50-200 (inner 95-155 across, 45-105 down), images
// 200-250, all 50 high but outer from the top.

TEST(DragAndDropTest, TheInnermostTargetGetsItsCallbacksInOrderAndTheDropCarriesTheText) {
    auto log = std::make_shared<Log>();
    auto starts = std::make_shared<int>(0);
    ui::TestHost host(Board{log, starts}, {250, 150});
    drag(host, {{25, 25}, {40, 25}, {70, 25}, {80, 30}, {110, 80}, {120, 85}, {125, 90}});
    EXPECT_EQ(*starts, 1);
    EXPECT_EQ(*log, (Log{"outer entered", "outer updated", "outer exited", "inner entered", "inner updated",
                         "inner validate", "inner perform payload", "inner exited"}));
}

TEST(DragAndDropTest, ADropOutsideEveryTargetOrOnOneThatRefusesPerformsNothing) {
    auto log = std::make_shared<Log>();
    auto starts = std::make_shared<int>(0);
    ui::TestHost host(Board{log, starts, false}, {250, 150});
    // Onto a target of other types, then into empty space.
    drag(host, {{25, 25}, {40, 25}, {220, 25}, {225, 120}});
    EXPECT_EQ(*starts, 1);
    EXPECT_TRUE(log->empty());
    // Through a target and out again: entered and exited only.
    drag(host, {{25, 25}, {40, 25}, {70, 25}, {225, 120}});
    EXPECT_EQ(*log, (Log{"outer entered", "outer updated", "outer exited"}));
    // A target whose validateDrop says no is not performed on.
    log->clear();
    drag(host, {{25, 25}, {40, 25}, {120, 80}});
    EXPECT_EQ(*log, (Log{"inner entered", "inner updated", "inner validate", "inner exited"}));
    // A press that ends without a release (the window lost the pointer) leaves the target.
    log->clear();
    host.pointerDown({25, 25});
    host.pointerMove({40, 25});
    host.pointerMove({70, 25});
    host.events().cancelPointer();
    host.update();
    EXPECT_EQ(*log, (Log{"outer entered", "outer updated", "outer exited"}));
}

TEST(DragAndDropTest, EscapeAbandonsTheDragAndItsPreviewAndTheReleaseDropsNothing) {
    auto log = std::make_shared<Log>();
    auto starts = std::make_shared<int>(0);
    ui::TestHost host(Board{log, starts}, {250, 150});
    EXPECT_FALSE(host.keyPress(ui::KeyEquivalent::escape)) << "no drag: the key is not taken";
    host.pointerDown({25, 25});
    host.pointerMove({40, 25});
    host.pointerMove({120, 80});
    EXPECT_NE(host.findByTypeName("DragPreview"), nullptr) << "the preview follows the pointer";
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::escape));
    EXPECT_EQ(host.findByTypeName("DragPreview"), nullptr) << "and goes with the drag";
    host.pointerMove({125, 85});
    host.pointerUp({125, 85});
    EXPECT_EQ(*log, (Log{"inner entered", "inner updated", "inner exited"}));

    // The window losing the pointer ends the preview too: a fresh drag starts afresh.
    host.pointerDown({25, 25});
    host.pointerMove({40, 25});
    host.events().cancelPointer();
    host.update();
    drag(host, {{25, 25}, {40, 25}, {120, 80}});
    EXPECT_EQ(*starts, 3);
    EXPECT_EQ(log->back(), "inner exited");
    EXPECT_EQ(log->at(log->size() - 2), "inner perform payload");
}

TEST(DragAndDropTest, ADelegateWithOnlyPerformDropAcceptsByDefault) {
    auto log = std::make_shared<Log>();
    auto view = ui::View(ui::HStack(ui::VerticalAlignment::top, 0,
                                    {box(50, 50, "source").onDrag([] { return foundation::NSItemProvider(std::string("x")); }),
                                     box(50, 50, "target").onDrop({foundation::UTType::text()},
                                                                  std::make_shared<MinimalDelegate>(log))}));
    ui::TestHost host(view, {100, 50});
    drag(host, {{25, 25}, {40, 25}, {75, 25}});
    EXPECT_EQ(*log, Log{"performed"});
}

// Rows of a list that are drag sources and drop targets at once, as reorderable lists make them.
struct DragList {
    std::shared_ptr<Log> log;
    ui::View body(ui::ViewContext&) const {
        std::vector<std::string> names{"a", "b", "c", "d"};
        return ui::List({ui::ForEach(names, [](const std::string& n) { return n; },
                                     [log = log](const std::string& n) {
                                         return box(100, 22, n)
                                             .onDrag([n] { return foundation::NSItemProvider(n); })
                                             .onDrop({foundation::UTType::text()},
                                                     std::make_shared<RecordingDelegate>(n, log));
                                     })});
    }
};

TEST(DragAndDropTest, WithinAListEachRowUnderThePointerIsEnteredAndTheOneReleasedOnPerforms) {
    auto log = std::make_shared<Log>();
    ui::TestHost host(DragList{log}, {300, 300});
    // Rows are 30 high; the text boxes sit 4 below each row's top. Down from a to c.
    drag(host, {{20, 15}, {20, 22}, {20, 45}, {20, 75}, {20, 78}});
    EXPECT_EQ(*log, (Log{"a entered", "a updated", "a exited", "b entered", "b updated", "b exited",
                         "c entered", "c updated", "c validate", "c perform a", "c exited"}));
}

} // namespace
