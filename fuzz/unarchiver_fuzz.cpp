// The keyed unarchiver: any bytes give an object or an UnarchivingError, never a crash or
// another exception. What unarchives must archive again (an ArchivingError escapes and counts
// as a crash), and a font must come back equal.
#include "ArchiveSample.h"

#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"
#include "foundation/NSFontDescriptor.h"

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
    std::shared_ptr<ArchiveSample> sample;
    try {
        sample = KeyedUnarchiver::unarchivedObject<ArchiveSample>(bytes);
    } catch (const UnarchivingError&) {
    }
    if (sample) (void)KeyedArchiver::archivedData(*sample, true);
    return 0;
}
