// Every program linked with this layer announces itself from the moment the layer loads until it
// ends, so workspaces in other programs see it come and go.
#include "Announcements.h"

#include "foundation/Bundle.h"
#include "foundation/Logger.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

namespace desktop::detail {
namespace {

const foundation::Logger& logger() {
    static const foundation::Logger log("org.quoril.desktop", "workspace");
    return log;
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

class ApplicationAnnouncement {
public:
    ApplicationAnnouncement() {
        const auto folder = announcementsFolder();
        if (folder.empty()) return;
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            logger().error("cannot create {}: {}", folder.string(), error.message());
            return;
        }
        const RunningApplication self{foundation::Bundle::main()->bundleIdentifier(), ::getpid()};
        const std::string name =
            std::to_string(self.processIdentifier) + "-" + std::to_string(std::random_device{}());
        const auto preparing = folder / ("." + name);
        const int fd = ::open(preparing.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            logger().error("cannot announce in {}: {}", folder.string(), std::strerror(errno));
            return;
        }
        if (::flock(fd, LOCK_EX) != 0 || !writeAll(fd, announcementText(self)) ||
            ::rename(preparing.c_str(), (folder / name).c_str()) != 0) {
            logger().error("cannot announce in {}: {}", folder.string(), std::strerror(errno));
            ::unlink(preparing.c_str());
            ::close(fd);
            return;
        }
        fd_ = fd;
        path_ = folder / name;
        owner_ = self.processIdentifier;
    }

    ~ApplicationAnnouncement() {
        if (fd_ < 0) return;
        // A forked child that exits without exec must not withdraw its parent's announcement.
        if (::getpid() != owner_) return;
        ::unlink(path_.c_str());
        ::close(fd_);
    }

private:
    int fd_ = -1;
    pid_t owner_ = 0;
    std::filesystem::path path_;
};

const ApplicationAnnouncement announcement;

} // namespace
} // namespace desktop::detail
