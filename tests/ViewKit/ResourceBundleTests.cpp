#include "ViewKit/BundleInfo.h"
#include "ViewKit/ResourceBundleAccessor.h"

#include "foundation/Bundle.h"
#include "foundation/URL.h"

#include "TemporaryFolder.h"
#include "ViewKitTestFiles.h"

#include <gtest/gtest.h>

#include <latch>
#include <thread>
#include <vector>

using namespace viewkit_testing;
using foundation::URL;
namespace fs = std::filesystem;

namespace {

struct Layout {
    testing_support::TemporaryFolder root;
    fs::path mainResources = root.path() / "share/program/Resources";
    fs::path libraryFolder = root.path() / "lib";
    fs::path programFolder = root.path() / "share/program";

    // The toolkit's bundle in `folder`, told apart by its identifier.
    void addBundle(const fs::path& folder, const std::string& identifier) const {
        writeBundle(folder / "ViewKit_ViewKit.bundle", {{"CFBundleIdentifier", identifier}});
    }
    std::vector<std::optional<URL>> candidates() const {
        return {URL::fileURLWithPath(mainResources, true), URL::fileURLWithPath(libraryFolder, true),
                URL::fileURLWithPath(programFolder, true)};
    }
};

std::string foundIdentifier(const std::vector<std::optional<URL>>& candidates) {
    return ViewKit::detail::findModuleBundle(candidates)->bundleIdentifier().value_or("none");
}

} // namespace

TEST(ModuleBundleTest, TheFirstCandidateHoldingTheBundleWins) {
    Layout layout;
    layout.addBundle(layout.mainResources, "main");
    layout.addBundle(layout.libraryFolder, "library");
    layout.addBundle(layout.programFolder, "program");
    EXPECT_EQ(foundIdentifier(layout.candidates()), "main"); // main resources over the library's folder

    fs::remove_all(layout.mainResources);
    EXPECT_EQ(foundIdentifier(layout.candidates()), "library");
    fs::remove_all(layout.libraryFolder / "ViewKit_ViewKit.bundle");
    EXPECT_EQ(foundIdentifier(layout.candidates()), "program");
    // Absent candidates are passed over.
    EXPECT_EQ(foundIdentifier({std::nullopt, std::nullopt, URL::fileURLWithPath(layout.programFolder, true)}),
              "program");
}

TEST(ModuleBundleDeathTest, NoCandidateHoldingItStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Layout layout;
    fs::create_directories(layout.programFolder);
    // A file of that name is no bundle either.
    writeFile(layout.libraryFolder / "ViewKit_ViewKit.bundle", "not a folder");
    auto candidates = layout.candidates();
    candidates.insert(candidates.begin(), std::nullopt);
    EXPECT_DEATH(ViewKit::detail::findModuleBundle(candidates),
                 "Fatal error: unable to find bundle named ViewKit_ViewKit");
}

TEST(ModuleBundleTest, EveryThreadGetsTheOneBundleFromBesideTheLibrary) {
    // The candidates in their order: main resources, the library's folder, the main bundle.
    const auto candidates = ViewKit::detail::moduleBundleCandidates();
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], foundation::Bundle::main()->resourceURL());
    ASSERT_TRUE(candidates[1]);
    EXPECT_TRUE(fs::exists(fs::path(candidates[1]->path()) / "libViewKit.so")) << candidates[1]->path();
    EXPECT_EQ(candidates[2], foundation::Bundle::main()->bundleURL());

    constexpr int threads = 8;
    std::latch start(threads);
    std::vector<const foundation::Bundle*> seen(threads);
    std::vector<std::thread> readers;
    for (int i = 0; i < threads; ++i)
        readers.emplace_back([&, i] {
            start.arrive_and_wait();
            seen[i] = ViewKit::moduleBundle().get();
        });
    for (auto& reader : readers)
        reader.join();
    for (const auto* bundle : seen)
        EXPECT_EQ(bundle, seen.front());

    // The build tree's bundle, beside libViewKit.so.
    const auto& bundle = *ViewKit::moduleBundle();
    EXPECT_EQ(bundle.bundlePath(), fs::canonical(candidates[1]->path()) / "ViewKit_ViewKit.bundle");
    EXPECT_EQ(bundle.bundleIdentifier(), "org.quoril.ViewKit.resources");
    EXPECT_TRUE(bundle.pathForResource("MimeTypes", "csv"));
}

TEST(BundleInfoTest, TextEntriesOrTheirFallbacks) {
    testing_support::TemporaryFolder root;
    const auto full = foundation::Bundle::withPath(
        writeBundle(root.path() / "full", {{"CFBundleVersion", "45"},
                                           {"CFBundleDisplayName", " Goals "},
                                           {"CFBundleShortVersionString", "1.2.3"}}));
    EXPECT_EQ(ViewKit::buildNumber(*full), "45");
    EXPECT_EQ(ViewKit::displayName(*full), " Goals "); // as it stands
    EXPECT_EQ(ViewKit::versionNumber(*full), "1.2.3");

    const auto odd = foundation::Bundle::withPath(writeBundle(
        root.path() / "odd",
        {{"CFBundleVersion", 45}, {"CFBundleDisplayName", 7}, {"CFBundleShortVersionString", true}}));
    EXPECT_EQ(ViewKit::buildNumber(*odd), "");
    EXPECT_EQ(ViewKit::displayName(*odd), "-");
    EXPECT_EQ(ViewKit::versionNumber(*odd), "0.0.0");

    const auto empty =
        foundation::Bundle::withPath(writeBundle(root.path() / "empty", {{"CFBundleDisplayName", ""}}));
    EXPECT_EQ(ViewKit::displayName(*empty), ""); // the fallback is for absent or non-text values only
    EXPECT_EQ(ViewKit::buildNumber(*empty), "");
    EXPECT_EQ(ViewKit::versionNumber(*empty), "0.0.0");

    fs::create_directories(root.path() / "bare");
    const auto bare = foundation::Bundle::withPath(root.path() / "bare"); // no Info.plist at all
    EXPECT_EQ(ViewKit::displayName(*bare), "-");
}
