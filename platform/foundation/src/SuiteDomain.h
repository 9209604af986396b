#pragma once

#include "SuiteFile.h"

#include "foundation/KeyValueObserving.h"
#include "foundation/PropertyList.h"

#include <cstdint>
#include <memory>
#include <mutex>
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

    // Re-reads the file when another version of it is on disk. False when it does not read.
    bool refreshIfStale();
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

private:
    void adopt(SuiteFile::Contents contents);
    void applyPending();

    const std::string name_;
    const SuiteFile file_;
    mutable std::mutex mutex_;
    bool hasRead_ = false;
    SuiteFile::Contents contents_;
    PropertyList::Dictionary pending_; // absent values are removals
    PropertyList::Dictionary values_;
    std::vector<SuiteObservation> observations_; // in registration order
    std::uint64_t lastObservationId_ = 0;
};

} // namespace foundation
