#include "FolderWatcher.h"

#include "foundation/Logger.h"

#include <limits.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string_view>
#include <utility>

namespace foundation {

namespace {

const Logger& log() {
    static const Logger logger("foundation", "FolderWatcher");
    return logger;
}

constexpr std::uint32_t fileEvents = IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE | IN_MOVED_FROM;
constexpr std::uint32_t folderEvents = IN_DELETE_SELF | IN_MOVE_SELF;

} // namespace

struct FolderWatcher::Core {
    const std::string folder;
    const std::string fileName;
    const std::function<void()> changed;
    const int stopFd;
    const int inotifyFd;
    std::mutex mutex;
    int folderWatch = -1; // guarded by `mutex`, as is the next
    int parentWatch = -1; // while the folder is missing, for its coming back
    std::atomic<bool> stopped{false};

    Core(std::string folder, std::string fileName, std::function<void()> changed)
        : folder(std::move(folder))
        , fileName(std::move(fileName))
        , changed(std::move(changed))
        , stopFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
        , inotifyFd(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {}

    ~Core() {
        if (inotifyFd >= 0) ::close(inotifyFd);
        if (stopFd >= 0) ::close(stopFd);
    }

    void stop() {
        stopped = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(stopFd, &one, sizeof one);
    }

    std::string parent() const {
        const auto slash = folder.find_last_of('/');
        return slash == std::string::npos || slash == 0 ? std::string("/") : folder.substr(0, slash);
    }
    std::string_view folderName() const {
        const auto slash = folder.find_last_of('/');
        return slash == std::string::npos ? std::string_view(folder)
                                          : std::string_view(folder).substr(slash + 1);
    }

    // With `mutex` held.
    bool watchLocked(std::string& problem) {
        if (stopFd < 0 || inotifyFd < 0) {
            problem = "cannot set up a file watch";
            return false;
        }
        if (folderWatch >= 0) return true;
        folderWatch = ::inotify_add_watch(inotifyFd, folder.c_str(), fileEvents | folderEvents | IN_ONLYDIR);
        if (folderWatch >= 0) {
            if (parentWatch >= 0) ::inotify_rm_watch(inotifyFd, std::exchange(parentWatch, -1));
            return true;
        }
        problem = std::strerror(errno);
        // Watched from one level up until it is made again.
        if (errno == ENOENT && parentWatch < 0)
            parentWatch =
                ::inotify_add_watch(inotifyFd, parent().c_str(), IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
        return false;
    }

    // True when the file may have changed.
    bool readEvents() {
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        bool relevant = false;
        for (;;) {
            const ssize_t n = ::read(inotifyFd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return relevant;
            std::lock_guard lock(mutex);
            for (const char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                p += sizeof(inotify_event) + event->len;
                const std::string_view name =
                    event->len > 0 ? std::string_view(event->name) : std::string_view();
                if (event->mask & IN_Q_OVERFLOW) {
                    relevant = true;
                } else if (event->wd == folderWatch) {
                    if (event->mask & IN_IGNORED) {
                        // The folder went.
                        folderWatch = -1;
                        std::string problem;
                        watchLocked(problem);
                        relevant = true;
                        continue;
                    }
                    // A folder renamed away would be watched at its new place.
                    if (event->mask & IN_MOVE_SELF) ::inotify_rm_watch(inotifyFd, folderWatch);
                    if (event->mask & folderEvents) relevant = true;
                    if ((event->mask & fileEvents) && name == fileName) relevant = true;
                } else if (event->wd == parentWatch) {
                    if (event->mask & IN_IGNORED) {
                        parentWatch = -1;
                        continue;
                    }
                    // Back again, perhaps with the file in it already.
                    std::string problem;
                    if (name == folderName() && watchLocked(problem)) relevant = true;
                }
            }
        }
    }

    void run() {
        for (;;) {
            pollfd fds[] = {{stopFd, POLLIN, 0}, {inotifyFd, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                log().error("stopped watching {}: {}", folder, std::strerror(errno));
                return;
            }
            if (stopped || fds[0].revents) return;
            if ((fds[1].revents & POLLIN) && readEvents() && !stopped) changed();
            if (stopped) return; // `changed` may have destroyed the watcher
        }
    }
};

FolderWatcher::FolderWatcher(std::string folder, std::string fileName, std::function<void()> changed)
    : core_(std::make_shared<Core>(std::move(folder), std::move(fileName), std::move(changed))) {}

FolderWatcher::~FolderWatcher() {
    core_->stop();
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach(); // the thread holds the core and ends after `changed` returns
    else
        thread_.join();
}

bool FolderWatcher::watch(std::string& problem) {
    std::lock_guard lock(core_->mutex);
    return core_->watchLocked(problem);
}

bool FolderWatcher::isWatching() const {
    std::lock_guard lock(core_->mutex);
    return core_->folderWatch >= 0;
}

void FolderWatcher::start() {
    if (thread_.joinable() || core_->stopFd < 0 || core_->inotifyFd < 0) return;
    thread_ = std::thread([core = core_] { core->run(); });
}

} // namespace foundation
