#include "ViewKit/URLFileLocations.h"

#include <string>

namespace ViewKit {

foundation::URL uniqueFileUrl(const foundation::URL& url, std::string_view separator,
                              const std::shared_ptr<foundation::FileManager>& fileManager) {
    if (!fileManager->fileExists(url.path())) return url;
    const std::string extension = url.pathExtension();
    std::string stem = url.lastPathComponent();
    if (!extension.empty()) stem.resize(stem.size() - extension.size() - 1);
    const foundation::URL folder = url.deletingLastPathComponent();
    for (unsigned long long n = 1;; ++n) {
        std::string name = stem + std::string(separator) + std::to_string(n);
        if (!extension.empty()) name += "." + extension;
        const foundation::URL candidate = folder.appendingPathComponent(name);
        if (!fileManager->fileExists(candidate.path())) return candidate;
    }
}

std::optional<foundation::URL>
ubiquityContainerUrl(const std::shared_ptr<foundation::FileManager>& fileManager) {
    return fileManager->urlForUbiquityContainerIdentifier(std::nullopt);
}

std::optional<foundation::URL>
ubiquityDocumentsUrl(const std::shared_ptr<foundation::FileManager>& fileManager) {
    const auto container = ubiquityContainerUrl(fileManager);
    if (!container) return std::nullopt;
    return container->appendingPathComponent("Documents");
}

std::optional<foundation::URL>
documentDirectoryUrl(const std::shared_ptr<foundation::FileManager>& fileManager) {
    const auto urls = fileManager->urls(foundation::SearchPathDirectory::documentDirectory,
                                        foundation::SearchPathDomainMask::userDomainMask);
    if (urls.empty()) return std::nullopt;
    return urls.front();
}

} // namespace ViewKit
