#include "foundation/FileError.h"
#include "foundation/TextFile.h"

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

using namespace foundation;
namespace fs = std::filesystem;

namespace {

fs::path write(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return file;
}

FileError::Kind failureKind(const fs::path& path) {
    try {
        stringWithContentsOfFile(path);
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path);
        EXPECT_NE(error.description().find(path.string()), std::string::npos) << error.description();
        EXPECT_EQ(std::string(error.what()), error.description());
        return error.kind();
    }
    ADD_FAILURE() << path << " was read";
    return FileError::Kind::other;
}

} // namespace

TEST(TextFileTest, ReadsWholeUTF8FilesWithoutTheirByteOrderMark) {
    testing_support::TemporaryFolder folder;
    const std::string text = "a,b\r\nZoë,\u00e9\n" + std::string(200000, 'x');
    EXPECT_EQ(stringWithContentsOfFile(write(folder.path() / "plain.csv", text)), text);
    EXPECT_EQ(stringWithContentsOfFile(write(folder.path() / "bom.csv", "\xEF\xBB\xBFhead")), "head");
    // Only at the very start, and only once.
    EXPECT_EQ(stringWithContentsOfFile(write(folder.path() / "two.csv", "\xEF\xBB\xBF\xEF\xBB\xBFx")),
              "\xEF\xBB\xBFx");
    EXPECT_EQ(stringWithContentsOfFile(write(folder.path() / "inner.csv", "x\xEF\xBB\xBF")), "x\xEF\xBB\xBF");
    EXPECT_EQ(stringWithContentsOfFile(write(folder.path() / "empty.csv", "")), "");
    EXPECT_EQ(stringWithContentsOfURL(URL::fileURLWithPath(folder.path() / "bom.csv")), "head");
}

TEST(TextFileTest, EveryFailureNamesItsKindAndFile) {
    testing_support::TemporaryFolder folder;
    EXPECT_EQ(failureKind(folder.path() / "missing.csv"), FileError::Kind::noSuchFile);
    EXPECT_EQ(failureKind(write(folder.path() / "file", "x") / "below"), FileError::Kind::noSuchFile);
    EXPECT_EQ(failureKind(folder.path()), FileError::Kind::notRegularFile);
    const fs::path fifo = folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(failureKind(fifo), FileError::Kind::notRegularFile); // refused, not waited on
    // Never decoded lossily: a single bad byte anywhere refuses the whole file.
    EXPECT_EQ(failureKind(write(folder.path() / "latin1.csv", "caf\xe9,b")), FileError::Kind::notUTF8);
    EXPECT_EQ(failureKind(write(folder.path() / "cut.csv", "ok\xe2\x82")), FileError::Kind::notUTF8);
    const fs::path locked = write(folder.path() / "locked.csv", "secret");
    ::chmod(locked.c_str(), 0);
    if (::geteuid() != 0) EXPECT_EQ(failureKind(locked), FileError::Kind::noPermission); // root reads anyway

    try {
        stringWithContentsOfURL(*URL::fromString("https://example.org/a.csv"));
        ADD_FAILURE();
    } catch (const FileError& error) {
        EXPECT_EQ(error.kind(), FileError::Kind::other);
        EXPECT_NE(error.description().find("https://example.org/a.csv"), std::string::npos);
    }
}
