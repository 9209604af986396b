#pragma once

#include "store/EntityDescription.h"

#include <string_view>
#include <vector>

namespace store {

struct SchemaVersion {
    int major = 1;
    int minor = 0;
    int patch = 0;
    bool operator==(const SchemaVersion&) const = default;
};

// The model classes a container works with: the ones given, in their order, then every class
// they reach through relationships.
class Schema {
public:
    explicit Schema(std::vector<const EntityDescription*> entities, SchemaVersion version = {});
    // Schema::of<ItemCollection, Item>(): the classes' static entity() descriptions.
    template <class... Models> static Schema of(SchemaVersion version = {}) {
        return Schema({&Models::entity()...}, version);
    }

    const std::vector<const EntityDescription*>& entities() const { return entities_; }
    const EntityDescription* entity(std::string_view name) const;
    SchemaVersion version() const { return version_; }

private:
    std::vector<const EntityDescription*> entities_;
    SchemaVersion version_;
};

} // namespace store
