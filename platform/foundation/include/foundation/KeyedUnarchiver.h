#pragma once

#include "foundation/Date.h"
#include "foundation/PropertyList.h"
#include "foundation/SecureCoding.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

class UnarchivingError : public std::runtime_error {
public:
    explicit UnarchivingError(const std::string& description)
        : std::runtime_error(description) {}
    std::string description() const { return what(); }
};

// Reads the keyed archives that KeyedArchiver writes (the format is described there). The
// bytes come from outside, so any of them give an object or an UnarchivingError, never a crash.
//
// Secure coding: an object is decoded only as the class the caller names, and only when the
// archive says it is of that class. A field read with the wrong accessor (text read as a
// number, say) gives nullopt and fails the whole unarchiving, as failWithError does; a missing
// field gives nullopt alone, so decode() can treat it as optional.
class KeyedUnarchiver {
public:
    template <SecureCodingClass T>
    static std::shared_ptr<T> unarchivedObject(std::span<const std::uint8_t> data) {
        KeyedUnarchiver unarchiver(readTop(data));
        std::shared_ptr<T> root = unarchiver.decodeObject<T>("root");
        unarchiver.finish(root != nullptr, T::className());
        return root;
    }

    // nullopt when the key is missing or holds another type. Keys starting with '$' are the
    // format's own and never found.
    std::optional<bool> decodeBool(std::string_view key);
    std::optional<std::int64_t> decodeInt64(std::string_view key);
    std::optional<double> decodeDouble(std::string_view key);
    std::optional<std::string> decodeString(std::string_view key);
    std::optional<Data> decodeData(std::string_view key);
    std::optional<Date> decodeDate(std::string_view key);
    std::optional<std::vector<double>> decodeDoubleArray(std::string_view key);
    std::optional<PropertyList> decodePropertyList(std::string_view key);
    bool containsValue(std::string_view key) const;

    // nullptr when the key is missing, holds another class, or U::decode gives nullptr.
    template <SecureCodingClass U> std::shared_ptr<U> decodeObject(std::string_view key) {
        const PropertyList::Dictionary* object = enterObject(key, U::className());
        if (!object) return nullptr;
        const ObjectScope scope(*this, object);
        std::shared_ptr<U> decoded = U::decode(*this);
        if (!decoded) noteUndecoded(key, U::className());
        return decoded;
    }

    // Fails the unarchiving with this description (the first failure is the one reported).
    void failWithError(std::string description);
    const std::optional<std::string>& error() const { return error_; }

private:
    // Makes `object` the current one for the duration of a decode.
    class ObjectScope {
    public:
        ObjectScope(KeyedUnarchiver& unarchiver, const PropertyList::Dictionary* object);
        ~ObjectScope();
        ObjectScope(const ObjectScope&) = delete;
        ObjectScope& operator=(const ObjectScope&) = delete;

    private:
        KeyedUnarchiver& unarchiver_;
        const PropertyList::Dictionary* parent_;
    };

    explicit KeyedUnarchiver(PropertyList top);

    static PropertyList readTop(std::span<const std::uint8_t> data);
    const PropertyList* find(std::string_view key) const;
    void failWrongType(std::string_view key, std::string_view expected);
    // The object under `key` when it may be decoded as `className`, else nullptr.
    const PropertyList::Dictionary* enterObject(std::string_view key, std::string_view className);
    void noteUndecoded(std::string_view key, std::string_view className);
    void finish(bool decoded, std::string_view className) const;

    PropertyList top_; // owns the tree the pointers below point into
    const PropertyList::Dictionary* current_ = nullptr;
    int depth_ = 0;
    std::optional<std::string> error_;
    std::optional<std::string> undecoded_;
};

} // namespace foundation
