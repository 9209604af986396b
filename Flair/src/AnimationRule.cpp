#include "AnimationRule.h"

#include "ui/TransactionModifier.h"
#include "ui/ViewContext.h"

#include <utility>

namespace Flair::detail {

namespace {

// A modifier whose views are made by a function, so a transaction rule reaches them.
struct OwnViews {
    std::function<ui::View(ui::View)> make;
    ui::View body(ui::ViewContext&, ui::View content) const { return make(std::move(content)); }
};

} // namespace

ui::View animatingOwnViews(ui::View content, std::function<ui::View(ui::View)> make,
                           std::optional<ui::Animation> animation) {
    return content.modifier(ui::animation(OwnViews{std::move(make)}, std::move(animation)));
}

} // namespace Flair::detail
