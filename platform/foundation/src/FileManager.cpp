#include "foundation/FileManager.h"

#include "foundation/Date.h"
#include "foundation/FileError.h"
#include "foundation/UserFolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace foundation {

namespace {

using Action = FileError::Action;

std::string filePath(const URL& url, Action action) {
    if (!url.isFileURL())
        throw FileError(FileError::Kind::other, url.absoluteString(), "it is no file URL", action);
    return url.path();
}

const char* fileType(mode_t mode) {
    if (S_ISREG(mode)) return FileType::regular;
    if (S_ISDIR(mode)) return FileType::directory;
    if (S_ISLNK(mode)) return FileType::symbolicLink;
    if (S_ISCHR(mode)) return FileType::characterSpecial;
    if (S_ISBLK(mode)) return FileType::blockSpecial;
    if (S_ISSOCK(mode)) return FileType::socket;
    return FileType::unknown;
}

bool writeAll(int fd, const Data& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

// A fresh file beside `path` for writing; -1 when none can be made.
int openTemporaryBeside(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "/." + name + ".tmp-" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter.fetch_add(1));
        // 0666 under the umask, as any new file gets.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

const std::shared_ptr<FileManager>& FileManager::defaultManager() {
    static const auto* manager = new std::shared_ptr<FileManager>(std::make_shared<FileManager>());
    return *manager;
}

std::vector<std::string> FileManager::contentsOfDirectory(const std::string& path) const {
    DIR* folder = ::opendir(path.c_str());
    if (!folder) {
        const int error = errno;
        if (error == ENOTDIR)
            throw FileError(FileError::Kind::other, path, "it is not a folder", Action::list);
        throw FileError::fromErrno(error, path, Action::list);
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        names.emplace_back(name);
    }
    ::closedir(folder);
    return names;
}

std::vector<URL> FileManager::contentsOfDirectory(const URL& url, DirectoryEnumerationOptions options) const {
    const URL folder = URL::fileURLWithPath(filePath(url, Action::list), true);
    std::vector<URL> urls;
    for (const std::string& name : contentsOfDirectory(folder.path())) {
        if (contains(options, DirectoryEnumerationOptions::skipsHiddenFiles) && name.starts_with('.'))
            continue;
        urls.push_back(folder.appendingPathComponent(name));
    }
    return urls;
}

FileAttributes FileManager::attributesOfItem(const std::string& path) const {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) throw FileError::fromErrno(errno, path, Action::read);
    const double modified = double(status.st_mtim.tv_sec) + double(status.st_mtim.tv_nsec) / 1e9;
    return {
        {FileAttribute::size, std::uint64_t(status.st_size)},
        {FileAttribute::type, std::string(fileType(status.st_mode))},
        {FileAttribute::modificationDate, Date::fromTimeIntervalSince1970(modified)},
    };
}

bool FileManager::createFile(const std::string& path, const std::optional<Data>& contents) const {
    std::string temporary;
    const int fd = openTemporaryBeside(path, temporary);
    if (fd < 0) return false;
    const bool written = writeAll(fd, contents.value_or(Data{})) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

void FileManager::removeItem(const URL& url) const {
    const std::string path = filePath(url, Action::remove);
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) throw FileError::fromErrno(errno, path, Action::remove);
    std::error_code error;
    // remove_all removes a link itself and does not descend through links.
    std::filesystem::remove_all(path, error);
    if (error) throw FileError::fromErrno(error.value(), path, Action::remove);
}

bool FileManager::fileExists(const std::string& path) const {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

std::vector<URL> FileManager::urls(SearchPathDirectory directory, SearchPathDomainMask domains) const {
    if ((unsigned(domains) & unsigned(SearchPathDomainMask::userDomainMask)) == 0) return {};
    std::string folder;
    switch (directory) {
    case SearchPathDirectory::documentDirectory:
        folder = userDirsFolder("XDG_DOCUMENTS_DIR", "Documents");
        break;
    case SearchPathDirectory::desktopDirectory:
        folder = userDirsFolder("XDG_DESKTOP_DIR", "Desktop");
        break;
    case SearchPathDirectory::downloadsDirectory:
        folder = userDirsFolder("XDG_DOWNLOAD_DIR", "Downloads");
        break;
    case SearchPathDirectory::musicDirectory:
        folder = userDirsFolder("XDG_MUSIC_DIR", "Music");
        break;
    case SearchPathDirectory::picturesDirectory:
        folder = userDirsFolder("XDG_PICTURES_DIR", "Pictures");
        break;
    case SearchPathDirectory::moviesDirectory:
        folder = userDirsFolder("XDG_VIDEOS_DIR", "Videos");
        break;
    case SearchPathDirectory::applicationSupportDirectory:
        folder = dataFolder();
        break;
    case SearchPathDirectory::cachesDirectory:
        folder = cacheFolder();
        break;
    default:
        return {};
    }
    if (folder.empty()) return {};
    return {URL::fileURLWithPath(folder, true)};
}

std::optional<URL> FileManager::urlForUbiquityContainerIdentifier(const std::optional<std::string>&) const {
    return std::nullopt;
}

void FileManager::startDownloadingUbiquitousItem(const URL& url) const {
    throw FileError(FileError::Kind::other, url.absoluteString(), "there is no cloud storage on this system",
                    Action::download);
}

} // namespace foundation
