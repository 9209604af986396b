#pragma once

#include "foundation/DispatchQueue.h"

#include <functional>
#include <memory>

namespace foundation {

// What happened to a watched file or folder, combined with |.
enum class FileSystemEvent : unsigned {
    none = 0,
    delete_ = 0x1, // the item itself was deleted
    write = 0x2,   // a folder: entries created, deleted or moved in or out; a file: written
    extend = 0x4,  // a file grew
    attrib = 0x8,  // the item's own attributes changed
    rename = 0x20, // the item itself was moved
    all = 0x2f,
};
constexpr FileSystemEvent operator|(FileSystemEvent a, FileSystemEvent b) {
    return FileSystemEvent(unsigned(a) | unsigned(b));
}
constexpr FileSystemEvent operator&(FileSystemEvent a, FileSystemEvent b) {
    return FileSystemEvent(unsigned(a) & unsigned(b));
}

// A descriptor for watching `path` (a file or a folder) for events only: an inotify instance
// with one watch. Close it with close(). -1 with errno set when the path cannot be watched.
int openEventOnly(const char* path);

// Events of one watched item, delivered to an event handler on a queue.
//
// Handlers run on the queue. Events that arrive while a call is pending or running join that
// call or the next one: the handler never runs twice at once and is not called per event.
// After cancel() no event handler starts; the cancel handler runs once, on the queue, after a
// running event handler ends. Only then may the descriptor be closed.
class DispatchSourceFileSystemObject {
public:
    using Handler = std::function<void()>;

    ~DispatchSourceFileSystemObject();
    DispatchSourceFileSystemObject(const DispatchSourceFileSystemObject&) = delete;
    DispatchSourceFileSystemObject& operator=(const DispatchSourceFileSystemObject&) = delete;

    void setEventHandler(Handler handler);
    void setCancelHandler(Handler handler);
    // Starts delivering; events since the descriptor was opened are not lost.
    void resume();
    void cancel();
    bool isCancelled() const;
    // The events of the call that is running (inside the event handler).
    FileSystemEvent data() const;

    struct Core;

private:
    friend class DispatchSource;
    explicit DispatchSourceFileSystemObject(std::shared_ptr<Core> core);
    std::shared_ptr<Core> core_;
};

class DispatchSource {
public:
    // `descriptor` comes from openEventOnly; the source watches for the events in `mask`. It
    // starts suspended: set the handlers, then resume().
    static std::shared_ptr<DispatchSourceFileSystemObject>
    makeFileSystemObjectSource(int descriptor, FileSystemEvent mask, DispatchQueue queue);
};

} // namespace foundation
