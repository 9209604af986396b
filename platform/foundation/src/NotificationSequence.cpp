#include "foundation/NotificationCenter.h"

namespace foundation {

AsyncStream<Notification> NotificationCenter::notifications(NotificationName name,
                                                            std::shared_ptr<const void> object) {
    auto [stream, continuation] = AsyncStream<Notification>::makeStream();
    auto token = addObserver(std::move(name), std::move(object), std::nullopt,
                             [continuation = continuation](const Notification& n) { continuation.yield(n); });
    // The handler holds the registration; it runs once and is released when the stream ends.
    continuation.setOnTermination([token](AsyncStreamTermination) mutable { token.reset(); });
    return std::move(stream);
}

} // namespace foundation
