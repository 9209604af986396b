#include "ViewKit/BundleFileFinder.h"
#include "ViewKit/DirectoryFileManager.h"
#include "ViewKit/URLFileLocations.h"

#include "foundation/FileError.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "ViewKitTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace ViewKit;
using foundation::URL;
namespace fs = std::filesystem;
using viewkit_testing::writeFile;

namespace {

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> lastComponents(const std::vector<URL>& urls) {
    std::vector<std::string> names;
    for (const auto& url : urls)
        names.push_back(url.lastPathComponent());
    return sorted(names);
}

struct DirectoryFileManagerTest : ::testing::Test {
    testing_support::TemporaryFolder temporary;
    fs::path root = temporary.path();
    fs::path folder = root / "files";
    DirectoryFileManager files{URL::fileURLWithPath(folder, true)};

    DirectoryFileManagerTest() { fs::create_directories(folder); }
    std::vector<std::string> everythingUnder(const fs::path& path) {
        std::vector<std::string> out;
        for (const auto& entry : fs::recursive_directory_iterator(path))
            out.push_back(fs::relative(entry.path(), path));
        return sorted(out);
    }
};

// Hands out a fixed cloud container, records nothing else.
class ContainerFileManager : public foundation::FileManager {
public:
    std::optional<URL> urlForUbiquityContainerIdentifier(const std::optional<std::string>&) const override {
        return URL::fileURLWithPath("/cloud/container", true);
    }
};

class FailingRemoval : public foundation::FileManager {
public:
    void removeItem(const URL& url) const override {
        throw foundation::FileError(foundation::FileError::Kind::noPermission, url.path(), {},
                                    foundation::FileError::Action::remove);
    }
};

} // namespace

TEST_F(DirectoryFileManagerTest, NamesAreExactAndHiddenOnesAreFoundButNeverListed) {
    writeFile(folder / "notes.txt", "12345");
    writeFile(folder / ".secret", "1234567890");
    writeFile(folder / "report.txt", "123");
    fs::create_directory(folder / "sub");
    writeFile(folder / "sub" / "inner", "not counted");

    EXPECT_TRUE(files.fileExists("notes.txt"));
    EXPECT_FALSE(files.fileExists("NOTES.TXT"));
    EXPECT_FALSE(files.fileExists("notes"));
    EXPECT_TRUE(files.fileExists(".secret"));
    EXPECT_EQ(files.fileUrl(".secret"), URL::fileURLWithPath(folder / ".secret"));
    EXPECT_EQ(sorted(files.fileNames()), (std::vector<std::string>{"notes.txt", "report.txt", "sub"}));
    EXPECT_EQ(lastComponents(files.fileUrls()), (std::vector<std::string>{"notes.txt", "report.txt", "sub"}));
    for (const auto& url : files.fileUrls())
        EXPECT_EQ(url.deletingLastPathComponent().path(), folder.string());

    EXPECT_EQ(files.fileSize("notes.txt"), 5u);
    EXPECT_EQ(files.fileSize(".secret"), 10u);
    EXPECT_FALSE(files.fileSize("missing"));
    ASSERT_TRUE(files.fileSize("sub"));
    EXPECT_EQ(files.totalSize(), 5u + 3u + *files.fileSize("sub")); // not the hidden file's 10 bytes
    EXPECT_EQ(*files.fileAttributes("sub")->at(foundation::FileAttribute::type).get<std::string>(),
              foundation::FileType::directory);
    EXPECT_FALSE(files.fileAttributes("NOTES.TXT"));

    // Removing: nothing for a missing name, a folder with its contents.
    EXPECT_NO_THROW(files.removeFile("missing"));
    files.removeFile("sub");
    files.removeFile(".secret");
    EXPECT_EQ(everythingUnder(folder), (std::vector<std::string>{"notes.txt", "report.txt"}));
}

TEST_F(DirectoryFileManagerTest, SearchingComparesLowerCasedNamesAndKeepsOtherBytes) {
    for (const char* name :
         {"\xC3\xA9t\xC3\xA9.txt", "report.txt", "summary.md", "CAF\xE9.txt", ".rep-hidden"})
        writeFile(folder / name, "x");
    EXPECT_EQ(files.fileNames({"\xC3\x89T\xC3\x89"}),
              (std::vector<std::string>{"\xC3\xA9t\xC3\xA9.txt"})); // "ÉTÉ"
    EXPECT_EQ(files.fileNames({"REP"}), (std::vector<std::string>{"report.txt"}));
    EXPECT_EQ(sorted(files.fileNames({"zzz", ".MD", "ort"})),
              (std::vector<std::string>{"report.txt", "summary.md"}));
    // A name that is no UTF-8 is listed, found and given back as its own bytes.
    EXPECT_EQ(files.fileNames({"caf"}), (std::vector<std::string>{"CAF\xE9.txt"}));
    EXPECT_EQ(files.fileNames().size(), 4u);
    EXPECT_TRUE(files.fileExists("CAF\xE9.txt"));
    EXPECT_EQ(files.fileUrl("CAF\xE9.txt")->lastPathComponent(), "CAF\xE9.txt");
    files.removeFile("CAF\xE9.txt");
    EXPECT_FALSE(fs::exists(folder / "CAF\xE9.txt"));
    EXPECT_TRUE(files.fileNames({}).empty());
}

