#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace reactive::detail {

// The subscriptions of a subject: an immutable vector that senders read without a lock or a
// copy, replaced as a whole by writers. A read costs two atomic increments, whatever the
// number of subscriptions.
//
// Readers announce themselves in `readers_`; a replaced vector is retired and freed only once
// `readers_` has been seen at zero after it was retired, by the writer or by the last reader
// out. Frees happen outside the lock, since dropping a subscription may run arbitrary
// destructors that come back here.
//
// The owner may be released while one of its own readers is still inside (a subscriber that
// drops the last reference to the subject it is being sent from). markDying() then defers the
// owner's destruction to that reader: endRead() tells it to delete the owner.
template <class Node> class CopyOnWriteList {
public:
    using Nodes = std::vector<std::shared_ptr<Node>>;

    CopyOnWriteList()
        : current_(new Nodes()) {}
    ~CopyOnWriteList() {
        delete current_.load(std::memory_order_relaxed);
        for (auto* nodes : retired_)
            delete nodes;
    }
    CopyOnWriteList(const CopyOnWriteList&) = delete;
    CopyOnWriteList& operator=(const CopyOnWriteList&) = delete;

    // The current nodes, valid until the matching endRead().
    const Nodes& beginRead() {
        readers_.fetch_add(1, std::memory_order_seq_cst);
        return *current_.load(std::memory_order_seq_cst);
    }

    // True when the owner was released during this read and this was the last reader: the
    // caller must then destroy the owner, and touch nothing of it afterwards.
    [[nodiscard]] bool endRead() {
        const auto before = readers_.fetch_sub(1, std::memory_order_seq_cst);
        if (before == 1) {
            if (hasRetired_.load(std::memory_order_seq_cst)) reclaim();
            return false;
        }
        return before == (dyingBit | 1);
    }

    // For the owner's deleter: true when nobody reads, so the owner may go now.
    [[nodiscard]] bool markDying() { return readers_.fetch_or(dyingBit, std::memory_order_seq_cst) == 0; }

    // Replaces the nodes by an edited copy. `edit` runs under the writers' lock and returns
    // whether it changed anything; it must not call out of this layer.
    template <class Edit> void edit(Edit&& edit) {
        std::vector<Nodes*> garbage;
        {
            std::lock_guard lock(mutex_);
            auto next = std::make_unique<Nodes>(*current_.load(std::memory_order_relaxed));
            if (!edit(*next)) return; // `next` only shares nodes that `current_` still holds
            retired_.push_back(current_.exchange(next.release(), std::memory_order_seq_cst));
            hasRetired_.store(true, std::memory_order_seq_cst);
            if (countOf(readers_.load(std::memory_order_seq_cst)) == 0) takeRetired(garbage);
        }
        for (auto* nodes : garbage)
            delete nodes;
    }

    // Runs `f` under the writers' lock, for state that must change in step with the nodes.
    template <class F> decltype(auto) withLock(F&& f) {
        std::lock_guard lock(mutex_);
        return f();
    }

private:
    static constexpr std::uint64_t dyingBit = std::uint64_t(1) << 63;
    static std::uint64_t countOf(std::uint64_t readers) { return readers & ~dyingBit; }

    void takeRetired(std::vector<Nodes*>& garbage) {
        garbage.swap(retired_);
        hasRetired_.store(false, std::memory_order_relaxed);
    }

    void reclaim() {
        std::vector<Nodes*> garbage;
        {
            std::lock_guard lock(mutex_);
            // A reader that came in meanwhile sees only the current nodes; the retired ones
            // wait for the next time the count is zero.
            if (countOf(readers_.load(std::memory_order_seq_cst)) != 0) return;
            takeRetired(garbage);
        }
        for (auto* nodes : garbage)
            delete nodes;
    }

    std::atomic<Nodes*> current_;
    std::atomic<std::uint64_t> readers_{0};
    std::atomic<bool> hasRetired_{false};
    std::mutex mutex_;
    std::vector<Nodes*> retired_;
};

} // namespace reactive::detail
