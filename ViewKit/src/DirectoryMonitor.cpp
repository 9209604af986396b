#include "ViewKit/DirectoryMonitor.h"

#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <utility>

namespace ViewKit {

struct DirectoryMonitor::Core {
    foundation::URL url;
    std::function<void()> onChange;
    foundation::DispatchQueue monitorQueue{"FolderMonitorQueue",
                                           foundation::DispatchQueue::Attributes::concurrent};

    mutable std::mutex mutex;
    std::condition_variable callEnded;
    int fileDescriptor = -1;
    std::shared_ptr<foundation::DispatchSourceFileSystemObject> monitorSource;
    bool alive = true;
    int runningCalls = 0;

    Core(foundation::URL url, std::function<void()> onChange)
        : url(std::move(url))
        , onChange(std::move(onChange)) {}

    void callOnChange();
};

namespace {
// The monitor whose callback runs on this thread, so its destructor, called from inside that
// callback, does not wait for itself.
thread_local const DirectoryMonitor::Core* callingMonitor = nullptr;
} // namespace

void DirectoryMonitor::Core::callOnChange() {
    {
        std::lock_guard lock(mutex);
        if (!alive) return;
        ++runningCalls;
    }
    const Core* outer = std::exchange(callingMonitor, this);
    if (onChange) onChange();
    callingMonitor = outer;
    {
        std::lock_guard lock(mutex);
        --runningCalls;
    }
    callEnded.notify_all();
}

DirectoryMonitor::DirectoryMonitor(foundation::URL url, std::function<void()> onChange)
    : core_(std::make_shared<Core>(std::move(url), std::move(onChange))) {}

DirectoryMonitor::~DirectoryMonitor() {
    std::shared_ptr<foundation::DispatchSourceFileSystemObject> source;
    int descriptor;
    {
        std::lock_guard lock(core_->mutex);
        core_->alive = false;
        source = std::move(core_->monitorSource);
        descriptor = std::exchange(core_->fileDescriptor, -1);
    }
    // Cancelling ends the source's reading, so the descriptor can be closed here; the cancel
    // handler, when it runs, finds nothing left to release.
    if (source) source->cancel();
    if (descriptor >= 0) ::close(descriptor);
    std::unique_lock lock(core_->mutex);
    const int own = callingMonitor == core_.get() ? 1 : 0;
    core_->callEnded.wait(lock, [&] { return core_->runningCalls <= own; });
}

const foundation::URL& DirectoryMonitor::url() const {
    return core_->url;
}

int DirectoryMonitor::fileDescriptor() const {
    std::lock_guard lock(core_->mutex);
    return core_->fileDescriptor;
}

const foundation::DispatchQueue& DirectoryMonitor::monitorQueue() const {
    return core_->monitorQueue;
}

std::shared_ptr<foundation::DispatchSourceFileSystemObject> DirectoryMonitor::monitorSource() const {
    std::lock_guard lock(core_->mutex);
    return core_->monitorSource;
}

void DirectoryMonitor::startMonitoring() {
    std::lock_guard lock(core_->mutex);
    if (core_->monitorSource || core_->fileDescriptor != -1) return;
    const int descriptor = foundation::openEventOnly(core_->url.path().c_str());
    if (descriptor < 0) return;
    core_->fileDescriptor = descriptor;
    auto source = foundation::DispatchSource::makeFileSystemObjectSource(
        descriptor, foundation::FileSystemEvent::write, core_->monitorQueue);
    const std::weak_ptr<Core> weak = core_;
    source->setEventHandler([weak] {
        if (auto core = weak.lock()) core->callOnChange();
    });
    source->setCancelHandler([weak, descriptor] {
        auto core = weak.lock();
        if (!core) return;
        std::shared_ptr<foundation::DispatchSourceFileSystemObject> released;
        std::lock_guard lock(core->mutex);
        // A destroyed monitor closed its descriptor itself.
        if (core->fileDescriptor != descriptor) return;
        ::close(descriptor);
        core->fileDescriptor = -1;
        released = std::move(core->monitorSource);
    });
    core_->monitorSource = source;
    source->resume();
}

void DirectoryMonitor::stopMonitoring() {
    std::shared_ptr<foundation::DispatchSourceFileSystemObject> source;
    {
        std::lock_guard lock(core_->mutex);
        source = core_->monitorSource;
    }
    if (source) source->cancel();
}

} // namespace ViewKit
