#pragma once

#include "foundation/DispatchQueue.h"
#include "foundation/DispatchSource.h"
#include "foundation/URL.h"

#include <functional>
#include <memory>

namespace ViewKit {

// Calls `onChange` on its own concurrent queue ("FolderMonitorQueue") after entries of a folder
// were created, deleted or renamed; writes inside a file, and the removal of the folder itself,
// are no change of it. Events that come close together may make one call.
//
// Idle until startMonitoring(); stopMonitoring() cancels the watch, and the monitor is idle
// again once the cancellation has run on the queue (fileDescriptor() back to -1). Start and stop
// come from any thread. Destroying the monitor stops it and closes its descriptor at once; no
// call of `onChange` starts after the destructor returns, and one running on another thread
// has ended by then.
class DirectoryMonitor {
public:
    DirectoryMonitor(foundation::URL url, std::function<void()> onChange);
    virtual ~DirectoryMonitor();
    DirectoryMonitor(const DirectoryMonitor&) = delete;
    DirectoryMonitor& operator=(const DirectoryMonitor&) = delete;

    const foundation::URL& url() const;
    // The watching descriptor, -1 while idle.
    int fileDescriptor() const;
    const foundation::DispatchQueue& monitorQueue() const;
    std::shared_ptr<foundation::DispatchSourceFileSystemObject> monitorSource() const;

    // Does nothing while watching or not yet idle again. A folder that cannot be watched (missing,
    // not a folder) leaves the monitor idle.
    virtual void startMonitoring();
    virtual void stopMonitoring();

    struct Core;

private:
    std::shared_ptr<Core> core_;
};

} // namespace ViewKit
