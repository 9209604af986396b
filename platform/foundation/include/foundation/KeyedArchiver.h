#pragma once

#include "foundation/Date.h"
#include "foundation/PropertyList.h"
#include "foundation/SecureCoding.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// An object graph that cannot be archived: a reserved key, nesting deeper than
// maximumArchiveDepth, text that is not UTF-8 or holds a NUL character, or a value the
// property-list file cannot hold.
class ArchivingError : public std::runtime_error {
public:
    explicit ArchivingError(const std::string& description)
        : std::runtime_error(description) {}
    std::string description() const { return what(); }
};

// Writes an object and the objects it holds into a keyed archive.
//
// The archive is a binary property list holding one dictionary:
//
//     {"$archiver": "KeyedArchiver", "$version": 100000, "$top": {"root": <object>}}
//
// An object is a dictionary {"$class": <className()>, <key>: <field>, ...}. Fields are plist
// values: Booleans, 64-bit integers, reals, text, data, arrays of reals, any property list, and
// objects nested the same way. A date is {"$date": <seconds since 2001-01-01 as a real>},
// so every date keeps its full range and precision (the plist date type keeps neither).
// Keys starting with '$' are the format's own. Text, keys included, is UTF-8 without NUL
// characters. Objects are written by value: an object held twice is written twice.
class KeyedArchiver {
public:
    // Every archivable class supports secure coding, so both settings of requiringSecureCoding
    // write the same archive. Throws ArchivingError.
    template <SecureCodingClass T> static Data archivedData(const T& root, bool requiringSecureCoding) {
        KeyedArchiver archiver;
        archiver.encodeObject("root", root);
        return archiver.finish();
    }

    void encodeBool(std::string_view key, bool value);
    void encodeInt64(std::string_view key, std::int64_t value);
    void encodeDouble(std::string_view key, double value);
    void encodeString(std::string_view key, std::string_view value);
    void encodeData(std::string_view key, const Data& value);
    void encodeDate(std::string_view key, Date value);
    void encodeDoubleArray(std::string_view key, const std::vector<double>& value);
    void encodePropertyList(std::string_view key, const PropertyList& value);

    template <SecureCodingClass U> void encodeObject(std::string_view key, const U& object) {
        PropertyList::Dictionary parent = beginObject(key, U::className());
        object.encode(*this);
        endObject(key, std::move(parent));
    }
    // A null pointer writes nothing, so the key decodes as missing.
    template <SecureCodingClass U> void encodeObject(std::string_view key, const std::shared_ptr<U>& object) {
        if (object) encodeObject(key, *object);
    }

private:
    KeyedArchiver() = default;

    void set(std::string_view key, PropertyList value);
    PropertyList::Dictionary beginObject(std::string_view key, std::string_view className);
    void endObject(std::string_view key, PropertyList::Dictionary parent);
    Data finish();

    PropertyList::Dictionary current_; // the object being written; "$top" at first
    int depth_ = 0;
};

} // namespace foundation
