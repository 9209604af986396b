#pragma once

#include "foundation/URL.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace ViewKit {

// The application store's page address, up to where an application's number follows.
inline constexpr std::string_view appStorePagePrefix = "https://apps.apple.com/app/id";

// The store page of the application numbered `appId` (in decimal, with its sign when negative);
// nullopt only if that text were no URL.
std::optional<foundation::URL> storeUrl(std::int64_t appId);

} // namespace ViewKit
