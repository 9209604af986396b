#include "foundation/JSONDateCodingStrategy.h"

#include "foundation/JSONCoding.h"

namespace foundation {

namespace {

thread_local const DateDecodingStrategy* activeDecoding = nullptr;
thread_local const DateEncodingStrategy* activeEncoding = nullptr;

} // namespace

DateDecodingStrategy DateDecodingStrategy::custom(Decode decode) {
    DateDecodingStrategy strategy;
    if (decode) strategy.decode_ = std::make_shared<const Decode>(std::move(decode));
    return strategy;
}

Date DateDecodingStrategy::decode(const nlohmann::json& json) const {
    if (!decode_) {
        if (!json.is_number()) detail::throwTypeMismatch("Date", json);
        return Date(detail::decodeNumber<double>(json));
    }
    return (*decode_)(json);
}

DateEncodingStrategy DateEncodingStrategy::custom(Encode encode) {
    DateEncodingStrategy strategy;
    if (encode) strategy.encode_ = std::make_shared<const Encode>(std::move(encode));
    return strategy;
}

nlohmann::json DateEncodingStrategy::encode(Date date) const {
    if (!encode_) return date.timeIntervalSinceReferenceDate();
    return (*encode_)(date);
}

namespace detail {

DateCodingScope::DateCodingScope(const DateDecodingStrategy& strategy)
    : previousDecoding_(activeDecoding)
    , previousEncoding_(activeEncoding) {
    activeDecoding = &strategy;
}

DateCodingScope::DateCodingScope(const DateEncodingStrategy& strategy)
    : previousDecoding_(activeDecoding)
    , previousEncoding_(activeEncoding) {
    activeEncoding = &strategy;
}

DateCodingScope::~DateCodingScope() {
    activeDecoding = previousDecoding_;
    activeEncoding = previousEncoding_;
}

Date dateFromJSON(const nlohmann::json& json) {
    if (json.is_null()) throwValueNotFound("Date");
    if (activeDecoding) return activeDecoding->decode(json);
    return DateDecodingStrategy::deferredToDate().decode(json);
}

nlohmann::json jsonFromDate(Date date) {
    if (activeEncoding) return activeEncoding->encode(date);
    return date.timeIntervalSinceReferenceDate();
}

} // namespace detail

} // namespace foundation
