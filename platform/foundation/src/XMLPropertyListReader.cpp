#include "XMLPropertyListReader.h"

#include "UTF8.h"

#include "foundation/Base64.h"
#include "foundation/PropertyListSerialization.h"

#include <fmt/format.h>

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace foundation::detail {

namespace {

[[noreturn]] void fail(const std::string& why) {
    throw PropertyListError("the XML property list is damaged: " + why);
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

PropertyList integerFrom(std::string_view text) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (text.empty() || text.front() == '-' || end != text.data() + text.size())
        fail("an integer is not a whole number");
    constexpr std::uint64_t int64Max = std::uint64_t(std::numeric_limits<std::int64_t>::max());
    if (ec == std::errc::result_out_of_range || (negative && magnitude > int64Max + 1))
        fail(fmt::format("the integer {}{} is beyond 64 bits", negative ? "-" : "", textForMessage(text)));
    if (negative) return PropertyList(std::int64_t(0 - magnitude));
    if (magnitude > int64Max) return PropertyList(magnitude);
    return PropertyList(std::int64_t(magnitude));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char c = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] - 'A' + 'a') : a[i];
        if (c != b[i]) return false;
    }
    return true;
}

PropertyList realFrom(std::string_view text) {
    text = trimmed(text);
    std::string_view magnitude = text;
    const bool negative = magnitude.starts_with('-');
    if (negative || magnitude.starts_with('+')) magnitude.remove_prefix(1);
    constexpr double infinity = std::numeric_limits<double>::infinity();
    if (equalsIgnoringCase(magnitude, "nan")) return PropertyList(std::numeric_limits<double>::quiet_NaN());
    if (equalsIgnoringCase(magnitude, "inf") || equalsIgnoringCase(magnitude, "infinity"))
        return PropertyList(negative ? -infinity : infinity);
    double value = 0;
    const auto [end, ec] = std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), value);
    if (magnitude.empty() || magnitude.front() == '-' || ec == std::errc::invalid_argument ||
        end != magnitude.data() + magnitude.size())
        fail("a real is not a number");
    if (ec == std::errc::result_out_of_range)
        fail(fmt::format("the real {} is beyond the range of a double", textForMessage(text)));
    return PropertyList(negative ? -value : value);
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = unsigned(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + std::int64_t(dayOfEra) - 719468;
}

unsigned daysInMonth(unsigned year, unsigned month) {
    static constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// "2001-01-01T00:00:00Z", with an optional fraction of a second.
PropertyList dateFrom(std::string_view text) {
    text = trimmed(text);
    const auto bad = [] { fail("a date is not of the form 2001-01-01T00:00:00Z"); };
    std::size_t at = 0;
    const auto number = [&](std::size_t digits) {
        unsigned value = 0;
        for (std::size_t i = 0; i < digits; ++i, ++at) {
            if (at >= text.size() || text[at] < '0' || text[at] > '9') bad();
            value = value * 10 + unsigned(text[at] - '0');
        }
        return value;
    };
    const auto expect = [&](char c) {
        if (at >= text.size() || text[at] != c) bad();
        ++at;
    };
    const unsigned year = number(4);
    expect('-');
    const unsigned month = number(2);
    expect('-');
    const unsigned day = number(2);
    expect('T');
    const unsigned hour = number(2);
    expect(':');
    const unsigned minute = number(2);
    expect(':');
    const unsigned second = number(2);
    double fraction = 0;
    if (at < text.size() && text[at] == '.') {
        ++at;
        double scale = 0.1;
        if (at >= text.size() || text[at] < '0' || text[at] > '9') bad();
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10)
            fraction += scale * (text[at] - '0');
    }
    expect('Z');
    if (at != text.size()) bad();
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59)
        fail(fmt::format("the date {} does not exist", textForMessage(text)));
    constexpr std::int64_t referenceDay = 11323; // 2001-01-01
    const std::int64_t seconds =
        (daysFromCivil(year, month, day) - referenceDay) * 86400 + hour * 3600 + minute * 60 + second;
    return PropertyList(Date(double(seconds) + fraction));
}

