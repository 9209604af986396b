#include "ui/EnvironmentValues.h"

namespace ui {

const detail::EquatableValue* EnvironmentValues::find(detail::KeyID key) const {
    if (!storage_) return nullptr;
    auto it = storage_->find(key);
    return it == storage_->end() ? nullptr : &it->second;
}

void EnvironmentValues::setErased(detail::KeyID key, detail::EquatableValue value) {
    auto storage = storage_ ? std::make_shared<Storage>(*storage_) : std::make_shared<Storage>();
    (*storage)[key] = std::move(value);
    storage_ = std::move(storage);
}

bool EnvironmentValues::sameValue(detail::KeyID key, const EnvironmentValues& other) const {
    if (storage_ == other.storage_) return true;
    const auto* a = find(key);
    const auto* b = other.find(key);
    if (!a || !b) return a == b;
    return *a == *b;
}

bool EnvironmentValues::operator==(const EnvironmentValues& other) const {
    if (storage_ == other.storage_) return true;
    const std::size_t a = storage_ ? storage_->size() : 0;
    const std::size_t b = other.storage_ ? other.storage_->size() : 0;
    if (a != b) return false;
    if (a == 0) return true;
    return *storage_ == *other.storage_;
}

} // namespace ui
