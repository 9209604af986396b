#include "store/Schema.h"

#include <algorithm>

namespace store {

Schema::Schema(std::vector<const EntityDescription*> entities, SchemaVersion version)
    : version_(version) {
    // The given classes first, then what they reach, each once.
    for (std::size_t i = 0; i < entities.size(); ++i) {
        const EntityDescription* entity = entities[i];
        if (!entity || std::find(entities_.begin(), entities_.end(), entity) != entities_.end()) continue;
        entities_.push_back(entity);
        for (const auto& relationship : entity->relationships)
            entities.push_back(&relationship.destination());
    }
}

const EntityDescription* Schema::entity(std::string_view name) const {
    for (const auto* entity : entities_)
        if (entity->name == name) return entity;
    return nullptr;
}

} // namespace store
