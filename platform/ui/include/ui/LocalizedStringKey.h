#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class QLocale;

namespace foundation {
class Bundle;
}

namespace ui {

// The key of a localised text: the English text, used as the key of a string table, and the
// values of its format specifiers. "Last checked: %@" with a date's text as its one argument
// is looked up under that key; the translation (or the key itself when there is none) is then
// formatted with the arguments.
//
// Format specifiers: %@ (any argument as text), %d %i %ld %lld %u %lu %llu (integers),
// %f %e %g with flags, width and precision (numbers), positional forms such as %2$@, and %%.
// A key without arguments is shown as it is, % signs and all. A specifier without an argument
// is shown as written; one whose argument is of another kind shows the argument as text.
class LocalizedStringKey {
public:
    using Argument = std::variant<std::string, std::int64_t, double>;

    // Built piece by piece, as a key with interpolated values: literals are kept (a % is
    // escaped), each value adds its specifier and its argument.
    class StringInterpolation {
    public:
        StringInterpolation& appendLiteral(std::string_view literal);
        // Text: "%@".
        StringInterpolation& appendInterpolation(std::string_view text);
        StringInterpolation& appendInterpolation(const char* text) {
            return appendInterpolation(std::string_view(text));
        }
        // Integers: "%lld".
        StringInterpolation& appendInterpolation(std::int64_t value);
        StringInterpolation& appendInterpolation(int value) {
            return appendInterpolation(std::int64_t(value));
        }
        // Numbers: "%lf", or the given specifier such as "%.0f".
        StringInterpolation& appendInterpolation(double value, std::string_view specifier = "%lf");

    private:
        friend class LocalizedStringKey;
        std::string key_;
        std::vector<Argument> arguments_;
    };

    // From a literal: the text is the key.
    LocalizedStringKey(const char* key)
        : key_(key) {}
    LocalizedStringKey(std::string key)
        : key_(std::move(key)) {}
    LocalizedStringKey(StringInterpolation interpolation)
        : key_(std::move(interpolation.key_))
        , arguments_(std::move(interpolation.arguments_)) {}

    const std::string& key() const { return key_; }
    const std::vector<Argument>& arguments() const { return arguments_; }

    // The translation from `table` of `bundle` (default table when empty), else the key,
    // formatted with the arguments.
    std::string resolve(const foundation::Bundle& bundle, std::string_view table = {}) const;

    bool operator==(const LocalizedStringKey&) const = default;

private:
    std::string key_;
    std::vector<Argument> arguments_;
};

// `format` with its specifiers replaced by `arguments` as described above. Each formatted
// argument goes through `insert` (its index and text), whose result is what lands in the text;
// callers use it to mark where arguments are. With a locale, numbers take its digits, decimal
// point and minus sign; without one they print as in C.
std::string
formatLocalizedString(std::string_view format, const std::vector<LocalizedStringKey::Argument>& arguments,
                      const std::function<std::string(std::size_t index, std::string text)>& insert = {},
                      const QLocale* locale = nullptr);

// The text of an argument as %@ shows it.
std::string description(const LocalizedStringKey::Argument& argument);

} // namespace ui
