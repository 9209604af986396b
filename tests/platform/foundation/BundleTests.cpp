#include "foundation/Bundle.h"
#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"
#include "foundation/URL.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <string>

using namespace foundation;
namespace fs = std::filesystem;

namespace {

void write(const fs::path& file, const Data& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void write(const fs::path& file, std::string_view text) {
    write(file, Data(text.begin(), text.end()));
}

const PropertyList::Dictionary sampleInfo = {{"CFBundleIdentifier", "org.quoril.tests.Folder"},
                                             {"CFBundleVersion", "45"},
                                             {"Flavour", PropertyList::Array{1, true}}};

int codeInTheTestProgram() {
    return 7;
}

} // namespace

TEST(BundleTest, MainBundleOfATestProgramIsItsFolderWithoutInfo) {
    const auto& bundle = Bundle::main();
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundlePath(), fs::canonical("/proc/self/exe").parent_path());
    EXPECT_FALSE(bundle->bundleIdentifier());
    EXPECT_TRUE(bundle->infoDictionary().empty());
    EXPECT_EQ(Bundle::withPath(bundle->bundlePath()), bundle) << "one object per folder";
}

TEST(BundleTest, OnlyExistingFoldersAreBundles) {
    testing_support::TemporaryFolder folder;
    write(folder.path() / "file.txt", "x");
    EXPECT_FALSE(Bundle::withPath(folder.path() / "file.txt"));
    EXPECT_FALSE(Bundle::withPath(folder.path() / "missing"));
    EXPECT_FALSE(Bundle::withPath(""));
    EXPECT_FALSE(Bundle::withURL(*URL::fromString("https://example.org/Some.bundle/")));

    const auto empty = Bundle::withURL(URL::fileURLWithPath(folder.path(), true));
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->bundleIdentifier());
    EXPECT_TRUE(empty->infoDictionary().empty());
    EXPECT_EQ(Bundle::withPath(folder.path() / ".." / folder.path().filename()), empty);
}

TEST(BundleTest, ReadsInfoInBothFormats) {
    for (const auto format : {PropertyListFormat::xml, PropertyListFormat::binary}) {
        testing_support::TemporaryFolder folder;
        write(folder.path() / "Info.plist", PropertyListSerialization::data(sampleInfo, format));
        const auto bundle = Bundle::withPath(folder.path());
        ASSERT_TRUE(bundle);
        EXPECT_EQ(bundle->bundleIdentifier(), "org.quoril.tests.Folder");
        EXPECT_EQ(bundle->infoDictionary(), sampleInfo);
        EXPECT_EQ(*bundle->objectForInfoDictionaryKey("CFBundleVersion").string(), "45");
        EXPECT_TRUE(bundle->objectForInfoDictionaryKey("CFBundleName").isAbsent());
        EXPECT_EQ(bundle->resourceURL().absoluteString(),
                  bundle->bundleURL().absoluteString() + "Resources/");
    }
}

TEST(BundleTest, UnusableInfoIsLoggedAndEmpty) {
    struct Case {
        const char* name;
        Data bytes;
        bool logged;
    };
    const Case cases[] = {
        {"garbage", Data{'b', 'p', 'l', 'i', 's', 't', '0', '0', 1, 2}, true},
        {"array",
         PropertyListSerialization::data(PropertyList::Array{"org.quoril.x"}, PropertyListFormat::xml), true},
        {"identifier not text",
         PropertyListSerialization::data(PropertyList::Dictionary{{"CFBundleIdentifier", 12}},
                                         PropertyListFormat::xml),
         false},
    };
    for (const auto& [name, bytes, expectLog] : cases) {
        SCOPED_TRACE(name);
        testing_support::TemporaryFolder folder;
        write(folder.path() / "Info.plist", bytes);
        testing::internal::CaptureStderr();
        const auto bundle = Bundle::withPath(folder.path());
        const std::string logged = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(bundle);
        EXPECT_FALSE(bundle->bundleIdentifier());
        EXPECT_EQ(logged.find("error foundation[Bundle]") != std::string::npos, expectLog) << logged;
    }
    testing_support::TemporaryFolder folder;
    fs::create_directories(folder.path() / "Info.plist");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Bundle::withPath(folder.path())->infoDictionary().empty());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not a regular file"), std::string::npos);
}

