#include "ui/Button.h"
#include "ui/ButtonStyle.h"
#include "ui/Color.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Image.h"
#include "ui/RoundedRectangle.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/TextEnvironment.h"
#include "ui/TextField.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace ui {
namespace {

// The search field: a lens, the text, and a button that clears it while it holds any.
// With `isPresented`, the field's focus follows it both ways.
View searchField(const Binding<std::string>& text, const std::string& prompt,
                 const std::optional<Binding<bool>>& isPresented) {
    View field = View(TextField(prompt, text)).frame([] { FlexibleFrame f; f.maxWidth = 1e9; f.minHeight = 20; return f; }());
    if (isPresented) field = field.focused(*isPresented);
    std::vector<View> parts{View(Image::systemName("magnifyingglass"))
                                .frame(13, 13)
                                .foregroundStyle(HierarchicalShapeStyle::secondary),
                            field};
    if (!text.get().empty())
        parts.push_back(View(Button([text] { text.set(std::string()); },
                                    View(Image::systemName("xmark.circle.fill")).frame(13, 13)))
                            .buttonStyle(PlainButtonStyle{})
                            .foregroundStyle(HierarchicalShapeStyle::secondary)
                            .accessibilityLabel(Text("Clear"))
                            .id("clearSearch"));
    return View(HStack(VerticalAlignment::center, 5, std::move(parts)))
        .padding(EdgeSet::horizontal, 7)
        .padding(EdgeSet::vertical, 3)
        .background(RoundedRectangle(6).fill(Color::gray.opacity(0.15)))
        .overlay(RoundedRectangle(6).strokeBorder(Color::gray.opacity(0.3), 0.5))
        .id("searchField");
}

struct SearchableModifier {
    Binding<std::string> text;
    SearchFieldPlacement placement;
    std::string prompt;
    std::optional<Binding<bool>> isPresented;
    std::optional<Text> promptText; // resolved in the view's environment; wins over `prompt`

    View body(ViewContext& ctx, View content) const {
        const std::string shownPrompt =
            promptText ? promptText->string(textContext(ctx.environmentValues())) : prompt;
        View field = searchField(text, shownPrompt, isPresented);
        // In a toolbar the field keeps to the trailing end at a modest width.
        if (placement == SearchFieldPlacement::toolbar)
            field = HStack({Spacer(), field.frame(220, std::nullopt)});
        return VStack(HorizontalAlignment::center, 0,
                      {field.padding(8), content.frame([] { FlexibleFrame f; f.maxWidth = 1e9; f.maxHeight = 1e9; return f; }())});
    }
};

} // namespace

View View::searchable(Binding<std::string> text, SearchFieldPlacement placement, std::string prompt) const {
    return modifier(SearchableModifier{std::move(text), placement, std::move(prompt), std::nullopt, std::nullopt});
}

View View::searchable(Binding<std::string> text, Binding<bool> isPresented, SearchFieldPlacement placement,
                      std::optional<Text> prompt) const {
    return modifier(
        SearchableModifier{std::move(text), placement, "Search", std::move(isPresented), std::move(prompt)});
}

} // namespace ui
