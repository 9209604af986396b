#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace store {

class PersistentModel;

// The field behind a to-one relationship: a strong reference to the related model.
template <class T> struct ToOne { std::shared_ptr<T> target; };

// The field behind a to-many relationship. It holds its members weakly, so the two sides never
// form a cycle; the member's to-one side is the truth and this list only finds them quickly.
// Entries may be stale (a member that moved away or went) until the next read tidies them.
struct ToManyStorage {
    std::vector<std::weak_ptr<PersistentModel>> entries;
    // The context generation at which every stored member was linked; 0 when never loaded.
    std::uint64_t loadedGeneration = 0;
};

template <class T> struct ToMany : ToManyStorage {};

enum class DeleteRule {
    nullify, // deleting the owner leaves the related models, without it
    cascade, // deleting the owner deletes the related models too
};

} // namespace store
