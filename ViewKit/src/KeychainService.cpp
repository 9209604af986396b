#include "ViewKit/KeychainService.h"

namespace ViewKit {

KeychainService::KeychainService(std::shared_ptr<KeychainWrapper> wrapper)
    : wrapper_(wrapper ? std::move(wrapper) : std::make_shared<KeychainWrapper>()) {}

std::shared_ptr<KeychainService> KeychainService::makeDefault() {
    return std::make_shared<KeychainService>(std::make_shared<KeychainWrapper>());
}

std::optional<KeychainItemAccessibility> KeychainService::accessibility(std::string_view key) const {
    return wrapper_->accessibility(key);
}
std::optional<bool> KeychainService::boolValue(std::string_view key, Accessibility accessibility) const {
    return wrapper_->boolValue(key, accessibility);
}
std::optional<foundation::Data> KeychainService::data(std::string_view key,
                                                      Accessibility accessibility) const {
    return wrapper_->data(key, accessibility);
}
std::optional<foundation::Data> KeychainService::persistentRef(std::string_view key,
                                                               Accessibility accessibility) const {
    return wrapper_->persistentRef(key, accessibility);
}
std::optional<double> KeychainService::doubleValue(std::string_view key, Accessibility accessibility) const {
    return wrapper_->doubleValue(key, accessibility);
}
std::optional<float> KeychainService::floatValue(std::string_view key, Accessibility accessibility) const {
    return wrapper_->floatValue(key, accessibility);
}
bool KeychainService::hasValue(std::string_view key, Accessibility accessibility) const {
    return wrapper_->hasValue(key, accessibility);
}
std::optional<std::int64_t> KeychainService::integer(std::string_view key,
                                                     Accessibility accessibility) const {
    return wrapper_->integer(key, accessibility);
}
std::optional<std::string> KeychainService::string(std::string_view key, Accessibility accessibility) const {
    return wrapper_->string(key, accessibility);
}
bool KeychainService::remove(std::string_view key, Accessibility accessibility) {
    return wrapper_->remove(key, accessibility);
}
bool KeychainService::removeAll() {
    return wrapper_->removeAll();
}
bool KeychainService::set(bool value, std::string_view key, Accessibility accessibility) {
    return wrapper_->set(value, key, accessibility);
}
bool KeychainService::set(const foundation::Data& value, std::string_view key, Accessibility accessibility) {
    return wrapper_->set(value, key, accessibility);
}
bool KeychainService::set(double value, std::string_view key, Accessibility accessibility) {
    return wrapper_->set(value, key, accessibility);
}
bool KeychainService::set(float value, std::string_view key, Accessibility accessibility) {
    return wrapper_->set(value, key, accessibility);
}
bool KeychainService::set(std::int64_t value, std::string_view key, Accessibility accessibility) {
    return wrapper_->set(value, key, accessibility);
}
bool KeychainService::set(std::string_view value, std::string_view key, Accessibility accessibility) {
    return wrapper_->set(value, key, accessibility);
}

} // namespace ViewKit
