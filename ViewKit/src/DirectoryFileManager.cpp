#include "ViewKit/DirectoryFileManager.h"

#include "foundation/FileError.h"
#include "foundation/TextCase.h"

#include <algorithm>

namespace ViewKit {

namespace {

bool isHidden(const std::string& name) {
    return name.starts_with('.');
}

bool staysInFolder(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace

std::shared_ptr<DirectoryFileManager>
DirectoryFileManager::make(foundation::SearchPathDirectory directory,
                           std::shared_ptr<foundation::FileManager> fileManager) {
    const auto urls = fileManager->urls(directory, foundation::SearchPathDomainMask::userDomainMask);
    if (urls.empty()) return nullptr;
    return std::make_shared<DirectoryFileManager>(urls.back(), std::move(fileManager));
}

DirectoryFileManager::DirectoryFileManager(foundation::URL url,
                                           std::shared_ptr<foundation::FileManager> fileManager)
    : fileManager_(std::move(fileManager))
    , url_(std::move(url)) {}

std::vector<std::string> DirectoryFileManager::allNames() const {
    try {
        return fileManager_->contentsOfDirectory(url_.path());
    } catch (const foundation::FileError&) {
        return {};
    }
}

std::string DirectoryFileManager::pathOf(std::string_view name) const {
    std::string path = url_.path();
    if (!path.ends_with('/')) path += '/';
    path += name;
    return path;
}

std::optional<std::uint64_t> DirectoryFileManager::sizeAt(const std::string& path) const {
    foundation::FileAttributes attributes;
    try {
        attributes = fileManager_->attributesOfItem(path);
    } catch (const foundation::FileError&) {
        return std::nullopt;
    }
    const auto found = attributes.find(foundation::FileAttribute::size);
    if (found == attributes.end()) return std::nullopt;
    if (const auto* size = found->second.get<std::uint64_t>()) return *size;
    return std::nullopt;
}

bool DirectoryFileManager::createFile(std::string_view name,
                                      const std::optional<foundation::Data>& contents) {
    if (!staysInFolder(name)) return false;
    return fileManager_->createFile(pathOf(name), contents);
}

bool DirectoryFileManager::fileExists(std::string_view name) const {
    return fileUrl(name).has_value();
}

std::optional<foundation::FileAttributes> DirectoryFileManager::fileAttributes(std::string_view name) const {
    if (!fileUrl(name)) return std::nullopt;
    try {
        return fileManager_->attributesOfItem(pathOf(name));
    } catch (const foundation::FileError&) {
        return std::nullopt;
    }
}

std::vector<std::string> DirectoryFileManager::fileNames() const {
    auto names = allNames();
    std::erase_if(names, isHidden);
    return names;
}

std::vector<std::string> DirectoryFileManager::fileNames(const std::vector<std::string>& matching) const {
    if (matching.empty()) return {};
    std::vector<std::string> wanted;
    for (const auto& text : matching)
        wanted.push_back(foundation::lowercased(text));
    auto names = fileNames();
    std::erase_if(names, [&](const std::string& name) {
        const std::string lower = foundation::lowercased(name);
        return std::none_of(wanted.begin(), wanted.end(),
                            [&](const std::string& text) { return lower.find(text) != std::string::npos; });
    });
    return names;
}

std::uint64_t DirectoryFileManager::totalSize() const {
    // One listing: every listed name is in the folder, so no lookup by name is needed.
    std::uint64_t total = 0;
    for (const auto& name : fileNames())
        total += sizeAt(pathOf(name)).value_or(0);
    return total;
}

std::optional<std::uint64_t> DirectoryFileManager::fileSize(std::string_view name) const {
    if (!fileUrl(name)) return std::nullopt;
    return sizeAt(pathOf(name));
}

std::optional<foundation::URL> DirectoryFileManager::fileUrl(std::string_view name) const {
    const auto names = allNames();
    if (std::find(names.begin(), names.end(), name) == names.end()) return std::nullopt;
    return foundation::URL::fileURLWithPath(pathOf(name));
}

std::vector<foundation::URL> DirectoryFileManager::fileUrls() const {
    std::vector<foundation::URL> urls;
    for (const auto& name : fileNames())
        urls.push_back(foundation::URL::fileURLWithPath(pathOf(name)));
    return urls;
}

void DirectoryFileManager::removeFile(std::string_view name) {
    if (const auto url = fileUrl(name)) fileManager_->removeItem(*url);
}

} // namespace ViewKit
