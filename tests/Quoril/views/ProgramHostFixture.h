// The program's application value run by the desktop shell (windows, menus, settings), over a
// store in a folder of the test's own.
#pragma once

#include "App/CommandManager.h"
#include "App/SharedModelContainer.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"
#include "Views/QuorilApp.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "desktop/Application.h"
#include "desktop/ApplicationHost.h"
#include "reactive/AnyCancellable.h"
#include "store/ModelConfiguration.h"
#include "store/ModelContainer.h"
#include "store/ModelContext.h"
#include "ui/Element.h"
#include "ui/Graph.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quoriltest {

class ProgramHostTest : public testing::Test {
protected:
    testing_support::TemporaryFolder data;
    testing_support::ScopedEnvironment dataHome{"XDG_DATA_HOME", data.path().c_str()};
    std::unique_ptr<desktop::ApplicationHost> host;
    std::shared_ptr<quoril::CommandManager> commands;
    int newItems = 0, burns = 0;
    std::vector<reactive::AnyCancellable> subscriptions;

    void TearDown() override {
        host.reset();
        desktop::Application::shared().setDelegate(nullptr);
    }
    bool settle(const std::function<bool()>& done) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000) {
            QCoreApplication::processEvents();
            host->updateNow();
            if (done()) return true;
        }
        return false;
    }
    // Runs `app`, counting what its commands send.
    template <class App> void start(App app) {
        subscriptions.push_back(commands->newItem.sink([this](const reactive::Void&) { ++newItems; }));
        subscriptions.push_back(commands->burnCompletedItems.sink([this](const reactive::Void&) { ++burns; }));
        host = std::make_unique<desktop::ApplicationHost>(std::move(app));
        host->start();
    }
    // The store holds a collection of its own beforehand: the default collection is one object
    // per process, and only one test can seed it.
    void startProgram(bool withCompletedGoal = false) {
        seed(withCompletedGoal);
        quoril::QuorilApp app;
        commands = app.commandManager;
        start(app);
        ASSERT_TRUE(settle([&] { return host->scenePhase() == ui::ScenePhase::active; }));
    }
    QAction* action(const std::string& title) { return host->menus().action(title); }

    static void seed(bool withCompletedGoal) {
        store::ModelContainer container(quoril::quorilSchema(), store::ModelConfiguration{});
        const auto& context = container.mainContext();
        context->setAutosaveEnabled(false);
        auto collection = std::make_shared<quoril::ItemCollection>("Quoril");
        context->insert(collection);
        if (withCompletedGoal) {
            auto item = std::make_shared<quoril::Item>(foundation::Date::now(), "done", true, true, std::nullopt, 0);
            item->setCollection(collection);
            context->insert(item);
        }
        context->save();
    }

    // The first element of `graph` showing exactly `text`, depth first.
    static ui::Element* findText(ui::Graph& graph, std::string_view text) {
        std::function<ui::Element*(ui::Element&)> find = [&](ui::Element& e) -> ui::Element* {
            if (const auto shown = e.node().text(); shown && *shown == text) return &e;
            for (const auto& child : e.children())
                if (auto* found = find(*child)) return found;
            return nullptr;
        };
        return find(graph.root());
    }
};

} // namespace quoriltest
