#include "Handles.h"
#include "TestBox.h"

#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace uitest;

namespace {

struct Thrower {
    std::shared_ptr<bool> fail;
    int value;
    ui::View body(ui::ViewContext&) const {
        if (*fail) throw std::runtime_error("body failed");
        return box(10, 10, "thrower:" + std::to_string(value));
    }
};

struct Row {
    std::shared_ptr<bool> fail;
    std::shared_ptr<Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto n = ctx.state<int>("n", 1);
        handles->keep("n", n);
        return ui::HStack({Thrower{fail, n.value()}, box(10, 10, "after:" + std::to_string(n.value()))});
    }
};

TEST(UpdateFailureTest, ABodyThatThrowsLeavesTheTreeWholeAndTheGraphUpdating) {
    auto fail = std::make_shared<bool>(false);
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(Row{fail, handles});
    ASSERT_NE(host.findByText("after:1"), nullptr);

    *fail = true;
    (*handles)["n"].set(2);
    EXPECT_THROW(host.update(), std::runtime_error);
    // The sibling after the failed view is still there, and painting walks a whole tree.
    EXPECT_NE(host.findByText("after:1"), nullptr);
    EXPECT_FALSE(host.graph().displayList().items().empty());

    *fail = false;
    (*handles)["n"].set(3);
    host.update();
    EXPECT_NE(host.findByText("thrower:3"), nullptr);
    EXPECT_NE(host.findByText("after:3"), nullptr);
}

struct Appearing {
    std::shared_ptr<std::vector<std::string>> log;
    std::shared_ptr<Handles<bool>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto show = ctx.state<bool>("show", false);
        handles->keep("show", show);
        if (!show.value()) return box(10, 10, "hidden");
        return ui::VStack({box(10, 10, "a").onAppear([] { throw std::runtime_error("action failed"); }),
                           box(10, 10, "b").onAppear([log = log] { log->push_back("b"); })});
    }
};

TEST(UpdateFailureTest, AnActionThatThrowsKeepsTheActionsAfterItForTheNextUpdate) {
    auto log = std::make_shared<std::vector<std::string>>();
    auto handles = std::make_shared<Handles<bool>>();
    int requests = 0;
    ui::TestHost host(Appearing{log, handles});
    host.graph().setNeedsUpdateHandler([&] { ++requests; });

    (*handles)["show"].set(true);
    const int before = requests;
    EXPECT_THROW(host.update(), std::runtime_error);
    EXPECT_TRUE(log->empty());
    EXPECT_GT(requests, before) << "the host is asked for another update";

    host.update();
    EXPECT_EQ(*log, (std::vector<std::string>{"b"}));
    (*handles)["show"].set(false);
    host.update();
    EXPECT_NE(host.findByText("hidden"), nullptr);
}

} // namespace
