#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace foundation {

// Watches one file in a folder on a thread of its own. The folder is watched rather than the
// file, as savers replace the file by renaming another over it.
//
// `changed` runs on the watcher's thread after events that may have changed the file: it was
// renamed into place, written and closed, deleted or renamed away, or the folder itself went or
// came back. Events that arrive together make one call. Also called after lost events. While the
// folder is missing, its parent is watched for its return; a missing parent is not.
//
// The destructor stops the thread. It may run on the watcher's thread, from inside `changed`
// (when that drops the last reference to whoever owns this watcher): the thread then ends once
// `changed` returns, without touching this object again.
class FolderWatcher {
public:
    FolderWatcher(std::string folder, std::string fileName, std::function<void()> changed);
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Watches the folder, again if it went away since. False (and `problem` says why) when the
    // folder cannot be watched now, for instance while it does not exist.
    bool watch(std::string& problem);
    bool isWatching() const;

    // Starts the thread; events since watch() are not lost.
    void start();

    struct Core;

private:
    std::shared_ptr<Core> core_; // shared with the thread, which may outlive this object
    std::thread thread_;
};

} // namespace foundation
