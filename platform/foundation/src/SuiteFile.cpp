#include "SuiteFile.h"

#include "foundation/PropertyListSerialization.h"
#include "foundation/UserFolders.h"

#include <fmt/format.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <span>
#include <vector>

namespace foundation {

namespace {

std::string errorText(int error) {
    return std::strerror(error);
}

// Creates each missing folder on the way, private to the user as configuration folders are.
bool makeFolders(const std::string& folder, std::string& problem) {
    for (std::size_t end = 1; end <= folder.size(); ++end) {
        if (end != folder.size() && folder[end] != '/') continue;
        const std::string prefix = folder.substr(0, end);
        if (mkdir(prefix.c_str(), 0700) == 0 || errno == EEXIST) continue;
        problem = fmt::format("cannot create the folder {}: {}", prefix, errorText(errno));
        return false;
    }
    return true;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, to see the error a close may report for a written file.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes = bytes.subspan(std::size_t(n));
    }
    return true;
}

std::string utcTimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

// Renames without replacing an existing file.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the flag: the lock keeps our own writers away meanwhile.
    struct stat info;
    if (lstat(to.c_str(), &info) == 0) return EEXIST;
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Now to the nanosecond, but always after `previous`.
timespec laterThan(const timespec& previous) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (now.tv_sec > previous.tv_sec || (now.tv_sec == previous.tv_sec && now.tv_nsec > previous.tv_nsec))
        return now;
    timespec next = previous;
    if (++next.tv_nsec == 1000000000) {
        next.tv_nsec = 0;
        ++next.tv_sec;
    }
    return next;
}

} // namespace

FileIdentity FileIdentity::of(const struct stat& info) {
    FileIdentity identity;
    identity.exists = true;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = info.st_size;
    identity.modified = info.st_mtim;
    identity.changed = info.st_ctim;
    return identity;
}

bool FileIdentity::operator==(const FileIdentity& other) const {
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

SuiteFile::Lock::~Lock() {
    if (fd_ >= 0) ::close(fd_); // releases the flock
}

SuiteFile::SuiteFile(const std::string& suiteName)
    : SuiteFile(configurationFolder(), suiteName + ".plist") {}

SuiteFile::SuiteFile(std::string folder, std::string fileName)
    : folder_(std::move(folder))
    , fileName_(std::move(fileName))
    , path_(folder_.empty() ? std::string() : folder_ + "/" + fileName_) {}

FileIdentity SuiteFile::identity() const {
    struct stat info;
    if (path_.empty() || ::stat(path_.c_str(), &info) != 0) return {};
    return FileIdentity::of(info);
}

SuiteFile::Contents SuiteFile::read() const {
    Contents contents;
    if (path_.empty()) return contents;
    // Non-blocking, so a FIFO in the file's place cannot hang the reader.
    FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return contents;
        contents.status = Status::unreadable;
        contents.problem = fmt::format("cannot open {}: {}", path_, errorText(errno));
        // Known by its version, so it is read (and logged) again only once it changes.
        if (struct stat info; ::stat(path_.c_str(), &info) == 0) contents.identity = FileIdentity::of(info);
        return contents;
    }
    struct stat info;
    if (fstat(fd.get(), &info) != 0) {
        contents.status = Status::unreadable;
        contents.problem = fmt::format("cannot inspect {}: {}", path_, errorText(errno));
        return contents;
    }
    contents.identity = FileIdentity::of(info);
    if (!S_ISREG(info.st_mode)) {
        contents.status = Status::unreadable;
        contents.problem = fmt::format("{} is not a regular file", path_);
        return contents;
    }
    if (info.st_size > largestFile) {
        contents.status = Status::damaged;
        contents.problem = fmt::format("{} is too large for a suite ({} bytes)", path_, info.st_size);
        return contents;
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(info.st_size));
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            contents.status = Status::unreadable;
            contents.problem = fmt::format("cannot read {}: {}", path_, errorText(errno));
            return contents;
        }
        if (n == 0) break;
        if (off_t(bytes.size()) + n > largestFile) {
            contents.status = Status::damaged;
            contents.problem = fmt::format("{} is too large for a suite", path_);
            return contents;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    try {
        PropertyList root = PropertyListSerialization::propertyList(bytes);
        const auto* dictionary = root.dictionary();
        if (!dictionary) {
            contents.status = Status::damaged;
            contents.problem = fmt::format("{} holds no dictionary", path_);
            return contents;
        }
        contents.status = Status::loaded;
        contents.values = *dictionary;
    } catch (const std::exception& error) {
        contents.status = Status::damaged;
        contents.problem = fmt::format("{} does not parse: {}", path_, error.what());
    }
    return contents;
}

bool SuiteFile::makeFolder(std::string& problem) const {
    if (!folder_.empty()) return makeFolders(folder_, problem);
    problem = fmt::format("no folder for {}: neither its XDG folder nor a home folder is known", fileName_);
    return false;
}

