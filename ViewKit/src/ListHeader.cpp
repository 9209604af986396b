#include "ViewKit/ListHeader.h"

#include "ViewKit/MainActor.h"

#include "ui/Color.h"
#include "ui/Frame.h"
#include "ui/Stack.h"

#include <limits>

namespace ViewKit {

ListHeader::ListHeader(std::optional<double> bottomPadding, std::function<ui::View()> view)
    : view(std::move(view)) {
    detail::requireMainActor("ListHeader");
    this->bottomPadding = bottomPadding.value_or(0);
}

ui::View ListHeader::body(ui::ViewContext&) const {
    detail::requireMainActor("ListHeader");
    return ui::ZStack(ui::Alignment::center, {view ? view() : ui::View()})
        .frame(ui::FlexibleFrame{.maxWidth = std::numeric_limits<graphics::CGFloat>::infinity(),
                                 .alignment = ui::Alignment::center})
        .listRowBackground(ui::View(ui::Color::clear))
        .padding(ui::EdgeSet::bottom, bottomPadding);
}

ViewOperation listHeader(std::optional<double> bottomPadding) {
    detail::requireMainActor("listHeader");
    return ViewOperation([bottomPadding](const ui::View& view) {
        return ui::View(ListHeader(bottomPadding, [view] { return view; }));
    });
}

ui::View listHeader(const ui::Image& image, std::optional<graphics::CGFloat> height) {
    detail::requireMainActor("listHeader");
    return image.resizable().aspectRatio(std::nullopt, ui::ContentMode::fit).frame(std::nullopt, height) |
           listHeader();
}

} // namespace ViewKit
