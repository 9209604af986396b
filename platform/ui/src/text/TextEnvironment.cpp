#include "ui/TextEnvironment.h"

#include "ui/EnvironmentKeys.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/TintShapeStyle.h"

namespace ui {

Font environmentFont(const EnvironmentValues& environment) {
    Font font = environment.get<FontKey>().value_or(Font::body());
    if (const auto weight = environment.get<FontWeightKey>()) font = font.weight(*weight);
    return font;
}

FontContext fontContext(const EnvironmentValues& environment) {
    return FontContext{environment.get<SizeCategoryKey>(), environment.get<FontDesignKey>()};
}

QFont resolvedFont(const EnvironmentValues& environment) {
    return environmentFont(environment).resolve(fontContext(environment));
}

TextContext textContext(const EnvironmentValues& environment) {
    TextContext context;
    context.font = environmentFont(environment);
    context.fontContext = fontContext(environment);
    context.foregroundColor = foregroundColor(environment);
    context.linkColor = TintShapeStyle{}.brush(styleContext(environment), {}).color();
    context.textCase = environment.get<TextCaseKey>();
    context.locale = environment.get<LocaleKey>();
    return context;
}

TextLayoutOptions textLayoutOptions(const EnvironmentValues& environment) {
    TextLayoutOptions options;
    options.lineLimit = environment.get<LineLimitKey>();
    options.alignment = environment.get<MultilineTextAlignmentKey>();
    options.truncationMode = environment.get<TruncationModeKey>();
    options.layoutDirection = environment.get<LayoutDirectionKey>() == LayoutDirection::rightToLeft
                                  ? Qt::RightToLeft
                                  : Qt::LeftToRight;
    return options;
}

} // namespace ui
