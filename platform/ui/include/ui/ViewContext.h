#pragma once

#include "foundation/Fatal.h"
#include "reactive/ObservableObject.h"
#include "ui/Element.h"
#include "ui/EnvironmentFocusedValues.h"
#include "ui/EnvironmentValues.h"
#include "ui/FocusState.h"
#include "ui/State.h"
#include "ui/Transaction.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace ui {

// An identity for matched geometry, stable for as long as the view that made it.
struct NamespaceID {
    std::uint64_t value = 0;
    bool operator==(const NamespaceID&) const = default;
};

// What a body reaches its element's dynamic properties through: state by name, state
// objects, observed objects and the environment. Names are unique per element; helpers that
// keep state of their own derive their names from their caller's.
class ViewContext {
public:
    explicit ViewContext(Element& element)
        : element_(element) {}
    ViewContext(const ViewContext&) = delete;
    ViewContext& operator=(const ViewContext&) = delete;

    Element& element() const { return element_; }
    const Transaction& transaction() const { return element_.transaction(); }

    template <class T> State<T> state(std::string_view name, T initial) {
        auto box = element_.slot<detail::StateBox<T>>(name, [&] {
            return std::make_shared<detail::StateBox<T>>(
                detail::StateBox<T>{std::move(initial), element_.reference()});
        });
        return State<T>(std::move(box));
    }

    // Focus state starts with the focus elsewhere (false, or empty for an optional).
    template <class T> FocusState<T> focusState(std::string_view name) {
        return FocusState<T>(state<T>(name, T{}));
    }

    // Made once per identity by `make`, released with the element; an observable object
    // re-evaluates the view when it announces a change.
    template <class T, class Make> std::shared_ptr<T> stateObject(std::string_view name, Make&& make) {
        auto object = element_.slot<T>(name, [&] { return std::shared_ptr<T>(std::forward<Make>(make)()); });
        return observedObject(std::move(object));
    }

    // Re-evaluates the view when `object` announces a change (objectWillChange).
    template <class T> std::shared_ptr<T> observedObject(std::shared_ptr<T> object) {
        if constexpr (std::is_base_of_v<reactive::ObservableObject, T>) {
            if (object) observe(*object, object.get());
        }
        return object;
    }

    template <EnvironmentKey K> const typename K::Value& environment() {
        element_.bodyRecord().reads.push_back(detail::keyID<K>());
        return element_.environment().get<K>();
    }
    // The whole environment; the view then re-evaluates on any change of it.
    const EnvironmentValues& environmentValues() {
        element_.bodyRecord().readsAll = true;
        return element_.environment();
    }
    // An object an ancestor put in the environment; its absence is a programmer error.
    template <class T> std::shared_ptr<T> environmentObject() {
        auto object = environment<EnvironmentObjectKey<T>>();
        if (!object)
            foundation::fatal(std::string("no environment object of type ") + typeid(T).name() +
                              " was put in the environment of this view");
        return observedObject(std::move(object));
    }

    // A value the focused window's views publish (View::focusedValue), for commands; nothing
    // when none does or outside a program's commands.
    template <FocusedValueKey K> std::optional<typename K::Value> focusedValue() {
        return environment<FocusedSceneValuesKey>().template get<K>();
    }

    NamespaceID namespace_(std::string_view name);

private:
    void observe(const reactive::ObservableObject& object, const void* identity);

    Element& element_;
};

} // namespace ui
