#include "foundation/DispatchSource.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <thread>
#include <utility>

namespace foundation {

int openEventOnly(const char* path) {
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return -1;
    constexpr std::uint32_t events = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY |
                                     IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
    if (::inotify_add_watch(fd, path, events) < 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

namespace {

// What one inotify event means for the watched item. Events with a name happen to an entry of
// a watched folder: only its creation, deletion and moves change the folder.
FileSystemEvent meaning(const inotify_event& event) {
    if (event.mask & IN_Q_OVERFLOW) return FileSystemEvent::all; // events were lost
    if (event.mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) return FileSystemEvent::write;
    if (event.len > 0) return FileSystemEvent::none;
    FileSystemEvent seen = FileSystemEvent::none;
    if (event.mask & IN_MODIFY) seen = seen | FileSystemEvent::write | FileSystemEvent::extend;
    if (event.mask & IN_ATTRIB) seen = seen | FileSystemEvent::attrib;
    if (event.mask & IN_DELETE_SELF) seen = seen | FileSystemEvent::delete_;
    if (event.mask & IN_MOVE_SELF) seen = seen | FileSystemEvent::rename;
    return seen;
}

} // namespace

struct DispatchSourceFileSystemObject::Core : std::enable_shared_from_this<Core> {
    int descriptor = -1;
    FileSystemEvent mask = FileSystemEvent::none;
    DispatchQueue queue;
    int wakeDescriptor = -1;

    mutable std::mutex mutex;
    Handler eventHandler;
    Handler cancelHandler;
    FileSystemEvent pending = FileSystemEvent::none;
    FileSystemEvent current = FileSystemEvent::none;
    bool callQueued = false;
    bool cancelled = false;
    bool cancelHandled = false;
    bool stopReading = false;
    std::thread reader;

    Core(int descriptor, FileSystemEvent mask, DispatchQueue queue)
        : descriptor(descriptor)
        , mask(mask)
        , queue(std::move(queue))
        , wakeDescriptor(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

    ~Core() {
        if (wakeDescriptor >= 0) ::close(wakeDescriptor);
    }

    void read() {
        pollfd watched[2] = {{descriptor, POLLIN, 0}, {wakeDescriptor, POLLIN, 0}};
        alignas(inotify_event) char buffer[16 * 1024];
        for (;;) {
            if (::poll(watched, 2, -1) < 0 && errno != EINTR) return;
            {
                std::lock_guard lock(mutex);
                if (stopReading) return;
            }
            if (watched[0].revents & (POLLERR | POLLNVAL | POLLHUP)) return;
            if (!(watched[0].revents & POLLIN)) continue;
            FileSystemEvent seen = FileSystemEvent::none;
            for (;;) {
                const ssize_t n = ::read(descriptor, buffer, sizeof buffer);
                if (n <= 0) break;
                for (ssize_t at = 0; at < n;) {
                    const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                    seen = seen | meaning(*event);
                    at += ssize_t(sizeof(inotify_event) + event->len);
                }
            }
            seen = seen & mask;
            if (seen != FileSystemEvent::none) signal(seen);
        }
    }

    void signal(FileSystemEvent seen) {
        std::lock_guard lock(mutex);
        if (cancelled) return;
        pending = pending | seen;
        if (callQueued) return;
        callQueued = true;
        queue.async([self = shared_from_this()] { self->deliver(); });
    }

    // One queued call: runs the handler until no events are pending, then the cancel handler
    // if a cancel came meanwhile.
    void deliver() {
        std::unique_lock lock(mutex);
        while (!cancelled && pending != FileSystemEvent::none) {
            current = std::exchange(pending, FileSystemEvent::none);
            Handler handler = eventHandler;
            lock.unlock();
            if (handler) handler();
            lock.lock();
        }
        callQueued = false;
        if (cancelled) finishCancel(lock);
    }

    void finishCancel(std::unique_lock<std::mutex>& lock) {
        if (cancelHandled) return;
        cancelHandled = true;
        Handler handler = std::move(cancelHandler);
        // The handlers may hold whoever holds this source; let them go.
        Handler dropped = std::move(eventHandler);
        cancelHandler = nullptr;
        eventHandler = nullptr;
        lock.unlock();
        dropped = nullptr;
        if (handler) handler();
        lock.lock();
    }

    void stopReader() {
        {
            std::lock_guard lock(mutex);
            stopReading = true;
        }
        const std::uint64_t one = 1;
        if (wakeDescriptor >= 0) [[maybe_unused]]
            auto written = ::write(wakeDescriptor, &one, sizeof one);
        if (reader.joinable()) reader.join();
    }
};

DispatchSourceFileSystemObject::DispatchSourceFileSystemObject(std::shared_ptr<Core> core)
    : core_(std::move(core)) {}

DispatchSourceFileSystemObject::~DispatchSourceFileSystemObject() {
    core_->stopReader();
}

void DispatchSourceFileSystemObject::setEventHandler(Handler handler) {
    std::lock_guard lock(core_->mutex);
    if (!core_->cancelHandled) core_->eventHandler = std::move(handler);
}

void DispatchSourceFileSystemObject::setCancelHandler(Handler handler) {
    std::lock_guard lock(core_->mutex);
    if (!core_->cancelHandled) core_->cancelHandler = std::move(handler);
}

void DispatchSourceFileSystemObject::resume() {
    std::lock_guard lock(core_->mutex);
    if (core_->cancelled || core_->reader.joinable()) return;
    core_->reader = std::thread([core = core_.get()] { core->read(); });
}

void DispatchSourceFileSystemObject::cancel() {
    {
        std::lock_guard lock(core_->mutex);
        if (core_->cancelled) return;
        core_->cancelled = true;
    }
    // The descriptor is read no more once the reader has ended, so the cancel handler may close it.
    core_->stopReader();
    std::lock_guard lock(core_->mutex);
    if (core_->callQueued) return; // the queued call runs the cancel handler
    core_->callQueued = true;
    core_->queue.async([core = core_] { core->deliver(); });
}

bool DispatchSourceFileSystemObject::isCancelled() const {
    std::lock_guard lock(core_->mutex);
    return core_->cancelled;
}

FileSystemEvent DispatchSourceFileSystemObject::data() const {
    std::lock_guard lock(core_->mutex);
    return core_->current;
}

std::shared_ptr<DispatchSourceFileSystemObject>
DispatchSource::makeFileSystemObjectSource(int descriptor, FileSystemEvent mask, DispatchQueue queue) {
    auto core = std::make_shared<DispatchSourceFileSystemObject::Core>(descriptor, mask, std::move(queue));
    return std::shared_ptr<DispatchSourceFileSystemObject>(
        new DispatchSourceFileSystemObject(std::move(core)));
}

} // namespace foundation
