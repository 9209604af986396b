#pragma once

#include "foundation/PropertyList.h"

#include <sys/stat.h>
#include <time.h>

#include <optional>
#include <string>
#include <utility>

namespace foundation {

// Which version of a file a path names. Every save replaces the file, so a new version differs
// in inode or times even when its size is the same.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileIdentity of(const struct stat& info);
    bool operator==(const FileIdentity& other) const;
};

// The plist file of one suite, or of any store kept the same way: reading it, and replacing it
// atomically under an advisory lock. Errors come back as readable text; nothing here logs.
class SuiteFile {
public:
    enum class Status { missing, loaded, damaged, unreadable };

    struct Contents {
        Status status = Status::missing;
        FileIdentity identity;
        PropertyList::Dictionary values;
        std::string problem; // why the file is damaged or unreadable
    };

    // Holds the suite's advisory lock while it lives.
    class Lock {
    public:
        explicit Lock(int fd)
            : fd_(fd) {}
        Lock(Lock&& other) noexcept
            : fd_(std::exchange(other.fd_, -1)) {}
        Lock& operator=(Lock&&) = delete;
        ~Lock();

        int fileDescriptor() const { return fd_; }

    private:
        int fd_;
    };

    // Larger files are not suites; reading one must not exhaust memory.
    static constexpr off_t largestFile = off_t(64) << 20;

    // `<suite>.plist` in the configuration folder, which comes from the environment now.
    explicit SuiteFile(const std::string& suiteName);
    // `fileName` in `folder`; an empty folder stands for one that cannot be found.
    SuiteFile(std::string folder, std::string fileName);

    const std::string& folder() const { return folder_; }
    const std::string& fileName() const { return fileName_; }
    const std::string& path() const { return path_; }
    // Empty when the folder cannot be found.
    std::string lockPath() const { return path_.empty() ? std::string() : path_ + ".lock"; }

    FileIdentity identity() const;
    Contents read() const;

    // Creates the folder and the ones above it when missing.
    bool makeFolder(std::string& problem) const;
    // Creates the folder when missing. The lock is a separate file, because a save replaces
    // the plist's inode.
    std::optional<Lock> lock(std::string& problem) const;
    // Renames a damaged file to "<name>.corrupt-<UTC time>", with a counter when that exists.
    // Call with the lock held.
    bool moveAside(std::string& movedTo, std::string& problem) const;
    // Writes `values` to a temporary file, syncs it, renames it over the file and syncs the
    // folder. `replacing` is the version on disk now. Gives back what a reader now gets, also
    // when only the folder's sync failed (then `problem` says so). Call with the lock held.
    std::optional<Contents> write(const PropertyList::Dictionary& values, const FileIdentity& replacing,
                                  std::string& problem) const;

private:
    std::string temporaryPrefix() const;
    // What a writer killed while saving left behind: with the lock held, no writer uses one.
    void removeAbandonedTemporaries() const;

    std::string folder_; // empty when the folder cannot be found
    std::string fileName_;
    std::string path_;
};

} // namespace foundation
