#pragma once

namespace foundation {

// True on the process's initial thread, which runs the main run loop (the main actor).
bool isMainThread();

} // namespace foundation