std::optional<SuiteFile::Lock> SuiteFile::lock(std::string& problem) const {
    if (folder_.empty()) {
        makeFolder(problem); // says why
        return std::nullopt;
    }
    const std::string lockPath = this->lockPath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
        if (fd < 0 && errno == ENOENT) {
            if (!makeFolders(folder_, problem)) return std::nullopt;
            fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
        }
        if (fd < 0) {
            problem = fmt::format("cannot open the lock file {}: {}", lockPath, errorText(errno));
            return std::nullopt;
        }
        Lock lock(fd);
        while (flock(fd, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            problem = fmt::format("cannot lock {}: {}", lockPath, errorText(errno));
            return std::nullopt;
        }
        // The lock file may have been removed or replaced while we waited: a lock on the old
        // one keeps out nobody who opens the path now.
        struct stat held, named;
        if (fstat(fd, &held) != 0) return lock;
        if (::stat(lockPath.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino)
            return lock;
    }
    problem = fmt::format("the lock file {} keeps being replaced", lockPath);
    return std::nullopt;
}

std::string SuiteFile::temporaryPrefix() const {
    return "." + fileName_ + ".";
}

void SuiteFile::removeAbandonedTemporaries() const {
    DIR* folder = opendir(folder_.c_str());
    if (!folder) return;
    const std::string prefix = temporaryPrefix();
    while (const dirent* entry = readdir(folder)) {
        const std::string_view name = entry->d_name;
        // mkostemp's six characters follow the prefix.
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix))
            unlinkat(dirfd(folder), entry->d_name, 0);
    }
    closedir(folder);
}

bool SuiteFile::moveAside(std::string& movedTo, std::string& problem) const {
    const std::string base = path_ + ".corrupt-" + utcTimeStamp();
    for (int counter = 0; counter < 1000; ++counter) {
        const std::string target = counter == 0 ? base : fmt::format("{}-{}", base, counter);
        const int error = renameNoReplace(path_, target);
        if (error == 0) {
            movedTo = target;
            return true;
        }
        if (error != EEXIST) {
            problem = fmt::format("cannot move {} aside: {}", path_, errorText(error));
            return false;
        }
    }
    problem = fmt::format("cannot move {} aside: too many damaged copies", path_);
    return false;
}

std::optional<SuiteFile::Contents> SuiteFile::write(const PropertyList::Dictionary& values,
                                                    const FileIdentity& replacing,
                                                    std::string& problem) const {
    std::vector<std::uint8_t> bytes;
    Contents written;
    try {
        bytes = PropertyListSerialization::data(values, PropertyListFormat::binary);
        // What a reader gets back: dates come back to the microsecond.
        const PropertyList back = PropertyListSerialization::propertyList(bytes);
        written.values = *back.dictionary();
    } catch (const std::exception& error) {
        problem = fmt::format("cannot encode the suite: {}", error.what());
        return std::nullopt;
    }
    // Readers would take a larger file for a damaged one.
    if (off_t(bytes.size()) > largestFile) {
        problem = fmt::format("the suite would take {} bytes, more than a suite file may hold", bytes.size());
        return std::nullopt;
    }

    removeAbandonedTemporaries();
    std::string temporary = folder_ + "/" + temporaryPrefix() + "XXXXXX";
    FileDescriptor fd(mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        problem = fmt::format("cannot create a temporary file in {}: {}", folder_, errorText(errno));
        return std::nullopt;
    }
    const auto fail = [&](std::string_view what) {
        problem = fmt::format("cannot {} {}: {}", what, temporary, errorText(errno));
        ::unlink(temporary.c_str());
        return std::nullopt;
    };
    if (!writeAll(fd.get(), bytes)) return fail("write");
    // File times tick coarsely and inode numbers come back, so two quick saves of one size could
    // look alike to a reader; a modification time of our own, past the last one, keeps them apart.
    const timespec times[2] = {{0, UTIME_OMIT},
                               laterThan(replacing.exists ? replacing.modified : timespec{})};
    if (futimens(fd.get(), times) != 0) return fail("set the times of");
    if (fsync(fd.get()) != 0) return fail("sync");
    if (!fd.close()) return fail("close");
    if (std::rename(temporary.c_str(), path_.c_str()) != 0) {
        problem = fmt::format("cannot replace {}: {}", path_, errorText(errno));
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    written.status = Status::loaded;
    written.identity = identity();
    // The rename lasts only once the folder is on disk too. Readers see the new file already,
    // so a failure here is reported, not undone.
    FileDescriptor folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0 || fsync(folder.get()) != 0)
        problem = fmt::format("cannot sync the folder {}: {}", folder_, errorText(errno));
    return written;
}

} // namespace foundation
