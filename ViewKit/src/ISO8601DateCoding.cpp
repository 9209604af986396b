#include "ViewKit/ISO8601DateCoding.h"

#include "ViewKit/DateFormatterExtensions.h"

#include <fmt/format.h>

namespace ViewKit {

using foundation::Date;
using foundation::DateDecodingStrategy;
using foundation::DateEncodingStrategy;

namespace {

const DateDecodingStrategy& isoDecoding() {
    static const DateDecodingStrategy strategy =
        DateDecodingStrategy::custom([](const nlohmann::json& value) {
            const auto text = foundation::decodeJSON<std::string>(value);
            if (auto date = iso8601WithMillisecondsDateFormatter().date(text)) return *date;
            if (auto date = iso8601DateFormatter().date(text)) return *date;
            throw foundation::DecodingError(foundation::DecodingError::Kind::dataCorrupted,
                                            "Invalid date: " + text);
        });
    return strategy;
}

const DateEncodingStrategy& isoEncoding() {
    static const DateEncodingStrategy strategy = DateEncodingStrategy::custom([](Date date) {
        // Before year 1 the text would lack its era and read back as a date of our era.
        std::string text =
            date < Date::distantPast() ? std::string() : iso8601WithMillisecondsDateFormatter().string(date);
        if (text.empty())
            throw foundation::EncodingError(foundation::EncodingError::Kind::invalidValue,
                                            fmt::format("Unable to encode the date {} as ISO 8601 text.",
                                                        date.timeIntervalSinceReferenceDate()));
        return nlohmann::json(std::move(text));
    });
    return strategy;
}

} // namespace

foundation::JSONDecoder iso8601DateDecoder() {
    foundation::JSONDecoder decoder;
    decoder.setDateDecodingStrategy(isoDecoding());
    return decoder;
}

foundation::JSONEncoder iso8601DateEncoder() {
    foundation::JSONEncoder encoder;
    encoder.setDateEncodingStrategy(isoEncoding());
    return encoder;
}

} // namespace ViewKit
