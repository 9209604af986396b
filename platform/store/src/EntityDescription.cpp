#include "store/EntityDescription.h"

namespace store {

const AttributeDescription* EntityDescription::attribute(std::string_view name) const {
    for (const auto& attribute : attributes)
        if (attribute.name == name) return &attribute;
    return nullptr;
}

const RelationshipDescription* EntityDescription::relationship(std::string_view name) const {
    for (const auto& relationship : relationships)
        if (relationship.name == name) return &relationship;
    return nullptr;
}

const RelationshipDescription* EntityDescription::inverse(const RelationshipDescription& relationship) const {
    const EntityDescription& destination = relationship.destination();
    if (!relationship.inverseName.empty()) return destination.relationship(relationship.inverseName);
    for (const auto& candidate : destination.relationships)
        if (candidate.inverseName == relationship.name && &candidate.destination() == this) return &candidate;
    return nullptr;
}

} // namespace store
