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
    std::atomic<int> watchDescriptor{-1};
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

    // True when the file may have changed.
    bool readEvents() {
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        bool relevant = false;
        for (;;) {
            const ssize_t n = ::read(inotifyFd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return relevant;
            for (const char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                p += sizeof(inotify_event) + event->len;
                if (event->mask & IN_Q_OVERFLOW) {
                    relevant = true;
                    continue;
                }
                const int current = watchDescriptor.load();
                if (event->wd != current) continue; // of a watch replaced since
                if (event->mask & IN_IGNORED) {
                    // The folder went; watch() may add it again once it is back.
                    int expected = current;
                    watchDescriptor.compare_exchange_strong(expected, -1);
                    relevant = true;
                    continue;
                }
                // A folder renamed away would be watched at its new place.
                if (event->mask & IN_MOVE_SELF) ::inotify_rm_watch(inotifyFd, current);
                if (event->mask & folderEvents) relevant = true;
                if ((event->mask & fileEvents) && event->len > 0 && std::string_view(event->name) == fileName)
                    relevant = true;
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
    if (core_->stopFd < 0 || core_->inotifyFd < 0) {
        problem = "cannot set up a file watch";
        return false;
    }
    if (core_->watchDescriptor.load() >= 0) return true;
    const int descriptor =
        ::inotify_add_watch(core_->inotifyFd, core_->folder.c_str(), fileEvents | folderEvents | IN_ONLYDIR);
    if (descriptor < 0) {
        problem = std::strerror(errno);
        return false;
    }
    core_->watchDescriptor = descriptor;
    return true;
}

bool FolderWatcher::isWatching() const {
    return core_->watchDescriptor.load() >= 0;
}

void FolderWatcher::start() {
    if (thread_.joinable() || core_->stopFd < 0 || core_->inotifyFd < 0) return;
    thread_ = std::thread([core = core_] { core->run(); });
}

} // namespace foundation
