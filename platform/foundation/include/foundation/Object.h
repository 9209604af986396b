#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace foundation {

// A strong, type-erased reference kept in an associated-object table. It remembers the type it
// was stored as, so a reader takes it back only as that type.
class AssociatedValue {
public:
    AssociatedValue() = default;
    AssociatedValue(std::nullptr_t) {}
    template <class T>
    AssociatedValue(std::shared_ptr<T> value)
        : pointer_(std::const_pointer_cast<std::remove_const_t<T>>(std::move(value)))
        , type_(pointer_ ? &typeid(T) : nullptr)
        , isConst_(std::is_const_v<T>) {}

    // The value as a T when it was stored as exactly that type; empty otherwise. A value stored
    // as const is only handed out as const.
    template <class T> std::shared_ptr<T> as() const {
        if (!type_ || *type_ != typeid(T) || (isConst_ && !std::is_const_v<T>)) return nullptr;
        return std::static_pointer_cast<T>(pointer_);
    }

    const std::shared_ptr<void>& pointer() const { return pointer_; }
    const std::type_info* type() const { return type_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // Identity of the referenced object.
    bool operator==(const AssociatedValue& other) const { return pointer_ == other.pointer_; }

private:
    std::shared_ptr<void> pointer_;
    const std::type_info* type_ = nullptr;
    bool isConst_ = false;
};

// The root of objects whose lifetime others tie to. Always held by std::shared_ptr (weak
// references to it are std::weak_ptr). Equality and hash are identity unless a subclass
// overrides them. Each object has an associated-object table: strong references other code
// hangs on it under keys of its own, released when the object is destroyed.
//
// A subclass must not derive from std::enable_shared_from_this itself; use sharedSelf/weakSelf.
class Object : public std::enable_shared_from_this<Object> {
public:
    // The address of a static variable of the code that owns the slot.
    using AssociationKey = const void*;
    using Modifier = std::function<AssociatedValue(const AssociatedValue& current)>;

    Object() = default;
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    virtual bool isEqual(const Object& other) const { return this == &other; }
    virtual std::size_t hash() const { return std::hash<const void*>{}(this); }

    // This object as a T, or empty while it is being constructed or destroyed, when no
    // shared_ptr owns it, or when it is no T.
    template <class T = Object> std::shared_ptr<T> sharedSelf() {
        return std::dynamic_pointer_cast<T>(weak_from_this().lock());
    }
    template <class T = Object> std::shared_ptr<const T> sharedSelf() const {
        return std::dynamic_pointer_cast<const T>(weak_from_this().lock());
    }
    template <class T = Object> std::weak_ptr<T> weakSelf() { return sharedSelf<T>(); }
    template <class T = Object> std::weak_ptr<const T> weakSelf() const { return sharedSelf<T>(); }

    // The associated table. Safe on any thread. Values that leave the table (replaced, removed,
    // or at destruction) are released after its lock is let go, so their destructors may use
    // any table, this one included.
    AssociatedValue associatedObject(AssociationKey key) const;
    template <class T> std::shared_ptr<T> associatedObject(AssociationKey key) const {
        return associatedObject(key).as<T>();
    }
    // An empty value removes the entry.
    void setAssociatedObject(AssociationKey key, AssociatedValue value);
    // One atomic read-modify-write of the entry: `modify` gets the current value (empty when
    // absent) and returns the new one, all under the table's lock. It must not use this
    // object's table itself (that stops the program); to drop something, return a new value
    // rather than destroying parts of the current one in place.
    void modifyAssociatedObject(AssociationKey key, const Modifier& modify);
    // The same, typed: a value of another type reaches `modify` as empty.
    template <class T, class F>
    requires std::is_invocable_r_v<std::shared_ptr<T>, F&, std::shared_ptr<T>> void
    modifyAssociatedObject(AssociationKey key, F modify) {
        modifyAssociatedObject(
            key, [&](const AssociatedValue& current) -> AssociatedValue { return modify(current.as<T>()); });
    }

private:
    struct AssociationTable;
    AssociationTable& table() const;

    mutable std::atomic<AssociationTable*> table_{nullptr}; // made on first write
};

inline bool operator==(const Object& a, const Object& b) {
    return a.isEqual(b);
}

} // namespace foundation

template <> struct std::hash<foundation::Object> {
    std::size_t operator()(const foundation::Object& object) const { return object.hash(); }
};
