#include "ViewKit/SystemFontListPicker.h"

#include "ViewKit/ListPicker.h"
#include "ViewKit/MainActor.h"
#include "ViewKit/SystemFontForEachPicker.h"

namespace ViewKit {

SystemFontListPicker::SystemFontListPicker(ui::Binding<std::string> selectedFontName,
                                           std::optional<std::vector<SystemFontPickerFont>> fonts,
                                           bool dismissAfterPick, double itemFontSize)
    : fonts(fonts ? std::move(*fonts)
                  : movingToTop(SystemFontPickerFont::standardFonts(), selectedFontName.get()))
    , itemFontSize(itemFontSize)
    , dismissAfterPick(dismissAfterPick)
    , selectedFontName(std::move(selectedFontName)) {}

ui::View SystemFontListPicker::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("SystemFontListPicker");
    // The fonts stay where they are: a list of thousands is not copied at each update.
    using Picker = ListPicker<SystemFontPickerFont>;
    return Picker::list(ctx, {{&fonts, std::nullopt}},
                        SystemFontForEachPicker::fontSelection(selectedFontName), false, dismissAfterPick,
                        SystemFontForEachPicker::rowBuilder(itemFontSize));
}

} // namespace ViewKit
