#pragma once

#include "Prefs/BaseChange.h"
#include "Prefs/Key.h"
#include "Prefs/KeyChange.h"
#include "Prefs/ObservationOption.h"
#include "Prefs/PrefsObservation.h"
#include "Prefs/ValueAccess.h"

#include "foundation/AsyncStream.h"

#include "reactive/Void.h"

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

// Changes of keys as asynchronous sequences. Each sequence registers its observations before
// updates() returns, buffers every element without bound, never finishes by itself, and stops
// observing when its consumer stops (the consuming task is cancelled, or the stream is dropped):
// at once when that happens on the main thread, else in a task on the main actor.
namespace Prefs {

namespace detail {

// The termination handler that stops `observations`, which it holds until then.
std::function<void(foundation::AsyncStreamTermination)>
stopOnTermination(std::vector<std::shared_ptr<PrefsObservation>> observations);

template <class T> struct IsKeyPointer : std::false_type {};
template <class V> struct IsKeyPointer<std::shared_ptr<Key<V>>> : std::true_type {};

template <class... Args> constexpr bool keysThenInitial() {
    using All = std::tuple<std::remove_cvref_t<Args>...>;
    constexpr std::size_t last = sizeof...(Args) - 1;
    return std::is_same_v<std::tuple_element_t<last, All>, bool>&&[]<std::size_t... I>(
        std::index_sequence<I...>) {
        return (IsKeyPointer<std::tuple_element_t<I, All>>::value && ...);
    }
    (std::make_index_sequence<last>{});
}

template <class... Value>
foundation::AsyncStream<std::tuple<Value...>> tupleUpdates(bool initial,
                                                           std::shared_ptr<Key<Value>>... keys) {
    using Element = std::tuple<Value...>;
    return foundation::AsyncStream<Element>(
        [&](typename foundation::AsyncStream<Element>::Continuation continuation) {
            auto readAll = [keys...] { return Element(Prefs::get(keys)...); };
            std::vector<std::shared_ptr<PrefsObservation>> observations;
            auto observeKey = [&](const _AnyKey& key) {
                auto observation = std::make_shared<PrefsObservation>(
                    key.suite(), key.name(), [continuation, readAll](const SuiteKeyPair&, const BaseChange&) {
                        continuation.yield(readAll());
                    });
                observation->beginObserving();
                observations.push_back(std::move(observation));
            };
            (observeKey(*keys), ...);
            // Read after registering, so that no write in between goes unseen.
            if (initial) continuation.yield(readAll());
            continuation.setOnTermination(stopOnTermination(std::move(observations)));
        });
}

} // namespace detail

// The key's value after each change; with `initial`, its current value first, already buffered
// when this returns. A missing or unconvertible value yields the default.
template <class Value>
foundation::AsyncStream<Value> updates(const std::shared_ptr<Key<Value>>& key, bool initial) {
    return foundation::AsyncStream<Value>(
        [&](typename foundation::AsyncStream<Value>::Continuation continuation) {
            auto observation = std::make_shared<PrefsObservation>(
                key->suite(), key->name(),
                [continuation, key](const SuiteKeyPair&, const BaseChange& change) {
                    continuation.yield(KeyChange<Value>(change, key->defaultValue()).newValue());
                });
            observation->beginObserving(initial ? ObservationOptions(ObservationOption::initial)
                                                : ObservationOptions());
            continuation.setOnTermination(detail::stopOnTermination({std::move(observation)}));
        });
}

// The current values of two or more keys, read afresh at each change of any of them:
// updates(a, b, c, initial) gives a stream of std::tuple<A, B, C>. With `initial`, the values
// at the start come first.
template <class... Args>
requires(sizeof...(Args) >= 3 && detail::keysThenInitial<Args...>()) auto updates(const Args&... args) {
    const auto all = std::forward_as_tuple(args...);
    const bool initial = std::get<sizeof...(Args) - 1>(all);
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return detail::tupleUpdates(initial, std::get<I>(all)...);
    }
    (std::make_index_sequence<sizeof...(Args) - 1>{});
}

// One empty element for each change of any of the keys; with `initial` and at least one key,
// one element first (for the first key only).
foundation::AsyncStream<reactive::Void> updates(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                                                bool initial);

} // namespace Prefs
