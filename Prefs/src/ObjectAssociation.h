#pragma once

#include "foundation/Object.h"

#include <memory>
#include <type_traits>
#include <utility>

namespace Prefs {

// A typed slot in objects' associated tables, keyed by this instance's address.
template <class T> class ObjectAssociation {
public:
    ObjectAssociation() = default;
    ObjectAssociation(const ObjectAssociation&) = delete;
    ObjectAssociation& operator=(const ObjectAssociation&) = delete;

    // Empty when absent or stored as another type.
    std::shared_ptr<T> get(const foundation::Object& object) const {
        return object.associatedObject<T>(this);
    }
    void set(foundation::Object& object, std::shared_ptr<T> value) const {
        object.setAssociatedObject(this, std::move(value));
    }
    // One atomic read-modify-write; `modify` must not use the object's table.
    template <class F> void modify(foundation::Object& object, F modify) const {
        object.modifyAssociatedObject<T>(this, std::move(modify));
    }
};

} // namespace Prefs
