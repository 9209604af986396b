#pragma once

#include "SuiteChangeCounter.h"
#include "SuiteFile.h"

#include "foundation/KeyValueObserving.h"
#include "foundation/PropertyList.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

class UserDefaults;

// One observer's registration on one suite object.
struct SuiteObservation {
    std::uint64_t id = 0;
    const UserDefaults* suite = nullptr;
    std::weak_ptr<UserDefaults> suiteReference;
    std::weak_ptr<KeyValueObserver> observer;
    const KeyValueObserver* observerAddress = nullptr; // identity, usable from the observer's destructor
    std::string keyPath;
    KeyValueObservingOptions options;
    void* context = nullptr;
};

// The persistent values of one suite name in this process, shared by every suite object on that
// name: the file's contents, this process's changes not yet on disk, and all observations.
//
// Everything but named() and name() is used with mutex() held.
class SuiteDomain {
public:
    // The process's one domain of that name, made afresh (reading the file anew) when none is alive.
    static std::shared_ptr<SuiteDomain> named(const std::string& name);

    explicit SuiteDomain(std::string name);
    ~SuiteDomain();
    SuiteDomain(const SuiteDomain&) = delete;
    SuiteDomain& operator=(const SuiteDomain&) = delete;

    const std::string& name() const { return name_; }
    std::mutex& mutex() const { return mutex_; }

    // Re-reads the file when another version of it is on disk. Saves through a suite are seen
    // at once, by their change count; other replacements of the file within recheckInterval.
    // False when the file does not read.
    bool refreshIfStale();
    // The same, looking at the file and the lock file now.
    bool refresh();
    // The file's values with this process's pending changes over them.
    const PropertyList::Dictionary& values() const { return values_; }
    const PropertyList* value(std::string_view key) const;

    // Records a change (absent removes) and writes every pending change to disk, merged with what
    // is there now. A failed write logs and keeps the changes for the next one.
    bool setValue(std::string_view key, const PropertyList& value);
    bool hasPendingChanges() const { return !pending_.empty(); }
    bool writePendingChanges();

    std::vector<SuiteObservation>& observations() { return observations_; }
    std::uint64_t makeObservationId() { return ++lastObservationId_; }
    bool isObserving(std::uint64_t id) const;

    // How often a read looks at the file itself even when no save was counted: for writers that
    // do not take the suite's lock, and for a lock file that was replaced.
    static constexpr std::int64_t recheckInterval = 100'000'000; // nanoseconds

private:
    bool check(bool recheckCounter);
    bool isReadable() const;
    void adopt(SuiteFile::Contents contents);
    void applyPending();

    const std::string name_;
    const SuiteFile file_;
    mutable std::mutex mutex_;
    SuiteChangeCounter counter_;
    std::optional<std::uint64_t> seenCount_; // the count when the file was last checked
    std::int64_t recheckAt_ = 0;             // on the coarse monotonic clock
    bool hasRead_ = false;
    SuiteFile::Contents contents_;
    PropertyList::Dictionary pending_; // absent values are removals
    PropertyList::Dictionary values_;
    std::vector<SuiteObservation> observations_; // in registration order
    std::uint64_t lastObservationId_ = 0;
};

} // namespace foundation
