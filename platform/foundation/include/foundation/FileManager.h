#pragma once

#include <memory>

namespace foundation {

// The file system as the program works with it. Holders keep a shared reference; operations
// come as the program needs them.
class FileManager {
public:
    // The process's shared manager: made once, never released.
    static const std::shared_ptr<FileManager>& defaultManager();

    FileManager() = default;
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;
    virtual ~FileManager() = default;
};

} // namespace foundation
