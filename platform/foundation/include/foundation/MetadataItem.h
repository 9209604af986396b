#pragma once

#include "foundation/Any.h"

#include <map>
#include <string>
#include <string_view>

namespace foundation {

// Attribute keys of a metadata item, and the values of its downloading status.
inline constexpr const char* MetadataItemFSNameKey = "NSMetadataItemFSNameKey"; // std::string
inline constexpr const char* MetadataItemURLKey = "NSMetadataItemURLKey";       // foundation::URL
inline constexpr const char* MetadataUbiquitousItemDownloadingStatusKey =
    "NSMetadataUbiquitousItemDownloadingStatusKey"; // std::string
inline constexpr const char* MetadataUbiquitousItemDownloadingStatusDownloaded =
    "NSMetadataUbiquitousItemDownloadingStatusDownloaded";
inline constexpr const char* MetadataUbiquitousItemDownloadingStatusCurrent =
    "NSMetadataUbiquitousItemDownloadingStatusCurrent";
inline constexpr const char* MetadataUbiquitousItemDownloadingStatusNotDownloaded =
    "NSMetadataUbiquitousItemDownloadingStatusNotDownloaded";

// One file a metadata query found: its attributes by key. Immutable.
class MetadataItem {
public:
    explicit MetadataItem(std::map<std::string, Any, std::less<>> attributes)
        : attributes_(std::move(attributes)) {}

    // Empty when the item has no such attribute.
    Any valueForAttribute(std::string_view key) const {
        const auto found = attributes_.find(key);
        return found == attributes_.end() ? Any() : found->second;
    }
    const std::map<std::string, Any, std::less<>>& attributes() const { return attributes_; }

private:
    std::map<std::string, Any, std::less<>> attributes_;
};

} // namespace foundation
