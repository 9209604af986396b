#include "CompiledDatePattern.h"

#include <date/date.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>

namespace foundation::detail {

namespace {

using Kind = CompiledDatePattern::Kind;
using Outcome = CompiledDatePattern::Outcome;

constexpr double unixToReference = 978307200.0;
constexpr std::int64_t millisecondsPerDay = 86'400'000;
// ICU's calendar is Julian before 15 October 1582; whole Gregorian years begin with 1583.
constexpr int firstGregorianYear = 1583;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigitField(Kind kind) {
    return kind != Kind::literal && kind != Kind::zone;
}

// The field a run of `count` letters `letter` stands for, when this pattern kind handles it.
std::optional<CompiledDatePattern::Item> fieldItem(char letter, int count) {
    switch (letter) {
    case 'y':
        if (count == 4) return CompiledDatePattern::Item{Kind::year, 4, {}};
        break;
    case 'M':
        if (count == 2) return CompiledDatePattern::Item{Kind::month, 2, {}};
        break;
    case 'd':
        if (count == 2) return CompiledDatePattern::Item{Kind::day, 2, {}};
        break;
    case 'H':
        if (count == 2) return CompiledDatePattern::Item{Kind::hour, 2, {}};
        break;
    case 'm':
        if (count == 2) return CompiledDatePattern::Item{Kind::minute, 2, {}};
        break;
    case 's':
        if (count == 2) return CompiledDatePattern::Item{Kind::second, 2, {}};
        break;
    case 'S':
        if (count <= 3) return CompiledDatePattern::Item{Kind::fraction, count, {}};
        break;
    case 'Z':
        if (count <= 3) return CompiledDatePattern::Item{Kind::zone, 5, {}};
        break;
    default:
        break;
    }
    return std::nullopt;
}

void appendDigits(std::string& out, std::int64_t value, int width) {
    std::array<char, 20> digits{};
    for (int i = width - 1; i >= 0; --i) {
        digits[std::size_t(i)] = char('0' + value % 10);
        value /= 10;
    }
    out.append(digits.data(), std::size_t(width));
}

} // namespace

double udateFromDate(Date date) {
    const double milliseconds = (date.timeIntervalSinceReferenceDate() + unixToReference) * 1000.0;
    // Below 2^53 microseconds the snap is exact; beyond, a double holds no finer steps anyway.
    if (std::abs(milliseconds) < 9.0e12) return std::nearbyint(milliseconds * 1000.0) / 1000.0;
    return milliseconds;
}

Date dateFromUDate(double udate) {
    return Date(udate / 1000.0 - unixToReference);
}

std::optional<CompiledDatePattern> CompiledDatePattern::compile(std::string_view pattern) {
    CompiledDatePattern result;
    std::array<bool, 9> seen{};
    const auto addLiteral = [&](std::string_view text) {
        if (text.empty()) return;
        if (result.items.empty() || result.items.back().kind != Kind::literal)
            result.items.push_back({Kind::literal, 0, {}});
        result.items.back().literal += text;
    };
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                addLiteral("'");
                i += 2;
                continue;
            }
            // Quoted text, where '' is a quote.
            std::string text;
            std::size_t j = i + 1;
            for (;; ++j) {
                if (j >= pattern.size()) return std::nullopt; // unterminated: left to ICU
                if (pattern[j] != '\'') {
                    text += pattern[j];
                } else if (j + 1 < pattern.size() && pattern[j + 1] == '\'') {
                    text += '\'';
                    ++j;
                } else {
                    break;
                }
            }
            addLiteral(text);
            i = j + 1;
        } else if (isLetter(c)) {
            std::size_t j = i;
            while (j < pattern.size() && pattern[j] == c)
                ++j;
            const auto item = fieldItem(c, int(j - i));
            if (!item) return std::nullopt;
            if (seen[std::size_t(item->kind)]) return std::nullopt;
            // Two digit fields side by side would need ICU's rules for adjacent numbers; a zone
            // begins with its sign, so it may follow a field directly.
            if (!result.items.empty() && isDigitField(result.items.back().kind) && isDigitField(item->kind))
                return std::nullopt;
            seen[std::size_t(item->kind)] = true;
            result.items.push_back(*item);
            i = j;
        } else {
            addLiteral(pattern.substr(i, 1));
            ++i;
        }
    }
    return result;
}

