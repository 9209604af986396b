// A goal list over an in-memory store, hosted at the window's size with its toolbar, driven
// frame by frame, with the ways a user types into its title editors.
#pragma once

#include "App/CommandManager.h"
#include "App/ModifierKeyManager.h"
#include "App/SharedModelContainer.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"
#include "Views/ContentView.h"
#include "Views/ItemTextField.h"
#include "Views/ItemView.h"

#include "desktop/TextView.h"
#include "foundation/UndoManager.h"
#include "reactive/AnyCancellable.h"
#include "store/ModelContainer.h"
#include "store/ModelContext.h"
#include "store/ui/ModelContainerModifier.h"
#include "ui/Accessibility.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Representable.h"
#include "ui/TestHost.h"
#include "ui/Toolbar.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace goaltest {

inline graphics::CGPoint centre(const graphics::CGRect& rect) {
    return {rect.midX(), rect.midY()};
}

using quoril::Item;
using quoril::ItemCollection;

class GoalListTest : public testing::Test {
protected:
    static constexpr double toolbar = 52;
    static constexpr graphics::CGSize windowSize{400, 350 + toolbar};

    // In memory, or in `storeFile`.
    explicit GoalListTest(std::optional<std::filesystem::path> storeFile = std::nullopt) {
        store::ModelConfiguration configuration;
        configuration.isStoredInMemoryOnly = !storeFile;
        configuration.url = storeFile;
        container = std::make_shared<store::ModelContainer>(quoril::quorilSchema(), configuration);
        context()->setAutosaveEnabled(false);
        auto undo = std::make_shared<foundation::UndoManager>();
        undo->setGroupsByEvent(false);
        context()->setUndoManager(undo);
        collection = std::make_shared<ItemCollection>("Quoril");
        context()->insert(collection);
        subscriptions.push_back(commands->newItemMenuItemDisabled.sink([this](bool v) { newItemDisabled.push_back(v); }));
        subscriptions.push_back(
            commands->burnCompletedItemsMenuItemDisabled.sink([this](bool v) { burnDisabled.push_back(v); }));
    }

    const std::shared_ptr<store::ModelContext>& context() const { return container->mainContext(); }

    std::shared_ptr<Item> addGoal(std::string title, std::int64_t orderIndex, bool completed = false,
                                  bool inProgress = false, std::shared_ptr<ItemCollection> in = nullptr) {
        auto item = std::make_shared<Item>(foundation::Date::now(), std::move(title), inProgress || completed, completed,
                                           std::nullopt, orderIndex);
        item->setCollection(in ? in : collection);
        context()->insert(item);
        return item;
    }

    ui::View content(std::shared_ptr<ItemCollection> shown) const {
        // As in the window: another collection is another view.
        const std::string identity = shown ? shown->id().uuidString() : std::string();
        return ui::toolbarArea(ui::View(quoril::ContentView{std::move(shown)})
                                   .id(identity)
                                   .environmentObject(commands)
                                   .environmentObject(modifiers)) |
               store::modelContainer(container);
    }
    void show() {
        // The window gives the content the appearance it prefers, which is dark.
        ui::EnvironmentValues environment;
        environment.set<ui::ColorSchemeKey>(ui::ColorScheme::dark);
        host = std::make_unique<ui::TestHost>(content(collection), windowSize, environment);
        settle();
    }
    // Long enough for every animation of the list to end.
    void settle(double seconds = 1.5) { host->stepFrames(int(seconds * 60)); }

    // The goals of the collection as the list orders them.
    std::vector<std::shared_ptr<Item>> listed() const {
        std::vector<std::shared_ptr<Item>> mine;
        for (auto& item : context()->fetch(store::FetchDescriptor<Item>{std::nullopt, {{"orderIndex"}, {"timestamp"}}}))
            if (item->collection() == collection) mine.push_back(item);
        return Item::sortedForDisplay(mine);
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> result;
        for (const auto& item : listed())
            result.push_back(item->title());
        return result;
    }
    std::vector<std::int64_t> indices() const {
        std::vector<std::int64_t> result;
        for (const auto& item : listed())
            result.push_back(item->orderIndex().value_or(-1));
        return result;
    }

