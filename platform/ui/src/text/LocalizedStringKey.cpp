#include "ui/LocalizedStringKey.h"

#include "foundation/Bundle.h"

#include <fmt/format.h>

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdio>
#include <optional>

namespace ui {

namespace {

std::string escaped(std::string_view literal) {
    std::string result;
    for (char c : literal) {
        result += c;
        if (c == '%') result += '%';
    }
    return result;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// One conversion after its '%': [position$][flags][width][.precision][length]conversion.
struct Specifier {
    std::optional<std::size_t> position; // 1-based
    std::string flags;
    std::string width;
    std::optional<std::string> precision;
    char conversion = 0;
    std::size_t length = 0; // characters after the '%'
};

std::optional<Specifier> parseSpecifier(std::string_view text) {
    Specifier specifier;
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        return std::string(text.substr(start, i - start));
    };
    const std::size_t start = i;
    const auto number = digits();
    if (!number.empty() && i < text.size() && text[i] == '$') {
        const auto position = std::stoul(number.substr(0, 9));
        if (position == 0) return std::nullopt;
        specifier.position = position;
        ++i;
    } else {
        i = start;
    }
    while (i < text.size() && std::string_view("-+ 0#").find(text[i]) != std::string_view::npos)
        specifier.flags += text[i++];
    specifier.width = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        specifier.precision = digits();
    }
    while (i < text.size() &&
           (text[i] == 'l' || text[i] == 'h' || text[i] == 'q' || text[i] == 'z' || text[i] == 'L'))
        ++i;
    if (i >= text.size()) return std::nullopt;
    const char c = text[i];
    if (std::string_view("@diuxXfFeEgG").find(c) == std::string_view::npos) return std::nullopt;
    // Widths and precisions beyond these are no format anyone means; show them as written.
    if (specifier.width.size() > 3 || (specifier.precision && specifier.precision->size() > 2))
        return std::nullopt;
    specifier.conversion = c;
    specifier.length = i + 1;
    return specifier;
}

std::string printfFormat(const Specifier& specifier, std::string_view length, char conversion) {
    std::string format = "%" + specifier.flags + specifier.width;
    if (specifier.precision) format += "." + *specifier.precision;
    format += length;
    format += conversion;
    return format;
}

template <typename T> std::string printed(const std::string& format, T value) {
    char buffer[1200]; // room for the widest width and precision allowed above
    const int n = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
    if (n < 0) return {};
    return std::string(buffer, std::size_t(std::min(n, int(sizeof buffer) - 1)));
}

// A number printed in C conventions, with the locale's digits, decimal point and minus sign.
// Grouping is left out, as printf leaves it out.
std::string localized(const std::string& printed, const QLocale& locale) {
    const auto zero = locale.zeroDigit().toUcs4();
    QString result;
    for (const char c : printed) {
        if (c >= '0' && c <= '9' && !zero.isEmpty()) {
            const char32_t digit = zero.at(0) + char32_t(c - '0');
            result += QString::fromUcs4(&digit, 1);
        } else if (c == '.') {
            result += locale.decimalPoint();
        } else if (c == '-') {
            result += locale.negativeSign();
        } else {
            result += QChar(c);
        }
    }
    return result.toStdString();
}

std::string formatted(const Specifier& specifier, const LocalizedStringKey::Argument& argument,
                      const QLocale* locale) {
    const char c = specifier.conversion;
    const bool numeric = !std::holds_alternative<std::string>(argument) && c != 'x' && c != 'X';
    if (locale && numeric) return localized(formatted(specifier, argument, nullptr), *locale);
    if (c == '@') return description(argument);
    if (const auto* text = std::get_if<std::string>(&argument)) return *text;
    const bool integral = std::string_view("diuxX").find(c) != std::string_view::npos;
    if (integral) {
        std::int64_t value = 0;
        if (const auto* i = std::get_if<std::int64_t>(&argument))
            value = *i;
        else {
            const double d = std::get<double>(argument);
            if (!std::isfinite(d)) return description(argument);
            value = d >= 9.2e18 ? INT64_MAX : d <= -9.2e18 ? INT64_MIN : std::int64_t(d);
        }
        if (c == 'd' || c == 'i') return printed(printfFormat(specifier, "ll", 'd'), (long long)value);
        return printed(printfFormat(specifier, "ll", c), (unsigned long long)value);
    }
    double value = 0;
    if (const auto* i = std::get_if<std::int64_t>(&argument))
        value = double(*i);
    else
        value = std::get<double>(argument);
    return printed(printfFormat(specifier, "", c), value);
}

} // namespace

LocalizedStringKey::StringInterpolation&
LocalizedStringKey::StringInterpolation::appendLiteral(std::string_view literal) {
    key_ += escaped(literal);
    return *this;
}

LocalizedStringKey::StringInterpolation&
LocalizedStringKey::StringInterpolation::appendInterpolation(std::string_view text) {
    key_ += "%@";
    arguments_.emplace_back(std::string(text));
    return *this;
}

LocalizedStringKey::StringInterpolation&
LocalizedStringKey::StringInterpolation::appendInterpolation(std::int64_t value) {
    key_ += "%lld";
    arguments_.emplace_back(value);
    return *this;
}

LocalizedStringKey::StringInterpolation&
LocalizedStringKey::StringInterpolation::appendInterpolation(double value, std::string_view specifier) {
    key_ += specifier;
    arguments_.emplace_back(value);
    return *this;
}

std::string LocalizedStringKey::resolve(const foundation::Bundle& bundle, std::string_view table) const {
    const auto text = bundle.localizedString(key_, {}, table);
    if (arguments_.empty()) return text;
    return formatLocalizedString(text, arguments_);
}

std::string description(const LocalizedStringKey::Argument& argument) {
    if (const auto* text = std::get_if<std::string>(&argument)) return *text;
    if (const auto* value = std::get_if<std::int64_t>(&argument)) return fmt::format("{}", *value);
    const double value = std::get<double>(argument);
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return fmt::format("{}", value);
}

std::string formatLocalizedString(std::string_view format,
                                  const std::vector<LocalizedStringKey::Argument>& arguments,
                                  const std::function<std::string(std::size_t, std::string)>& insert,
                                  const QLocale* locale) {
    std::string result;
    std::size_t next = 0;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c != '%') {
            result += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            result += '%';
            i += 2;
            continue;
        }
        const auto specifier = parseSpecifier(format.substr(i + 1));
        if (!specifier) {
            result += c;
            ++i;
            continue;
        }
        const std::size_t index = specifier->position ? *specifier->position - 1 : next++;
        if (index >= arguments.size()) {
            result += format.substr(i, specifier->length + 1);
        } else {
            auto text = formatted(*specifier, arguments[index], locale);
            result += insert ? insert(index, std::move(text)) : text;
        }
        i += specifier->length + 1;
    }
    return result;
}

} // namespace ui
