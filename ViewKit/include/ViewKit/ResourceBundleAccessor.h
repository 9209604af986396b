#pragma once

#include "foundation/Bundle.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace ViewKit {

// The toolkit's resource bundle, "ViewKit_ViewKit.bundle", installed beside libViewKit.so.
// Looked up once, at the first call on whichever thread comes first, and kept for the life of
// the process. Where it is looked for: foundation::resourceBundleCandidates. A program that
// finds none stops with "unable to find bundle named ViewKit_ViewKit".
const std::shared_ptr<foundation::Bundle>& moduleBundle();

inline constexpr std::string_view moduleBundleName = "ViewKit_ViewKit";

namespace detail {
// The lookup moduleBundle() runs over its candidates.
std::shared_ptr<foundation::Bundle>
findModuleBundle(const std::vector<std::optional<foundation::URL>>& candidates);
// The candidates for this library: the main bundle's resources, libViewKit.so's folder, the
// main bundle's folder.
std::vector<std::optional<foundation::URL>> moduleBundleCandidates();
} // namespace detail

} // namespace ViewKit
