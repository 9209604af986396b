// consumer OUTPUT.png: sets a key in a suite of a temporary configuration folder and reads it
// back, then draws a text into OUTPUT.png. Exits non-zero on the first thing that fails.
#include "Prefs/Key.h"
#include "Prefs/ValueAccess.h"

#include "foundation/UserDefaults.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

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

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return fail("usage: consumer OUTPUT.png");
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

    QGuiApplication app(argc, argv);
    ui::TestHost host(ui::Text("Installed"), {120, 40});
    if (!hasInk(host.render())) return fail("the text drew nothing");
    if (!host.renderPNG(QString::fromLocal8Bit(argv[1]))) return fail("the PNG was not written");
    return 0;
}
