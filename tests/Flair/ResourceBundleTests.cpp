#include "Flair/ResourceBundleAccessor.h"

#include "foundation/Bundle.h"
#include "foundation/URL.h"
#include "graphics/Image.h"

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>

#include <fstream>
#include <latch>
#include <thread>
#include <vector>

using foundation::URL;
namespace fs = std::filesystem;

namespace {

// A bundle folder told apart by the identifier in its Info.plist.
void writeBundle(const fs::path& folder, const std::string& identifier) {
    fs::create_directories(folder);
    std::ofstream(folder / "Info.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>CFBundleIdentifier</key><string>"
        << identifier << "</string></dict></plist>\n";
}

struct Layout {
    testing_support::TemporaryFolder root;
    fs::path mainResources = root.path() / "share/program/Resources";
    fs::path libraryFolder = root.path() / "lib";
    fs::path programFolder = root.path() / "share/program";

    void addBundle(const fs::path& folder, const std::string& identifier) const {
        writeBundle(folder / "Flair_Flair.bundle", identifier);
    }
    std::vector<std::optional<URL>> candidates() const {
        return {URL::fileURLWithPath(mainResources, true), URL::fileURLWithPath(libraryFolder, true),
                URL::fileURLWithPath(programFolder, true)};
    }
};

std::string foundIdentifier(const std::vector<std::optional<URL>>& candidates) {
    return Flair::detail::findModuleBundle(candidates)->bundleIdentifier().value_or("none");
}

struct ImageSpec {
    const char* name;
    int points;
};
const ImageSpec images[] = {{"anvil_smoke_gray", 128}, {"anvil_smoke_gray_blur", 128}, {"anvil_smoke_gray_alt", 128},
                            {"anvil_smoke_white", 128}, {"poof1", 88},  {"poof2", 88},
                            {"poof3", 88},              {"poof4", 88},  {"poof5", 88}};

} // namespace

TEST(FlairModuleBundleTest, TheFirstCandidateHoldingTheBundleWins) {
    Layout layout;
    layout.addBundle(layout.mainResources, "main");
    layout.addBundle(layout.libraryFolder, "library");
    layout.addBundle(layout.programFolder, "program");
    EXPECT_EQ(foundIdentifier(layout.candidates()), "main");

    fs::remove_all(layout.mainResources); // no Resources/ in the main bundle
    EXPECT_EQ(foundIdentifier(layout.candidates()), "library");
    // A file of the bundle's name is passed over.
    fs::remove_all(layout.libraryFolder / "Flair_Flair.bundle");
    std::ofstream(layout.libraryFolder / "Flair_Flair.bundle") << "not a folder";
    EXPECT_EQ(foundIdentifier(layout.candidates()), "program");
    EXPECT_EQ(foundIdentifier({std::nullopt, std::nullopt, URL::fileURLWithPath(layout.programFolder, true)}),
              "program");
}

TEST(FlairModuleBundleDeathTest, NoCandidateHoldingItStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Layout layout;
    fs::create_directories(layout.programFolder);
    EXPECT_DEATH(Flair::detail::findModuleBundle(layout.candidates()),
                 "Fatal error: unable to find bundle named Flair_Flair");
}

TEST(FlairModuleBundleTest, EveryThreadGetsTheProgramsOwnBundleWithItsImages) {
    constexpr int threads = 8;
    std::latch start(threads);
    std::vector<const foundation::Bundle*> seen(threads);
    std::vector<std::thread> readers;
    for (int i = 0; i < threads; ++i)
        readers.emplace_back([&, i] {
            start.arrive_and_wait();
            seen[i] = Flair::moduleBundle().get();
        });
    for (auto& reader : readers)
        reader.join();
    for (const auto* bundle : seen)
        EXPECT_EQ(bundle, seen.front());

    // The test program's own, in its bundle's Resources/ (share/flair_tests/), the first place
    // looked in; none lies beside libFlair.so.
    const auto candidates = Flair::detail::moduleBundleCandidates();
    ASSERT_EQ(candidates.size(), 3u);
    ASSERT_TRUE(candidates[0] && candidates[1]);
    EXPECT_EQ(fs::path(candidates[0]->path()).parent_path().filename(), "flair_tests");
    EXPECT_TRUE(fs::exists(fs::path(candidates[1]->path()) / "libFlair.so"));
    EXPECT_FALSE(fs::exists(fs::path(candidates[1]->path()) / "Flair_Flair.bundle"));
    const auto& bundle = *Flair::moduleBundle();
    EXPECT_EQ(bundle.bundlePath(), fs::canonical(candidates[0]->path()) / "Flair_Flair.bundle");
    EXPECT_EQ(bundle.bundleIdentifier(), "org.quoril.Flair.resources");

    for (const auto& spec : images) {
        SCOPED_TRACE(spec.name);
        const auto image = graphics::Image::named(bundle, spec.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.scale(), 2);
        EXPECT_EQ(image.pixelSize(), QSize(2 * spec.points, 2 * spec.points));
        const auto single = graphics::Image::contentsOfFile(bundle.resourcePath() / (std::string(spec.name) + ".png"));
        EXPECT_EQ(single.pixelSize(), QSize(spec.points, spec.points));
        // Soft: clear at the edges and corners, partly covered between, some coverage at all.
        const QImage& pixels = image.qImage();
        const int side = pixels.width();
        int soft = 0, covered = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const int a = qAlpha(pixels.pixel(x, y));
                soft += a > 0 && a < 255;
                covered += a > 16;
            }
        EXPECT_EQ(qAlpha(pixels.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(pixels.pixel(side / 2, 0)), 0);
        EXPECT_EQ(qAlpha(pixels.pixel(0, side / 2)), 0);
        EXPECT_GT(covered, side * side / 20);
        EXPECT_GT(soft, covered / 2);
    }
}

TEST(FlairResourceGeneratorTest, TwoRunsWriteTheSameBytes) {
    testing_support::TemporaryFolder root;
    const auto run = [&](const char* folder) {
        QProcess process;
        process.start(FLAIR_RESOURCE_GENERATOR, {QString::fromStdString((root.path() / folder).string())});
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0);
    };
    run("one");
    run("two");
    const auto bytes = [](const fs::path& file) {
        QFile f(QString::fromStdString(file.string()));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file;
        return f.readAll();
    };
    for (const auto& spec : images)
        for (const std::string suffix : {".png", "@2x.png"}) {
            const auto first = bytes(root.path() / "one" / (spec.name + suffix));
            EXPECT_FALSE(first.isEmpty());
            EXPECT_EQ(first, bytes(root.path() / "two" / (spec.name + suffix))) << spec.name << suffix;
        }
}
