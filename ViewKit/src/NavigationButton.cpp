#include "ViewKit/NavigationButton.h"

#include "ViewKit/ListButtonStyle.h"
#include "ViewKit/MainActor.h"

#include "ui/Button.h"
#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"

namespace ViewKit {

ui::View NavigationButton::body(ui::ViewContext&) const {
    detail::requireMainActor("NavigationButton");
    return ui::View(ui::Button(action, ui::HStack(ui::VerticalAlignment::center, std::nullopt,
                                                  {content ? content() : ui::View(), ui::Spacer(),
                                                   ui::View(NavigationLinkArrow{})})))
        .buttonStyle(ListButtonStyle());
}

ui::View NavigationLinkArrow::body(ui::ViewContext&) const {
    detail::requireMainActor("NavigationLinkArrow");
    return ui::View(ui::Image::systemName("chevron.right"))
        .font(ui::Font::footnote().weight(ui::Font::Weight::semibold))
        .opacity(0.3)
        .padding(ui::EdgeSet::leading, 2);
}

} // namespace ViewKit
