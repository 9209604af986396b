#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/CurrentValueSubject.h"
#include "reactive/ObservableObject.h"

#include <utility>

namespace reactive {

// A property of an observable object. Each write first sends the owner's objectWillChange,
// also when the value is equal, then stores the value, then emits it on publisher().
//
//     class Counter : public reactive::ObservableObject {
//     public:
//         reactive::Published<std::int64_t> count{this, 0};
//     };
//
// The value belongs to its owner's thread, like any member: read and write it there.
// publisher() may be subscribed from any thread.
template <class T> class Published {
public:
    explicit Published(T initial = T())
        : Published(nullptr, std::move(initial)) {}
    Published(ObservableObject* owner, T initial = T())
        : owner_(owner)
        , subject_(std::move(initial))
        , publisher_(subject_.eraseToAnyPublisher()) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    const T& get() const { return subject_.storedValue(); }
    operator const T&() const { return get(); }
    const T* operator->() const { return &get(); }

    void set(T value) {
        if (owner_) owner_->objectWillChange().send();
        subject_.send(std::move(value));
    }
    Published& operator=(T value) {
        set(std::move(value));
        return *this;
    }
    // Changes a copy of the value in place and writes it back.
    template <class F> void modify(F&& f) {
        T value = get();
        std::forward<F>(f)(value);
        set(std::move(value));
    }

    // The property's own publisher (the platform's `$property`): the current value at once,
    // then each new value. It keeps working after the property is gone, without new values.
    // Every call gives the same publisher, so a view that subscribes in its body (onReceive)
    // keeps its subscription across updates.
    const AnyPublisher<T>& publisher() const { return publisher_; }

private:
    ObservableObject* const owner_;
    CurrentValueSubject<T> subject_;
    const AnyPublisher<T> publisher_;
};

} // namespace reactive
