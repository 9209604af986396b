#include "ViewKit/ListPadding.h"

#include "ViewKit/MainActor.h"

#include "ui/Color.h"

namespace ViewKit {

ui::View ListPadding::body(ui::ViewContext&) const {
    detail::requireMainActor("ListPadding");
    return ui::View(ui::Color::clear).frame(std::nullopt, height).listRowBackground(ui::View(ui::Color::clear));
}

} // namespace ViewKit
