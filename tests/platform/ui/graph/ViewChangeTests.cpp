#include "Handles.h"
#include "TestBox.h"

#include "foundation/CancellationError.h"
#include "foundation/Task.h"
#include "reactive/ObservableObject.h"
#include "reactive/PassthroughSubject.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace uitest;

namespace {

using Log = std::vector<std::string>;

// Watches `value`; each closure remembers the value of the update that made it.
struct Watch {
    int value;
    bool initial;
    std::shared_ptr<Log> log;
    std::shared_ptr<Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto seen = ctx.state<int>("seen", 0);
        handles->keep("seen", seen);
        const int made = value;
        return box(1, 1, "seen:" + std::to_string(seen.value()))
            .onChange(value, initial, [log = log, made, seen](int old, int now) {
                log->push_back(std::to_string(made) + ":" + std::to_string(old) + "->" + std::to_string(now));
                seen.set(now);
            });
    }
};

struct Source {
    bool initial;
    std::shared_ptr<Log> log;
    std::shared_ptr<Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto value = ctx.state<int>("value", 1);
        handles->keep("value", value);
        return Watch{value.value(), initial, log, handles};
    }
};

TEST(ViewChangeTest, OnChangeRunsThePreviousClosureWithOldAndNewValuesAndOneMorePass) {
    auto log = std::make_shared<Log>();
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(Source{false, log, handles});
    EXPECT_TRUE(log->empty()) << "not for the initial value";

    (*handles)["value"].set(2);
    host.update();
    EXPECT_EQ(*log, (Log{"1:1->2"}));
    EXPECT_EQ(host.graph().lastPassCount(), 2) << "the action's write makes exactly one more pass";
    EXPECT_NE(host.findByText("seen:2"), nullptr) << "in the same frame";

    (*handles)["value"].set(2);
    host.update();
    EXPECT_EQ(log->size(), 1u);
    (*handles)["value"].set(5);
    host.update();
    EXPECT_EQ(log->back(), "2:2->5");
}

TEST(ViewChangeTest, OnChangeWithInitialRunsOnAppearToo) {
    auto log = std::make_shared<Log>();
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(Source{true, log, handles});
    EXPECT_EQ(*log, (Log{"1:1->1"}));
}

TEST(ViewChangeTest, TheOneArgumentFormGetsTheNewValue) {
    auto log = std::make_shared<Log>();
    auto handles = std::make_shared<Handles<int>>();
    struct One {
        std::shared_ptr<Log> log;
        std::shared_ptr<Handles<int>> handles;
        ui::View body(ui::ViewContext& ctx) const {
            auto value = ctx.state<int>("value", 0);
            handles->keep("value", value);
            return box(1, 1).onChange(value.value(),
                                      [log = log](int now) { log->push_back(std::to_string(now)); });
        }
    };
    ui::TestHost host(One{log, handles});
    (*handles)["value"].set(4);
    host.update();
    EXPECT_EQ(*log, (Log{"4"}));
}

struct Presence {
    std::shared_ptr<Log> log;
    std::shared_ptr<Handles<bool>> flags;
    std::shared_ptr<bool> finished;
    ui::View body(ui::ViewContext& ctx) const {
        auto shown = ctx.state<bool>("shown", true);
        flags->keep("shown", shown);
        return ui::ConditionalContent(shown.value(),
                                      box(1, 1)
                                          .onAppear([log = log] { log->push_back("appear"); })
                                          .onDisappear([log = log] { log->push_back("disappear"); })
                                          .task([log = log, finished = finished]() -> foundation::Task<> {
                                              try {
                                                  co_await foundation::Task<>::sleep(10);
                                                  *finished = true;
                                              } catch (const foundation::CancellationError&) {
                                                  log->push_back("cancelled");
                                              }
                                          }));
    }
};

TEST(ViewChangeTest, AppearDisappearAndTaskFollowThePresenceOfTheView) {
    auto log = std::make_shared<Log>();
    auto flags = std::make_shared<Handles<bool>>();
    auto finished = std::make_shared<bool>(false);
    ui::TestHost host(Presence{log, flags, finished});
    EXPECT_EQ(*log, (Log{"appear"}));
    host.stepFrame(1);
    (*flags)["shown"].set(false);
    host.update();
    host.stepFrame(20);
    EXPECT_EQ(*log, (Log{"appear", "disappear", "cancelled"}));
    EXPECT_FALSE(*finished);
}

TEST(ViewChangeTest, ATaskRunsToItsEndWhileTheViewStays) {
    auto log = std::make_shared<Log>();
    auto flags = std::make_shared<Handles<bool>>();
    auto finished = std::make_shared<bool>(false);
    ui::TestHost host(Presence{log, flags, finished});
    host.stepFrame(11);
    EXPECT_TRUE(*finished);
}