PropertyList dataFrom(std::string_view text) {
    std::string base64;
    base64.reserve(text.size());
    for (char c : text)
        if (!isSpace(c)) base64 += c;
    auto bytes = dataFromBase64(base64);
    if (!bytes) fail("data is not base64");
    return PropertyList(std::move(*bytes));
}

class Reader {
public:
    explicit Reader(std::string_view text)
        : text_(text) {}

    PropertyList read() {
        if (text_.starts_with("\xEF\xBB\xBF")) at_ = 3;
        skipMisc();
        const Tag plist = openTag();
        if (plist.name != "plist") fail("the top element is not <plist>");
        if (plist.empty) fail("it holds no value");
        skipSpace();
        if (startsWith("</")) fail("it holds no value");
        PropertyList value = element(openTag(), 0);
        skipSpace();
        closeTag("plist");
        skipMisc();
        if (at_ != text_.size()) fail("text follows the end of the property list");
        return value;
    }

private:
    struct Tag {
        std::string_view name;
        bool empty = false; // <name/>
    };

    bool startsWith(std::string_view prefix) const { return text_.substr(at_).starts_with(prefix); }

    void skipPast(std::string_view end, const char* what) {
        const auto found = text_.find(end, at_);
        if (found == std::string_view::npos) fail(fmt::format("{} is not closed", what));
        at_ = found + end.size();
    }

    // Whitespace and comments, where elements may follow.
    void skipSpace() {
        for (;;) {
            while (at_ < text_.size() && isSpace(text_[at_]))
                ++at_;
            if (!startsWith("<!--")) return;
            at_ += 4;
            skipPast("-->", "a comment");
        }
    }

    // Before and after the top element: also the XML declaration and the document type.
    void skipMisc() {
        for (;;) {
            skipSpace();
            if (startsWith("<?")) {
                skipPast("?>", "a processing instruction");
            } else if (startsWith("<!DOCTYPE")) {
                skipDocumentType();
            } else {
                return;
            }
        }
    }

    void skipDocumentType() {
        char quote = 0;
        int brackets = 0;
        for (at_ += 9; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[') {
                ++brackets;
            } else if (c == ']') {
                --brackets;
            } else if (c == '>' && brackets <= 0) {
                ++at_;
                return;
            }
        }
        fail("the document type is not closed");
    }

