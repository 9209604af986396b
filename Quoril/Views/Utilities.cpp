#include "App/Utilities.h"

#include "foundation/Bundle.h"

namespace quoril {

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
