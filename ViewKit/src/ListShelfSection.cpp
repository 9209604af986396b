#include "ViewKit/ListShelfSection.h"

#include "ViewKit/ListShelfSectionStyle.h"
#include "ViewKit/MainActor.h"

#include "ui/LazyStack.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"

namespace ViewKit {

ViewOperation listShelfSectionStyle(ListShelfSectionStyle style) {
    detail::requireMainActor("listShelfSectionStyle");
    return ViewOperation(
        [style](const ui::View& view) { return view.environment(ListShelfSectionStyleKey{}, style); });
}

ListShelfSection::ListShelfSection(std::optional<double> shadowSpacing, std::function<ui::View()> title,
                                   std::function<ui::View()> content)
    : shadowSpacing(shadowSpacing.value_or(50))
    , title(std::move(title))
    , content(std::move(content)) {}

ui::View ListShelfSection::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("ListShelfSection");
    const ListShelfSectionStyle s = ctx.environment<ListShelfSectionStyleKey>();
    const ui::View heading = (title ? title() : ui::View())
                                 .padding(ui::EdgeSet::horizontal, s.horizontalPadding)
                                 .padding(ui::EdgeSet::bottom, s.rowTitleSpacing);
    const ui::View row = ui::LazyHStack(ui::VerticalAlignment::center, s.rowItemSpacing,
                                        {content ? content() : ui::View()})
                             .padding(ui::EdgeSet::vertical, shadowSpacing)
                             .padding(ui::EdgeSet::horizontal, s.horizontalPadding);
    // The row scrolls sideways only, so it is as high as its items (with their room).
    const ui::View shelf = ui::View(ui::ScrollView(ui::AxisSet::horizontal, false, row))
                               .fixedSize(false, true)
                               .padding(ui::EdgeSet::vertical, -shadowSpacing)
                               .padding(ui::EdgeSet::bottom, s.rowSpacing);
    return ui::VStack(ui::HorizontalAlignment::leading, 0, {heading, shelf});
}

} // namespace ViewKit
