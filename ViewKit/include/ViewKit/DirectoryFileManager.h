#pragma once

#include "foundation/FileManager.h"
#include "foundation/URL.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ViewKit {

// The files of one folder, by name: a name is an entry's last path component, compared as
// bytes, case included. Listings are in the system's order. Hidden names (starting with ".")
// are found by name but never listed. Failures give false, none or an empty list, except
// removeFile(), which passes the file manager's error on.
class DirectoryFileManager {
public:
    // The user's standard folder `directory` (its last URL); null when the system names none.
    static std::shared_ptr<DirectoryFileManager>
    make(foundation::SearchPathDirectory directory,
         std::shared_ptr<foundation::FileManager> fileManager = foundation::FileManager::defaultManager());

    explicit DirectoryFileManager(foundation::URL url, std::shared_ptr<foundation::FileManager> fileManager =
                                                           foundation::FileManager::defaultManager());
    virtual ~DirectoryFileManager() = default;

    const std::shared_ptr<foundation::FileManager>& fileManager() const { return fileManager_; }
    const foundation::URL& url() const { return url_; }

    // Writes (or replaces) the file. A name that would leave the folder (empty, ".", "..", or
    // holding "/" or NUL) is refused: false, and nothing is written.
    virtual bool createFile(std::string_view name, const std::optional<foundation::Data>& contents);
    virtual bool fileExists(std::string_view name) const;
    virtual std::optional<foundation::FileAttributes> fileAttributes(std::string_view name) const;
    // The visible names.
    virtual std::vector<std::string> fileNames() const;
    // The visible names whose lower-cased form contains any of the lower-cased texts; none for
    // no texts.
    virtual std::vector<std::string> fileNames(const std::vector<std::string>& matching) const;
    // The bytes of the visible entries, their own sizes (a link's, not its target's).
    virtual std::uint64_t totalSize() const;
    virtual std::optional<std::uint64_t> fileSize(std::string_view name) const;
    // The URL of the entry with exactly this name, hidden ones included.
    virtual std::optional<foundation::URL> fileUrl(std::string_view name) const;
    virtual std::vector<foundation::URL> fileUrls() const;
    // Removes the entry (a folder with its contents); nothing for a name that is not there.
    // Throws what the file manager throws.
    virtual void removeFile(std::string_view name);

private:
    // Every name in the folder, hidden ones too; empty when it cannot be listed.
    std::vector<std::string> allNames() const;
    std::string pathOf(std::string_view name) const;
    std::optional<std::uint64_t> sizeAt(const std::string& path) const;

    std::shared_ptr<foundation::FileManager> fileManager_;
    foundation::URL url_;
};

} // namespace ViewKit
