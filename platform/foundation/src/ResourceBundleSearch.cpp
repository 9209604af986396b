#include "foundation/ResourceBundleSearch.h"

#include "foundation/Fatal.h"

#include <string>

namespace foundation {

std::vector<std::optional<URL>> resourceBundleCandidates(const void* libraryCode) {
    const auto& main = Bundle::main();
    std::optional<URL> library;
    if (const auto code = Bundle::forCode(libraryCode)) library = code->bundleURL();
    return {main->resourceURL(), library, main->bundleURL()};
}

std::shared_ptr<Bundle> findResourceBundle(std::string_view name,
                                           const std::vector<std::optional<URL>>& candidates) {
    const std::string folder = std::string(name) + ".bundle";
    for (const auto& candidate : candidates) {
        if (!candidate) continue;
        if (auto bundle = Bundle::withURL(candidate->appendingPathComponent(folder, true))) return bundle;
    }
    return nullptr;
}

std::shared_ptr<Bundle> requireResourceBundle(std::string_view name,
                                              const std::vector<std::optional<URL>>& candidates) {
    if (auto bundle = findResourceBundle(name, candidates)) return bundle;
    fatal("unable to find bundle named " + std::string(name));
}

} // namespace foundation