CompiledDatePattern::Reading CompiledDatePattern::parse(std::string_view text, int zoneOffset) const {
    const Reading undecided{Outcome::undecided, {}};
    const Reading noDate{Outcome::noDate, {}};
    std::int64_t year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0, milliseconds = 0;
    std::int64_t offset = zoneOffset;
    std::size_t pos = 0;
    for (const auto& item : items) {
        if (item.kind == Kind::literal) {
            for (const char expected : item.literal) {
                if (pos == text.size()) return isSpace(expected) ? undecided : noDate;
                const char found = text[pos];
                if (found == expected) {
                    ++pos;
                    continue;
                }
                // ICU may skip spaces, take more digits into the field before, or match other
                // forms of non-ASCII text.
                if (isSpace(expected) || isSpace(found) || isDigit(found) ||
                    (unsigned char)(expected) >= 0x80 || (unsigned char)(found) >= 0x80)
                    return undecided;
                return noDate;
            }
            continue;
        }
        if (item.kind == Kind::zone) {
            if (text.size() - pos < 5 || (text[pos] != '+' && text[pos] != '-')) return undecided;
            for (std::size_t k = 1; k < 5; ++k)
                if (!isDigit(text[pos + k])) return undecided;
            if (text.size() > pos + 5 && isDigit(text[pos + 5])) return undecided;
            const int hours = (text[pos + 1] - '0') * 10 + (text[pos + 2] - '0');
            const int minutes = (text[pos + 3] - '0') * 10 + (text[pos + 4] - '0');
            if (hours > 18 || minutes > 59) return undecided;
            offset = (hours * 3600 + minutes * 60) * (text[pos] == '-' ? -1 : 1);
            pos += 5;
            continue;
        }
        const std::size_t width = std::size_t(item.width);
        std::size_t run = 0;
        while (pos + run < text.size() && isDigit(text[pos + run]))
            ++run;
        if (run != width) return undecided;
        std::int64_t value = 0;
        for (std::size_t k = 0; k < width; ++k)
            value = value * 10 + (text[pos + k] - '0');
        pos += width;
        switch (item.kind) {
        case Kind::year:
            year = value;
            break;
        case Kind::month:
            month = value;
            break;
        case Kind::day:
            day = value;
            break;
        case Kind::hour:
            hour = value;
            break;
        case Kind::minute:
            minute = value;
            break;
        case Kind::second:
            second = value;
            break;
        case Kind::fraction:
            milliseconds = value * (item.width == 1 ? 100 : item.width == 2 ? 10 : 1);
            break;
        default:
            break;
        }
    }
    if (pos != text.size()) {
        // Text after a zone may still belong to it in one of ICU's other offset forms.
        if (items.empty() || items.back().kind == Kind::zone || isSpace(text[pos]) ||
            (unsigned char)(text[pos]) >= 0x80)
            return undecided;
        return noDate;
    }
    const date::year_month_day ymd{date::year(int(year)), date::month(unsigned(month)),
                                   date::day(unsigned(day))};
    if (year < firstGregorianYear || !ymd.ok() || hour > 23 || minute > 59 || second > 59) return undecided;
    const std::int64_t days = date::sys_days(ymd).time_since_epoch().count();
    const std::int64_t seconds = days * 86400 + hour * 3600 + minute * 60 + second - offset;
    return {Outcome::date, dateFromUDate(double(seconds * 1000 + milliseconds))};
}

std::optional<std::string> CompiledDatePattern::format(Date date, int zoneOffset) const {
    const double udate = udateFromDate(date);
    if (!std::isfinite(udate) || std::abs(udate) > 9.0e15) return std::nullopt;
    const std::int64_t local = std::int64_t(std::floor(udate)) + std::int64_t(zoneOffset) * 1000;
    std::int64_t days = local / millisecondsPerDay;
    if (local % millisecondsPerDay < 0) --days;
    const std::int64_t ofDay = local - days * millisecondsPerDay;
    const date::year_month_day ymd{date::sys_days(date::days(days))};
    const int year = int(ymd.year());
    if (year < firstGregorianYear || year > 9999) return std::nullopt;
    std::string out;
    out.reserve(32);
    for (const auto& item : items) {
        switch (item.kind) {
        case Kind::literal:
            out += item.literal;
            break;
        case Kind::year:
            appendDigits(out, year, 4);
            break;
        case Kind::month:
            appendDigits(out, unsigned(ymd.month()), 2);
            break;
        case Kind::day:
            appendDigits(out, unsigned(ymd.day()), 2);
            break;
        case Kind::hour:
            appendDigits(out, ofDay / 3'600'000, 2);
            break;
        case Kind::minute:
            appendDigits(out, ofDay / 60'000 % 60, 2);
            break;
        case Kind::second:
            appendDigits(out, ofDay / 1000 % 60, 2);
            break;
        case Kind::fraction:
            // Cut, not rounded, as ICU does.
            appendDigits(out, ofDay % 1000 / (item.width == 1 ? 100 : item.width == 2 ? 10 : 1), item.width);
            break;
        case Kind::zone: {
            const int magnitude = zoneOffset < 0 ? -zoneOffset : zoneOffset;
            out += zoneOffset < 0 ? '-' : '+';
            appendDigits(out, magnitude / 3600, 2);
            appendDigits(out, magnitude / 60 % 60, 2);
            break;
        }
        }
    }
    return out;
}

} // namespace foundation::detail
