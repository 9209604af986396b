#include "ViewKit/BundleInfo.h"

namespace ViewKit {

namespace {

std::string infoText(const foundation::Bundle& bundle, std::string_view key, std::string_view fallback) {
    const auto* text = bundle.objectForInfoDictionaryKey(key).string();
    return text ? *text : std::string(fallback);
}

} // namespace

std::string buildNumber(const foundation::Bundle& bundle) {
    return infoText(bundle, "CFBundleVersion", "");
}

std::string displayName(const foundation::Bundle& bundle) {
    return infoText(bundle, "CFBundleDisplayName", "-");
}

std::string versionNumber(const foundation::Bundle& bundle) {
    return infoText(bundle, "CFBundleShortVersionString", "0.0.0");
}

} // namespace ViewKit
