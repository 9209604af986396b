#pragma once

#include "foundation/Date.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>

namespace foundation {

// How a JSON decoder reads dates. The Date adapter follows the strategy of the decoder at work
// on its thread.
class DateDecodingStrategy {
public:
    using Decode = std::function<Date(const nlohmann::json&)>;

    // A number: the seconds since 2001-01-01, Date's own form.
    static DateDecodingStrategy deferredToDate() { return {}; }
    // `decode` reads each date from its JSON value (never null: that is valueNotFound first).
    // A DecodingError it throws gains the path to the date on its way out.
    static DateDecodingStrategy custom(Decode decode);

    bool isDeferredToDate() const { return !decode_; }
    Date decode(const nlohmann::json& json) const;

private:
    std::shared_ptr<const Decode> decode_;
};

// How a JSON encoder writes dates. The Date adapter follows the strategy of the encoder at
// work on its thread.
class DateEncodingStrategy {
public:
    using Encode = std::function<nlohmann::json(Date)>;

    // A number: the seconds since 2001-01-01.
    static DateEncodingStrategy deferredToDate() { return {}; }
    // `encode` gives each date's JSON value; what it throws reaches the caller of encode().
    static DateEncodingStrategy custom(Encode encode);

    bool isDeferredToDate() const { return !encode_; }
    nlohmann::json encode(Date date) const;

private:
    std::shared_ptr<const Encode> encode_;
};

namespace detail {

// While alive, the Date adapter on this thread follows `strategy`; then the one before again.
class DateCodingScope {
public:
    explicit DateCodingScope(const DateDecodingStrategy& strategy);
    explicit DateCodingScope(const DateEncodingStrategy& strategy);
    ~DateCodingScope();
    DateCodingScope(const DateCodingScope&) = delete;
    DateCodingScope& operator=(const DateCodingScope&) = delete;

private:
    const DateDecodingStrategy* previousDecoding_;
    const DateEncodingStrategy* previousEncoding_;
};

} // namespace detail

} // namespace foundation
