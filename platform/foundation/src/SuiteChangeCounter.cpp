#include "SuiteChangeCounter.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace foundation {

namespace {

constexpr off_t countSize = sizeof(std::uint64_t);

bool readCount(int fd, std::uint64_t& count) {
    count = 0;
    ssize_t n;
    do {
        n = pread(fd, &count, sizeof count, 0);
    } while (n < 0 && errno == EINTR);
    // A lock file still empty counts zero.
    return n == 0 || n == ssize_t(sizeof count);
}

// Empty, or holding just a count. Anything else is no lock file of ours, perhaps another
// program's file behind a symlink, and is neither grown nor written.
bool holdsACount(const struct stat& info) {
    return S_ISREG(info.st_mode) && (info.st_size == 0 || info.st_size == countSize);
}

} // namespace

SuiteChangeCounter::SuiteChangeCounter(std::string lockPath)
    : lockPath_(std::move(lockPath)) {}

SuiteChangeCounter::~SuiteChangeCounter() {
    unmap();
}

void SuiteChangeCounter::unmap() {
    if (count_) munmap(count_, countSize);
    count_ = nullptr;
}

void SuiteChangeCounter::update() {
    if (lockPath_.empty()) return;
    struct stat info;
    // A mapping past the end of its file faults on reading, so one that another program cut
    // short is made again.
    if (count_ && ::stat(lockPath_.c_str(), &info) == 0 && info.st_dev == device_ && info.st_ino == inode_ &&
        info.st_size == countSize)
        return;
    unmap();
    // O_CREAT makes no folder, so a reader adds nothing but the lock file beside the plist.
    // Non-blocking, so a FIFO in the lock file's place cannot hang the reader.
    int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) fd = ::open(lockPath_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    if (fstat(fd, &info) == 0 && holdsACount(info)) {
        // Growing only ever appends zeros, so it cannot spoil a count a writer puts there meanwhile.
        if (info.st_size == 0 && (ftruncate(fd, countSize) != 0 || fstat(fd, &info) != 0)) info.st_size = 0;
        if (info.st_size == countSize) {
            void* mapping = mmap(nullptr, countSize, PROT_READ, MAP_SHARED, fd, 0);
            if (mapping != MAP_FAILED) {
                count_ = static_cast<std::uint64_t*>(mapping);
                device_ = info.st_dev;
                inode_ = info.st_ino;
            }
        }
    }
    ::close(fd);
}

std::optional<std::uint64_t> SuiteChangeCounter::increment(int fd) {
    struct stat info;
    if (fstat(fd, &info) != 0 || !holdsACount(info)) return std::nullopt;
    std::uint64_t count = 0;
    if (!readCount(fd, count)) return std::nullopt;
    ++count;
    ssize_t n;
    do {
        n = pwrite(fd, &count, sizeof count, 0);
    } while (n < 0 && errno == EINTR);
    if (n != ssize_t(sizeof count)) return std::nullopt;
    return count;
}

} // namespace foundation
