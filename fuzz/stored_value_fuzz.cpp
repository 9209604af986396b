// Reading a suite file's objects back as typed values: any stored object converts or gives
// nothing, never a crash; a type-erased value always equals itself by its hash, and a value
// that converted stores again and reads back the same.
#include "Prefs/AnySerializable.h"
#include "Prefs/Serializable.h"

#include "foundation/PropertyListSerialization.h"
#include "foundation/Range.h"
#include "foundation/URL.h"
#include "foundation/UUID.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

template <class T> void roundTrip(const foundation::PropertyList& object) {
    const std::optional<T> value = Prefs::toValue<T>(object);
    if (!value) return;
    if (Prefs::toValue<T>(Prefs::toSerializable(*value)) != value) std::abort();
}

void readAsEveryKind(const foundation::PropertyList& object) {
    roundTrip<bool>(object);
    roundTrip<long>(object);
    roundTrip<std::uint8_t>(object);
    roundTrip<std::string>(object);
    roundTrip<foundation::UUID>(object);
    roundTrip<foundation::URL>(object);
    roundTrip<std::vector<std::string>>(object);
    roundTrip<std::optional<long>>(object);
    roundTrip<std::map<int, std::string>>(object);
    roundTrip<std::map<bool, long>>(object);
    roundTrip<std::set<foundation::UUID>>(object);
    roundTrip<foundation::ClosedRange<long>>(object);
    roundTrip<foundation::Range<std::string>>(object);
    (void)Prefs::toValue<foundation::Range<double>>(object);
    (void)Prefs::toValue<std::map<double, double>>(object);

    const auto any = Prefs::AnySerializable::fromObject(object);
    const auto again = Prefs::AnySerializable::fromObject(object);
    if ((any == again) && any.hash() != again.hash()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    foundation::PropertyList top;
    try {
        top = foundation::PropertyListSerialization::propertyList(std::span(data, size));
    } catch (const foundation::PropertyListError&) {
        return 0;
    }
    readAsEveryKind(top);
    if (const auto* dictionary = top.dictionary()) {
        for (const auto& [key, object] : *dictionary)
            readAsEveryKind(object);
    }
    if (const auto* array = top.array()) {
        for (const auto& object : *array)
            readAsEveryKind(object);
    }
    return 0;
}
