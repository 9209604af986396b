#include "foundation/Bundle.h"
#include "foundation/UserDefaults.h"

#include <fmt/format.h>

#include <cstdio>
#include <string>

int main() {
    const auto& bundle = foundation::Bundle::main();
    // Without its bundle the program has none of its resources.
    if (!bundle->bundleIdentifier()) {
        fmt::print(stderr, "quoril: no Info.plist with a bundle identifier in {}\n",
                   bundle->bundlePath().string());
        return 1;
    }
    const auto text = [&](const char* key) {
        const std::string* value = bundle->objectForInfoDictionaryKey(key).string();
        return value ? *value : std::string("?");
    };
    fmt::print("{} {} ({})\n", text("CFBundleName"), text("CFBundleShortVersionString"),
               *bundle->bundleIdentifier());
    fmt::print("Settings suite: {}\n", foundation::UserDefaults::standard()->suiteName());
    return 0;
}
