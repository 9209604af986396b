#pragma once

#include "foundation/Object.h"
#include "foundation/PropertyList.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace foundation {

// One application's key-value store "in the cloud". There is no such service here, so the store
// is one binary plist file on this machine, $XDG_DATA_HOME/<store identifier>/ubiquitous-kvs.plist
// (~/.local/share without XDG_DATA_HOME), and nothing leaves the machine. Another store object
// over the same file, in this process or another, plays the other device.
//
// Writes reach the disk before they return, merged under the file's advisory lock with what others
// wrote: only the keys this object changed replace what is on disk. Reads see the file as it is
// now. A file that does not parse reads as empty (logged) and is moved aside
// (`ubiquitous-kvs.plist.corrupt-<UTC time>`) only on this object's next write.
//
// An external change is a change of the file that this object did not make. A watcher thread per
// object notices it and posts didChangeExternallyNotification on the default notification centre,
// from that thread, with this object as the notification's object and, under changedKeysKey, a
// PropertyList array of the names of the keys whose values differ from what this object last
// knew (removals included). Keys are compared by content, not by file times: another writer
// storing an equal value changes nothing. synchronize() never posts.
//
// Limits, as a service that spans machines has them: the store holds at most maximumKeys keys
// and its file at most maximumBytes. A write that would grow the store past either is refused and
// logged, as is a value no plist file can hold; what is stored stays as it was.
//
// Always held by std::shared_ptr; safe on any thread.
class UbiquitousKeyValueStore : public Object {
    struct Private {};

public:
    static constexpr std::string_view didChangeExternallyNotification =
        "NSUbiquitousKeyValueStoreDidChangeExternallyNotification";
    static constexpr std::string_view changedKeysKey = "NSUbiquitousKeyValueStoreChangedKeysKey";

    static constexpr std::size_t maximumKeys = 1024;
    static constexpr std::size_t maximumBytes = std::size_t(1) << 20;
    static constexpr std::string_view fileName = "ubiquitous-kvs.plist";

    // The running program's store, named by its bundle identifier (its file name when it has
    // none): one object per process, never destroyed.
    static const std::shared_ptr<UbiquitousKeyValueStore>& defaultStore();
    // Another object over the store of that identifier. nullptr when the identifier is empty or
    // no safe folder name ('/', control characters, a leading '.', more than 200 bytes).
    static std::shared_ptr<UbiquitousKeyValueStore> make(std::string_view storeIdentifier);

    UbiquitousKeyValueStore(Private, std::string storeIdentifier);
    ~UbiquitousKeyValueStore() override;

    const std::string& storeIdentifier() const { return identifier_; }
    // The store's file; empty when no data folder is known (the store then keeps its values in
    // memory only, and logs that each write fails).
    const std::string& path() const;

    // Absent when the store has no such key.
    PropertyList objectForKey(std::string_view key) const;
    // An absent value removes the key.
    void setObject(const PropertyList& value, std::string_view key);
    void removeObjectForKey(std::string_view key);

    // Writes changes that an earlier write could not, and reads the file again. True when the
    // file reads and nothing is left unwritten. Posts nothing.
    bool synchronize();

    PropertyList::Dictionary dictionaryRepresentation() const;

    struct State;

private:
    void startWatching();
    // On the watcher's thread.
    void fileChanged();

    const std::string identifier_;
    const std::unique_ptr<State> state_;
};

} // namespace foundation
