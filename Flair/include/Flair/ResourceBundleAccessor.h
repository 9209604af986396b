#pragma once

#include "foundation/Bundle.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace Flair {

// The library's resource bundle, "Flair_Flair.bundle", with the smoke, anvil and poof images.
// Looked up once, at the first call on whichever thread comes first, and kept for the life of
// the process. Where it is looked for: foundation::resourceBundleCandidates. A program that
// finds none stops with "unable to find bundle named Flair_Flair".
const std::shared_ptr<foundation::Bundle>& moduleBundle();

inline constexpr std::string_view moduleBundleName = "Flair_Flair";

namespace detail {
// The lookup moduleBundle() runs over its candidates.
std::shared_ptr<foundation::Bundle>
findModuleBundle(const std::vector<std::optional<foundation::URL>>& candidates);
// The candidates for this library: the main bundle's resources, libFlair.so's folder, the main
// bundle's folder.
std::vector<std::optional<foundation::URL>> moduleBundleCandidates();
} // namespace detail

} // namespace Flair
