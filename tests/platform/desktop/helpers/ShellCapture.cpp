// Runs a small application with a toolbar on the X display named by DISPLAY, waits until its
// window is on the screen, saves a capture of the whole screen to the path it is given and
// prints the content's place as "window <x> <y> <width> <height>", then ends the program.
// With --sample the window shows a list beside a form instead.
#include "EventPolling.h"
#include "SampleWindow.h"
#include "desktop/ApplicationHost.h"

#include "foundation/QtRunLoopDriver.h"
#include "ui/CommandGroup.h"
#include "ui/CommandItem.h"
#include "ui/EventTargets.h"
#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/Settings.h"
#include "ui/Stack.h"
#include "ui/Text.h"
#include "ui/WindowGroup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <string_view>

namespace {

ui::View label(const char* title, const char* symbol) {
    return ui::HStack(ui::VerticalAlignment::center, 4,
                      {ui::Image::systemName(symbol), ui::View(ui::Text(std::string(title)))})
        .font(ui::Font::system(ui::Font::TextStyle::body))
        .padding(ui::EdgeSet::horizontal, 8)
        .padding(ui::EdgeSet::vertical, 4);
}

struct Goals {
    ui::View body(ui::ViewContext& ctx) const {
        auto count = ctx.state<int>("count", 2);
        std::vector<ui::View> rows;
        for (int i = 1; i <= count.value(); ++i)
            rows.push_back(ui::View(ui::Text("Goal " + std::to_string(i))).frame(
                ui::FlexibleFrame{.maxWidth = ui::CGFloat(INFINITY), .alignment = ui::Alignment::leading}));
        auto add = [count] { count.set(count.value() + 1); };
        return ui::VStack(ui::HorizontalAlignment::leading, 12, std::move(rows))
            .padding(16)
            .frame(ui::FlexibleFrame{.minWidth = 350, .idealWidth = 400, .maxWidth = 600, .minHeight = 250,
                                     .idealHeight = 350, .maxHeight = 550, .alignment = ui::Alignment::topLeading})
            .toolbar({ui::ToolbarItem(ui::ToolbarItemPlacement::automatic, label("Burn", "flame")),
                      ui::ToolbarItem(ui::ToolbarItemPlacement::automatic,
                                      ui::keyboardShortcutTarget(label("New Goal", "plus").onTapGesture(add), add)
                                          .keyboardShortcut(ui::KeyEquivalent::return_, ui::EventModifiers::none))})
            .preferredColorScheme(ui::ColorScheme::dark);
    }
};

struct SampleApp {
    bool listAndForm = false;
    ui::Scene body(ui::ViewContext&) const {
        if (listAndForm)
            return ui::Scene({ui::WindowGroup(sampleWindow())
                                  .defaultSize(600, 360)
                                  .defaultPosition(ui::UnitPoint::center)
                                  .windowResizability(ui::WindowResizability::contentSize)});
        return ui::Scene({ui::WindowGroup(ui::View(Goals{}))
                              .commands(ui::CommandGroup::replacing(ui::CommandGroupPlacement::newItem,
                                                                    ui::CommandItem("New Goal", [] {})))
                              .defaultSize(400, 350)
                              .defaultPosition(ui::UnitPoint::center)
                              .windowResizability(ui::WindowResizability::contentSize),
                          ui::Settings(ui::View(ui::Text("Settings")).padding())});
    }
};

} // namespace

int main(int argc, char** argv) {
    const bool sample = argc == 3 && std::string_view(argv[1]) == "--sample";
    if (argc != 2 && !sample) {
        std::fprintf(stderr, "usage: shell_capture [--sample] <capture.png>\n");
        return 2;
    }
    const char* capture = argv[argc - 1];
    QApplication app(argc, argv);
    foundation::QtRunLoopDriver driver;
    desktop::ApplicationHost host{SampleApp{sample}};
    host.start();
    auto* window = host.windows().front();
    if (!pollEvents([&] { return window->windowHandle() && window->windowHandle()->isExposed(); }, 10000)) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    pollEvents([n = 0]() mutable { return ++n > 10; });
    auto& content = window->hostingWindow();
    content.updateNow();
    content.repaint();
    QGuiApplication::sync();
    pollEvents([n = 0]() mutable { return ++n > 5; });
    const QPixmap shot = window->screen()->grabWindow(0);
    if (!shot.save(QString::fromLocal8Bit(capture), "PNG")) {
        std::fprintf(stderr, "could not save the capture\n");
        return 1;
    }
    const QRect frame(content.mapToGlobal(QPoint(0, 0)), content.size());
    std::printf("window %d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height());
    host.terminate();
    return 0;
}
