#include "ViewKit/MultilineSubmitViewModifier.h"

#include "ViewKit/MainActor.h"
#include "ui/ViewContext.h"

#include <algorithm>

namespace ViewKit {

ui::View MultilineSubmitViewModifier::body(ui::ViewContext& ctx, ui::View content) const {
    detail::requireMainActor("MultilineSubmitViewModifier");
    auto isFocused = ctx.focusState<bool>("isFocused");
    return content.focused(isFocused.binding())
        .submitLabel(submitLabel)
        .onChange(text.get(), [isFocused, text = text, onSubmit = onSubmit](const std::string& now) {
            if (!*isFocused || now.find('\n') == std::string::npos) return;
            isFocused.set(false);
            std::string cleaned = now;
            std::erase_if(cleaned, [](char c) { return c == '\n' || c == '\r'; });
            text.set(cleaned);
            if (onSubmit) onSubmit();
        });
}

MultilineSubmitViewModifier multilineSubmit(ui::Binding<std::string> text, ui::SubmitLabel submitLabel,
                                            std::function<void()> onSubmit) {
    return {std::move(text), submitLabel, std::move(onSubmit)};
}

} // namespace ViewKit
