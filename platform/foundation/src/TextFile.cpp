#include "foundation/TextFile.h"

#include "foundation/FileError.h"
#include "foundation/UTF8.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {

namespace {

using Kind = FileError::Kind;

[[noreturn]] void throwForErrno(int error, const std::filesystem::path& path) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        throw FileError(Kind::noSuchFile, path);
    case EACCES:
    case EPERM:
        throw FileError(Kind::noPermission, path);
    default:
        throw FileError(Kind::other, path, std::strerror(error));
    }
}

class Descriptor {
public:
    explicit Descriptor(int fd)
        : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::string stringWithContentsOfFile(const std::filesystem::path& path) {
    // Non-blocking, so a FIFO without a writer is refused below rather than hanging the open.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) throwForErrno(errno, path);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) throwForErrno(errno, path);
    if (!S_ISREG(status.st_mode)) throw FileError(Kind::notRegularFile, path);

    std::string text;
    text.reserve(std::size_t(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0) {
            if (errno == EINTR) continue;
            throwForErrno(errno, path);
        }
        text.append(buffer, std::size_t(count));
    }
    if (!isValidUTF8(text)) throw FileError(Kind::notUTF8, path);
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return text;
}

std::string stringWithContentsOfURL(const URL& url) {
    if (!url.isFileURL()) throw FileError(Kind::other, url.absoluteString(), "only file URLs can be read");
    return stringWithContentsOfFile(url.path());
}

} // namespace foundation
