#include "ui/Text.h"

#include "foundation/Bundle.h"
#include "ui/Markdown.h"

#include <algorithm>
#include <QString>

namespace ui {

namespace {

// Stand-ins for format arguments while the markdown is read, so that an argument's own
// characters never act as markdown. Noncharacters never occur in real text.
constexpr std::string_view argumentStart = "\xEF\xB7\x90"; // U+FDD0
constexpr std::string_view argumentEnd = "\xEF\xB7\x91";   // U+FDD1

std::string withoutMarkers(std::string text) {
    for (auto marker : {argumentStart, argumentEnd})
        for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker, at))
            text.erase(at, marker.size());
    return text;
}

std::string withArguments(std::string text, const std::vector<std::string>& arguments) {
    std::string result;
    std::size_t from = 0;
    while (true) {
        const auto start = text.find(argumentStart, from);
        if (start == std::string::npos) break;
        const auto end = text.find(argumentEnd, start);
        if (end == std::string::npos) break;
        result.append(text, from, start - from);
        const auto digits = text.substr(start + argumentStart.size(), end - start - argumentStart.size());
        const auto index = std::size_t(std::stoul(digits));
        if (index < arguments.size()) result += arguments[index];
        from = end + argumentEnd.size();
    }
    result.append(text, from);
    return result;
}

std::string cased(const std::string& text, std::optional<TextCase> textCase) {
    if (!textCase) return text;
    const auto q = QString::fromStdString(text);
    return (*textCase == TextCase::uppercase ? q.toUpper() : q.toLower()).toStdString();
}

bool sameAttributes(const AttributedRun& a, const AttributedRun& b) {
    return a.font == b.font && a.foregroundColor == b.foregroundColor && a.underline == b.underline &&
           a.strikethrough == b.strikethrough && a.baselineOffset == b.baselineOffset && a.link == b.link;
}

} // namespace

Text::Text(LocalizedStringKey key, std::string tableName, std::shared_ptr<const foundation::Bundle> bundle) {
    segments_.push_back(Segment{Localized{std::move(key), std::move(tableName), std::move(bundle)}, {}});
}

bool Text::isVerbatim() const {
    return std::all_of(segments_.begin(), segments_.end(),
                       [](const Segment& segment) { return std::holds_alternative<std::string>(segment.content); });
}

Text Text::verbatim(std::string text) {
    Text result;
    result.segments_.push_back(Segment{std::move(text), {}});
    return result;
}

template <typename T>
Text Text::withDefault(std::optional<T> Attributes::*attribute, const std::optional<T>& value) const {
    if (!value) return *this;
    Text result = *this;
    // A segment's own setting wins over one made on the whole.
    for (auto& segment : result.segments_)
        if (!(segment.attributes.*attribute)) segment.attributes.*attribute = value;
    return result;
}

Text Text::font(std::optional<Font> font) const {
    return withDefault(&Attributes::font, font);
}

Text Text::fontWeight(std::optional<Font::Weight> weight) const {
    return withDefault(&Attributes::weight, weight);
}

Text Text::italic() const {
    return withDefault(&Attributes::italic, std::optional(true));
}

Text Text::underline(bool active) const {
    return withDefault(&Attributes::underline, std::optional(active));
}

Text Text::strikethrough(bool active) const {
    return withDefault(&Attributes::strikethrough, std::optional(active));
}

Text Text::baselineOffset(double offset) const {
    return withDefault(&Attributes::baselineOffset, std::optional(offset));
}

Text Text::foregroundColor(std::optional<QColor> color) const {
    return withDefault(&Attributes::foregroundColor, color);
}

Text operator+(const Text& lhs, const Text& rhs) {
    Text result = lhs;
    result += rhs;
    return result;
}

Text& Text::operator+=(const Text& other) {
    segments_.insert(segments_.end(), other.segments_.begin(), other.segments_.end());
    return *this;
}

std::vector<AttributedRun> Text::resolve(const TextContext& context) const {
    std::vector<AttributedRun> runs;
    auto append = [&](const Attributes& attributes, const std::string& text, const MarkdownRun& markdown) {
        if (text.empty()) return;
        Font font = attributes.font.value_or(context.font);
        if (attributes.weight) font = font.weight(*attributes.weight);
        if (markdown.strong) font = font.bold();
        if (attributes.italic.value_or(false) || markdown.emphasis) font = font.italic();
        if (markdown.code) font = font.monospaced();

        AttributedRun run;
        run.text = cased(text, context.textCase);
        run.font = font.resolve(context.fontContext);
        run.underline = attributes.underline.value_or(false);
        run.strikethrough = attributes.strikethrough.value_or(false);
        run.baselineOffset = attributes.baselineOffset.value_or(0);
        if (markdown.link) run.link = foundation::URL::fromString(*markdown.link);
        run.foregroundColor = attributes.foregroundColor.value_or(context.foregroundColor);
        if (run.link && context.linkColor.isValid()) run.foregroundColor = context.linkColor;

        if (!runs.empty() && sameAttributes(runs.back(), run))
            runs.back().text += run.text;
        else
            runs.push_back(std::move(run));
    };

    for (const auto& segment : segments_) {
        if (const auto* text = std::get_if<std::string>(&segment.content)) {
            append(segment.attributes, *text, MarkdownRun{});
            continue;
        }
        const auto& localized = std::get<Localized>(segment.content);
        const foundation::Bundle& bundle = localized.bundle ? *localized.bundle
                                           : context.bundle ? *context.bundle
                                                            : *foundation::Bundle::main();
        const auto& key = localized.key;
        auto source = bundle.localizedString(key.key(), {}, localized.tableName);
        std::vector<std::string> arguments;
        if (!key.arguments().empty()) {
            source = formatLocalizedString(
                withoutMarkers(std::move(source)), key.arguments(),
                [&](std::size_t, std::string text) {
                    arguments.push_back(std::move(text));
                    return std::string(argumentStart) + std::to_string(arguments.size() - 1) +
                           std::string(argumentEnd);
                },
                context.locale ? &*context.locale : nullptr);
        }
        for (auto markdown : parseInlineMarkdown(source)) {
            if (!arguments.empty()) {
                markdown.text = withArguments(markdown.text, arguments);
                if (markdown.link) markdown.link = withArguments(*markdown.link, arguments);
            }
            append(segment.attributes, markdown.text, markdown);
        }
    }
    return runs;
}

std::string Text::string(const TextContext& context) const {
    std::string result;
    for (const auto& run : resolve(context))
        result += run.text;
    return result;
}

} // namespace ui
