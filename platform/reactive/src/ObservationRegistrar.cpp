#include "reactive/ObservationRegistrar.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace reactive {

namespace detail {

// One withObservationTracking call that recorded reads: registered with each registrar it
// read from, under each key it read, until its first change or its withdrawal.
struct TrackingObserver {
    struct Source {
        std::weak_ptr<RegistrarState> registrar;
        std::vector<const void*> keys;
    };

    std::atomic<bool> ended{false};
    std::function<void()> onChange; // set before registration, taken by whoever ends it
    std::vector<Source> sources;    // fixed before registration

    // The first of fire() and withdraw() wins.
    bool end() { return !ended.exchange(true, std::memory_order_acq_rel); }
    void fire();
    void withdraw();
    void unregister();
};

struct RegistrarState {
    std::mutex mutex;
    std::unordered_map<const void*, std::vector<std::shared_ptr<TrackingObserver>>> observers;
    std::atomic<bool> observed{false}; // whether `observers` may hold anything

    void add(const void* key, const std::shared_ptr<TrackingObserver>& observer) {
        std::lock_guard lock(mutex);
        if (observer->ended.load(std::memory_order_acquire)) return; // changed on another thread meanwhile
        observers[key].push_back(observer);
        observed.store(true, std::memory_order_relaxed);
    }

    void remove(const std::vector<const void*>& keys, const TrackingObserver* observer) {
        std::vector<std::shared_ptr<TrackingObserver>> released; // dropped outside the lock
        std::lock_guard lock(mutex);
        for (const void* key : keys) {
            auto it = observers.find(key);
            if (it == observers.end()) continue;
            auto& list = it->second;
            auto found =
                std::find_if(list.begin(), list.end(), [&](const auto& o) { return o.get() == observer; });
            if (found != list.end()) {
                released.push_back(std::move(*found));
                list.erase(found);
            }
            if (list.empty()) observers.erase(it);
        }
        if (observers.empty()) observed.store(false, std::memory_order_relaxed);
    }
};

void TrackingObserver::unregister() {
    for (const auto& source : sources)
        if (auto registrar = source.registrar.lock()) registrar->remove(source.keys, this);
}

void TrackingObserver::fire() {
    if (!end()) return;
    unregister();
    auto action = std::exchange(onChange, nullptr);
    if (action) action();
}

void TrackingObserver::withdraw() {
    if (!end()) return;
    unregister();
    onChange = nullptr;
}

struct TrackingScope::Recorded {
    struct Access {
        std::shared_ptr<RegistrarState> registrar;
        const void* key;
    };
    std::vector<Access> accesses;
};

namespace {
thread_local TrackingScope* innermostScope = nullptr;
}

TrackingScope::TrackingScope()
    : recorded_(std::make_unique<Recorded>())
    , outer_(innermostScope) {
    innermostScope = this;
}

TrackingScope::~TrackingScope() {
    if (!finished_) innermostScope = outer_;
}

void TrackingScope::record(const std::shared_ptr<RegistrarState>& registrar, const void* key) {
    if (auto* scope = innermostScope) scope->recorded_->accesses.push_back({registrar, key});
}

void TrackingScope::finish(std::function<void()> onChange) {
    install(std::move(onChange));
}

AnyCancellable TrackingScope::finishWithdrawable(std::function<void()> onChange) {
    auto observer = install(std::move(onChange));
    if (!observer) return AnyCancellable();
    return AnyCancellable([weak = std::weak_ptr<TrackingObserver>(observer)] {
        if (auto o = weak.lock()) o->withdraw();
    });
}

std::shared_ptr<TrackingObserver> TrackingScope::install(std::function<void()> onChange) {
    finished_ = true;
    innermostScope = outer_;

    auto& accesses = recorded_->accesses;
    if (accesses.empty()) return nullptr;
    std::sort(accesses.begin(), accesses.end(), [](const auto& a, const auto& b) {
        return std::pair(a.registrar.get(), a.key) < std::pair(b.registrar.get(), b.key);
    });
    accesses.erase(std::unique(accesses.begin(), accesses.end(),
                               [](const auto& a, const auto& b) {
                                   return a.registrar == b.registrar && a.key == b.key;
                               }),
                   accesses.end());

    auto observer = std::make_shared<TrackingObserver>();
    observer->onChange = std::move(onChange);
    for (const auto& access : accesses) {
        if (observer->sources.empty() || observer->sources.back().registrar.lock() != access.registrar)
            observer->sources.push_back({access.registrar, {}});
        observer->sources.back().keys.push_back(access.key);
    }
    for (const auto& access : accesses)
        access.registrar->add(access.key, observer);
    return observer;
}

} // namespace detail

ObservationRegistrar::ObservationRegistrar()
    : state_(std::make_shared<detail::RegistrarState>()) {}

ObservationRegistrar::ObservationRegistrar(const ObservationRegistrar&)
    : ObservationRegistrar() {}

ObservationRegistrar::~ObservationRegistrar() = default;

void ObservationRegistrar::access(ObservationKey key) const {
    detail::TrackingScope::record(state_, key.token());
}

void ObservationRegistrar::willSet(ObservationKey key) const {
    if (!state_->observed.load(std::memory_order_relaxed)) return;
    std::vector<std::shared_ptr<detail::TrackingObserver>> toldObservers;
    {
        std::lock_guard lock(state_->mutex);
        auto it = state_->observers.find(key.token());
        if (it == state_->observers.end()) return;
        toldObservers = std::move(it->second);
        state_->observers.erase(it);
        if (state_->observers.empty()) state_->observed.store(false, std::memory_order_relaxed);
    }
    for (const auto& observer : toldObservers)
        observer->fire();
}

} // namespace reactive
