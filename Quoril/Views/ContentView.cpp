#include "Views/ContentView.h"

#include "Views/GoalListActions.h"
#include "Views/GoalListBurn.h"
#include "Views/ItemRow.h"
#include "Views/ItemRowSizesKey.h"
#include "Views/Utilities.h"

#include "reactive/ObservationRegistrar.h"
#include "ui/AnyTransition.h"
#include "ui/Button.h"
#include "ui/ColorScheme.h"
#include "ui/ContentUnavailableView.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ForEach.h"
#include "ui/GeometryReader.h"
#include "ui/Label.h"
#include "ui/List.h"
#include "ui/ListStyle.h"
#include "ui/Rectangle.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/Toolbar.h"
#include "ui/Visibility.h"

#include <limits>
#include <numeric>
#include <string>
#include <utility>

namespace quoril {

namespace {

using graphics::CGFloat;

ui::View anchorRow(ui::NamespaceID ns) {
    return ui::HStack(std::vector<ui::View>{})
        .frame(std::nullopt, 0)
        .listRowInsets(ui::EdgeInsets{})
        .id(anchorID(ns));
}

// A frame that only lets the height grow without bound.
ui::FlexibleFrame unlimitedHeight() {
    ui::FlexibleFrame frame;
    frame.maxHeight = std::numeric_limits<CGFloat>::infinity();
    return frame;
}

ui::View addButton(const GoalListActions& actions, bool adding) {
    auto commands = actions.commandManager;
    return ui::View(ui::Button([commands] { commands->newItem.send(); },
                               ui::Label(ui::Text::verbatim(Utilities::newItemTitle()), "plus")))
        .keyboardShortcut(ui::KeyEquivalent::return_, ui::EventModifiers::none)
        .disabled(adding);
}

ui::View emptyState(const GoalListActions& actions) {
    auto commands = actions.commandManager;
    ui::View button =
        ui::View(ui::Button([commands] { commands->newItem.send(); },
                            ui::View(ui::Label(ui::Text::verbatim(Utilities::newItemTitle()), "plus"))
                                .padding(ui::EdgeSet::horizontal, std::nullopt)))
            .controlSize(ui::ControlSize::large);
    return ui::View(ui::ContentUnavailableView(ui::View(), ui::View(), button))
        .frame(unlimitedHeight())
        .transition(ui::AnyTransition::opacity());
}

} // namespace

ui::View ContentView::body(ui::ViewContext& ctx) const {
    const auto actions = GoalListActions::make(ctx, selectedCollection);
    const auto burn = GoalListBurn::make(ctx, actions);
    const auto topView = ctx.namespace_("topView");
    const auto bottomView = ctx.namespace_("bottomView");
    const auto rowShared =
        ctx.element().slot<ItemRowShared>("itemRows", [] { return std::make_shared<ItemRowShared>(); });

    // The query re-evaluates this view at any change of a listed goal, so what it reads of
    // them here needs no tracking of its own (for a thousand goals, that is most of the work).
    // Shared with the list's closure rather than copied into it.
    std::shared_ptr<const std::vector<std::shared_ptr<Item>>> shownGoals;
    bool anyCompleted = false;
    std::vector<foundation::UUID> queryOrder;
    reactive::withoutObservationTracking([&] {
        shownGoals = actions.sharedShownGoals();
        anyCompleted = actions.displayOrderCache->anyCompleted();
        queryOrder.reserve(actions.items.size());
        for (const auto& item : actions.items)
            queryOrder.push_back(item->id());
    });

    ui::View content = ui::ScrollViewReader([=](const ui::ScrollViewProxy& proxy) -> ui::View {
        const auto& shown = *shownGoals;
        if (shown.empty()) return emptyState(actions);
        // Rows are positions in the shared goals: no copy of each goal's pointer per update.
        std::vector<std::size_t> rows(shown.size());
        std::iota(rows.begin(), rows.end(), std::size_t(0));
        // Rows read the order and the actions from here, so that only rows whose own inputs
        // changed are evaluated again.
        if (*rowShared->order != shown) rowShared->order->assign(shown.begin(), shown.end());
        rowShared->actions = actions;
        rowShared->proxy = proxy;
        rowShared->topView = topView;
        rowShared->bottomView = bottomView;
        const bool burning = *burn.isBurning;
        const auto focused = *actions.focusedItem;
        const auto scrollPosition = actions.scrollPosition.value();
        auto makeRow = [=](std::size_t row) -> ui::View {
            return ui::View(ItemRow{rowShared, (*shownGoals)[row], std::int64_t(row), focused, scrollPosition,
                                    burning})
                .transition(ui::AnyTransition::move(ui::Edge::top));
        };
        ui::View goals =
            ui::ForEach(
                std::move(rows), [shownGoals](std::size_t row) { return (*shownGoals)[row]->id(); }, makeRow)
                .onMove([actions](const foundation::IndexSet& source, std::size_t destination) {
                    actions.moveItems(source, destination);
                })
                .onDelete([actions](const foundation::IndexSet& offsets) { actions.deleteItems(offsets); })
                .fixedSize(false, true);
        return ui::List({anchorRow(topView), goals, anchorRow(bottomView)})
            .environment<ui::DefaultMinListRowHeightKey>(0)
            .listStyle(ui::ListStyle::plain)
            .scrollContentBackground(ui::Visibility::hidden)
            .animation(GoalListActions::listAnimation(), queryOrder)
            .transition(ui::AnyTransition::move(ui::Edge::top))
            .overlay(burn.burnOverlay(), ui::Alignment::top);
    });

    ui::View emptyArea = ui::View(ui::Rectangle().fill(ui::Color::clear))
                             .frame(unlimitedHeight())
                             .contentShape(ui::Rectangle())
                             .onTapGesture(1, [actions] { actions.emptyAreaTapped(); })
                             .offset(0, *actions.emptySpaceHeight);

    return ui::VStack(ui::HorizontalAlignment::center, 0, {content})
        .onPreferenceChange(
            ItemRowSizesKey{},
            [actions](const std::vector<ItemSizeElement>& sizes) { actions.rowSizesChanged(sizes); })
        // Without goals the area lies behind the empty state, so that its button takes clicks.
        .background(shownGoals->empty() ? emptyArea : ui::View(), ui::Alignment::top)
        .overlay(shownGoals->empty() ? ui::View() : emptyArea, ui::Alignment::top)
        .toolbar(
            {ui::ToolbarItem(ui::ToolbarItemPlacement::automatic, burn.burnButton(anyCompleted)),
             ui::ToolbarItem(ui::ToolbarItemPlacement::automatic, addButton(actions, *actions.addingItem))})
        .onChange(*actions.addingItem, [actions](bool adding) { actions.addingItemChanged(adding); })
        .onChange(*burn.isBurning, [burn](bool burning) { burn.isBurningChanged(burning); })
        .onReceive(actions.commandManager->newItem,
                   [actions](const reactive::Void&) { actions.newItemReceived(); })
        .onReceive(actions.commandManager->burnCompletedItems,
                   [burn](const reactive::Void&) { burn.burnCompletedItems(); })
        .onChange(!anyCompleted, true,
                  [actions](bool, bool noneCompleted) { actions.completedEmptyChanged(noneCompleted); })
        .onModifierKeysChanged(
            ui::EventModifiers::shift | ui::EventModifiers::option, true,
            [actions](ui::EventModifiers, ui::EventModifiers now) { actions.modifierKeysChanged(now); })
        .frame(ui::FlexibleFrame{.minWidth = 350,
                                 .idealWidth = 400,
                                 .maxWidth = 600,
                                 .minHeight = 250,
                                 .idealHeight = 350,
                                 .maxHeight = 550,
                                 .alignment = ui::Alignment::center})
        .preferredColorScheme(ui::ColorScheme::dark);
}

} // namespace quoril