TEST(ViewChangeTest, OnReceiveDeliversWhileThePublisherViewIsPresent) {
    auto log = std::make_shared<Log>();
    auto flags = std::make_shared<Handles<bool>>();
    reactive::PassthroughSubject<int> subject;
    struct Receiver {
        reactive::PassthroughSubject<int> subject;
        std::shared_ptr<Log> log;
        std::shared_ptr<Handles<bool>> flags;
        ui::View body(ui::ViewContext& ctx) const {
            auto shown = ctx.state<bool>("shown", true);
            flags->keep("shown", shown);
            return ui::ConditionalContent(shown.value(), box(1, 1).onReceive(subject, [log = log](int v) {
                log->push_back(std::to_string(v));
            }));
        }
    };
    ui::TestHost host(Receiver{subject, log, flags});
    subject.send(1);
    (*flags)["shown"].set(false);
    host.update();
    subject.send(2);
    EXPECT_EQ(*log, (Log{"1"}));
}

TEST(ViewChangeTest, AnElementTakesTheTransactionOfTheWriteThatInvalidatedIt) {
    auto handles = std::make_shared<Handles<int>>();
    struct Plain {
        std::shared_ptr<Handles<int>> handles;
        ui::View body(ui::ViewContext& ctx) const {
            auto value = ctx.state<int>("value", 0);
            handles->keep("value", value);
            return box(1, 1);
        }
    };
    ui::TestHost host(Plain{handles});
    ui::withTransaction(ui::Transaction{nullptr, true}, [&] { (*handles)["value"].set(1); });
    EXPECT_FALSE(ui::Transaction::current().disablesAnimations) << "scoped";
    host.update();
    auto* element = host.findType<Plain>();
    EXPECT_TRUE(element->transaction().disablesAnimations);
    EXPECT_TRUE(element->children().front()->transaction().disablesAnimations)
        << "what it updates takes it too";
    (*handles)["value"].set(2);
    host.update();
    EXPECT_TRUE(element->transaction().isEmpty());
}

} // namespace

namespace {

TEST(ViewChangeTest, AWriteWhileABodyRunsIsNotLost) {
    struct SelfWriting {
        ui::View body(ui::ViewContext& ctx) const {
            auto value = ctx.state<int>("value", 0);
            if (value.value() < 2) value.set(value.value() + 1);
            return box(1, 1, "value:" + std::to_string(value.value()));
        }
    };
    ui::TestHost host(SelfWriting{});
    EXPECT_NE(host.findByText("value:2"), nullptr);
    EXPECT_FALSE(host.graph().needsUpdate());
}

struct Point {
    int x = 0;
    int y = 0;
};

TEST(ViewChangeTest, BindingsReachStateThroughMembersAndConversions) {
    auto handles = std::make_shared<Handles<int>>();
    std::optional<ui::Binding<int>> xBinding;
    std::optional<ui::Binding<std::string>> text;
    struct Editor {
        std::optional<ui::Binding<int>>* x;
        std::optional<ui::Binding<std::string>>* text;
        ui::View body(ui::ViewContext& ctx) const {
            auto point = ctx.state<Point>("point", Point{});
            *x = point.binding().member(&Point::x);
            *text = x->value().map<std::string>([](int v) { return std::to_string(v); },
                                                [](const std::string& s) { return std::stoi(s); });
            return box(1, 1, std::to_string(point->x) + "," + std::to_string(point->y));
        }
    };
    ui::TestHost host(Editor{&xBinding, &text});
    xBinding->set(4);
    host.update();
    EXPECT_NE(host.findByText("4,0"), nullptr);
    text->set("7");
    host.update();
    EXPECT_NE(host.findByText("7,0"), nullptr);
    EXPECT_EQ(text->get(), "7");
    EXPECT_EQ(ui::Binding<int>::constant(3).get(), 3);
}

TEST(ViewChangeTest, OnReceiveSubscribesAgainWhenGivenAnotherPublisher) {
    struct Model : reactive::ObservableObject {};
    auto first = std::make_shared<Model>();
    auto second = std::make_shared<Model>();
    auto log = std::make_shared<Log>();
    auto handles = std::make_shared<Handles<int>>();
    struct Listener {
        std::shared_ptr<Model> first, second;
        std::shared_ptr<Log> log;
        std::shared_ptr<Handles<int>> handles;
        ui::View body(ui::ViewContext& ctx) const {
            auto which = ctx.state<int>("which", 1);
            handles->keep("which", which);
            const auto& model = which.value() == 1 ? first : second;
            return box(1, 1).onReceive(
                model->objectWillChange(),
                [log = log, w = which.value()](reactive::Void) { log->push_back(std::to_string(w)); });
        }
    };
    ui::TestHost host(Listener{first, second, log, handles});
    first->objectWillChange().send();
    (*handles)["which"].set(2);
    host.update();
    first->objectWillChange().send();
    second->objectWillChange().send();
    EXPECT_EQ(*log, (Log{"1", "2"}));
}

} // namespace
