#include "foundation/Thread.h"

#include "foundation/MainThread.h"

namespace foundation {

Thread& Thread::current() {
    // Destroyed, with its dictionary, when the thread ends.
    static thread_local Thread thread;
    return thread;
}

bool Thread::isMainThread() {
    return foundation::isMainThread();
}

} // namespace foundation
