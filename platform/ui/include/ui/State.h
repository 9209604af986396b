#pragma once

#include "ui/Binding.h"
#include "ui/Element.h"
#include "ui/Transaction.h"

#include <concepts>
#include <memory>
#include <utility>

namespace ui {

namespace detail {
template <class T> struct StateBox {
    T value;
    std::weak_ptr<ElementRef> owner;
};
} // namespace detail

// A handle to a view's state, from ViewContext::state. Writing invalidates the owning element
// unless the new value equals the old; once the element is gone, writes do nothing and reads
// give the last value.
template <class T> class State {
public:
    explicit State(std::shared_ptr<detail::StateBox<T>> box)
        : box_(std::move(box)) {}

    const T& value() const { return box_->value; }
    const T& operator*() const { return box_->value; }
    const T* operator->() const { return &box_->value; }

    void set(T value) const {
        auto ref = box_->owner.lock();
        if (!ref || !ref->element) return;
        if constexpr (std::equality_comparable<T>) {
            if (box_->value == value) return;
        }
        box_->value = std::move(value);
        ref->element->invalidate(Transaction::current());
    }
    template <class F> void modify(F&& f) const {
        T value = box_->value;
        std::forward<F>(f)(value);
        set(std::move(value));
    }

    Binding<T> binding() const {
        return Binding<T>([box = box_] { return box->value; },
                          [handle = *this](T value) { handle.set(std::move(value)); });
    }
    // Whether the owning view still exists.
    bool isAlive() const {
        auto ref = box_->owner.lock();
        return ref && ref->element;
    }

private:
    std::shared_ptr<detail::StateBox<T>> box_;
};

} // namespace ui
