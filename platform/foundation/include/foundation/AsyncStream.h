#pragma once

#include "foundation/Fatal.h"
#include "foundation/TaskContext.h"

#include <concepts>
#include <coroutine>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

// An asynchronous sequence with one consumer and any number of producers.
//
//     auto [stream, continuation] = foundation::AsyncStream<int>::makeStream();
//     continuation.setOnTermination([](foundation::AsyncStreamTermination why) { ... });
//     std::thread([continuation] { continuation.yield(1); continuation.finish(); }).detach();
//     while (auto value = co_await stream.next()) use(*value);   // inside a task
//
// Producers yield from any thread; elements are buffered (without bound by default) until the
// consumer takes them, in yield order. The stream terminates once, for one of two reasons, and
// the onTermination handler then runs once, on the thread that caused it, and is released:
// `finished` when finish() is called (or the last copy of the continuation goes away; elements
// already buffered are still delivered), `cancelled` when the consumer's task is cancelled while
// it iterates or the AsyncStream object (the consumer end) is destroyed (buffered elements are
// dropped). After termination yield() returns `terminated` and next() gives an empty optional.
namespace foundation {

enum class AsyncStreamTermination { finished, cancelled };
enum class AsyncStreamYieldResult { enqueued, dropped, terminated };

struct AsyncStreamBufferingPolicy {
    enum class Kind { unbounded, bufferingOldest, bufferingNewest };
    Kind kind = Kind::unbounded;
    std::size_t limit = 0;

