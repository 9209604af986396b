#include "foundation/Object.h"

#include "foundation/Fatal.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace foundation {

struct Object::AssociationTable {
    using Entry = std::pair<AssociationKey, AssociatedValue>;

    std::mutex mutex;
    // The thread inside modify's function, to report a re-entry instead of deadlocking.
    std::atomic<std::thread::id> modifyingThread{};
    std::vector<Entry> entries; // few keys per object: a linear search beats a map

    std::vector<Entry>::iterator find(AssociationKey key) {
        return std::find_if(entries.begin(), entries.end(), [key](const Entry& e) { return e.first == key; });
    }

    std::unique_lock<std::mutex> lock() {
        if (modifyingThread.load(std::memory_order_relaxed) == std::this_thread::get_id())
            fatal("an associated-object modifier used the table it modifies");
        return std::unique_lock(mutex);
    }

    // Stores `value` under `key` and hands back what it replaced, for release outside the lock.
    AssociatedValue exchange(AssociationKey key, AssociatedValue value) {
        auto it = find(key);
        if (it == entries.end()) {
            if (value) entries.emplace_back(key, std::move(value));
            return {};
        }
        AssociatedValue old = std::move(it->second);
        if (value) {
            it->second = std::move(value);
        } else {
            entries.erase(it);
        }
        return old;
    }
};

Object::~Object() {
    AssociationTable* table = table_.load(std::memory_order_acquire);
    if (!table) return;
    // A released value may store into this table again through a pointer it kept; release
    // until nothing is left so nothing leaks.
    for (;;) {
        std::vector<AssociationTable::Entry> released;
        {
            auto lock = table->lock();
            released.swap(table->entries);
        }
        if (released.empty()) break;
    }
    delete table;
}

Object::AssociationTable& Object::table() const {
    AssociationTable* table = table_.load(std::memory_order_acquire);
    if (table) return *table;
    auto* created = new AssociationTable;
    if (table_.compare_exchange_strong(table, created, std::memory_order_acq_rel)) return *created;
    delete created; // another thread won
    return *table;
}

AssociatedValue Object::associatedObject(AssociationKey key) const {
    AssociationTable* table = table_.load(std::memory_order_acquire);
    if (!table) return {};
    auto lock = table->lock();
    auto it = table->find(key);
    return it == table->entries.end() ? AssociatedValue() : it->second;
}

void Object::setAssociatedObject(AssociationKey key, AssociatedValue value) {
    if (!value && !table_.load(std::memory_order_acquire)) return;
    AssociationTable& table = this->table();
    AssociatedValue released;
    {
        auto lock = table.lock();
        released = table.exchange(key, std::move(value));
    }
}

void Object::modifyAssociatedObject(AssociationKey key, const Modifier& modify) {
    AssociationTable& table = this->table();
    AssociatedValue released;
    {
        auto lock = table.lock();
        auto it = table.find(key);
        static const AssociatedValue absent;
        const AssociatedValue& current = it == table.entries.end() ? absent : it->second;
        table.modifyingThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
        AssociatedValue next;
        try {
            next = modify(current);
        } catch (...) {
            table.modifyingThread.store({}, std::memory_order_relaxed);
            throw;
        }
        table.modifyingThread.store({}, std::memory_order_relaxed);
        released = table.exchange(key, std::move(next));
    }
}

} // namespace foundation
