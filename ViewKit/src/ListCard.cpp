#include "ViewKit/ListCard.h"

#include "ViewKit/ListCardStyle.h"
#include "ViewKit/MainActor.h"

#include "ui/Color.h"

namespace ViewKit {

ViewOperation listCardStyle(ListCardStyle style) {
    detail::requireMainActor("listCardStyle");
    return ViewOperation([style](const ui::View& view) { return view.environment(ListCardStyleKey{}, style); });
}

ListCard::ListCard(std::function<ui::View()> content)
    : content(std::move(content)) {}

ListCard::ListCard(std::function<ui::View()> content, std::function<ui::View()> contextMenu)
    : content(std::move(content))
    , contextMenu(std::move(contextMenu)) {}

ui::View ListCard::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("ListCard");
    const ListCardStyle style = ctx.environment<ListCardStyleKey>();
    ui::View card = (content ? content() : ui::View())
                        .background(ui::View(ui::Color::primary).colorInvert())
                        .cornerRadius(style.cornerRadius, true);
    if (contextMenu) card = card.contextMenu(contextMenu());
    return card | shadow(style.shadowStyle);
}

} // namespace ViewKit
