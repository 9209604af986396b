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
// destructors that come back here. The last reader frees before it leaves, while it still
// counts: once the count is zero the owner may be destroyed on another thread at any moment,
// so leaving is a reader's last touch of the list.
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
        auto current = readers_.load(std::memory_order_seq_cst);
        for (;;) {
            if (countOf(current) == 1 && (current & retiredBit)) { // the last one out frees
                reclaim();
                current = readers_.load(std::memory_order_seq_cst);
                continue;
            }
            if (readers_.compare_exchange_weak(current, current - 1, std::memory_order_seq_cst))
                return countOf(current) == 1 && (current & dyingBit);
        }
    }

    // For the owner's deleter: true when nobody reads, so the owner may go now.
    [[nodiscard]] bool markDying() {
        return countOf(readers_.fetch_or(dyingBit, std::memory_order_seq_cst)) == 0;
    }

    // Replaces the nodes by an edited copy. `edit` runs under the writers' lock and returns
    // whether it changed anything; it must not call out of this layer.
    template <class Edit> void edit(Edit&& edit) {
        std::vector<Nodes*> garbage;
        {
            std::lock_guard lock(mutex_);
            auto next = std::make_unique<Nodes>(*current_.load(std::memory_order_relaxed));
            if (!edit(*next)) return; // `next` only shares nodes that `current_` still holds
            retired_.push_back(current_.exchange(next.release(), std::memory_order_seq_cst));
            if (countOf(readers_.fetch_or(retiredBit, std::memory_order_seq_cst)) == 0) takeRetired(garbage);
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
    static constexpr std::uint64_t retiredBit = std::uint64_t(1) << 62; // `retired_` holds nodes
    static std::uint64_t countOf(std::uint64_t readers) { return readers & ~(dyingBit | retiredBit); }

    void takeRetired(std::vector<Nodes*>& garbage) {
        garbage.swap(retired_);
        readers_.fetch_and(~retiredBit, std::memory_order_seq_cst);
    }

    // By the last reader, before it leaves.
    void reclaim() {
        std::vector<Nodes*> garbage;
        {
            std::lock_guard lock(mutex_);
            // A reader that came in meanwhile sees only the current nodes; the retired ones
            // wait for the last reader out.
            if (countOf(readers_.load(std::memory_order_seq_cst)) != 1) return;
            takeRetired(garbage);
        }
        for (auto* nodes : garbage)
            delete nodes;
    }

    std::atomic<Nodes*> current_;
    std::atomic<std::uint64_t> readers_{0}; // count, dyingBit, retiredBit
    std::mutex mutex_;
    std::vector<Nodes*> retired_;
};

} // namespace reactive::detail