    Tag openTag() {
        if (at_ >= text_.size()) fail("it ends where an element should begin");
        if (text_[at_] != '<' || startsWith("</")) fail("text stands where an element should begin");
        ++at_;
        const std::size_t start = at_;
        while (at_ < text_.size() && isNameCharacter(text_[at_]))
            ++at_;
        Tag tag{text_.substr(start, at_ - start)};
        if (tag.name.empty()) fail("an element has no name");
        // Attributes (<plist version="1.0">) say nothing that is read.
        char quote = 0;
        for (; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                tag.empty = text_[at_ - 1] == '/';
                ++at_;
                return tag;
            } else if (c == '<') {
                break;
            }
        }
        fail(fmt::format("the element <{}> is not closed", textForMessage(tag.name)));
    }

    void closeTag(std::string_view name) {
        if (!startsWith("</")) fail(fmt::format("<{}> is not closed", name));
        at_ += 2;
        if (!text_.substr(at_).starts_with(name))
            fail(fmt::format("<{}> is closed by another element", name));
        at_ += name.size();
        while (at_ < text_.size() && isSpace(text_[at_]))
            ++at_;
        if (at_ >= text_.size() || text_[at_] != '>')
            fail(fmt::format("<{}> is closed by another element", name));
        ++at_;
    }

    // The text inside <name>...</name>, with references replaced; no elements inside.
    std::string textContent(const Tag& tag) {
        std::string out;
        if (tag.empty) return out;
        for (;;) {
            if (at_ >= text_.size()) fail(fmt::format("<{}> is not closed", tag.name));
            const char c = text_[at_];
            if (c == '&') {
                reference(out);
            } else if (c != '<') {
                const auto next = text_.find_first_of("&<", at_);
                const auto end = next == std::string_view::npos ? text_.size() : next;
                out.append(text_.substr(at_, end - at_));
                at_ = end;
            } else if (startsWith("<![CDATA[")) {
                const auto start = at_ + 9;
                skipPast("]]>", "a CDATA section");
                out.append(text_.substr(start, at_ - 3 - start));
            } else if (startsWith("<!--")) {
                at_ += 4;
                skipPast("-->", "a comment");
            } else if (startsWith("</")) {
                closeTag(tag.name);
                return out;
            } else {
                fail(fmt::format("<{}> holds an element", tag.name));
            }
        }
    }

    void reference(std::string& out) {
        const auto end = text_.find(';', at_);
        if (end == std::string_view::npos || end - at_ > 12) fail("a character reference is not closed");
        const std::string_view name = text_.substr(at_ + 1, end - at_ - 1);
        at_ = end + 1;
        if (name == "lt") return out.push_back('<');
        if (name == "gt") return out.push_back('>');
        if (name == "amp") return out.push_back('&');
        if (name == "quot") return out.push_back('"');
        if (name == "apos") return out.push_back('\'');
        if (!name.starts_with('#')) fail(fmt::format("the entity &{}; is unknown", textForMessage(name)));
        std::string_view digits = name.substr(1);
        int base = 10;
        if (digits.starts_with('x')) {
            digits.remove_prefix(1);
            base = 16;
        }
        std::uint32_t c = 0;
        const auto [last, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), c, base);
        if (digits.empty() || ec != std::errc() || last != digits.data() + digits.size() || c == 0 ||
            c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            fail(fmt::format("the character reference &{}; is not a character", textForMessage(name)));
        appendUTF8(out, c);
    }

    std::string text(const Tag& tag) {
        std::string value = textContent(tag);
        // What the writer cannot keep is damage, as in binary files.
        if (value.find('\0') != std::string::npos || !isValidUTF8(value))
            fail(fmt::format("a <{}> is not UTF-8 text without NUL characters", tag.name));
        return value;
    }

    PropertyList element(const Tag& tag, int depth) {
        if (depth > PropertyListSerialization::maximumDepth) fail("containers are nested too deeply");
        const std::string_view name = tag.name;
        if (name == "dict") return dictionary(tag, depth);
        if (name == "array") return array(tag, depth);
        if (name == "string") return PropertyList(text(tag));
        if (name == "true" || name == "false") {
            if (!textContent(tag).empty()) fail(fmt::format("<{}> is not empty", name));
            return PropertyList(name == "true");
        }
        if (name == "integer") return integerFrom(textContent(tag));
        if (name == "real") return realFrom(textContent(tag));
        if (name == "date") return dateFrom(textContent(tag));
        if (name == "data") return dataFrom(textContent(tag));
        fail(fmt::format("the element <{}> is no property-list value", textForMessage(name)));
    }

    PropertyList array(const Tag& tag, int depth) {
        PropertyList::Array elements;
        if (tag.empty) return PropertyList(std::move(elements));
        for (;;) {
            skipSpace();
            if (startsWith("</")) break;
            elements.push_back(element(openTag(), depth + 1));
        }
        closeTag("array");
        return PropertyList(std::move(elements));
    }

    PropertyList dictionary(const Tag& tag, int depth) {
        PropertyList::Dictionary entries;
        if (tag.empty) return PropertyList(std::move(entries));
        for (;;) {
            skipSpace();
            if (startsWith("</")) break;
            const Tag keyTag = openTag();
            if (keyTag.name != "key") fail("a dictionary holds a value without a key");
            std::string key = text(keyTag);
            skipSpace();
            if (startsWith("</")) fail("a dictionary key has no value");
            entries.insert_or_assign(std::move(key), element(openTag(), depth + 1));
        }
        closeTag("dict");
        return PropertyList(std::move(entries));
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

PropertyList readXMLPropertyList(std::string_view text) {
    return Reader(text).read();
}

} // namespace foundation::detail
