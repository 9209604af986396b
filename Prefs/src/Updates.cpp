#include "Prefs/Updates.h"

#include "foundation/MainThread.h"
#include "foundation/Task.h"

namespace Prefs {

std::function<void(foundation::AsyncStreamTermination)>
detail::stopOnTermination(std::vector<std::shared_ptr<PrefsObservation>> observations) {
    return [observations = std::move(observations)](foundation::AsyncStreamTermination) {
        const auto stopAll = [observations] {
            for (const auto& observation : observations)
                observation->stopObserving();
        };
        if (foundation::isMainThread()) {
            stopAll();
            return;
        }
        foundation::Task<void> task(stopAll);
    };
}

foundation::AsyncStream<reactive::Void> updates(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                                                bool initial) {
    return foundation::AsyncStream<reactive::Void>(
        [&](foundation::AsyncStream<reactive::Void>::Continuation continuation) {
            std::vector<std::shared_ptr<PrefsObservation>> observations;
            for (std::size_t i = 0; i < keys.size(); ++i) {
                auto observation = std::make_shared<PrefsObservation>(
                    keys[i]->suite(), keys[i]->name(),
                    [continuation](const SuiteKeyPair&, const BaseChange&) {
                        continuation.yield(reactive::Void());
                    });
                observation->beginObserving(initial && i == 0 ? ObservationOptions(ObservationOption::initial)
                                                              : ObservationOptions());
                observations.push_back(std::move(observation));
            }
            continuation.setOnTermination(detail::stopOnTermination(std::move(observations)));
        });
}

} // namespace Prefs
