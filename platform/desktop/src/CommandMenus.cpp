#include "desktop/CommandMenus.h"

#include "desktop/KeySequence.h"
#include "ui/Transaction.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>

#include <optional>

namespace desktop {

using Placement = ui::CommandGroupPlacement;
using Position = ui::CommandGroupDescription::Position;

struct CommandMenus::Menu {
    QString title;
    std::vector<std::vector<Placement>> sections;
    QMenu* menu = nullptr;
    // What each entry of the menu shows: an item, or a separator (empty).
    std::vector<std::optional<ui::CommandItemDescription>> entries;
    std::vector<QAction*> actions;
    std::map<Placement, std::vector<ui::CommandItemDescription>> placed;
};

namespace {

// Verbatim: Qt would take '&' for a mnemonic.
QString verbatim(const std::string& title) {
    return QString::fromStdString(title).replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

CommandMenus::CommandMenus(std::string applicationName)
    : applicationName_(std::move(applicationName))
    , owner_(std::make_unique<QObject>()) {
    auto add = [&](QString title, std::vector<std::vector<Placement>> sections) {
        auto menu = std::make_unique<Menu>();
        menu->title = std::move(title);
        menu->sections = std::move(sections);
        menu->menu = new QMenu(menu->title);
        menu->menu->setParent(nullptr);
        menus_.push_back(std::move(menu));
    };
    add(QString::fromStdString(applicationName_),
        {{Placement::appInfo}, {Placement::appSettings}, {Placement::appTermination}});
    add(QStringLiteral("File"), {{Placement::newItem}});
    add(QStringLiteral("Edit"), {{Placement::undoRedo}, {Placement::pasteboard}});
    add(QStringLiteral("Window"), {{Placement::windowSize}, {Placement::windowArrangement}});
}

CommandMenus::~CommandMenus() {
    for (auto& menu : menus_) delete menu->menu;
}

void CommandMenus::update(const StandardItems& standard, const std::vector<ui::CommandGroupDescription>& groups) {
    for (std::size_t m = 0; m < menus_.size(); ++m) {
        Menu& menu = *menus_[m];
        menu.placed.clear();
        std::vector<std::optional<ui::CommandItemDescription>> entries;
        for (const auto& section : menu.sections) {
            std::vector<ui::CommandItemDescription> items;
            for (const Placement placement : section) {
                std::vector<ui::CommandItemDescription> before, replacing, after;
                bool replaced = false;
                for (const auto& group : groups) {
                    if (group.placement != placement) continue;
                    auto& into = group.position == Position::before ? before
                                 : group.position == Position::after ? after
                                                                     : replacing;
                    if (group.position == Position::replacing) replaced = true;
                    into.insert(into.end(), group.items.begin(), group.items.end());
                }
                std::vector<ui::CommandItemDescription> placed = std::move(before);
                if (replaced) {
                    placed.insert(placed.end(), replacing.begin(), replacing.end());
                } else if (auto it = standard.find(placement); it != standard.end()) {
                    placed.insert(placed.end(), it->second.begin(), it->second.end());
                }
                placed.insert(placed.end(), after.begin(), after.end());
                items.insert(items.end(), placed.begin(), placed.end());
                menu.placed[placement] = std::move(placed);
            }
            if (items.empty()) continue;
            if (!entries.empty()) entries.emplace_back(std::nullopt);
            for (auto& item : items) entries.emplace_back(std::move(item));
        }

        // Reuse the actions by position; a separator and an item do not trade places.
        for (std::size_t e = 0; e < entries.size(); ++e) {
            const bool separator = !entries[e].has_value();
            if (e < menu.actions.size() && menu.actions[e]->isSeparator() != separator) {
                delete menu.actions[e];
                menu.actions[e] = nullptr;
            }
            if (e >= menu.actions.size()) menu.actions.push_back(nullptr);
            if (!menu.actions[e]) {
                auto* action = new QAction(owner_.get());
                action->setSeparator(separator);
                if (!separator) {
                    action->setShortcutContext(Qt::ApplicationShortcut);
                    QObject::connect(action, &QAction::triggered, owner_.get(), [this, m, e] { trigger(m, e); });
                }
                menu.actions[e] = action;
            }
            if (separator) continue;
            const auto& item = *entries[e];
            QAction* action = menu.actions[e];
            const QString text = verbatim(item.title);
            if (action->text() != text) action->setText(text);
            const QKeySequence shortcut = item.shortcut ? keySequence(*item.shortcut) : QKeySequence();
            if (action->shortcut() != shortcut) action->setShortcut(shortcut);
            if (action->isEnabled() != item.enabled) action->setEnabled(item.enabled);
        }
        while (menu.actions.size() > entries.size()) {
            delete menu.actions.back();
            menu.actions.pop_back();
        }
        menu.entries = std::move(entries);
        const QList<QAction*> wanted(menu.actions.begin(), menu.actions.end());
        if (menu.menu->actions() != wanted) {
            menu.menu->clear();
            menu.menu->addActions(wanted);
        }
        menu.menu->menuAction()->setVisible(!menu.entries.empty());
    }
}

void CommandMenus::trigger(std::size_t m, std::size_t e) {
    if (m >= menus_.size() || e >= menus_[m]->entries.size()) return;
    const auto& entry = menus_[m]->entries[e];
    // Qt lets a disabled action be triggered from code; the item itself decides.
    if (!entry || !entry->enabled || !entry->action) return;
    const auto action = entry->action; // the menus may change while it runs
    ui::withTransaction(ui::Transaction(), [&] { action(); });
}

std::vector<QMenu*> CommandMenus::menus() const {
    std::vector<QMenu*> result;
    for (const auto& menu : menus_)
        if (!menu->entries.empty()) result.push_back(menu->menu);
    return result;
}

std::vector<ui::CommandItemDescription> CommandMenus::items(Placement placement) const {
    for (const auto& menu : menus_)
        if (auto it = menu->placed.find(placement); it != menu->placed.end()) return it->second;
    return {};
}

QAction* CommandMenus::action(std::string_view title) const {
    for (const auto& menu : menus_)
        for (std::size_t e = 0; e < menu->entries.size(); ++e)
            if (menu->entries[e] && menu->entries[e]->title == title) return menu->actions[e];
    return nullptr;
}

std::vector<QAction*> CommandMenus::actions() const {
    std::vector<QAction*> result;
    for (const auto& menu : menus_)
        for (auto* action : menu->actions)
            if (!action->isSeparator()) result.push_back(action);
    return result;
}

void CommandMenus::attach(QMenuBar* bar) const {
    for (const auto& menu : menus_) {
        // A menu opens as a window of its own, which does not take the bar's colours by itself.
        menu->menu->setPalette(bar->palette());
        bar->addMenu(menu->menu);
    }
}

} // namespace desktop
