#include "foundation/KeyedUnarchiver.h"

#include "foundation/PropertyListSerialization.h"

#include "KeyedArchiveFormat.h"
#include "UTF8.h"

#include <fmt/format.h>

#include <cstring>
#include <utility>

namespace foundation {

namespace {

using Kind = PropertyList::Kind;

constexpr const char* notAnArchive = "The data couldn't be read because it isn't in the correct format.";

// What the archiver refuses to write is damage when read, so that whatever unarchives can be
// archived again.
bool isArchivableText(const std::string& text) {
    return text.find('\0') == std::string::npos && detail::isValidUTF8(text);
}

// Booleans are kept apart from numbers here: an archived Boolean is never a count.
bool isNumber(const PropertyList& value) {
    return value.isNumber() && value.kind() != Kind::boolean;
}

} // namespace

KeyedUnarchiver::ObjectScope::ObjectScope(KeyedUnarchiver& unarchiver, const PropertyList::Dictionary* object)
    : unarchiver_(unarchiver)
    , parent_(std::exchange(unarchiver.current_, object)) {
    ++unarchiver_.depth_;
}

KeyedUnarchiver::ObjectScope::~ObjectScope() {
    unarchiver_.current_ = parent_;
    --unarchiver_.depth_;
}

KeyedUnarchiver::KeyedUnarchiver(PropertyList top)
    : top_(std::move(top))
    , current_(top_.dictionary()) {}

PropertyList KeyedUnarchiver::readTop(std::span<const std::uint8_t> data) {
    // Only the binary format is an archive; other text never reaches a parser.
    if (data.size() < 8 || std::memcmp(data.data(), "bplist", 6) != 0) throw UnarchivingError(notAnArchive);
    PropertyList archive;
    try {
        archive = PropertyListSerialization::propertyList(data);
    } catch (const PropertyListError&) {
        throw UnarchivingError(notAnArchive);
    }
    const std::string* archiver = archive[archive_format::archiverKey].string();
    const PropertyList& version = archive[archive_format::versionKey];
    const PropertyList& top = archive[archive_format::topKey];
    if (!archiver || *archiver != archive_format::archiverName || version.kind() != Kind::integer ||
        version.number<std::int64_t>() != archive_format::version || !top.dictionary() ||
        top[archive_format::rootKey].isAbsent())
        throw UnarchivingError(notAnArchive);
    return top;
}

const PropertyList* KeyedUnarchiver::find(std::string_view key) const {
    if (!current_ || key.starts_with('$')) return nullptr;
    const auto found = current_->find(key);
    return found == current_->end() ? nullptr : &found->second;
}

void KeyedUnarchiver::failWithError(std::string description) {
    if (!error_) error_ = std::move(description);
}

void KeyedUnarchiver::failWrongType(std::string_view key, std::string_view expected) {
    failWithError(fmt::format("The value for key '{}' is not {}.", key, expected));
}

bool KeyedUnarchiver::containsValue(std::string_view key) const {
    return find(key) != nullptr;
}

std::optional<bool> KeyedUnarchiver::decodeBool(std::string_view key) {
    const PropertyList* value = find(key);
    if (!value) return std::nullopt;
    if (value->kind() != Kind::boolean) {
        failWrongType(key, "a Boolean");
        return std::nullopt;
    }
    return value->boolValue();
}

std::optional<std::int64_t> KeyedUnarchiver::decodeInt64(std::string_view key) {
    const PropertyList* value = find(key);
    if (!value) return std::nullopt;
    auto number = isNumber(*value) ? value->number<std::int64_t>() : std::nullopt;
    if (!number) failWrongType(key, "a 64-bit integer");
    return number;
}

std::optional<double> KeyedUnarchiver::decodeDouble(std::string_view key) {
    const PropertyList* value = find(key);
    if (!value) return std::nullopt;
    auto number = isNumber(*value) ? value->number<double>() : std::nullopt;
    if (!number) failWrongType(key, "a real number");
    return number;
}

std::optional<std::string> KeyedUnarchiver::decodeString(std::string_view key) {
    const PropertyList* value = find(key);
    if (!value) return std::nullopt;
    if (!value->string() || !isArchivableText(*value->string())) {
        failWrongType(key, "UTF-8 text without NUL characters");
        return std::nullopt;
    }
    return *value->string();
}

std::optional<Data> KeyedUnarchiver::decodeData(std::string_view key) {
    const PropertyList* value = find(key);
    if (!value) return std::nullopt;
    if (!value->data()) {
        failWrongType(key, "data");
        return std::nullopt;
    }
    return *value->data();
}

std::optional<Date> KeyedUnarchiver::decodeDate(std::string_view key) {
    const PropertyList* value = find(key);
    if (!value) return std::nullopt;
    const auto* fields = value->dictionary();
    if (fields && fields->size() == 1) {
        const PropertyList& seconds = (*value)[archive_format::dateKey];
        if (isNumber(seconds)) {
            if (auto s = seconds.number<double>()) return Date(*s);
        }
    }
    failWrongType(key, "a date");
    return std::nullopt;
}

std::optional<std::vector<double>> KeyedUnarchiver::decodeDoubleArray(std::string_view key) {
    const PropertyList* value = find(key);
    if (!value) return std::nullopt;
    const auto* elements = value->array();
    if (!elements) {
        failWrongType(key, "an array of real numbers");
        return std::nullopt;
    }
    std::vector<double> numbers;
    numbers.reserve(elements->size());
    for (const auto& element : *elements) {
        auto number = isNumber(element) ? element.number<double>() : std::nullopt;
        if (!number) {
            failWrongType(key, "an array of real numbers");
            return std::nullopt;
        }
        numbers.push_back(*number);
    }
    return numbers;
}

std::optional<PropertyList> KeyedUnarchiver::decodePropertyList(std::string_view key) {
    const PropertyList* value = find(key);
    if (!value) return std::nullopt;
    if (auto problem = PropertyListSerialization::problemWriting(*value)) {
        failWithError(fmt::format("The value for key '{}' is damaged: {}.", key, *problem));
        return std::nullopt;
    }
    if (!detail::holdsOnlyValidUTF8(*value)) {
        failWithError(fmt::format("The value for key '{}' holds text that is not UTF-8.", key));
        return std::nullopt;
    }
    return *value;
}

const PropertyList::Dictionary* KeyedUnarchiver::enterObject(std::string_view key,
                                                             std::string_view className) {
    // After a failure the result is an error anyway; decoding further would only add work.
    if (error_) return nullptr;
    const PropertyList* value = find(key);
    if (!value) return nullptr;
    const std::string* archivedClass = (*value)[archive_format::classKey].string();
    if (!archivedClass) {
        failWrongType(key, "an archived object");
        return nullptr;
    }
    if (*archivedClass != className) {
        failWithError(
            fmt::format("The value for key '{}' is of unexpected class '{}'; the allowed class is '{}'.", key,
                        *archivedClass, className));
        return nullptr;
    }
    if (depth_ >= maximumArchiveDepth) {
        failWithError(fmt::format("Objects are nested more than {} deep.", maximumArchiveDepth));
        return nullptr;
    }
    return value->dictionary();
}

void KeyedUnarchiver::noteUndecoded(std::string_view key, std::string_view className) {
    // The innermost object comes first, and it says the most.
    if (!undecoded_)
        undecoded_ =
            fmt::format("The object of class '{}' for key '{}' could not be decoded.", className, key);
}

void KeyedUnarchiver::finish(bool decoded, std::string_view className) const {
    if (error_) throw UnarchivingError(*error_);
    if (!decoded)
        throw UnarchivingError(
            undecoded_.value_or(fmt::format("The object of class '{}' could not be decoded.", className)));
}

} // namespace foundation
