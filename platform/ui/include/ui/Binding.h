#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace ui {

// A two-way reference to a value stored elsewhere: state, a model object, or any getter and
// setter. Copies refer to the same value.
template <class T> class Binding {
public:
    using Get = std::function<T()>;
    using Set = std::function<void(T)>;

    Binding(Get get, Set set)
        : get_(std::move(get))
        , set_(std::move(set)) {}

    // A binding that reads `value` and ignores writes.
    static Binding constant(T value) {
        return Binding([value] { return value; }, [](T) {});
    }

    T get() const { return get_(); }
    T operator()() const { return get_(); }
    void set(T value) const { set_(std::move(value)); }

    // A binding to one member of the value: writes copy the whole value back.
    template <class M, class C = T> Binding<M> member(M C::*field) const {
        return Binding<M>([get = get_, field] { return get().*field; },
                          [get = get_, set = set_, field](M value) {
                              C whole = get();
                              whole.*field = std::move(value);
                              set(std::move(whole));
                          });
    }

    // A binding derived through a conversion both ways.
    template <class U, class To, class From> Binding<U> map(To to, From from) const {
        return Binding<U>([get = get_, to] { return to(get()); },
                          [set = set_, from](U value) { set(from(std::move(value))); });
    }

private:
    Get get_;
    Set set_;
};

} // namespace ui
