#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace store {

// Names one persisted object: its store, its entity and its key there. Objects of different
// contexts over the same store that stand for the same row have equal identifiers. A model
// that was never inserted has a temporary identifier of its own (no store, a negative key)
// until it is inserted.
struct PersistentIdentifier {
    std::string storeIdentifier;
    std::string entityName;
    std::int64_t primaryKey = 0;

    bool isTemporary() const { return storeIdentifier.empty(); }
    bool operator==(const PersistentIdentifier&) const = default;
};

} // namespace store

template <> struct std::hash<store::PersistentIdentifier> {
    std::size_t operator()(const store::PersistentIdentifier& id) const noexcept;
};
