// Every test process gets its own XDG folders, so no test reads or writes the real home folder.
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing_support::TemporaryFolder home;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
        auto dir = home.path() / name;
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        setenv(name, dir.c_str(), 1);
    }
    setenv("HOME", home.path().c_str(), 1);
    // Later temporary folders, also those of death-test children (which inherit this), go
    // inside the home that is removed when this process ends.
    auto runFolder = home.path() / "tmp";
    std::filesystem::create_directories(runFolder);
    setenv("QUORIL_TEST_RUN_TMP", runFolder.c_str(), 1);
    int result = RUN_ALL_TESTS();
    return result;
}
