#include "desktop/Workspace.h"

#include "Announcements.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Logger.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace desktop {
namespace {

const foundation::Logger& logger() {
    static const foundation::Logger log("org.quoril.desktop", "workspace");
    return log;
}

int openPidfd(pid_t pid) {
    return int(::syscall(SYS_pidfd_open, pid, 0));
}

std::string readFile(int fd) {
    std::string text;
    char buffer[512];
    while (text.size() < 4096) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, off_t(text.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, std::size_t(n));
    }
    return text;
}

} // namespace

// Watches the announcements folder on a thread of its own: inotify for announcements that come
// and go, a pidfd per live program for one that ends without withdrawing its announcement.
struct Workspace::Watcher {
    struct Entry {
        RunningApplication application;
        int pidfd = -1;
    };

    Workspace& workspace;
    std::filesystem::path folder;
    int stopFd = -1;
    int inotifyFd = -1;
    std::map<std::string, Entry> entries;
    std::thread thread;

    Watcher(Workspace& owner, std::filesystem::path path)
        : workspace(owner)
        , folder(std::move(path)) {}

    ~Watcher() {
        if (thread.joinable()) {
            const std::uint64_t one = 1;
            [[maybe_unused]] const auto written = ::write(stopFd, &one, sizeof one);
            thread.join();
        }
        for (auto& [name, entry] : entries)
            ::close(entry.pidfd);
        if (inotifyFd >= 0) ::close(inotifyFd);
        if (stopFd >= 0) ::close(stopFd);
    }

    bool start() {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        stopFd = ::eventfd(0, EFD_CLOEXEC);
        inotifyFd = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        if (error || stopFd < 0 || inotifyFd < 0 ||
            ::inotify_add_watch(inotifyFd, folder.c_str(),
                                IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM) < 0) {
            logger().error("cannot watch {}: {}", folder.string(),
                           error ? error.message() : std::strerror(errno));
            return false;
        }
        // Programs already running are known but not announced.
        for (const auto& item : std::filesystem::directory_iterator(folder, error))
            add(item.path().filename().string(), false);
        thread = std::thread([this] { run(); });
        return true;
    }

    // Reads an announcement and starts watching its program if it still runs.
    void add(const std::string& name, bool announce) {
        if (name.empty() || name.front() == '.' || entries.contains(name)) return;
        const int fd = ::open((folder / name).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) return;
        const auto application = detail::parseAnnouncement(readFile(fd));
        int pidfd = -1;
        if (application) pidfd = openPidfd(application->processIdentifier);
        // Taken only when the announcing program is gone; checked after opening the pidfd, so a
        // held lock proves the pidfd is of the announcing program and not of a reused id.
        const bool gone = ::flock(fd, LOCK_SH | LOCK_NB) == 0;
        ::close(fd);
        if (!application || pidfd < 0 || gone) {
            if (pidfd >= 0) ::close(pidfd);
            if (gone) removeStale(name);
            return;
        }
        entries.emplace(name, Entry{*application, pidfd});
        if (announce) post(NSWorkspaceDidLaunchApplicationNotification, *application);
    }

    void remove(const std::string& name) {
        const auto it = entries.find(name);
        if (it == entries.end()) return;
        ::close(it->second.pidfd);
        const RunningApplication application = it->second.application;
        entries.erase(it);
        post(NSWorkspaceDidTerminateApplicationNotification, application);
    }

    // The announcement of a killed program stays behind; whoever finds it unlocked clears it.
    void removeStale(const std::string& name) {
        const auto path = folder / name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) return;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
        ::close(fd);
    }

    void post(std::string_view name, const RunningApplication& application) {
        foundation::Notification notification{
            std::string(name), workspace.identity_, {{std::string(NSWorkspaceApplicationKey), application}}};
        foundation::DispatchQueue::main().async(
            [&center = workspace.center_, notification = std::move(notification)] {
                center.post(notification);
            });
    }

    void readEvents() {
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        for (;;) {
            const ssize_t n = ::read(inotifyFd, buffer, sizeof buffer);
            if (n <= 0) return;
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                p += sizeof(inotify_event) + event->len;
                if (event->mask & IN_Q_OVERFLOW) {
                    rescan();
                    continue;
                }
                if (event->len == 0) continue;
                const std::string name(event->name);
                if (event->mask & (IN_MOVED_TO | IN_CREATE)) add(name, true);
                if (event->mask & (IN_DELETE | IN_MOVED_FROM)) remove(name);
            }
        }
    }

    // After lost events: whatever is new was launched, whatever vanished ended.
    void rescan() {
        std::vector<std::string> present;
        std::error_code error;
        for (const auto& item : std::filesystem::directory_iterator(folder, error))
            present.push_back(item.path().filename().string());
        std::vector<std::string> vanished;
        for (const auto& [name, entry] : entries) {
            if (std::find(present.begin(), present.end(), name) == present.end()) vanished.push_back(name);
        }
        for (const auto& name : vanished)
            remove(name);
        for (const auto& name : present)
            add(name, true);
    }

    void run() {
        std::vector<pollfd> fds;
        std::vector<std::string> names;
        for (;;) {
            fds = {{stopFd, POLLIN, 0}, {inotifyFd, POLLIN, 0}};
            names.clear();
            for (const auto& [name, entry] : entries) {
                fds.push_back({entry.pidfd, POLLIN, 0});
                names.push_back(name);
            }
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) continue;
                logger().error("workspace watcher stopped: {}", std::strerror(errno));
                return;
            }
            if (fds[0].revents) return;
            if (fds[1].revents) readEvents();
            for (std::size_t i = 2; i < fds.size(); ++i) {
                if (!fds[i].revents) continue;
                remove(names[i - 2]);
                removeStale(names[i - 2]);
            }
        }
    }
};

Workspace& Workspace::sharedWorkspace() {
    // Never destroyed: notifications may still be on their way through the main queue at exit.
    static Workspace* const shared = [] {
        auto* workspace = new Workspace();
        std::atexit([] { sharedWorkspace().watcher_.reset(); });
        return workspace;
    }();
    return *shared;
}

Workspace::Workspace()
    : identity_(std::make_shared<char>()) {
    const auto folder = detail::announcementsFolder();
    if (folder.empty()) {
        logger().notice("XDG_RUNTIME_DIR is not set; no launches or terminations will be seen");
        return;
    }
    auto watcher = std::make_unique<Watcher>(*this, folder);
    if (watcher->start()) watcher_ = std::move(watcher);
}

Workspace::~Workspace() = default;

} // namespace desktop
