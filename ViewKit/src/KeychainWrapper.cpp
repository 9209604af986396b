#include "ViewKit/KeychainWrapper.h"

#include "foundation/Bundle.h"
#include "foundation/UTF8.h"
#include "security/Keychain.h"

namespace ViewKit {

using security::ItemQuery;

namespace {

std::string defaultServiceName() {
    const auto& bundle = foundation::Bundle::main();
    if (bundle && bundle->bundleIdentifier()) return *bundle->bundleIdentifier();
    return std::string(keychainFallbackServiceName);
}

} // namespace

KeychainWrapper::KeychainWrapper()
    : KeychainWrapper(defaultServiceName()) {}

KeychainWrapper::KeychainWrapper(std::string serviceName, std::optional<std::string> accessGroup)
    : serviceName_(std::move(serviceName))
    , accessGroup_(std::move(accessGroup)) {}

namespace {

// The query of one item; nothing for a key that is not UTF-8, which would otherwise lose its
// account and find any item of the service.
std::optional<ItemQuery> itemQuery(const KeychainWrapper& wrapper, std::string_view key,
                                   KeychainWrapper::Accessibility accessibility) {
    if (!foundation::isValidUTF8(key)) return std::nullopt;
    ItemQuery query;
    query.attributes.service = wrapper.serviceName();
    if (accessibility) query.attributes.accessible = std::string(attributeValue(*accessibility));
    query.attributes.accessGroup = wrapper.accessGroup();
    query.attributes.account = std::string(key);
    query.attributes.generic = std::string(key);
    return query;
}

std::optional<foundation::Data> copyData(const KeychainWrapper& wrapper, std::string_view key,
                                         KeychainWrapper::Accessibility accessibility,
                                         ItemQuery::Return returns) {
    auto query = itemQuery(wrapper, key, accessibility);
    if (!query) return std::nullopt;
    query->matchLimitOne = true;
    query->returns = returns;
    auto result = security::SecItemCopyMatching(*query);
    if (result.status != security::errSecSuccess) return std::nullopt;
    return std::move(result.data);
}

} // namespace

std::optional<KeychainItemAccessibility> KeychainWrapper::accessibility(std::string_view key) const {
    auto query = itemQuery(*this, key, std::nullopt);
    if (!query) return std::nullopt;
    query->matchLimitOne = true;
    query->returns = ItemQuery::Return::attributes;
    const auto result = security::SecItemCopyMatching(*query);
    if (result.status != security::errSecSuccess || !result.attributes || !result.attributes->accessible)
        return std::nullopt;
    return keychainItemAccessibility(*result.attributes->accessible);
}

std::optional<foundation::Data> KeychainWrapper::data(std::string_view key,
                                                      Accessibility accessibility) const {
    return copyData(*this, key, accessibility, ItemQuery::Return::data);
}

std::optional<foundation::Data> KeychainWrapper::persistentRef(std::string_view key,
                                                               Accessibility accessibility) const {
    return copyData(*this, key, accessibility, ItemQuery::Return::persistentRef);
}

bool KeychainWrapper::hasValue(std::string_view key, Accessibility accessibility) const {
    return data(key, accessibility).has_value();
}

std::optional<std::string> KeychainWrapper::string(std::string_view key, Accessibility accessibility) const {
    const auto bytes = data(key, accessibility);
    if (!bytes) return std::nullopt;
    std::string text(bytes->begin(), bytes->end());
    if (!foundation::isValidUTF8(text)) return std::nullopt;
    return text;
}

std::shared_ptr<foundation::NSNumber> KeychainWrapper::number(std::string_view key,
                                                              Accessibility accessibility) const {
    return object<foundation::NSNumber>(key, accessibility);
}

std::optional<std::int64_t> KeychainWrapper::integer(std::string_view key,
                                                     Accessibility accessibility) const {
    const auto boxed = number(key, accessibility);
    return boxed ? std::optional(boxed->integerValue()) : std::nullopt;
}

std::optional<double> KeychainWrapper::doubleValue(std::string_view key, Accessibility accessibility) const {
    const auto boxed = number(key, accessibility);
    return boxed ? std::optional(boxed->doubleValue()) : std::nullopt;
}

std::optional<float> KeychainWrapper::floatValue(std::string_view key, Accessibility accessibility) const {
    const auto boxed = number(key, accessibility);
    return boxed ? std::optional(boxed->floatValue()) : std::nullopt;
}

std::optional<bool> KeychainWrapper::boolValue(std::string_view key, Accessibility accessibility) const {
    const auto boxed = number(key, accessibility);
    return boxed ? std::optional(boxed->boolValue()) : std::nullopt;
}

bool KeychainWrapper::set(std::int64_t value, std::string_view key, Accessibility accessibility) {
    return setObject(foundation::NSNumber(value), key, accessibility);
}

bool KeychainWrapper::set(float value, std::string_view key, Accessibility accessibility) {
    return setObject(foundation::NSNumber(value), key, accessibility);
}

bool KeychainWrapper::set(double value, std::string_view key, Accessibility accessibility) {
    return setObject(foundation::NSNumber(value), key, accessibility);
}

bool KeychainWrapper::set(bool value, std::string_view key, Accessibility accessibility) {
    return setObject(foundation::NSNumber(value), key, accessibility);
}

bool KeychainWrapper::set(std::string_view value, std::string_view key, Accessibility accessibility) {
    if (!foundation::isValidUTF8(value)) return false;
    return set(foundation::Data(value.begin(), value.end()), key, accessibility);
}

bool KeychainWrapper::set(const foundation::Data& value, std::string_view key, Accessibility accessibility) {
    auto query = itemQuery(*this, key, accessibility);
    if (!query) return false;
    ItemQuery adding = *query;
    adding.valueData = value;
    adding.attributes.accessible =
        std::string(attributeValue(accessibility.value_or(KeychainItemAccessibility::whenUnlocked)));
    const auto status = security::SecItemAdd(adding);
    if (status != security::errSecDuplicateItem) return status == security::errSecSuccess;
    // The item is there: change its value only, keeping its level.
    ItemQuery changes;
    changes.valueData = value;
    return security::SecItemUpdate(*query, changes) == security::errSecSuccess;
}

bool KeychainWrapper::remove(std::string_view key, Accessibility accessibility) {
    const auto query = itemQuery(*this, key, accessibility);
    return query && security::SecItemDelete(*query) == security::errSecSuccess;
}

bool KeychainWrapper::removeAll() {
    ItemQuery query;
    query.attributes.service = serviceName_;
    query.attributes.accessGroup = accessGroup_;
    return security::SecItemDelete(query) == security::errSecSuccess;
}

void KeychainWrapper::wipeKeychain() {
    // Only generic passwords of our own kind; the other classes hold nothing of ours.
    security::SecItemDelete(ItemQuery{});
}

} // namespace ViewKit
