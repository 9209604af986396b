#include "App/SelectionManager.h"

namespace quoril {

const std::shared_ptr<SelectionManager>& SelectionManager::shared() {
    static const auto* manager = new std::shared_ptr<SelectionManager>(std::make_shared<SelectionManager>());
    return *manager;
}

} // namespace quoril
