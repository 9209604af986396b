#include "Views/ItemRow.h"

#include "Views/ItemRowSizesKey.h"
#include "Views/ItemView.h"

#include "ui/Color.h"
#include "ui/GeometryReader.h"
#include "ui/Rectangle.h"
#include "ui/Transaction.h"

#include <string>

namespace quoril {

std::string anchorID(ui::NamespaceID ns) {
    return "quoril.anchor." + std::to_string(ns.value);
}

ui::View ItemRow::body(ui::ViewContext&) const {
    const auto shared = this->shared;
    const auto& actions = *shared->actions;
    const auto item = this->item;
    const auto index = this->index;
    return ui::View(ItemView{shared->order, item, actions.focusedItem.binding(), actions.addingItem.binding(),
                             [actions, item] { actions.rowDeleteAction(item); }})
        .background(ui::GeometryReader([index](const ui::GeometryProxy& geometry) {
            return ui::View(ui::Color::clear).preference(ItemRowSizesKey{}, {ItemSizeElement{index, geometry.size()}});
        }))
        .contentShape(ui::Rectangle())
        .onChange(scrollPosition,
                  [shared](const std::optional<foundation::UUID>&) {
                      ui::withAnimation(
                          [&] { shared->proxy.scrollTo(anchorID(shared->bottomView), graphics::CGPoint{0.5, 1}); });
                  })
        .onChange(burning, [shared](bool nowBurning) {
            if (nowBurning)
                ui::withAnimation([&] { shared->proxy.scrollTo(anchorID(shared->topView), graphics::CGPoint{0.5, 0}); });
        });
}

} // namespace quoril
