// Shows a small screen in a hosting window on the X display named by DISPLAY, waits until it is
// on the screen and its clock ticks, and saves a capture of the whole screen to the path it is given. It
// prints the window's place as "window <x> <y> <width> <height>". The window capture test runs it under Xvfb:
// a process has one Qt platform, and the tests' own is offscreen.
#include "EventPolling.h"
#include "DemoScreen.h"
#include "Swatch.h"
#include "TestBox.h"

#include "foundation/DispatchQueue.h"
#include "foundation/QtRunLoopDriver.h"
#include "ui/HostingWindow.h"
#include "ui/Stack.h"
#include "ui/ViewContext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

using namespace uitest;

namespace {

// Three boxes over a bar that turns from grey to yellow when work on the main queue runs, and
// a hosted widget beside them.
struct Screen {
    std::shared_ptr<std::optional<ui::State<bool>>> lit;
    ui::View body(ui::ViewContext& ctx) const {
        auto on = ctx.state<bool>("lit", false);
        *lit = on;
        Swatch swatch;
        swatch.color = Qt::magenta;
        return ui::VStack({ui::HStack({box(60, 40, "", Qt::red), box(60, 40, "", Qt::green),
                                       box(60, 40, "", Qt::blue), ui::View(swatch)}),
                           box(244, 30, "", on.value() ? Qt::yellow : Qt::gray)})
            .padding(12);
    }
};

} // namespace

int main(int argc, char** argv) {
    const bool demo = argc == 3 && std::string_view(argv[1]) == "--demo";
    if (argc != 2 && !demo) {
        std::fprintf(stderr, "usage: window_capture [--demo] <capture.png>\n");
        return 2;
    }
    const char* capturePath = argv[argc - 1];
    QApplication app(argc, argv);
    foundation::QtRunLoopDriver driver;
    auto lit = std::make_shared<std::optional<ui::State<bool>>>();
    // The demo screen as the test host renders it: 260 by 200 on white.
    ui::HostingWindow window(demo ? demoScreen().frame(260, 200).background(ui::View(ui::Color::white))
                                  : ui::View(Screen{lit}));
    window.move(20, 20);
    window.show();
    if (!pollEvents([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }, 10000)) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    int frames = 0;
    auto ticking = window.clock().onFrame([&](const ui::Frame&) { ++frames; });
    if (!pollEvents([&] { return frames >= 3; }, 10000)) {
        std::fprintf(stderr, "the display clock never ticked\n");
        return 1;
    }
    ticking.cancel();
    if (!demo) foundation::DispatchQueue::main().async([lit] { (*lit)->set(true); });
    if (!demo && !pollEvents([&] { return (*lit)->value(); }, 10000)) {
        std::fprintf(stderr, "work on the main queue never ran\n");
        return 1;
    }
    window.updateNow();
    window.repaint();
    QGuiApplication::sync();
    pollEvents([n = 0]() mutable { return ++n > 5; });
    const QPixmap shot = window.screen()->grabWindow(0);
    if (!shot.save(QString::fromLocal8Bit(capturePath), "PNG")) {
        std::fprintf(stderr, "could not save the capture\n");
        return 1;
    }
    const QRect frame(window.mapToGlobal(QPoint(0, 0)), window.size());
    std::printf("window %d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height());
    return 0;
}
