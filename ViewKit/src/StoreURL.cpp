#include "ViewKit/StoreURL.h"

#include <string>

namespace ViewKit {

std::optional<foundation::URL> storeUrl(std::int64_t appId) {
    return foundation::URL::fromString(std::string(appStorePagePrefix) + std::to_string(appId));
}

} // namespace ViewKit
