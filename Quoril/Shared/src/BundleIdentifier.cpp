#include "QuorilShared/BundleIdentifier.h"

namespace quoril {

const std::string_view bundleIdentifier = QUORIL_BUNDLE_IDENTIFIER;

} // namespace quoril
