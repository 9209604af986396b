#pragma once

#include <concepts>
#include <memory>
#include <string_view>

namespace foundation {

class KeyedArchiver;
class KeyedUnarchiver;

// A class that keyed archives can hold. Archivable objects are reference types, held by
// std::shared_ptr. Every one supports secure coding: an unarchiver hands it only data archived
// under its own className(), and decode() checks the type of each field it reads, returning
// nullptr (after unarchiver.failWithError(why), if it likes) when the fields are wrong.
//
//     class Badge {
//     public:
//         static std::string_view className() { return "Badge"; }
//         void encode(KeyedArchiver& archiver) const { archiver.encodeString("title", title_); }
//         static std::shared_ptr<Badge> decode(KeyedUnarchiver& unarchiver) {
//             auto title = unarchiver.decodeString("title");
//             if (!title) return nullptr;
//             return std::make_shared<Badge>(*title);
//         }
//     };
template <class T>
concept SecureCodingClass = requires(const T& object, KeyedArchiver& archiver, KeyedUnarchiver& unarchiver) {
    { T::className() } -> std::convertible_to<std::string_view>;
    object.encode(archiver);
    { T::decode(unarchiver) } -> std::same_as<std::shared_ptr<T>>;
};

// Objects nested deeper than this are refused by the archiver and the unarchiver.
inline constexpr int maximumArchiveDepth = 100;

} // namespace foundation
