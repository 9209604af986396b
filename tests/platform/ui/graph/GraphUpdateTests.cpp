#include "Handles.h"
#include "TestBox.h"

#include "ui/Graph.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace uitest;

namespace {

// Runs `action` after each update in which its state changed.
struct Trigger {
    HandlesPtr<int> handles;
    std::shared_ptr<std::function<void()>> action;
    ui::View body(ui::ViewContext& ctx) const {
        auto value = ctx.state<int>("value", 0);
        handles->keep("value", value);
        return flexible("content").onChange(*value, [action = action](int) { (*action)(); });
    }
};

TEST(GraphUpdateTest, ASizeSetByAnActionIsLaidOutInTheSameUpdate) {
    auto handles = std::make_shared<Handles<int>>();
    auto action = std::make_shared<std::function<void()>>();
    ui::TestHost host(Trigger{handles, action}, {100, 100});
    *action = [&host] { host.graph().setSize({50, 40}); };
    (*handles)["value"].set(1);
    host.update();
    EXPECT_EQ(ui::TestHost::frame(host.findByText("content")).size, (graphics::CGSize{50, 40}));
    EXPECT_FALSE(host.graph().needsUpdate());
}

TEST(GraphUpdateTest, ActionsLeftOverAfterTheLastRoundAskForAnotherUpdate) {
    auto handles = std::make_shared<Handles<int>>();
    auto action = std::make_shared<std::function<void()>>();
    ui::TestHost host(Trigger{handles, action});
    int requests = 0;
    host.graph().setNeedsUpdateHandler([&] { ++requests; });
    int done = 0;
    // A chain of actions, each queueing the next, longer than one update takes.
    std::function<void()> step = [&] {
        if (++done < 40) host.graph().enqueueAction(step);
    };
    *action = step;
    (*handles)["value"].set(1);
    requests = 0;
    host.update();
    ASSERT_LT(done, 40);
    EXPECT_TRUE(host.graph().needsUpdate());
    EXPECT_GE(requests, 1) << "the rest waits for the next frame, which must be asked for";
    for (int frame = 0; frame < 10 && done < 40; ++frame)
        host.update();
    EXPECT_EQ(done, 40);
}

} // namespace
