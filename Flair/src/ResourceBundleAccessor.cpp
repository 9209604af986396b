#include "Flair/ResourceBundleAccessor.h"

#include "foundation/ResourceBundleSearch.h"

namespace Flair {

namespace {

// An address inside libFlair.so, naming the library to Bundle::forCode.
const char bundleFinder = 0;

} // namespace

namespace detail {

std::shared_ptr<foundation::Bundle>
findModuleBundle(const std::vector<std::optional<foundation::URL>>& candidates) {
    return foundation::requireResourceBundle(moduleBundleName, candidates);
}

std::vector<std::optional<foundation::URL>> moduleBundleCandidates() {
    return foundation::resourceBundleCandidates(&bundleFinder);
}

} // namespace detail

const std::shared_ptr<foundation::Bundle>& moduleBundle() {
    // Never destroyed: a bundle read during another static object's destruction stays valid.
    static const auto* const bundle =
        new std::shared_ptr<foundation::Bundle>(detail::findModuleBundle(detail::moduleBundleCandidates()));
    return *bundle;
}

} // namespace Flair
