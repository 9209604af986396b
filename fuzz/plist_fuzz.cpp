// The suite file reader: any bytes parse or fail with an error, never crash. Whatever parses
// and is writable must read back from both formats, which libplist writes and we read.
#include "foundation/PropertyListSerialization.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace foundation;
    PropertyList value;
    try {
        value = PropertyListSerialization::propertyList(std::span(data, size));
    } catch (const PropertyListError&) {
        return 0;
    }
    (void)value.description();
    if (PropertyListSerialization::problemWriting(value)) return 0;
    for (auto format : {PropertyListFormat::binary, PropertyListFormat::xml}) {
        try {
            (void)PropertyListSerialization::propertyList(PropertyListSerialization::data(value, format));
        } catch (const PropertyListError&) {
            std::abort();
        }
    }
    return 0;
}