    // The rows shown, top to bottom.
    std::vector<ui::Element*> rows() const { return host->findAllType<quoril::ItemView>(); }
    static std::shared_ptr<Item> itemOf(const ui::Element* row) {
        return row->nodeAs<ui::detail::CustomViewNode<quoril::ItemView>>()->value().item;
    }
    ui::Element* rowOf(const std::shared_ptr<Item>& item) const {
        for (auto* row : rows())
            if (itemOf(row) == item) return row;
        return nullptr;
    }
    // The row's two check controls: "Completed", then "In Progress".
    std::vector<ui::Element*> togglesOf(const std::shared_ptr<Item>& item) {
        std::vector<ui::Element*> found;
        auto* row = rowOf(item);
        for (auto* e : host->findAll([](const ui::Element& e) { return e.node().typeName() == "Toggle"; })) {
            for (auto* up = e; up; up = up->parent())
                if (up == row) found.push_back(e);
        }
        return found;
    }
    // The title editors, top to bottom.
    std::vector<ui::Element*> editors() const {
        return host->findAll([](const ui::Element& e) {
            return e.nodeAs<ui::detail::RepresentableNode<quoril::ItemTextField>>() != nullptr;
        });
    }
    ui::Element* editorElementOf(const std::shared_ptr<Item>& item) const {
        for (auto* editor : editors()) {
            for (auto* e = editor; e; e = e->parent())
                if (e->nodeAs<ui::detail::CustomViewNode<quoril::ItemView>>() && itemOf(e) == item) return editor;
        }
        return nullptr;
    }
    desktop::TextView* editorOf(const std::shared_ptr<Item>& item) const {
        auto* editor = ui::hostedWidget<quoril::ItemTextField>(editorElementOf(item));
        if (!editor) ADD_FAILURE() << "no title editor shows " << (item ? item->title() : "no goal");
        return editor;
    }
    // A click on a goal's title, as the painted editor shows it.
    void clickTitle(const std::shared_ptr<Item>& item) {
        host->tap(editorElementOf(item));
        settle();
    }
    std::optional<foundation::UUID> focusedItem() const {
        auto* list = host->findType<quoril::ContentView>();
        auto* box = list->findSlot<ui::detail::StateBox<std::optional<foundation::UUID>>>("focusedItem");
        return box ? box->value : std::nullopt;
    }
    graphics::CGFloat emptySpaceHeight() const {
        auto* box = host->findType<quoril::ContentView>()->findSlot<ui::detail::StateBox<graphics::CGFloat>>("emptySpaceHeight");
        return box ? box->value : -1;
    }
    bool addingItem() const {
        auto* box = host->findType<quoril::ContentView>()->findSlot<ui::detail::StateBox<bool>>("addingItem");
        return box && box->value;
    }
    // The goal whose title editor has the focus.
    std::shared_ptr<Item> focused() const {
        for (const auto& item : listed())
            if (focusedItem() == item->id()) return item;
        return nullptr;
    }

    // Keys straight to an editor, as Qt delivers them to the focused widget.
    void key(desktop::TextView* editor, int key, const QString& text = {}) {
        ASSERT_NE(editor, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(editor, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(editor, &release);
        settle(0.1);
    }
    void type(desktop::TextView* editor, const std::string& text) {
        for (char c : text)
            key(editor, std::toupper(static_cast<unsigned char>(c)), QString(QChar(c)));
    }
    void typeIntoFocused(const std::string& text) { type(editorOf(focused()), text); }
    void keyIntoFocused(int k) { key(editorOf(focused()), k); }

    // The toolbar's add button ("New Goal" in the title area).
    // The toolbar's add button: it shows its icon, and its title names it to accessibility.
    ui::Element* addButton() const {
        for (auto* e : host->findAll([](const ui::Element& e) {
                 const auto* record = e.nodeAs<ui::AccessibilityNode>();
                 return record && record->properties().label && record->properties().label->string({}) == "New Goal";
             }))
            if (ui::TestHost::frame(e).midY() < toolbar) return e;
        return nullptr;
    }
    bool isEnabled(const ui::Element* e) const { return e->environment().get<ui::IsEnabledKey>(); }
    void clickBelowGoals() {
        double bottom = toolbar;
        for (auto* row : rows())
            bottom = std::max(bottom, ui::TestHost::frame(row).maxY());
        host->tap({200, bottom + 20});
        settle();
    }

    std::shared_ptr<store::ModelContainer> container;
    std::shared_ptr<ItemCollection> collection;
    std::shared_ptr<quoril::CommandManager> commands = std::make_shared<quoril::CommandManager>();
    std::shared_ptr<quoril::ModifierKeyManager> modifiers = std::make_shared<quoril::ModifierKeyManager>();
    std::vector<bool> newItemDisabled, burnDisabled;
    std::vector<reactive::AnyCancellable> subscriptions;
    std::unique_ptr<ui::TestHost> host;
};

} // namespace goaltest
