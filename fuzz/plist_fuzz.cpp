// The suite file reader: any bytes parse or fail with an error, never crash. Whatever parses
// must also survive writing back when it is writable.
#include "foundation/PropertyListSerialization.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace foundation;
    try {
        const PropertyList value = PropertyListSerialization::propertyList(std::span(data, size));
        (void)value.description();
        if (!PropertyListSerialization::problemWriting(value)) {
            const auto bytes = PropertyListSerialization::data(value, PropertyListFormat::binary);
            (void)PropertyListSerialization::propertyList(bytes);
        }
    } catch (const PropertyListError&) {
    }
    return 0;
}
