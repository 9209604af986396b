#pragma once

#include "reactive/AnyCancellable.h"
#include "reactive/Publisher.h"

#include <memory>
#include <type_traits>
#include <utility>

namespace reactive {

namespace detail {

template <class Member, class Root, class Object, class Value>
void assignTo(Member Root::*keyPath, Object& object, const Value& value) {
    if constexpr (std::is_member_function_pointer_v<Member Root::*>) {
        (object.*keyPath)(value);
    } else {
        object.*keyPath = value;
    }
}

} // namespace detail

template <class Derived>
template <class Member, class Root, class Pointer>
AnyCancellable PublisherOperators<Derived>::assign(Member Root::*keyPath, Pointer object) const {
    using Output = typename Derived::Output;
    if constexpr (requires { object.lock(); }) { // std::weak_ptr
        return this->sink([keyPath, object = std::move(object)](const Output& value) {
            if (auto strong = object.lock()) detail::assignTo(keyPath, *strong, value);
        });
    } else { // std::shared_ptr or raw pointer
        return this->sink([keyPath, object = std::move(object)](const Output& value) {
            detail::assignTo(keyPath, *object, value);
        });
    }
}

} // namespace reactive
