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
    // One read, in the order of the reads. The address names one registrar for as long as the
    // entry lives: the weak reference keeps the registrar's allocation (made by make_shared).
    struct Entry {
        std::weak_ptr<RegistrarState> registrar;
        const RegistrarState* address;
        const void* key;
    };

    std::atomic<bool> ended{false};
    std::mutex mutex;               // guards the two below once registered
    std::function<void()> onChange; // taken by whoever ends it
    std::vector<Entry> entries;     // each (registrar, key) among them is registered while not ended

    // The first of fire() and withdraw() wins.
    bool end() { return !ended.exchange(true, std::memory_order_acq_rel); }
    void fire();
    void withdraw();
    void unregister();
    std::function<void()> takeOnChange() {
        std::lock_guard lock(mutex);
        return std::exchange(onChange, nullptr);
    }
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

    // Removes `observer` under the keys of the entries [first, last), all of this registrar.
    template <class Iterator> void remove(Iterator first, Iterator last, const TrackingObserver* observer) {
        std::vector<std::shared_ptr<TrackingObserver>> released; // dropped outside the lock
        std::lock_guard lock(mutex);
        for (; first != last; ++first) {
            auto it = observers.find(first->key);
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
    std::vector<Entry> registered;
    {
        std::lock_guard lock(mutex);
        registered = std::move(entries);
    }
    for (auto run = registered.begin(); run != registered.end();) {
        auto next =
            std::find_if(run, registered.end(), [&](const Entry& e) { return e.address != run->address; });
        if (auto registrar = run->registrar.lock()) registrar->remove(run, next, this);
        run = next;
    }
}

void TrackingObserver::fire() {
    if (!end()) return;
    unregister();
    if (auto action = takeOnChange()) action();
}

void TrackingObserver::withdraw() {
    if (!end()) return;
    unregister();
    takeOnChange(); // what it held goes here, outside the lock
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

using Entry = TrackingObserver::Entry;
using Access = TrackingScope::Recorded::Access;

bool same(const Entry& entry, const Access& access) {
    return entry.address == access.registrar.get() && entry.key == access.key;
}
bool same(const Entry& a, const Entry& b) {
    return a.address == b.address && a.key == b.key;
}

// Beyond this many reads changed between two runs, a renewal registers afresh: the check of
// each changed read goes over all the others.
constexpr std::size_t maxRenewedChanges = 8;

// Turns the registration of `observer`, not ended, from its entries to `accesses`, when they
// differ in no more than a few reads in one place (the common case of a list that gained or
// lost an element). False, with nothing changed, otherwise.
bool renew(const std::shared_ptr<TrackingObserver>& observer, const std::vector<Access>& accesses) {
    auto& entries = observer->entries;
    const std::size_t oldCount = entries.size(), newCount = accesses.size();
    std::size_t prefix = 0;
    while (prefix < oldCount && prefix < newCount && same(entries[prefix], accesses[prefix]))
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < oldCount - prefix && suffix < newCount - prefix &&
           same(entries[oldCount - 1 - suffix], accesses[newCount - 1 - suffix]))
        ++suffix;
    const std::size_t oldMiddle = oldCount - prefix - suffix, newMiddle = newCount - prefix - suffix;
    if (oldMiddle > maxRenewedChanges || newMiddle > maxRenewedChanges) return false;
    if (oldMiddle == 0 && newMiddle == 0) return true;

    std::vector<Entry> gone(std::make_move_iterator(entries.begin() + std::ptrdiff_t(prefix)),
                            std::make_move_iterator(entries.begin() + std::ptrdiff_t(prefix + oldMiddle)));
    entries.erase(entries.begin() + std::ptrdiff_t(prefix),
                  entries.begin() + std::ptrdiff_t(prefix + oldMiddle));
    std::vector<Entry> added;
    added.reserve(newMiddle);
    for (std::size_t i = prefix; i < prefix + newMiddle; ++i)
        added.push_back({accesses[i].registrar, accesses[i].registrar.get(), accesses[i].key});
    entries.insert(entries.begin() + std::ptrdiff_t(prefix), std::make_move_iterator(added.begin()),
                   std::make_move_iterator(added.end()));

    // A read is registered once, however often it appears among the entries. Before this, the
    // kept entries and the gone ones were registered.
    auto among = [](const Entry& entry, auto first, auto last) {
        return std::any_of(first, last, [&](const Entry& e) { return same(e, entry); });
    };
    const auto addedFirst = entries.begin() + std::ptrdiff_t(prefix);
    const auto addedLast = addedFirst + std::ptrdiff_t(newMiddle);
    for (auto it = addedFirst; it != addedLast; ++it) {
        if (among(*it, entries.begin(), it) || among(*it, addedLast, entries.end()) ||
            among(*it, gone.begin(), gone.end()))
            continue;
        accesses[prefix + std::size_t(it - addedFirst)].registrar->add(it->key, observer);
    }
    for (auto it = gone.begin(); it != gone.end(); ++it) {
        if (among(*it, entries.begin(), entries.end()) || among(*it, gone.begin(), it)) continue;
        if (auto registrar = it->registrar.lock()) registrar->remove(it, it + 1, observer.get());
    }
    return true;
}

} // namespace

