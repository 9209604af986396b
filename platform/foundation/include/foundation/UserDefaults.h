#pragma once

#include "foundation/KeyValueObserving.h"
#include "foundation/Object.h"
#include "foundation/PropertyList.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

class SuiteDomain;

// A suite of user defaults: persistent property-list values under text keys, kept in
// $XDG_CONFIG_HOME/<suite>.plist (binary), over a registration domain of fallback values.
//
// Every suite object on one name in a process shares the persistent values; each object has a
// registration domain of its own, never written to disk. A write reaches the disk before it
// returns, merged under an advisory lock with what other processes wrote. A read sees at once
// what another process saved through a suite; a file replaced by other means is seen within a
// tenth of a second, or at once after synchronize(). A file that does not parse reads as empty and
// is moved aside (`<suite>.plist.corrupt-<UTC time>`) only when this process next writes.
//
// Key-value observing: every write of a key (also of an equal value, and removals) notifies each
// registration for that key path on every suite object of the name, synchronously on the writing
// thread, with no lock held. Writes of other processes are not observed.
//
// Always held by std::shared_ptr; safe on any thread.
class UserDefaults : public Object {
    struct Private {};

public:
    // The program's own suite: one object per process.
    static const std::shared_ptr<UserDefaults>& standard();
    // A new object on the suite, or nullptr when the name is empty or no safe file name
    // ('/', NUL or control characters, "." or "..", a leading '.', more than 200 bytes).
    static std::shared_ptr<UserDefaults> make(std::string_view suiteName);

    UserDefaults(Private, std::string suiteName, std::shared_ptr<SuiteDomain> domain);
    ~UserDefaults() override;

    const std::string& suiteName() const { return suiteName_; }

    // The persistent value, else this object's registered value, else absent.
    PropertyList objectForKey(std::string_view key) const;
    // An absent value removes. A value no plist file can hold (see
    // PropertyListSerialization::problemWriting), or one too large for a suite file (64 MiB),
    // is refused and logged: nothing changes and nobody is notified.
    void setObject(const PropertyList& value, std::string_view key);
    void removeObjectForKey(std::string_view key);

    // Merged into this object's registration domain; never persisted.
    void registerDefaults(const PropertyList::Dictionary& registrationDictionary);
    // Persistent entries over registered ones.
    PropertyList::Dictionary dictionaryRepresentation() const;

    // The observer is held weakly and must be owned by a std::shared_ptr (else a fatal error).
    // With `initial`, it is notified once before this returns.
    void addObserver(KeyValueObserver& observer, std::string_view keyPath, KeyValueObservingOptions options,
                     void* context);
    // Removes the most recent matching registration; nothing when there is none. Safe from the
    // observer's destructor.
    void removeObserver(const KeyValueObserver& observer, std::string_view keyPath);
    void removeObserver(const KeyValueObserver& observer, std::string_view keyPath, void* context);

    // Writes changes a failed write kept, and re-reads the file if it changed. True when the
    // file reads and nothing is left unwritten.
    bool synchronize();

private:
    static std::string standardSuiteName();
    static bool isValidSuiteName(std::string_view name);

    void write(std::string_view key, const PropertyList& value);
    void removeObservation(const KeyValueObserver& observer, std::string_view keyPath,
                           std::optional<void*> context);
    // With the domain's lock held.
    PropertyList valueLocked(std::string_view key) const;

    const std::string suiteName_;
    const std::shared_ptr<SuiteDomain> domain_;
    PropertyList::Dictionary registered_; // guarded by the domain's lock
};

} // namespace foundation
