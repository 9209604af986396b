// Writes the seed archives of fuzz/corpus/unarchiver: valid archives of the fuzzed classes and
// damaged copies of them. Run once by hand: make_unarchiver_corpus fuzz/corpus/unarchiver
#include "ArchiveSample.h"

#include "foundation/KeyedArchiver.h"
#include "foundation/NSFontDescriptor.h"
#include "foundation/NSNumber.h"
#include "foundation/PropertyListSerialization.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

void write(const std::filesystem::path& folder, const std::string& name, const foundation::Data& bytes) {
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    using namespace foundation;
    using Design = NSFontDescriptor::Design;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);

    write(folder, "font.bplist", KeyedArchiver::archivedData(NSFontDescriptor("DejaVu Sans", 13), true));
    write(folder, "number-integer.bplist", KeyedArchiver::archivedData(NSNumber(-42), true));
    write(folder, "number-float.bplist", KeyedArchiver::archivedData(NSNumber(0.5f), true));
    write(folder, "number-double.bplist", KeyedArchiver::archivedData(NSNumber(1e300), true));
    write(folder, "number-bool.bplist", KeyedArchiver::archivedData(NSNumber(true), true));
    write(folder, "font-styled.bplist",
          KeyedArchiver::archivedData(NSFontDescriptor("DejaVu Serif", 17.5, Design::serif, "Bold Italic"),
                                      true));

    ArchiveSample sample;
    sample.flag = true;
    sample.count = -42;
    sample.ratio = 0.25;
    sample.title = "sample";
    sample.bytes = {0, 1, 2, 255};
    sample.when = Date(700000000.5);
    sample.values = {1, 2.5, -3};
    sample.extra = PropertyList::Dictionary{{"list", PropertyList::Array{1, "two", true, Date(5), Data{9}}}};
    sample.font = std::make_shared<NSFontDescriptor>("DejaVu Sans Mono", 11, Design::monospaced);
    auto inner = std::make_shared<ArchiveSample>();
    inner->title = "inner";
    inner->next = std::make_shared<ArchiveSample>();
    inner->next->title = "innermost";
    sample.next = inner;
    const Data full = KeyedArchiver::archivedData(sample, true);
    write(folder, "sample.bplist", full);

    write(folder, "truncated.bplist", Data(full.begin(), full.begin() + long(full.size() / 2)));
    Data garbled = full;
    for (std::size_t i = 8; i < garbled.size(); i += 13)
        garbled[i] ^= 0xa5;
    write(folder, "garbled.bplist", garbled);

    // A font whose design name is unknown, and a plist that is no archive.
    PropertyList::Dictionary font = {
        {"$class", "NSFontDescriptor"}, {"family", "F"}, {"face", ""}, {"size", 12.0}, {"design", "fancy"}};
    const PropertyList archive = PropertyList::Dictionary{{"$archiver", "KeyedArchiver"},
                                                          {"$version", 100000},
                                                          {"$top", PropertyList::Dictionary{{"root", font}}}};
    write(folder, "bad-design.bplist", PropertyListSerialization::data(archive, PropertyListFormat::binary));
    write(folder, "not-an-archive.bplist",
          PropertyListSerialization::data(PropertyList::Array{1, "x"}, PropertyListFormat::binary));
    return 0;
}
