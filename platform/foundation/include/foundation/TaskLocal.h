#pragma once

#include "foundation/Task.h"
#include "foundation/TaskContext.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace foundation {

namespace detail {
std::uint64_t nextTaskLocalKey();

// Binds one value for the lifetime of the object, on the current task (or thread).
class ScopedTaskLocalBinding {
public:
    ScopedTaskLocalBinding(std::uint64_t key, std::shared_ptr<const void> value)
        : slot_(currentLocals())
        , previous_(slot_) {
        slot_ = std::make_shared<const TaskLocalBinding>(TaskLocalBinding{key, std::move(value), previous_});
    }
    ~ScopedTaskLocalBinding() { slot_ = std::move(previous_); }
    ScopedTaskLocalBinding(const ScopedTaskLocalBinding&) = delete;
    ScopedTaskLocalBinding& operator=(const ScopedTaskLocalBinding&) = delete;

private:
    TaskLocalBindings& slot_;
    TaskLocalBindings previous_;
};
} // namespace detail

// A value bound for a scope of a task rather than a thread: it travels with the task across
// suspensions and threads, and child tasks (Task(...)) created inside the scope take it along;
// detached tasks start with every task-local at its default. Outside any task a binding holds for
// the thread, and tasks created there inherit it.
//
//     static const foundation::TaskLocal<std::optional<Date>> syncTimestamp{std::nullopt};
//     syncTimestamp.withValue(Date::now(), [] { ... syncTimestamp.value() ... });
//     co_await syncTimestamp.withValue(Date::now(), [&]() -> Task<> { co_await step(); });
//
// The async form returns a task to await; the binding holds while it runs, across its
// suspensions, and the callable is kept in that task's frame.
template <class T> class TaskLocal {
public:
    explicit TaskLocal(T defaultValue = T{})
        : key_(detail::nextTaskLocalKey())
        , default_(std::move(defaultValue)) {}
    TaskLocal(const TaskLocal&) = delete;
    TaskLocal& operator=(const TaskLocal&) = delete;

    T value() const {
        for (auto* binding = detail::currentLocals().get(); binding; binding = binding->next.get()) {
            if (binding->key == key_) return *static_cast<const T*>(binding->value.get());
        }
        return default_;
    }

    const T& defaultValue() const { return default_; }

    template <class F>
    requires std::invocable<F&> &&(!detail::isTask<std::invoke_result_t<F&>>)decltype(auto)
        withValue(T value, F&& body) const {
        detail::ScopedTaskLocalBinding binding(key_, std::make_shared<const T>(std::move(value)));
        return std::invoke(body);
    }

    template <class F>
    requires std::invocable<F&> && detail::isTask<std::invoke_result_t<F&>> std::invoke_result_t<F&>
    withValue(T value, F body)
    const {
        return bindDuring<typename std::invoke_result_t<F&>::ValueType>(
            key_, std::make_shared<const T>(std::move(value)), std::move(body));
    }

private:
    template <class U, class F>
    static Task<U> bindDuring(std::uint64_t key, std::shared_ptr<const void> value, F body) {
        detail::ScopedTaskLocalBinding binding(key, std::move(value));
        if constexpr (std::is_void_v<U>) {
            co_await std::invoke(body);
            co_return;
        } else {
            co_return co_await std::invoke(body);
        }
    }

    const std::uint64_t key_;
    const T default_;
};

} // namespace foundation
