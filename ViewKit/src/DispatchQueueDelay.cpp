#include "ViewKit/DispatchQueueDelay.h"

namespace ViewKit {

void asyncAfter(const foundation::DispatchQueue& queue, foundation::TimeInterval seconds,
                foundation::DispatchQueue::Work work) {
    queue.asyncAfter(foundation::DispatchTime::now() + seconds, std::move(work));
}

} // namespace ViewKit
