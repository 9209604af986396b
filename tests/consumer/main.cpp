// consumer PREFIX OUTPUT.png: sets a key in a suite of a temporary configuration folder and reads
// it back, parses a table from the toolkit's bundle (which must lie in PREFIX), finds the effects
// library's bundle in its own, then draws a text and a card moved by an effect into OUTPUT.png.
// Exits non-zero on the first thing that fails.
#include "Flair/Move.h"
#include "Flair/ResourceBundleAccessor.h"
#include "Prefs/Key.h"
#include "Prefs/ValueAccess.h"

#include "ViewKit/CsvParser.h"
#include "ViewKit/ResourceBundleAccessor.h"
#include "foundation/Bundle.h"
#include "foundation/UserDefaults.h"
#include "graphics/Image.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "consumer: %s\n", what);
    return 1;
}

bool hasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

bool isBlue(QRgb pixel) {
    return qBlue(pixel) > 200 && qRed(pixel) < 60;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) return fail("usage: consumer PREFIX OUTPUT.png");
    std::string configuration = std::filesystem::temp_directory_path() / "quoril-consumer-XXXXXX";
    if (!mkdtemp(configuration.data())) return fail("no temporary folder");
    setenv("XDG_CONFIG_HOME", configuration.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    auto suite = foundation::UserDefaults::make("org.quoril.Consumer");
    if (!suite) return fail("no suite");
    const auto count = std::make_shared<Prefs::Key<int>>("count", 3, suite);
    if (Prefs::get(count) != 3) return fail("the key does not read its default");
    Prefs::set(count, 42);
    if (Prefs::get(count) != 42) return fail("the key does not read back what was set");
    suite->synchronize();
    const auto reread = foundation::UserDefaults::make("org.quoril.Consumer");
    const bool stored = reread && Prefs::get(*reread, count) == 42;
    std::filesystem::remove_all(configuration);
    if (!stored) return fail("the suite's file does not hold what was set");

    const auto& bundle = ViewKit::moduleBundle();
    const std::string bundlePath = bundle->bundleURL().path();
    if (bundlePath.rfind(std::filesystem::weakly_canonical(argv[1]).string() + "/", 0) != 0)
        return fail("the toolkit's bundle is not the installed one");
    const auto rows = ViewKit::CsvParser().parseCsvFile("MimeTypes", "csv", bundle, ",");
    if (rows.size() < 2 || rows.front() != std::vector<std::string>{"kind", "case", "subtype"})
        return fail("the bundle's table did not parse");

    // The effects library's images, copied into this program's bundle from the installed package.
    const auto& flairBundle = Flair::moduleBundle();
    if (flairBundle->bundlePath() !=
        std::filesystem::canonical(foundation::Bundle::main()->resourcePath()) / "Flair_Flair.bundle")
        return fail("the effects library's bundle is not the program's own");

    QGuiApplication app(argc, argv);
    if (graphics::Image::named(*flairBundle, "poof3").isNull())
        return fail("the effects library's image is missing");
    // A card half its width to the right of where it rests: centred at 80 instead of 60.
    Flair::Move moved;
    moved.animatableData.translation = {0.5, 0, 0};
    const ui::View card = ui::View(ui::Color(0, 0, 1)).frame(40, 20).modifier(moved).frame(120, 20);
    ui::TestHost host(ui::VStack(ui::HorizontalAlignment::center, 0,
                                 {ui::View(ui::Text("Installed")).frame(120, 40), card}),
                      {120, 60});
    const QImage image = host.render();
    if (!hasInk(image.copy(0, 0, image.width(), image.height() / 3 * 2)))
        return fail("the text drew nothing");
    const int row = image.height() * 5 / 6;
    if (isBlue(image.pixel(image.width() * 45 / 120, row)) ||
        !isBlue(image.pixel(image.width() * 95 / 120, row)))
        return fail("the effect did not move the card");
    if (!host.renderPNG(QString::fromLocal8Bit(argv[2]))) return fail("the PNG was not written");
    return 0;
}
