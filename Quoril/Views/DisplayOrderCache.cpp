#include "Views/DisplayOrderCache.h"

#include <algorithm>

namespace quoril {

const std::vector<std::shared_ptr<Item>>&
DisplayOrderCache::sorted(const std::vector<std::shared_ptr<Item>>& results) {
    return *sharedSorted(results);
}

std::shared_ptr<const std::vector<std::shared_ptr<Item>>>
DisplayOrderCache::sharedSorted(const std::vector<std::shared_ptr<Item>>& results) {
    std::vector<const Item*> source;
    std::vector<Item::DisplayFlags> flags;
    source.reserve(results.size());
    flags.reserve(results.size());
    for (const auto& item : results) {
        source.push_back(item.get());
        flags.push_back(Item::displayFlags(*item));
    }
    if (valid_ && source == source_ && flags == flags_) return shown_;
    shown_ =
        std::make_shared<const std::vector<std::shared_ptr<Item>>>(Item::sortedForDisplay(results, flags));
    source_ = std::move(source);
    flags_ = std::move(flags);
    valid_ = true;
    return shown_;
}

bool DisplayOrderCache::anyCompleted() const {
    return std::any_of(flags_.begin(), flags_.end(),
                       [](const Item::DisplayFlags& flags) { return flags.completed; });
}

} // namespace quoril
