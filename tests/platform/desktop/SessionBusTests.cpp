#include "desktop/SessionBus.h"

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// Only where no bus can be found or launched does the search get the address it would fail at;
// anything that could lead to a bus keeps the library's own search.
TEST(SessionBus, NamesTheSocketOnlyWhereNoBusCanBeFoundOrLaunched) {
    testing_support::TemporaryFolder folder;
    const fs::path runtime = folder.path() / "run time";
    const fs::path tools = folder.path() / "bin";
    fs::create_directories(runtime);
    fs::create_directories(tools);
    const std::string searchPath = "::" + tools.string() + ":" + (folder.path() / "missing").string();

    EXPECT_EQ(desktop::unreachableSessionBusAddress("", runtime.string(), searchPath),
              "unix:path=" + runtime.parent_path().string() + "/run%20time/bus");
    EXPECT_EQ(desktop::unreachableSessionBusAddress("unix:path=/elsewhere", runtime.string(), searchPath),
              std::nullopt);
    EXPECT_EQ(desktop::unreachableSessionBusAddress("", "", searchPath), std::nullopt);

    // A launcher that is not executable starts nothing; one that is could start a bus.
    const fs::path launcher = tools / "dbus-launch";
    std::ofstream(launcher) << "#!/bin/sh\n";
    fs::permissions(launcher, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_NE(desktop::unreachableSessionBusAddress("", runtime.string(), searchPath), std::nullopt);
    fs::permissions(launcher, fs::perms::owner_all);
    EXPECT_EQ(desktop::unreachableSessionBusAddress("", runtime.string(), searchPath), std::nullopt);
    fs::remove(launcher);

    // Whatever lies at the socket's place, even a dangling link, is left to the library.
    fs::create_symlink(folder.path() / "gone", runtime / "bus");
    EXPECT_EQ(desktop::unreachableSessionBusAddress("", runtime.string(), searchPath), std::nullopt);
}

} // namespace
