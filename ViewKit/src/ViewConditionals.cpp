#include "ViewKit/ViewConditionals.h"

#include "ViewKit/MainActor.h"

#include "ui/ViewConditional.h"

namespace ViewKit {

ViewOperation hidden(bool hidden) {
    detail::requireMainActor("hidden");
    return ViewOperation([hidden](const ui::View& view) { return ui::ConditionalContent(hidden, view.hidden(), view); });
}

ViewOperation visible(bool visible) {
    detail::requireMainActor("visible");
    return hidden(!visible);
}

ViewOperation searchable(bool enabled, ui::Binding<std::string> text, ui::SearchFieldPlacement placement,
                         std::string prompt) {
    detail::requireMainActor("searchable");
    return ViewOperation([=](const ui::View& view) {
        return ui::ConditionalContent(enabled, enabled ? view.searchable(text, placement, prompt) : ui::View(), view);
    });
}

ViewOperation searchable(bool enabled, ui::Binding<std::string> text, ui::Binding<bool> isPresented,
                         ui::SearchFieldPlacement placement, std::optional<ui::Text> prompt) {
    detail::requireMainActor("searchable");
    return ViewOperation([=](const ui::View& view) {
        return ui::ConditionalContent(
            enabled, enabled ? view.searchable(text, isPresented, placement, prompt) : ui::View(), view);
    });
}

} // namespace ViewKit
