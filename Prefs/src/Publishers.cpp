#include "Prefs/Publishers.h"

#include "reactive/Empty.h"

namespace Prefs {

reactive::AnyPublisher<reactive::Void> publisher(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                                                 ObservationOptions options) {
    // The seed never completes, so neither does the merge.
    auto merged = reactive::Empty<reactive::Void>(false).eraseToAnyPublisher();
    for (const auto& key : keys) {
        auto changes = PrefsPublisher(key->suite(), key->name(), options)
                           .map([](const BaseChange&) { return reactive::Void(); })
                           .eraseToAnyPublisher();
        merged = merged.merge(std::move(changes)).eraseToAnyPublisher();
    }
    return merged;
}

} // namespace Prefs
