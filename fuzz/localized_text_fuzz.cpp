// A translation from a string table: any bytes format and read as inline markdown without a
// crash; markdown only ever drops characters, and no run is empty.
#include "ui/LocalizedStringKey.h"
#include "ui/Markdown.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<ui::LocalizedStringKey::Argument> arguments{std::string("**a**"), std::int64_t(-7),
                                                                  0.25};
    const auto formatted = ui::formatLocalizedString(input, arguments);

    for (const auto& text : {std::string(input), formatted}) {
        const auto characters = QString::fromStdString(text).toStdU32String().size();
        std::size_t shown = 0;
        for (const auto& run : ui::parseInlineMarkdown(text)) {
            if (run.text.empty()) std::abort();
            shown += QString::fromStdString(run.text).toStdU32String().size();
        }
        if (shown > characters) std::abort();
    }
    return 0;
}