    static constexpr AsyncStreamBufferingPolicy unbounded() { return {}; }
    // Keeps the first `limit` elements; later ones are dropped while the buffer is full.
    static constexpr AsyncStreamBufferingPolicy bufferingOldest(std::size_t limit) {
        return {Kind::bufferingOldest, limit};
    }
    // Keeps the last `limit` elements; the oldest buffered one is dropped to make room.
    static constexpr AsyncStreamBufferingPolicy bufferingNewest(std::size_t limit) {
        return {Kind::bufferingNewest, limit};
    }
};

namespace detail {

template <class T> class StreamState {
public:
    using Handler = std::function<void(AsyncStreamTermination)>;
    explicit StreamState(AsyncStreamBufferingPolicy policy)
        : policy_(policy) {}

    AsyncStreamYieldResult yield(T value) {
        std::shared_ptr<TaskContext> context;
        std::coroutine_handle<> waiter;
        std::optional<T> dropped; // released outside the lock
        AsyncStreamYieldResult result = AsyncStreamYieldResult::enqueued;
        {
            std::lock_guard lock(mutex_);
            if (terminated_) return AsyncStreamYieldResult::terminated;
            if (waiter_) {
                slot_->emplace(std::move(value));
                context = std::move(waiterContext_);
                waiter = std::exchange(waiter_, {});
            } else if (policy_.kind == AsyncStreamBufferingPolicy::Kind::bufferingOldest &&
                       buffer_.size() >= policy_.limit) {
                dropped.emplace(std::move(value));
                result = AsyncStreamYieldResult::dropped;
            } else {
                buffer_.push_back(std::move(value));
                if (policy_.kind == AsyncStreamBufferingPolicy::Kind::bufferingNewest &&
                    buffer_.size() > policy_.limit) {
                    dropped.emplace(std::move(buffer_.front()));
                    buffer_.pop_front();
                    result = AsyncStreamYieldResult::dropped;
                }
            }
        }
        if (waiter) context->schedule(waiter);
        return result;
    }

    void terminate(AsyncStreamTermination reason) {
        Handler handler;
        std::deque<T> dropped;
        std::shared_ptr<TaskContext> context;
        std::coroutine_handle<> waiter;
        {
            std::lock_guard lock(mutex_);
            if (reason == AsyncStreamTermination::cancelled) dropped.swap(buffer_);
            if (terminated_) return;
            terminated_ = true;
            reason_ = reason;
            handler.swap(onTermination_);
            // A waiting consumer has an empty buffer, so it gets the end.
            context = std::move(waiterContext_);
            waiter = std::exchange(waiter_, {});
        }
        if (handler) handler(reason);
        if (waiter) context->schedule(waiter);
    }

    void setOnTermination(Handler handler) {
        std::optional<AsyncStreamTermination> already;
        {
            std::lock_guard lock(mutex_);
            if (!terminated_) {
                onTermination_ = std::move(handler);
                return;
            }
            already = reason_;
        }
        // Too late to wait for it: run it now, so its clean-up still happens.
        if (handler) handler(*already);
    }

    // True when `slot` holds the next element or the stream has ended.
    bool take(std::optional<T>& slot) {
        std::lock_guard lock(mutex_);
        return takeLocked(slot);
    }

    // Like take(), and otherwise registers the waiting consumer.
    bool takeOrWait(std::optional<T>& slot, TaskContext& context, std::coroutine_handle<> waiter) {
        std::lock_guard lock(mutex_);
        if (takeLocked(slot)) return true;
        if (waiter_) fatal("AsyncStream: next() awaited by two tasks at once; a stream has one consumer");
        waiterContext_ = context.shared_from_this();
        waiter_ = waiter;
        slot_ = &slot;
        return false;
    }

private:
    bool takeLocked(std::optional<T>& slot) {
        if (!buffer_.empty()) {
            slot.emplace(std::move(buffer_.front()));
            buffer_.pop_front();
            return true;
        }
        return terminated_;
    }

    std::mutex mutex_;
    const AsyncStreamBufferingPolicy policy_;
    std::deque<T> buffer_;
    bool terminated_ = false;
    AsyncStreamTermination reason_ = AsyncStreamTermination::finished;
    Handler onTermination_;
    std::shared_ptr<TaskContext> waiterContext_;
    std::coroutine_handle<> waiter_;
    std::optional<T>* slot_ = nullptr;
};

} // namespace detail

template <class T> class AsyncStream {
public:
    using Termination = AsyncStreamTermination;
    using YieldResult = AsyncStreamYieldResult;
    using BufferingPolicy = AsyncStreamBufferingPolicy;

    // The producer end: a copyable handle, usable from any thread.
    class Continuation {
    public:
        YieldResult yield(T value) const { return producer_->state->yield(std::move(value)); }
        void finish() const { producer_->state->terminate(Termination::finished); }
        // Replaces the handler; set after termination, it runs at once with the reason.
        void setOnTermination(std::function<void(Termination)> handler) const {
            producer_->state->setOnTermination(std::move(handler));
        }

    private:
        friend class AsyncStream;
        // Shared by all copies; the last one to go finishes the stream, so a consumer never waits
        // on a stream nobody can feed any more.
        struct Producer {
            explicit Producer(std::shared_ptr<detail::StreamState<T>> s)
                : state(std::move(s)) {}
            Producer(const Producer&) = delete;
            Producer& operator=(const Producer&) = delete;
            ~Producer() { state->terminate(Termination::finished); }
            const std::shared_ptr<detail::StreamState<T>> state;
        };
        explicit Continuation(std::shared_ptr<detail::StreamState<T>> state)
            : producer_(std::make_shared<Producer>(std::move(state))) {}
        std::shared_ptr<Producer> producer_;
    };

    class NextAwaiter {
    public:
        using FoundationAwaitable = void;

        bool await_ready() {
            // A cancelled consumer ends its iteration, as if it were cancelled while waiting.
            if (detail::TaskContext::requireCurrent().isCancelled()) {
                state_->terminate(Termination::cancelled);
            }
            return state_->take(result_);
        }
        bool await_suspend(std::coroutine_handle<> awaiting) {
            auto& context = detail::TaskContext::requireCurrent();
            // Installed before the waiter is published: from then on the task may already run
            // elsewhere, and this awaiter must not be touched.
            context.setCancellationHandler([state = state_] { state->terminate(Termination::cancelled); });
            handlerInstalled_ = true;
            return !state_->takeOrWait(result_, context, awaiting);
        }
        std::optional<T> await_resume() {
            if (handlerInstalled_) detail::TaskContext::requireCurrent().clearCancellationHandler();
            return std::move(result_);
        }

    private:
        friend class AsyncStream;
        explicit NextAwaiter(std::shared_ptr<detail::StreamState<T>> state)
            : state_(std::move(state)) {}
        std::shared_ptr<detail::StreamState<T>> state_;
        std::optional<T> result_;
        bool handlerInstalled_ = false;
    };

    // Calls `build` with the continuation before returning.
    template <class Build>
    requires std::invocable<Build&, Continuation>
    explicit AsyncStream(Build build, BufferingPolicy policy = BufferingPolicy::unbounded())
        : state_(std::make_shared<detail::StreamState<T>>(policy)) {
        build(Continuation(state_));
    }

    static std::pair<AsyncStream, Continuation>
    makeStream(BufferingPolicy policy = BufferingPolicy::unbounded()) {
        auto state = std::make_shared<detail::StreamState<T>>(policy);
        return {AsyncStream(state), Continuation(state)};
    }

    AsyncStream(AsyncStream&& other) noexcept
        : state_(std::move(other.state_)) {}
    AsyncStream& operator=(AsyncStream&& other) noexcept {
        if (this != &other) {
            drop();
            state_ = std::move(other.state_);
        }
        return *this;
    }
    AsyncStream(const AsyncStream&) = delete;
    AsyncStream& operator=(const AsyncStream&) = delete;
    ~AsyncStream() { drop(); }

    // Awaitable inside a task: the next element, or empty once the stream has ended.
    NextAwaiter next() const { return NextAwaiter(state_); }

private:
    explicit AsyncStream(std::shared_ptr<detail::StreamState<T>> state)
        : state_(std::move(state)) {}
    void drop() {
        if (state_) std::exchange(state_, nullptr)->terminate(Termination::cancelled);
    }

    std::shared_ptr<detail::StreamState<T>> state_;
};

} // namespace foundation
