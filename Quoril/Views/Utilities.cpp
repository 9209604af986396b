#include "Views/Utilities.h"

#include "foundation/Bundle.h"

namespace quoril {

const ui::Color& Utilities::accentColor() {
    static const auto* color = new ui::Color(ui::Color::red);
    return *color;
}

const std::string& Utilities::newItemTitle() {
    static const auto* text = new std::string(foundation::Bundle::main()->localizedString("New Goal"));
    return *text;
}

const std::string& Utilities::burnCompletedItemsTitle() {
    static const auto* text =
        new std::string(foundation::Bundle::main()->localizedString("Burn Accomplished Goals"));
    return *text;
}

} // namespace quoril
