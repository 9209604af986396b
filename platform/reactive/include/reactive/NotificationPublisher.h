#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/MakePublisher.h"

#include "foundation/NotificationCenter.h"

#include <memory>

namespace reactive {

// The notifications `center` posts under `name` (from `object`, or from any object when it is
// null), delivered on the posting thread. Each subscriber has its own observer registration,
// removed when it cancels. The centre must outlive the subscriptions unless it is the default one.
inline AnyPublisher<foundation::Notification> publisher(foundation::NotificationCenter& center,
                                                        foundation::NotificationName name,
                                                        std::shared_ptr<const void> object = nullptr) {
    return makePublisher<foundation::Notification>([&center, name = std::move(name),
                                                    object = std::move(object)](
                                                       Emitter<foundation::Notification> emitter) {
        auto token = center.addObserver(name, object, std::nullopt,
                                        [emitter](const foundation::Notification& n) { emitter.send(n); });
        // Releasing the last copy of the token ends the observation.
        return AnyCancellable([token]() mutable { token.reset(); });
    });
}

} // namespace reactive
