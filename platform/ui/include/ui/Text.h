#pragma once

#include "ui/AttributedRun.h"
#include "ui/Font.h"
#include "ui/LocalizedStringKey.h"
#include "ui/TextCase.h"
#include "ui/TextContext.h"
#include "ui/TextTruncationMode.h"

#include <QColor>

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace foundation {
class Bundle;
}

namespace ui {

// The content of a text view: one or more segments, each a localised key or verbatim text with
// its own attributes, shown as one paragraph. A value; `resolve` turns it into attributed runs
// for a context.
//
// Attributes set on a text apply to every segment that has not set them itself, so in
// `(Text("a").italic() + Text("b")).font(Font::title())` both are in the title font and only
// "a" is italic, while a segment's own font wins over one set on the whole.
class Text {
public:
    using Case = TextCase;
    using TruncationMode = TextTruncationMode;

    // The empty text.
    Text() = default;
    // A localised text: `key` looked up in `tableName` (the default table when empty) of
    // `bundle` (the context's bundle when null), then formatted with the key's arguments; its
    // inline markdown is drawn (emphasis, strong, code, links). Arguments are inserted as they
    // are, never read as markdown.
    Text(LocalizedStringKey key, std::string tableName = {},
         std::shared_ptr<const foundation::Bundle> bundle = {});
    // A literal is a key, as in Text("Goals") ...
    Text(const char* key)
        : Text(LocalizedStringKey(key)) {}
    // ... while a string value is shown verbatim, so user data is never looked up or read as
    // markdown. A key made at run time goes through LocalizedStringKey.
    explicit Text(std::string text)
        : Text(verbatim(std::move(text))) {}
    // Shown exactly as given: never looked up, never read as markdown.
    static Text verbatim(std::string text);

    // An unset font or weight leaves the text as it is.
    Text font(std::optional<Font> font) const;
    Text fontWeight(std::optional<Font::Weight> weight) const;
    Text bold() const { return fontWeight(Font::Weight::bold); }
    Text italic() const;
    Text underline(bool active = true) const;
    Text strikethrough(bool active = true) const;
    Text baselineOffset(double offset) const;
    Text foregroundColor(std::optional<QColor> color) const;

    friend Text operator+(const Text& lhs, const Text& rhs);
    Text& operator+=(const Text& other);

    // The runs shown in `context`, in order; neighbours with equal attributes are merged and
    // empty runs left out.
    std::vector<AttributedRun> resolve(const TextContext& context) const;
    // Whether every segment is shown verbatim (so none can draw markdown or links).
    bool isVerbatim() const;
    // The characters shown, without attributes.
    std::string string(const TextContext& context) const;

    bool operator==(const Text&) const = default;

private:
    struct Attributes {
        std::optional<Font> font;
        std::optional<Font::Weight> weight;
        std::optional<bool> italic;
        std::optional<bool> underline;
        std::optional<bool> strikethrough;
        std::optional<double> baselineOffset;
        std::optional<QColor> foregroundColor;
        bool operator==(const Attributes&) const = default;
    };
    struct Localized {
        LocalizedStringKey key;
        std::string tableName;
        std::shared_ptr<const foundation::Bundle> bundle;
        bool operator==(const Localized&) const = default;
    };
    struct Segment {
        std::variant<std::string, Localized> content;
        Attributes attributes;
        bool operator==(const Segment&) const = default;
    };

    // `value` for each segment that has not set `attribute` itself; nothing for no value.
    template <typename T>
    Text withDefault(std::optional<T> Attributes::*attribute, const std::optional<T>& value) const;

    std::vector<Segment> segments_;
};

} // namespace ui
