#include "ViewKit/BundleFileFinder.h"

#include "foundation/FileError.h"
#include "foundation/FileManager.h"

namespace ViewKit {

namespace {

template <class Keep> std::vector<std::string> entries(const foundation::Bundle* bundle, Keep keep) {
    if (!bundle) return {};
    std::vector<std::string> names;
    try {
        names = foundation::FileManager::defaultManager()->contentsOfDirectory(bundle->bundlePath().string());
    } catch (const foundation::FileError&) {
        return {};
    }
    std::erase_if(names, [&](const std::string& name) { return !keep(name); });
    return names;
}

} // namespace

BundleFileFinder::BundleFileFinder(std::shared_ptr<foundation::Bundle> bundle)
    : bundle_(std::move(bundle)) {}

std::vector<std::string> BundleFileFinder::filesWithPrefix(std::string_view prefix) const {
    return entries(bundle_.get(), [&](const std::string& name) { return name.starts_with(prefix); });
}

std::vector<std::string> BundleFileFinder::filesWithSuffix(std::string_view suffix) const {
    return entries(bundle_.get(), [&](const std::string& name) { return name.ends_with(suffix); });
}

} // namespace ViewKit
