#include "store/PersistentIdentifier.h"

std::size_t
std::hash<store::PersistentIdentifier>::operator()(const store::PersistentIdentifier& id) const noexcept {
    std::size_t h = std::hash<std::string>{}(id.storeIdentifier);
    h = h * 31 + std::hash<std::string>{}(id.entityName);
    return h * 31 + std::hash<std::int64_t>{}(id.primaryKey);
}
