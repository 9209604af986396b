#include "ViewKit/PreviewDetection.h"

#include <string>

namespace ViewKit {

bool isSwiftUIPreview(const foundation::ProcessInfo& processInfo) {
    const auto environment = processInfo.environment();
    const auto it = environment.find(std::string(previewEnvironmentVariable));
    return it != environment.end() && it->second == "1";
}

bool isSwiftUIPreview() {
    return isSwiftUIPreview(foundation::ProcessInfo::processInfo());
}

} // namespace ViewKit
