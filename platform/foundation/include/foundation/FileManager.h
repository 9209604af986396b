#pragma once

#include "foundation/Any.h"
#include "foundation/PropertyList.h"
#include "foundation/URL.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace foundation {

// The user's standard folders, by the platform's numbers.
enum class SearchPathDirectory {
    applicationDirectory = 1,
    libraryDirectory = 5,
    userDirectory = 7,
    documentDirectory = 9,
    desktopDirectory = 12,
    cachesDirectory = 13,
    applicationSupportDirectory = 14,
    downloadsDirectory = 15,
    moviesDirectory = 17,
    musicDirectory = 18,
    picturesDirectory = 19,
};

enum class SearchPathDomainMask : unsigned {
    userDomainMask = 1,
    localDomainMask = 2,
    allDomainsMask = 0xffff
};

// Options of a folder listing, combined with |.
enum class DirectoryEnumerationOptions : unsigned {
    none = 0,
    skipsSubdirectoryDescendants = 1,
    skipsPackageDescendants = 2,
    skipsHiddenFiles = 4,
    producesRelativePathURLs = 16,
};
constexpr DirectoryEnumerationOptions operator|(DirectoryEnumerationOptions a,
                                                DirectoryEnumerationOptions b) {
    return DirectoryEnumerationOptions(unsigned(a) | unsigned(b));
}
constexpr bool contains(DirectoryEnumerationOptions set, DirectoryEnumerationOptions option) {
    return (unsigned(set) & unsigned(option)) != 0;
}

// An item's attributes under the platform's key names.
using FileAttributeKey = std::string;
using FileAttributes = std::map<FileAttributeKey, Any>;
namespace FileAttribute {
inline constexpr const char* size = "NSFileSize";                         // std::uint64_t
inline constexpr const char* type = "NSFileType";                         // std::string, below
inline constexpr const char* modificationDate = "NSFileModificationDate"; // foundation::Date
} // namespace FileAttribute
namespace FileType {
inline constexpr const char* regular = "NSFileTypeRegular";
inline constexpr const char* directory = "NSFileTypeDirectory";
inline constexpr const char* symbolicLink = "NSFileTypeSymbolicLink";
inline constexpr const char* characterSpecial = "NSFileTypeCharacterSpecial";
inline constexpr const char* blockSpecial = "NSFileTypeBlockSpecial";
inline constexpr const char* socket = "NSFileTypeSocket";
inline constexpr const char* unknown = "NSFileTypeUnknown";
} // namespace FileType

// The file system as the program works with it. Holders keep a shared reference. Every
// operation is virtual, so a test can put a manager in place that fails or records.
//
// Names and paths are the bytes the system keeps; a name need not be UTF-8. Operations that
// fail throw FileError, except those whose answer is a Boolean or an absent value.
class FileManager {
public:
    // The process's shared manager: made once, never released.
    static const std::shared_ptr<FileManager>& defaultManager();

    FileManager() = default;
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;
    virtual ~FileManager() = default;

    // The names in a folder, top level only, "." and ".." left out, in the system's order.
    virtual std::vector<std::string> contentsOfDirectory(const std::string& path) const;
    // The same as file URLs inside `url`; skipsHiddenFiles leaves out names starting with ".".
    virtual std::vector<URL> contentsOfDirectory(const URL& url, DirectoryEnumerationOptions options) const;
    // Size, type and modification date; a symbolic link is described, not followed.
    virtual FileAttributes attributesOfItem(const std::string& path) const;
    // Writes `contents` (none: an empty file) through a temporary in the same folder renamed
    // over the path, so a reader sees the old file or the new one, never half of it.
    virtual bool createFile(const std::string& path, const std::optional<Data>& contents) const;
    // A folder goes with everything in it; a symbolic link is removed, not what it points to.
    virtual void removeItem(const URL& url) const;
    virtual bool fileExists(const std::string& path) const;
    // The user's standard folders for the user domain: the XDG user folders (user-dirs.dirs),
    // application support in $XDG_DATA_HOME, caches in $XDG_CACHE_HOME. Empty for any other.
    virtual std::vector<URL> urls(SearchPathDirectory directory, SearchPathDomainMask domains) const;
    // This system keeps no cloud container: always none.
    virtual std::optional<URL>
    urlForUbiquityContainerIdentifier(const std::optional<std::string>& identifier) const;
    // Nothing to download from: always throws FileError.
    virtual void startDownloadingUbiquitousItem(const URL& url) const;
};

} // namespace foundation
