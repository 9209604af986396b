#include "ui/Preference.h"

namespace ui {

const PreferenceValues::Entry* PreferenceValues::find(detail::KeyID key) const {
    if (!storage_) return nullptr;
    auto it = storage_->find(key);
    return it == storage_->end() ? nullptr : &it->second;
}

void PreferenceValues::setErased(detail::KeyID key, Entry entry) {
    auto storage = storage_ ? std::make_shared<Storage>(*storage_) : std::make_shared<Storage>();
    (*storage)[key] = std::move(entry);
    storage_ = std::move(storage);
}

void PreferenceValues::removeErased(detail::KeyID key) {
    if (!find(key)) return;
    auto storage = std::make_shared<Storage>(*storage_);
    storage->erase(key);
    storage_ = std::move(storage);
}

void PreferenceValues::merge(const PreferenceValues& next) {
    if (next.isEmpty()) return;
    if (isEmpty()) {
        storage_ = next.storage_;
        return;
    }
    auto storage = std::make_shared<Storage>(*storage_);
    for (const auto& [key, entry] : *next.storage_) {
        auto it = storage->find(key);
        if (it == storage->end()) {
            storage->emplace(key, entry);
        } else {
            entry.reduce(it->second.value, entry.value);
        }
    }
    storage_ = std::move(storage);
}

bool PreferenceValues::sameValue(detail::KeyID key, const PreferenceValues& other) const {
    const auto* a = find(key);
    const auto* b = other.find(key);
    if (!a || !b) return a == b;
    return a->value == b->value;
}

} // namespace ui
