#pragma once

#include "foundation/Task.h"
#include "foundation/TaskContext.h"

#include <concepts>
#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

// Checked continuations: the bridge from callback-based code into tasks.
//
//     co_await withCheckedContinuation<void>("flush()", [&](CheckedContinuation<void> c) {
//         queue.enqueue([c] { c.resume(); });
//     });
//
// The body runs at once, on the awaiting task's thread, with the continuation; the awaiting task
// resumes (on its own executor) once some thread calls resume(). Resuming twice stops the
// program with a report naming the label; dropping every copy without resuming prints a report
// on standard error, and the awaiting task then never resumes.
namespace foundation {

template <class T, bool Throwing> class BasicCheckedContinuation;

namespace detail {

class ContinuationStateBase {
public:
    explicit ContinuationStateBase(std::string name)
        : name_(std::move(name)) {}
    ContinuationStateBase(const ContinuationStateBase&) = delete;
    ContinuationStateBase& operator=(const ContinuationStateBase&) = delete;

    const std::string& name() const { return name_; }
    bool isResumed() const;

    void resumeThrowing(std::exception_ptr error) {
        resume([&] { error_ = std::move(error); });
    }
    // After the body ran: false when the outcome is there already, so there is no need to
    // suspend; otherwise registers the waiter, which resume() then schedules.
    bool suspend(TaskContext& context, std::coroutine_handle<> waiter);
    // The body threw: its exception becomes the outcome unless a resume came first.
    void failIfPending(std::exception_ptr error);
    void reportLeak() const;

protected:
    template <class Store> void resume(Store&& store) {
        std::shared_ptr<TaskContext> context;
        std::coroutine_handle<> waiter;
        {
            std::lock_guard lock(mutex_);
            if (resumed_) reportResumedTwice();
            resumed_ = true;
            store();
            context = std::move(context_);
            waiter = std::exchange(waiter_, {});
        }
        if (waiter) context->schedule(waiter);
    }
    void rethrowIfFailed() const {
        if (error_) std::rethrow_exception(error_);
    }

private:
    [[noreturn]] void reportResumedTwice() const;

    const std::string name_;
    mutable std::mutex mutex_;
    bool resumed_ = false;
    std::exception_ptr error_;
    std::shared_ptr<TaskContext> context_;
    std::coroutine_handle<> waiter_;
};

template <class T> class ContinuationState final : public ContinuationStateBase {
public:
    using ContinuationStateBase::ContinuationStateBase;
    template <class U> void resumeReturning(U&& value) {
        resume([&] { value_.emplace(std::forward<U>(value)); });
    }
    // Read once, by the awaiting task after its resumption.
    T take() {
        rethrowIfFailed();
        return std::move(*value_);
    }

private:
    std::optional<T> value_;
};

template <> class ContinuationState<void> final : public ContinuationStateBase {
public:
    using ContinuationStateBase::ContinuationStateBase;
    void resumeReturning() {
        resume([] {});
    }
    void take() { rethrowIfFailed(); }
};

// Shared by all copies of one continuation; the last copy to go reports a missing resume.
class ContinuationToken {
public:
    explicit ContinuationToken(std::shared_ptr<ContinuationStateBase> state)
        : state_(std::move(state)) {}
    ~ContinuationToken() {
        if (!state_->isResumed()) state_->reportLeak();
    }
    ContinuationToken(const ContinuationToken&) = delete;
    ContinuationToken& operator=(const ContinuationToken&) = delete;

private:
    std::shared_ptr<ContinuationStateBase> state_;
};

// Awaiters have constructors: g++ 12 destroys a braced aggregate temporary in co_await twice.
template <class T, bool Throwing, class F> struct ContinuationAwaiter {
    using FoundationAwaitable = void;
    ContinuationAwaiter(std::string name, F& body)
        : state(std::make_shared<ContinuationState<T>>(std::move(name)))
        , body(body) {}

    std::shared_ptr<ContinuationState<T>> state;
    F& body;

    bool await_ready() const noexcept { return false; }
    bool await_suspend(std::coroutine_handle<> awaiting) const {
        auto& context = TaskContext::requireCurrent();
        // Outlives the body, so a body that throws is not also reported as a dropped continuation.
        const BasicCheckedContinuation<T, Throwing> continuation(state);
        try {
            std::invoke(body, continuation);
        } catch (...) {
            state->failIfPending(std::current_exception());
        }
        return state->suspend(context, awaiting);
    }
    T await_resume() const { return state->take(); }
};

} // namespace detail

// A copyable handle; resume from any thread, exactly once.
template <class T, bool Throwing> class BasicCheckedContinuation {
public:
    template <class U = T>
    requires(!std::is_void_v<U>) void resume(std::type_identity_t<U> value) const {
        state_->resumeReturning(std::move(value));
    }
    template <class U = T>
    requires std::is_void_v<U>
    void resume() const { state_->resumeReturning(); }
    // The awaiting task rethrows the error.
    void resumeThrowing(std::exception_ptr error) const requires Throwing {
        state_->resumeThrowing(std::move(error));
    }
    template <class E>
    requires Throwing &&
        (!std::same_as<std::remove_cvref_t<E>, std::exception_ptr>)void resumeThrowing(E&& error) const {
        state_->resumeThrowing(std::make_exception_ptr(std::forward<E>(error)));
    }

    const std::string& name() const { return state_->name(); }

private:
    template <class, bool, class> friend struct detail::ContinuationAwaiter;

    explicit BasicCheckedContinuation(std::shared_ptr<detail::ContinuationState<T>> state)
        : state_(state)
        , token_(std::make_shared<detail::ContinuationToken>(std::move(state))) {}

    std::shared_ptr<detail::ContinuationState<T>> state_;
    std::shared_ptr<detail::ContinuationToken> token_;
};

template <class T> using CheckedContinuation = BasicCheckedContinuation<T, false>;
template <class T> using CheckedThrowingContinuation = BasicCheckedContinuation<T, true>;

// Suspends the current task and hands `body` a continuation; resumes with what it is resumed with.
template <class T, class F>
requires std::invocable<F&, CheckedContinuation<T>> Task<T> withCheckedContinuation(std::string name,
                                                                                    F body) {
    using Awaiter = detail::ContinuationAwaiter<T, false, F>;
    if constexpr (std::is_void_v<T>) {
        co_await Awaiter(std::move(name), body);
        co_return;
    } else {
        co_return co_await Awaiter(std::move(name), body);
    }
}

// As withCheckedContinuation, and the continuation can also resume by throwing.
template <class T, class F>
requires std::invocable<F&, CheckedThrowingContinuation<T>> Task<T>
withCheckedThrowingContinuation(std::string name, F body) {
    using Awaiter = detail::ContinuationAwaiter<T, true, F>;
    if constexpr (std::is_void_v<T>) {
        co_await Awaiter(std::move(name), body);
        co_return;
    } else {
        co_return co_await Awaiter(std::move(name), body);
    }
}

} // namespace foundation
