#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace foundation {

// A count of the saves of one suite, in the first eight bytes of its lock file. Every writer
// adds one under the lock once the new plist is in place; readers keep the count mapped, so
// they learn of another process's save with a memory load instead of a stat call per read.
//
// The lock file is created, never truncated, and only grown from empty to hold the count. One
// of any other size is left alone; reads then look at the plist itself.
class SuiteChangeCounter {
public:
    explicit SuiteChangeCounter(std::string lockPath);
    ~SuiteChangeCounter();
    SuiteChangeCounter(const SuiteChangeCounter&) = delete;
    SuiteChangeCounter& operator=(const SuiteChangeCounter&) = delete;

    // The count, or nullopt while none is mapped.
    std::optional<std::uint64_t> value() const {
        if (!count_) return std::nullopt;
        return std::atomic_ref<std::uint64_t>(*count_).load(std::memory_order_acquire);
    }

    // Maps the count when it is not mapped yet, or the lock file was replaced or cut short
    // since. Creates the lock file when its folder exists and allows it; never creates folders.
    void update();

    // Adds one through the writer's lock file; the new count, or nullopt when it cannot.
    static std::optional<std::uint64_t> increment(int lockFileDescriptor);

private:
    void unmap();

    const std::string lockPath_;
    std::uint64_t* count_ = nullptr; // read only; std::atomic_ref needs a non-const object
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

} // namespace foundation
