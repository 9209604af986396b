// The other device for the key-value store tests: a second process over the same store file.
// It inherits the test's XDG_DATA_HOME.
//
//   set <store> <key> <text>    stores the text
//   remove <store> <key>        removes the key
//   get <store> <key>           prints the text, or the value's description
//   fill <store> <prefix> <n>   stores <prefix>0 ... <prefix><n-1>, one write each
//   watch <store> <count>       prints "ready", then "changed <key> ..." for each of the next
//                               <count> external changes; gives up after 30 seconds
#include "foundation/NotificationCenter.h"
#include "foundation/UbiquitousKeyValueStore.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <string_view>

using namespace foundation;

namespace {

int usage() {
    std::fprintf(stderr, "usage: key_value_store_helper set|remove|get|watch <store> ...\n");
    return 2;
}

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

int watch(const std::shared_ptr<UbiquitousKeyValueStore>& store, int count) {
    std::mutex mutex;
    std::condition_variable arrived;
    int seen = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        std::string(UbiquitousKeyValueStore::didChangeExternallyNotification), store, std::nullopt,
        [&](const Notification& notification) {
            std::string line = "changed";
            const auto* keys = notification.userInfo.at(std::string(UbiquitousKeyValueStore::changedKeysKey))
                                   .get<PropertyList>();
            for (const auto& key : *keys->array())
                line += " " + *key.string();
            say(line);
            std::lock_guard lock(mutex);
            ++seen;
            arrived.notify_all();
        });
    say("ready");
    std::unique_lock lock(mutex);
    const bool done = arrived.wait_for(lock, std::chrono::seconds(30), [&] { return seen >= count; });
    return done ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string_view command = argv[1];
    const auto store = UbiquitousKeyValueStore::make(argv[2]);
    if (!store) {
        std::fprintf(stderr, "key_value_store_helper: bad store identifier\n");
        return 3;
    }
    if (command == "set" && argc == 5) {
        store->setObject(argv[4], argv[3]);
        return 0;
    }
    if (command == "remove" && argc == 4) {
        store->removeObjectForKey(argv[3]);
        return 0;
    }
    if (command == "fill" && argc == 5) {
        const int count = std::atoi(argv[4]);
        for (int i = 0; i < count; ++i)
            store->setObject(std::int64_t(i), std::string(argv[3]) + std::to_string(i));
        return 0;
    }
    if (command == "get" && argc == 4) {
        const PropertyList value = store->objectForKey(argv[3]);
        say(value.string() ? *value.string() : value.description());
        return 0;
    }
    if (command == "watch" && argc == 4) return watch(store, std::atoi(argv[3]));
    return usage();
}
