#include "foundation/FileManager.h"

namespace foundation {

const std::shared_ptr<FileManager>& FileManager::defaultManager() {
    static const auto* manager = new std::shared_ptr<FileManager>(std::make_shared<FileManager>());
    return *manager;
}

} // namespace foundation
