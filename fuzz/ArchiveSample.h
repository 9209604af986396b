#pragma once

#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"
#include "foundation/NSFontDescriptor.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An archivable class with a field of every kind, a font and a nested sample, so fuzzed
// archives reach every accessor of the unarchiver. Shared by the fuzz target and the program
// that writes its corpus.
class ArchiveSample {
public:
    static std::string_view className() { return "ArchiveSample"; }

    void encode(foundation::KeyedArchiver& archiver) const {
        archiver.encodeBool("flag", flag);
        archiver.encodeInt64("count", count);
        archiver.encodeDouble("ratio", ratio);
        archiver.encodeString("title", title);
        archiver.encodeData("bytes", bytes);
        archiver.encodeDate("when", when);
        archiver.encodeDoubleArray("values", values);
        archiver.encodePropertyList("extra", extra);
        archiver.encodeObject("font", font);
        archiver.encodeObject("next", next);
    }

    static std::shared_ptr<ArchiveSample> decode(foundation::KeyedUnarchiver& unarchiver) {
        auto sample = std::make_shared<ArchiveSample>();
        auto title = unarchiver.decodeString("title");
        if (!title) return nullptr;
        sample->title = *title;
        sample->flag = unarchiver.decodeBool("flag").value_or(false);
        sample->count = unarchiver.decodeInt64("count").value_or(0);
        sample->ratio = unarchiver.decodeDouble("ratio").value_or(0);
        sample->bytes = unarchiver.decodeData("bytes").value_or(foundation::Data{});
        sample->when = unarchiver.decodeDate("when").value_or(foundation::Date());
        sample->values = unarchiver.decodeDoubleArray("values").value_or(std::vector<double>{});
        sample->extra = unarchiver.decodePropertyList("extra").value_or(foundation::PropertyList::Array{});
        sample->font = unarchiver.decodeObject<foundation::NSFontDescriptor>("font");
        sample->next = unarchiver.decodeObject<ArchiveSample>("next");
        if (unarchiver.containsValue("next") && !sample->next) return nullptr;
        return sample;
    }

    bool flag = false;
    std::int64_t count = 0;
    double ratio = 0;
    std::string title;
    foundation::Data bytes;
    foundation::Date when;
    std::vector<double> values;
    foundation::PropertyList extra = foundation::PropertyList::Array{};
    std::shared_ptr<foundation::NSFontDescriptor> font;
    std::shared_ptr<ArchiveSample> next;
};
