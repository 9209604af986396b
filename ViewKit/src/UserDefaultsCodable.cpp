#include "ViewKit/UserDefaultsCodable.h"

#include "foundation/Logger.h"

namespace ViewKit::detail {

void logCodableEncodingFailure(std::string_view key, const foundation::EncodingError& error) {
    static const foundation::Logger log("ViewKit", "Codable");
    log.error("Nothing stored under \"{}\", which keeps its value: {}", key, error.description());
}

} // namespace ViewKit::detail
