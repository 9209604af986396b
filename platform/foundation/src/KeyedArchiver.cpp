#include "foundation/KeyedArchiver.h"

#include "foundation/PropertyListSerialization.h"

#include "KeyedArchiveFormat.h"
#include "UTF8.h"

#include <fmt/format.h>

#include <utility>

namespace foundation {

namespace {

bool isArchivableText(std::string_view text) {
    return text.find('\0') == std::string_view::npos && detail::isValidUTF8(text);
}

void checkKey(std::string_view key) {
    if (!isArchivableText(key))
        throw ArchivingError("A key that is not UTF-8 text without NUL characters cannot be archived.");
    if (key.starts_with('$'))
        throw ArchivingError(
            fmt::format("The key '{}' cannot be archived: keys starting with '$' are reserved.", key));
}

// The file's writer would change such text on the way (to nothing, even), so it is refused.
void checkText(std::string_view key, std::string_view text) {
    if (!isArchivableText(text))
        throw ArchivingError(fmt::format(
            "The text for key '{}' cannot be archived: it is not UTF-8 without NUL characters.", key));
}

} // namespace

void KeyedArchiver::set(std::string_view key, PropertyList value) {
    checkKey(key);
    current_.insert_or_assign(std::string(key), std::move(value));
}

void KeyedArchiver::encodeBool(std::string_view key, bool value) {
    set(key, value);
}

void KeyedArchiver::encodeInt64(std::string_view key, std::int64_t value) {
    set(key, value);
}

void KeyedArchiver::encodeDouble(std::string_view key, double value) {
    set(key, value);
}

void KeyedArchiver::encodeString(std::string_view key, std::string_view value) {
    checkKey(key);
    checkText(key, value);
    set(key, value);
}

void KeyedArchiver::encodeData(std::string_view key, const Data& value) {
    set(key, value);
}

void KeyedArchiver::encodeDate(std::string_view key, Date value) {
    set(key, PropertyList::Dictionary{
                 {std::string(archive_format::dateKey), value.timeIntervalSinceReferenceDate()}});
}

void KeyedArchiver::encodeDoubleArray(std::string_view key, const std::vector<double>& value) {
    set(key, PropertyList::Array(value.begin(), value.end()));
}

void KeyedArchiver::encodePropertyList(std::string_view key, const PropertyList& value) {
    if (auto problem = PropertyListSerialization::problemWriting(value))
        throw ArchivingError(fmt::format("The value for key '{}' cannot be archived: {}.", key, *problem));
    if (!detail::holdsOnlyValidUTF8(value))
        throw ArchivingError(
            fmt::format("The value for key '{}' cannot be archived: it holds text that is not UTF-8.", key));
    set(key, value);
}

PropertyList::Dictionary KeyedArchiver::beginObject(std::string_view key, std::string_view className) {
    checkKey(key);
    checkText(archive_format::classKey, className);
    if (depth_ >= maximumArchiveDepth)
        throw ArchivingError(fmt::format("Objects are nested more than {} deep; the graph may hold a cycle.",
                                         maximumArchiveDepth));
    ++depth_;
    return std::exchange(
        current_, PropertyList::Dictionary{{std::string(archive_format::classKey), std::string(className)}});
}

void KeyedArchiver::endObject(std::string_view key, PropertyList::Dictionary parent) {
    --depth_;
    PropertyList object = std::exchange(current_, std::move(parent));
    current_.insert_or_assign(std::string(key), std::move(object));
}

Data KeyedArchiver::finish() {
    const PropertyList archive = PropertyList::Dictionary{
        {std::string(archive_format::archiverKey), archive_format::archiverName},
        {std::string(archive_format::versionKey), archive_format::version},
        {std::string(archive_format::topKey), std::move(current_)},
    };
    try {
        return PropertyListSerialization::data(archive, PropertyListFormat::binary);
    } catch (const PropertyListError& error) {
        throw ArchivingError(std::string("The object graph cannot be archived: ") + error.what());
    }
}

} // namespace foundation