namespace {

// Recordings of ended scopes, emptied, so that a body run again and again does not grow a new
// list of its reads each time.
thread_local std::vector<std::unique_ptr<TrackingScope::Recorded>> spareRecordings;

std::unique_ptr<TrackingScope::Recorded> takeRecording() {
    if (spareRecordings.empty()) return std::make_unique<TrackingScope::Recorded>();
    auto recorded = std::move(spareRecordings.back());
    spareRecordings.pop_back();
    return recorded;
}

void keepRecording(std::unique_ptr<TrackingScope::Recorded> recorded) {
    constexpr std::size_t keptAtMost = 8, keptLengthAtMost = 1 << 16;
    recorded->accesses.clear();
    if (spareRecordings.size() < keptAtMost && recorded->accesses.capacity() <= keptLengthAtMost)
        spareRecordings.push_back(std::move(recorded));
}

} // namespace

TrackingScope::TrackingScope()
    : recorded_(takeRecording())
    , outer_(innermostScope) {
    innermostScope = this;
}

TrackingScope::TrackingScope(Discarding)
    : outer_(innermostScope) {
    innermostScope = this;
}

TrackingScope::~TrackingScope() {
    if (!finished_) innermostScope = outer_;
    if (recorded_) keepRecording(std::move(recorded_));
}

void TrackingScope::record(const std::shared_ptr<RegistrarState>& registrar, const void* key) {
    auto* scope = innermostScope;
    if (!scope || !scope->recorded_) return;
    auto& accesses = scope->recorded_->accesses;
    // A loop reading one property again and again keeps one read.
    if (!accesses.empty() && accesses.back().key == key && accesses.back().registrar == registrar) return;
    accesses.push_back({registrar, key});
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

void TrackingScope::finishRenewing(std::shared_ptr<TrackingObserver>& observer,
                                   std::function<void()> onChange) {
    if (observer) {
        finished_ = true;
        innermostScope = outer_;
        std::function<void()> replaced;
        {
            std::lock_guard lock(observer->mutex);
            if (!observer->ended.load(std::memory_order_acquire) && !recorded_->accesses.empty() &&
                renew(observer, recorded_->accesses)) {
                replaced = std::exchange(observer->onChange, std::move(onChange));
                return;
            }
        }
        std::exchange(observer, nullptr)->withdraw();
    }
    observer = install(std::move(onChange));
}

std::shared_ptr<TrackingObserver> TrackingScope::install(std::function<void()> onChange) {
    finished_ = true;
    innermostScope = outer_;

    auto& accesses = recorded_->accesses;
    if (accesses.empty()) return nullptr;
    auto observer = std::make_shared<TrackingObserver>();
    observer->onChange = std::move(onChange);
    observer->entries.reserve(accesses.size());
    for (const auto& access : accesses)
        observer->entries.push_back({access.registrar, access.registrar.get(), access.key});

    // Each read registered once.
    std::sort(accesses.begin(), accesses.end(), [](const auto& a, const auto& b) {
        return std::pair(a.registrar.get(), a.key) < std::pair(b.registrar.get(), b.key);
    });
    accesses.erase(std::unique(accesses.begin(), accesses.end(),
                               [](const auto& a, const auto& b) {
                                   return a.registrar == b.registrar && a.key == b.key;
                               }),
                   accesses.end());
    for (const auto& access : accesses)
        access.registrar->add(access.key, observer);
    return observer;
}

} // namespace detail

void ObservationTracking::withdraw() {
    if (auto observer = std::exchange(observer_, nullptr)) observer->withdraw();
}

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
