#pragma once

#include <any>
#include <string>
#include <unordered_map>

namespace foundation {

// The calling thread, as far as code above needs it: whether it is the main thread, and a
// dictionary of its own that lives as long as the thread.
class Thread {
public:
    using Dictionary = std::unordered_map<std::string, std::any>;

    static Thread& current();
    static bool isMainThread();

    // Only the thread it belongs to may use it; no lock is taken.
    Dictionary& threadDictionary() { return dictionary_; }

    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

private:
    Thread() = default;
    Dictionary dictionary_;
};

} // namespace foundation
