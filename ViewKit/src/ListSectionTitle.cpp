#include "ViewKit/ListSectionTitle.h"

#include "ViewKit/MainActor.h"

#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Text.h"
#include "ui/TextCase.h"
#include "ui/ViewConditional.h"

namespace ViewKit {

ui::View ListSectionTitle::body(ui::ViewContext&) const {
    detail::requireMainActor("ListSectionTitle");
    const ui::View title = ui::View(ui::Text(text, {}, bundle))
                               .textCase(ui::TextCase::uppercase)
                               .foregroundColor(ui::Color::secondary)
                               .font(ui::Font::footnote());
    return ui::ConditionalContent(applyInsets,
                                  applyInsets ? title.padding(ui::EdgeSet::leading).padding(ui::EdgeSet::top, -3)
                                              : ui::View(),
                                  title);
}

ui::View ListSubtitle::body(ui::ViewContext&) const {
    detail::requireMainActor("ListSubtitle");
    return ui::View(ui::Text(text, {}, bundle))
        .font(ui::Font::footnote())
        .foregroundColor(ui::Color::secondary)
        .lineLimit(1);
}

} // namespace ViewKit