TEST_F(DirectoryFileManagerTest, CreatingWritesInsideTheFolderOnlyAndReplacesWholeFiles) {
    EXPECT_TRUE(files.createFile("notes.txt", foundation::Data{'o', 'l', 'd', '!', '!'}));
    EXPECT_TRUE(files.createFile("notes.txt", foundation::Data{'n', 'e', 'w'}));
    EXPECT_TRUE(files.createFile("empty", std::nullopt));
    EXPECT_EQ(files.fileSize("notes.txt"), 3u);
    EXPECT_EQ(files.fileSize("empty"), 0u);

    fs::create_directory(folder / "a");
    for (const std::string& name :
         std::vector<std::string>{"", ".", "..", "../x", "a/b", "/tmp/x", std::string("a\0b", 3)})
        EXPECT_FALSE(files.createFile(name, foundation::Data{'x'})) << name;
    // Nothing else was written, neither here nor beside the folder, and no temporary is left.
    EXPECT_EQ(everythingUnder(root),
              (std::vector<std::string>{"files", "files/a", "files/empty", "files/notes.txt"}));
}

TEST_F(DirectoryFileManagerTest, FailuresGiveEmptyAnswersExceptARemovalError) {
    writeFile(folder / "kept.txt", "x");
    DirectoryFileManager failing(URL::fileURLWithPath(folder, true), std::make_shared<FailingRemoval>());
    try {
        failing.removeFile("kept.txt");
        ADD_FAILURE() << "the removal error was swallowed";
    } catch (const foundation::FileError& error) {
        EXPECT_EQ(error.kind(), foundation::FileError::Kind::noPermission);
    }
    EXPECT_NO_THROW(failing.removeFile("missing")); // nothing to remove, nothing asked
    EXPECT_TRUE(fs::exists(folder / "kept.txt"));

    // A path that is no folder, and a folder that went, list nothing.
    for (const fs::path& path : {folder / "kept.txt", root / "gone"}) {
        DirectoryFileManager broken(URL::fileURLWithPath(path, true));
        EXPECT_TRUE(broken.fileNames().empty());
        EXPECT_TRUE(broken.fileUrls().empty());
        EXPECT_EQ(broken.totalSize(), 0u);
        EXPECT_FALSE(broken.fileUrl("kept.txt"));
        EXPECT_FALSE(broken.createFile("new", std::nullopt));
    }
}

TEST_F(DirectoryFileManagerTest, FreeNamesCountUpBeforeTheLastExtension) {
    const auto unique = [&](const std::string& name) {
        return uniqueFileUrl(URL::fileURLWithPath(folder / name));
    };
    EXPECT_EQ(unique("report.txt"), URL::fileURLWithPath(folder / "report.txt")); // free as it is
    writeFile(folder / "report.txt", "x");
    writeFile(folder / "report-1.txt", "x");
    writeFile(folder / "notes", "x");
    writeFile(folder / "archive.tar.gz", "x");
    EXPECT_EQ(unique("report.txt"), URL::fileURLWithPath(folder / "report-2.txt"));
    EXPECT_EQ(unique("notes"), URL::fileURLWithPath(folder / "notes-1"));
    EXPECT_EQ(unique("archive.tar.gz"), URL::fileURLWithPath(folder / "archive.tar-1.gz"));
    EXPECT_EQ(uniqueFileUrl(URL::fileURLWithPath(folder / "report.txt"), " copy "),
              URL::fileURLWithPath(folder / "report copy 1.txt"));
    EXPECT_EQ(everythingUnder(folder).size(), 4u); // only looked, nothing reserved
}

TEST_F(DirectoryFileManagerTest, DocumentsComeFromUserDirsAndThereIsNoCloudContainer) {
    const fs::path config = root / "config";
    writeFile(config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    testing_support::ScopedEnvironment home("HOME", root.c_str());
    testing_support::ScopedEnvironment configHome("XDG_CONFIG_HOME", config.c_str());
    EXPECT_EQ(documentDirectoryUrl()->path(), (root / "Dokumente").string());
    const auto documents = DirectoryFileManager::make(foundation::SearchPathDirectory::documentDirectory);
    ASSERT_TRUE(documents);
    EXPECT_EQ(documents->url().path(), (root / "Dokumente").string());
    EXPECT_FALSE(DirectoryFileManager::make(foundation::SearchPathDirectory::libraryDirectory));

    EXPECT_FALSE(ubiquityContainerUrl());
    EXPECT_FALSE(ubiquityDocumentsUrl());
    const auto withContainer = std::make_shared<ContainerFileManager>();
    EXPECT_EQ(ubiquityDocumentsUrl(withContainer)->path(), "/cloud/container/Documents");
}

TEST(BundleFileFinderTest, ListsTheBundlesTopLevelByPrefixOrSuffix) {
    testing_support::TemporaryFolder temporary;
    const fs::path folder = viewkit_testing::writeBundle(temporary.path() / "Finder.bundle", {});
    writeFile(folder / "data-1.csv", "x");
    writeFile(folder / "data-2.json", "x");
    writeFile(folder / "Resources" / "data-3.csv", "x"); // not at the top
    writeFile(folder / "data-\xFF.csv", "x");            // no UTF-8: listed like any other
    const BundleFileFinder finder(foundation::Bundle::withPath(folder));

    EXPECT_EQ(sorted(finder.filesWithPrefix("data-")),
              (std::vector<std::string>{"data-1.csv", "data-2.json", "data-\xFF.csv"}));
    EXPECT_EQ(sorted(finder.filesWithSuffix(".csv")),
              (std::vector<std::string>{"data-1.csv", "data-\xFF.csv"}));
    EXPECT_EQ(
        sorted(finder.filesWithPrefix("")),
        (std::vector<std::string>{"Info.plist", "Resources", "data-1.csv", "data-2.json", "data-\xFF.csv"}));
    EXPECT_TRUE(finder.filesWithSuffix(".CSV").empty());

    fs::remove_all(folder); // the bundle object stays, its folder went
    EXPECT_TRUE(finder.filesWithPrefix("").empty());
}
