#include "ViewKit/RawValues.h"

#include "foundation/Logger.h"

namespace ViewKit::detail {

void logRawValueEncodingFailure(const std::string& type, const foundation::CodingError& error) {
    static const foundation::Logger log("ViewKit", "RawValue");
    log.error("{} has no JSON raw value, so its fallback is stored instead: {}", type, error.description());
}

} // namespace ViewKit::detail
