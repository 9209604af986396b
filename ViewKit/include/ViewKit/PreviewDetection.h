#pragma once

#include "foundation/ProcessInfo.h"

#include <string_view>

namespace ViewKit {

// Whether the program runs inside the design-time preview host, which marks its processes
// with the environment variable below set to "1".
inline constexpr std::string_view previewEnvironmentVariable = "XCODE_RUNNING_FOR_PREVIEWS";

// Anything that can tell.
class SwiftPreviewInspector {
public:
    virtual ~SwiftPreviewInspector() = default;
    virtual bool isSwiftUIPreview() const = 0;
};

// A process info's answer: its environment holds the variable with exactly "1" ("true", " 1"
// and "01" do not count).
bool isSwiftUIPreview(const foundation::ProcessInfo& processInfo);
// The running process's answer.
bool isSwiftUIPreview();

} // namespace ViewKit