TEST(BundleTest, ResourcesBeforeTheTopAndNothingOutside) {
    testing_support::TemporaryFolder folder;
    const fs::path root = folder.path() / "Look.bundle";
    write(root / "Resources" / "notes.txt", "inside");
    write(root / "notes.txt", "top");
    write(root / "top-only.txt", "top");
    write(root / "Resources" / "themes" / "dark.json", "{}");
    write(folder.path() / "secret.txt", "outside");
    const auto bundle = Bundle::withPath(root);
    ASSERT_TRUE(bundle);
    const fs::path base = bundle->bundlePath();

    EXPECT_EQ(bundle->pathForResource("notes", "txt"), base / "Resources" / "notes.txt");
    EXPECT_EQ(bundle->pathForResource("top-only", "txt"), base / "top-only.txt");
    EXPECT_EQ(bundle->urlForResource("dark", "json", "themes"),
              URL::fileURLWithPath(base / "Resources" / "themes" / "dark.json"));
    EXPECT_FALSE(bundle->pathForResource("dark", "json"));
    EXPECT_FALSE(bundle->urlForResource("missing", "txt"));

    EXPECT_FALSE(bundle->pathForResource("../../secret", "txt"));
    EXPECT_FALSE(bundle->pathForResource("secret", "txt", ".."));
    EXPECT_FALSE(bundle->pathForResource((folder.path() / "secret").string(), "txt"));
}

TEST(BundleTest, ImagesPreferTheDoubleScale) {
    testing_support::TemporaryFolder folder;
    write(folder.path() / "Resources" / "tile.png", "1x");
    write(folder.path() / "Resources" / "tile@2x.png", "2x");
    write(folder.path() / "Resources" / "plain.png", "1x");
    const auto bundle = Bundle::withPath(folder.path());
    const fs::path resources = bundle->resourcePath();

    const auto tile = bundle->imageResourcePath("tile");
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->path, resources / "tile@2x.png");
    EXPECT_EQ(tile->scale, 2);
    const auto plain = bundle->imageResourcePath("plain");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->path, resources / "plain.png");
    EXPECT_EQ(plain->scale, 1);
    EXPECT_FALSE(bundle->imageResourcePath("missing"));
}

TEST(BundleTest, CodeOfALoadedLibraryBelongsToItsFolder) {
    void* library = dlopen(QUORIL_SAMPLE_BUNDLE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(library) << dlerror();
    const void* marker = dlsym(library, "quorilSampleBundleMarker");
    ASSERT_TRUE(marker);
    const auto bundle = Bundle::forCode(marker);
    dlclose(library);

    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundlePath(), fs::canonical(QUORIL_SAMPLE_BUNDLE_LIBRARY).parent_path());
    EXPECT_EQ(bundle->bundleIdentifier(), "org.quoril.tests.Sample");
    EXPECT_EQ(Bundle::withPath(bundle->bundlePath()), bundle);
    // The build copied the string table into Resources/de.lproj.
    testing_support::ScopedEnvironment language("LANGUAGE", "de");
    EXPECT_EQ(bundle->localizedString("Sample"), "Beispiel");
}

TEST(BundleTest, CodeOfTheProgramBelongsToTheMainBundle) {
    EXPECT_EQ(Bundle::forCode(reinterpret_cast<const void*>(&codeInTheTestProgram)), Bundle::main());
    int onTheStack = 0;
    EXPECT_FALSE(Bundle::forCode(&onTheStack));
    EXPECT_FALSE(Bundle::forCode(nullptr));
}
