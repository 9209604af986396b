#include "ViewKit/ReorderableForEach.h"

#include "ui/Element.h"

namespace ViewKit::detail {

void ReorderFlag::set(bool value) {
    if (value_ == value) return;
    objectWillChange().send();
    value_ = value;
}

std::shared_ptr<ReorderFlag> reorderFlag(ui::ViewContext& ctx, const foundation::AnyHashable& id) {
    // The rows are the children keyed by their identifiers of the element that holds them: a
    // ForEach's own in a stack, the lazy stack of a list. Wrappers may stand between.
    ui::Element* holder = &ctx.element();
    for (ui::Element* e = &ctx.element(); e; e = e->parent()) {
        if (e->explicitID() && *e->explicitID() == id && e->parent()) {
            holder = e->parent();
            break;
        }
    }
    return holder->slot<ReorderFlag>("\x01reorderableForEach",
                                     [] { return std::make_shared<ReorderFlag>(); });
}

} // namespace ViewKit::detail
