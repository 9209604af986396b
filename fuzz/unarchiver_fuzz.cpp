// The keyed unarchiver: any bytes give an object or an UnarchivingError, never a crash or
// another exception. What unarchives must archive again (an ArchivingError escapes and counts
// as a crash), and a font or a colour must come back equal.
#include "ArchiveSample.h"

#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"
#include "foundation/NSNumber.h"
#include "foundation/NSFontDescriptor.h"
#include "graphics/NSColor.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace foundation;
    const std::span<const std::uint8_t> bytes(data, size);
    std::shared_ptr<NSFontDescriptor> font;
    try {
        font = KeyedUnarchiver::unarchivedObject<NSFontDescriptor>(bytes);
    } catch (const UnarchivingError&) {
    }
    if (font) {
        // Decoded fonts have finite sizes and known designs, so they come back the same.
        const auto again =
            KeyedUnarchiver::unarchivedObject<NSFontDescriptor>(KeyedArchiver::archivedData(*font, true));
        if (!again || !(*again == *font)) std::abort();
    }
    std::shared_ptr<NSNumber> number;
    try {
        number = KeyedUnarchiver::unarchivedObject<NSNumber>(bytes);
    } catch (const UnarchivingError&) {
    }
    if (number) {
        // Numbers keep their kind and, NaN aside, their value.
        const auto again = KeyedUnarchiver::unarchivedObject<NSNumber>(KeyedArchiver::archivedData(*number, true));
        if (!again || (!std::isnan(number->doubleValue()) && !(*again == *number))) std::abort();
        (void)number->integerValue();
    }
    std::shared_ptr<ArchiveSample> sample;
    try {
        sample = KeyedUnarchiver::unarchivedObject<ArchiveSample>(bytes);
    } catch (const UnarchivingError&) {
    }
    if (sample) (void)KeyedArchiver::archivedData(*sample, true);
    std::shared_ptr<graphics::NSColor> color;
    try {
        color = KeyedUnarchiver::unarchivedObject<graphics::NSColor>(bytes);
    } catch (const UnarchivingError&) {
    }
    if (color) {
        const auto again =
            KeyedUnarchiver::unarchivedObject<graphics::NSColor>(KeyedArchiver::archivedData(*color, true));
        if (!again || !(*again == *color)) std::abort();
    }
    return 0;
}
