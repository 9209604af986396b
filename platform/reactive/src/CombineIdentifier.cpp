#include "reactive/CombineIdentifier.h"

#include <atomic>

namespace reactive {

CombineIdentifier::CombineIdentifier()
    : isObject_(false) {
    static std::atomic<std::uint64_t> next{1};
    rawValue_ = next.fetch_add(1, std::memory_order_relaxed);
}

} // namespace reactive
