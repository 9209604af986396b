#include "Views/ItemView.h"

#include "Views/ItemTextField.h"
#include "Views/ItemToggleStyle.h"

#include "ui/Alignment.h"
#include "ui/Button.h"
#include "ui/ButtonRole.h"
#include "ui/Edge.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Rectangle.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/Toggle.h"
#include "ui/Transaction.h"
#include "ui/WritingToolsBehavior.h"

#include <utility>

namespace quoril {

namespace {

using Items = std::vector<std::shared_ptr<Item>>;

ui::Binding<bool> flag(const std::shared_ptr<Item>& item, bool (Item::*get)() const, void (Item::*set)(bool)) {
    return ui::Binding<bool>([item, get] { return (*item.*get)(); }, [item, set](bool value) { (*item.*set)(value); });
}

// Positions after a flag change: the goals as they were listed, put in display order again
// with the new flags, so the changed goal is numbered where it now shows.
void renumber(const Items& items) {
    Item::renumberOrderIndices(Item::sortedForDisplay(items));
}

ui::FlexibleFrame atLeast(graphics::CGFloat height) {
    ui::FlexibleFrame frame;
    frame.minHeight = height;
    return frame;
}

} // namespace

ui::View ItemView::body(ui::ViewContext& ctx) const {
    auto anticipateInProgress = ctx.state<bool>("anticipateInProgress", false);
    auto anticipateCompleted = ctx.state<bool>("anticipateCompleted", false);
    auto minHeight = ctx.state<graphics::CGFloat>("minHeight", 0);
    // The change handlers run with the closures of the previous update; they read the list as
    // the row holds it now.
    auto listed = ctx.element().slot<std::shared_ptr<const Items>>("listedItems", [] {
        return std::make_shared<std::shared_ptr<const Items>>();
    });
    *listed = items;

    const auto id = item->id();
    const bool focused = focusedItem.get() == id;
    const auto deleteAction = this->deleteAction;

    ui::View editor = ui::View(ItemTextField{item, addingItem, minHeight.binding(),
                                             [deleteAction] {
                                                 if (deleteAction) deleteAction();
                                             }})
                          .focused(focusedItem, id)
                          .writingToolsBehavior(ui::WritingToolsBehavior::disabled)
                          .frame(atLeast(*minHeight))
                          // The title takes the row's width before the spacer, so it wraps there.
                          .layoutPriority(1);
    ui::View title = ui::HStack(ui::VerticalAlignment::center, 0, {editor, ui::Spacer(0)})
                         .alignmentGuide(ui::HorizontalAlignment::listRowSeparatorLeading,
                                         [](const ui::ViewDimensions&) { return 0.0; });

    auto hover = [anticipateInProgress, anticipateCompleted](bool both) {
        return [=](bool hovering) {
            ui::withAnimation([&] {
                anticipateInProgress.set(hovering);
                if (both) anticipateCompleted.set(hovering);
            });
        };
    };
    ui::View checks =
        ui::HStack(ui::VerticalAlignment::center, 8,
                   {ui::View(ui::Toggle("Completed", flag(item, &Item::completed, &Item::setCompleted)))
                        .toggleStyle(ItemToggleStyle{*anticipateCompleted})
                        .onHover(hover(true)),
                    ui::View(ui::Toggle("In Progress", flag(item, &Item::inProgress, &Item::setInProgress)))
                        .toggleStyle(ItemToggleStyle{*anticipateInProgress})
                        .onHover(hover(false))})
            .alignmentGuide(ui::HorizontalAlignment::listRowSeparatorTrailing,
                            [](const ui::ViewDimensions& d) { return d.width; });

    ui::View row = ui::HStack(ui::VerticalAlignment::top, 16, {title, checks})
                       .padding(ui::EdgeSet::vertical, 12)
                       .padding(ui::EdgeSet::horizontal, 18)
                       .background(ui::Rectangle().fill(ui::HierarchicalShapeStyle::primary.opacity(focused ? 0.05 : 0)));
    if (deleteAction)
        row = row.contextMenu(ui::Button("Delete", ui::ButtonRole::destructive, deleteAction));

    const auto item = this->item;
    const auto addingItem = this->addingItem;
    return row.listRowSeparatorTint(ui::Color::secondary.opacity(0.1), ui::EdgeSet::vertical)
        .listRowInsets(ui::EdgeInsets{0, -8, 0, -8})
        .onChange(focusedItem.get(),
                  [item, addingItem, deleteAction, id](const std::optional<foundation::UUID>& now) {
                      if (now != id && item->title().empty()) {
                          if (deleteAction) deleteAction();
                      } else if (now == id && item->title().empty()) {
                          addingItem.set(true);
                      }
                  })
        .onChange(item->inProgress(),
                  [item, listed](bool inProgress) {
                      if (*listed) renumber(**listed);
                      if (!inProgress) item->setCompleted(false);
                  })
        .onChange(item->completed(), [item, listed](bool completed) {
            if (*listed) renumber(**listed);
            if (completed) item->setInProgress(true);
        });
}

} // namespace quoril
