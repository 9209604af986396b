#pragma once

#include <filesystem>
#include <optional>

namespace store {

// Where a container keeps its models. On disk the file defaults to
// $XDG_DATA_HOME/<bundle identifier>/default.store (~/.local/share without XDG_DATA_HOME; the
// program's file name without a bundle identifier).
struct ModelConfiguration {
    bool isStoredInMemoryOnly = false;
    bool allowsSave = true;
    std::optional<std::filesystem::path> url; // another file than the default

    static std::filesystem::path defaultURL();
    std::filesystem::path resolvedURL() const { return url ? *url : defaultURL(); }
};

} // namespace store
