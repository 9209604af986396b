// A second process for the suite tests. It inherits the test's XDG_CONFIG_HOME.
//
//   set <suite> <key> <text>             stores the text
//   get <suite> <key>                    prints the text, or the value's description
//   dump <suite>                         prints the suite's values as a binary plist
//   write-keys <suite> <prefix> <count>  prints "ready", then stores <prefix><i> = i for each i
//   write-loop <suite> <entries>         prints "ready", then saves a dictionary of <entries>
//                                        entries again and again, printing "saved <round>" after each
#include "foundation/PropertyListSerialization.h"
#include "foundation/UserDefaults.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace foundation;

namespace {

int usage() {
    std::fprintf(stderr, "usage: suite_helper set|get|dump|write-keys|write-loop <suite> ...\n");
    return 2;
}

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string_view command = argv[1];
    const auto suite = UserDefaults::make(argv[2]);
    if (!suite) {
        std::fprintf(stderr, "suite_helper: bad suite name\n");
        return 3;
    }
    if (command == "set" && argc == 5) {
        suite->setObject(argv[4], argv[3]);
        return 0;
    }
    if (command == "get" && argc == 4) {
        const PropertyList value = suite->objectForKey(argv[3]);
        say(value.string() ? *value.string() : value.description());
        return 0;
    }
    if (command == "dump" && argc == 3) {
        const auto bytes =
            PropertyListSerialization::data(suite->dictionaryRepresentation(), PropertyListFormat::binary);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        std::fflush(stdout);
        return 0;
    }
    if (command == "write-keys" && argc == 5) {
        const std::string prefix = argv[3];
        const int count = std::atoi(argv[4]);
        say("ready");
        for (int i = 0; i < count; ++i)
            suite->setObject(i, prefix + std::to_string(i));
        return 0;
    }
    if (command == "write-loop" && argc == 4) {
        const int entries = std::atoi(argv[3]);
        say("ready");
        for (std::int64_t round = 0;; ++round) {
            // Every entry names the round, so a torn file would show mixed rounds.
            PropertyList::Dictionary version{{"round", round}};
            for (int i = 0; i < entries; ++i)
                version.emplace("entry" + std::to_string(i),
                                "round " + std::to_string(round) + " entry " + std::to_string(i));
            suite->setObject(version, "version");
            say("saved " + std::to_string(round));
        }
    }
    return usage();
}
