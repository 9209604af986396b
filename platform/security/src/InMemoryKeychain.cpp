#include "security/KeychainBackend.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace security {

namespace {

struct Item {
    ItemAttributes attributes;
    foundation::Data value;
    std::uint64_t number = 0;
    bool foreign = false;
};

bool matchesField(const std::optional<std::string>& wanted, const std::optional<std::string>& actual) {
    return !wanted || wanted == actual;
}

bool matches(const ItemAttributes& query, const Item& item) {
    const auto& a = item.attributes;
    return !item.foreign && query.itemClass == a.itemClass && matchesField(query.service, a.service) &&
           matchesField(query.account, a.account) && matchesField(query.generic, a.generic) &&
           matchesField(query.accessible, a.accessible) && matchesField(query.accessGroup, a.accessGroup);
}

// The keychain's primary key: an item with the same one is a duplicate.
bool samePrimaryKey(const ItemAttributes& a, const ItemAttributes& b) {
    return a.itemClass == b.itemClass && a.service == b.service && a.account == b.account &&
           a.accessGroup == b.accessGroup;
}

foundation::Data persistentReference(const Item& item) {
    const std::string text = "memory/" + std::to_string(item.number);
    return foundation::Data(text.begin(), text.end());
}

} // namespace

struct InMemoryKeychain::State {
    mutable std::mutex mutex;
    std::vector<Item> items;
    std::uint64_t nextNumber = 1;
};

InMemoryKeychain::InMemoryKeychain()
    : state_(std::make_unique<State>()) {}

InMemoryKeychain::~InMemoryKeychain() = default;

OSStatus InMemoryKeychain::add(const ItemQuery& query) {
    std::lock_guard lock(state_->mutex);
    for (const auto& item : state_->items)
        if (!item.foreign && samePrimaryKey(item.attributes, query.attributes)) return errSecDuplicateItem;
    state_->items.push_back(
        {query.attributes, query.valueData.value_or(foundation::Data{}), state_->nextNumber++});
    return errSecSuccess;
}

OSStatus InMemoryKeychain::update(const ItemQuery& match, const ItemQuery& changes) {
    std::lock_guard lock(state_->mutex);
    bool found = false;
    for (auto& item : state_->items) {
        if (!matches(match.attributes, item)) continue;
        found = true;
        if (changes.valueData) item.value = *changes.valueData;
    }
    return found ? errSecSuccess : errSecItemNotFound;
}

CopyResult InMemoryKeychain::copyMatching(const ItemQuery& query) {
    std::lock_guard lock(state_->mutex);
    const auto found = std::find_if(state_->items.begin(), state_->items.end(),
                                    [&](const Item& item) { return matches(query.attributes, item); });
    if (found == state_->items.end()) return {};
    CopyResult result{errSecSuccess, {}, {}};
    switch (query.returns) {
    case ItemQuery::Return::data:
        result.data = found->value;
        break;
    case ItemQuery::Return::persistentRef:
        result.data = persistentReference(*found);
        break;
    case ItemQuery::Return::attributes:
        result.attributes = found->attributes;
        break;
    case ItemQuery::Return::nothing:
        break;
    }
    return result;
}

OSStatus InMemoryKeychain::remove(const ItemQuery& query) {
    std::lock_guard lock(state_->mutex);
    const auto before = state_->items.size();
    std::erase_if(state_->items, [&](const Item& item) { return matches(query.attributes, item); });
    return state_->items.size() < before ? errSecSuccess : errSecItemNotFound;
}

void InMemoryKeychain::addForeignItem(const ItemAttributes& attributes, foundation::Data value) {
    std::lock_guard lock(state_->mutex);
    state_->items.push_back({attributes, std::move(value), state_->nextNumber++, true});
}

std::size_t InMemoryKeychain::count() const {
    std::lock_guard lock(state_->mutex);
    return state_->items.size();
}

std::size_t InMemoryKeychain::foreignCount() const {
    std::lock_guard lock(state_->mutex);
    return std::size_t(
        std::count_if(state_->items.begin(), state_->items.end(), [](const Item& i) { return i.foreign; }));
}

} // namespace security
