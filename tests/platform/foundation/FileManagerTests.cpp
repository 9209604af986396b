#include "foundation/Date.h"
#include "foundation/FileError.h"
#include "foundation/FileManager.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace foundation;
namespace fs = std::filesystem;

namespace {

struct FileManagerTest : ::testing::Test {
    testing_support::TemporaryFolder temporary;
    fs::path folder = temporary.path();
    FileManager& manager = *FileManager::defaultManager();

    fs::path write(const std::string& name, std::string_view bytes) {
        std::ofstream(folder / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return folder / name;
    }
    std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> sortedNames() {
        auto names = manager.contentsOfDirectory(folder.string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

template <class F> FileError thrown(F f) {
    try {
        f();
    } catch (const FileError& error) {
        return error;
    }
    ADD_FAILURE() << "no FileError";
    return FileError(FileError::Kind::other, "");
}

} // namespace

TEST_F(FileManagerTest, ListsNamesAsBytesAndUrlsWithoutHiddenOnesOnRequest) {
    write("b.txt", "b");
    write(".hidden", "h");
    write("caf\xE9.txt", "latin-1 name");
    fs::create_directory(folder / "sub");
    EXPECT_EQ(sortedNames(), (std::vector<std::string>{".hidden", "b.txt", "caf\xE9.txt", "sub"}));

    std::vector<std::string> visible;
    for (const URL& url : manager.contentsOfDirectory(URL::fileURLWithPath(folder),
                                                      DirectoryEnumerationOptions::skipsHiddenFiles)) {
        EXPECT_EQ(url.deletingLastPathComponent().path(), folder.string());
        visible.push_back(url.lastPathComponent());
    }
    std::sort(visible.begin(), visible.end());
    EXPECT_EQ(visible, (std::vector<std::string>{"b.txt", "caf\xE9.txt", "sub"}));
    EXPECT_EQ(
        manager.contentsOfDirectory(URL::fileURLWithPath(folder), DirectoryEnumerationOptions::none).size(),
        4u);

    // A path that is no folder, and a folder that went.
    EXPECT_EQ(thrown([&] { manager.contentsOfDirectory((folder / "b.txt").string()); }).action(),
              FileError::Action::list);
    fs::remove_all(folder / "sub");
    EXPECT_EQ(thrown([&] { manager.contentsOfDirectory((folder / "sub").string()); }).kind(),
              FileError::Kind::noSuchFile);
    EXPECT_THROW(manager.contentsOfDirectory(*URL::fromString("https://example.org/"),
                                             DirectoryEnumerationOptions::none),
                 FileError);
}

TEST_F(FileManagerTest, AttributesDescribeTheItemItselfNotALinksTarget) {
    write("five.bin", "12345");
    fs::create_directory(folder / "sub");
    fs::create_symlink(folder / "five.bin", folder / "link");

    const auto file = manager.attributesOfItem((folder / "five.bin").string());
    ASSERT_TRUE(file.at(FileAttribute::size).get<std::uint64_t>());
    EXPECT_EQ(*file.at(FileAttribute::size).get<std::uint64_t>(), 5u);
    EXPECT_EQ(*file.at(FileAttribute::type).get<std::string>(), FileType::regular);
    const auto* modified = file.at(FileAttribute::modificationDate).get<Date>();
    ASSERT_TRUE(modified);
    const auto expected = fs::last_write_time(folder / "five.bin");
    const double seconds =
        std::chrono::duration<double>(std::chrono::file_clock::to_sys(expected).time_since_epoch()).count();
    EXPECT_NEAR(modified->timeIntervalSince1970(), seconds, 1e-3);

    EXPECT_EQ(*manager.attributesOfItem((folder / "sub").string()).at(FileAttribute::type).get<std::string>(),
              FileType::directory);
    const auto link = manager.attributesOfItem((folder / "link").string());
    EXPECT_EQ(*link.at(FileAttribute::type).get<std::string>(), FileType::symbolicLink);
    EXPECT_EQ(*link.at(FileAttribute::size).get<std::uint64_t>(), (folder / "five.bin").string().size());
    EXPECT_EQ(thrown([&] { manager.attributesOfItem((folder / "missing").string()); }).kind(),
              FileError::Kind::noSuchFile);
}

TEST_F(FileManagerTest, CreatingAFileReplacesItWholeAndLeavesNoTemporary) {
    const std::string path = (folder / "notes.txt").string();
    EXPECT_TRUE(manager.createFile(path, Data{'o', 'l', 'd', ' ', 't', 'e', 'x', 't'}));
    EXPECT_TRUE(manager.createFile(path, Data{'n', 'e', 'w'}));
    EXPECT_EQ(read(path), "new");
    EXPECT_TRUE(manager.createFile((folder / "empty").string(), std::nullopt));
    EXPECT_EQ(fs::file_size(folder / "empty"), 0u);
    EXPECT_EQ(sortedNames(), (std::vector<std::string>{"empty", "notes.txt"}));

    // Failures report false and leave nothing behind.
    fs::create_directory(folder / "sub");
    EXPECT_FALSE(manager.createFile((folder / "sub").string(), Data{'x'}));
    EXPECT_FALSE(manager.createFile((folder / "missing" / "x").string(), Data{'x'}));
    EXPECT_EQ(sortedNames(), (std::vector<std::string>{"empty", "notes.txt", "sub"}));
    EXPECT_TRUE(fs::is_empty(folder / "sub"));
}

TEST_F(FileManagerTest, RemovingTakesFoldersWithTheirContentsAndLinksNotTheirTargets) {
    fs::create_directories(folder / "tree" / "deeper");
    write("tree/deeper/leaf", "x");
    write("target", "kept");
    fs::create_symlink(folder / "target", folder / "link");
    fs::create_directory_symlink(folder / "tree", folder / "treelink");

    manager.removeItem(URL::fileURLWithPath(folder / "link"));
    manager.removeItem(URL::fileURLWithPath(folder / "treelink"));
    EXPECT_TRUE(fs::exists(folder / "tree" / "deeper" / "leaf"));
    manager.removeItem(URL::fileURLWithPath(folder / "tree"));
    EXPECT_EQ(sortedNames(), (std::vector<std::string>{"target"}));
    EXPECT_EQ(read(folder / "target"), "kept");

    const auto missing = thrown([&] { manager.removeItem(URL::fileURLWithPath(folder / "tree")); });
    EXPECT_EQ(missing.kind(), FileError::Kind::noSuchFile);
    EXPECT_EQ(missing.action(), FileError::Action::remove);
    EXPECT_NE(std::string(missing.what()).find("could not be removed"), std::string::npos);
    EXPECT_TRUE(manager.fileExists((folder / "target").string()));
    EXPECT_FALSE(manager.fileExists((folder / "tree").string()));
}

TEST_F(FileManagerTest, StandardFoldersComeFromUserDirsAndTheXdgVariables) {
    const fs::path config = folder / "config";
    fs::create_directories(config);
    testing_support::ScopedEnvironment configHome("XDG_CONFIG_HOME", config.c_str());
    testing_support::ScopedEnvironment home("HOME", folder.c_str());
    testing_support::ScopedEnvironment data("XDG_DATA_HOME", (folder / "data").c_str());
    testing_support::ScopedEnvironment cache("XDG_CACHE_HOME", (folder / "cache").c_str());
    const auto only = [&](SearchPathDirectory directory) {
        const auto urls = manager.urls(directory, SearchPathDomainMask::userDomainMask);
        return urls.size() == 1 ? urls.front().path()
                                : std::string("<" + std::to_string(urls.size()) + " urls>");
    };

    // Without user-dirs.dirs: the usual names in the home folder.
    EXPECT_EQ(only(SearchPathDirectory::documentDirectory), (folder / "Documents").string());
    std::ofstream(config / "user-dirs.dirs") << "# written by a tool\n"
                                                "XDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n"
                                                "XDG_MUSIC_DIR=\"/srv/music\"\n"
                                                "XDG_VIDEOS_DIR=\"$HOME/Filme\"\n";
    EXPECT_EQ(only(SearchPathDirectory::documentDirectory), (folder / "Papiere").string());
    EXPECT_EQ(only(SearchPathDirectory::musicDirectory), "/srv/music");
    EXPECT_EQ(only(SearchPathDirectory::moviesDirectory), (folder / "Filme").string());
    EXPECT_EQ(only(SearchPathDirectory::downloadsDirectory), (folder / "Downloads").string());
    EXPECT_EQ(only(SearchPathDirectory::applicationSupportDirectory), (folder / "data").string());
    EXPECT_EQ(only(SearchPathDirectory::cachesDirectory), (folder / "cache").string());
    EXPECT_TRUE(
        manager.urls(SearchPathDirectory::libraryDirectory, SearchPathDomainMask::userDomainMask).empty());
    EXPECT_TRUE(
        manager.urls(SearchPathDirectory::documentDirectory, SearchPathDomainMask::localDomainMask).empty());
}

TEST_F(FileManagerTest, ThereIsNoCloudContainerToDownloadFrom) {
    EXPECT_FALSE(manager.urlForUbiquityContainerIdentifier(std::nullopt));
    EXPECT_FALSE(manager.urlForUbiquityContainerIdentifier("iCloud.org.quoril"));
    const auto error =
        thrown([&] { manager.startDownloadingUbiquitousItem(URL::fileURLWithPath(folder / "a.json")); });
    EXPECT_EQ(error.action(), FileError::Action::download);
}
