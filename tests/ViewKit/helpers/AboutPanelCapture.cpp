// Runs a program whose application menu holds the toolkit's about command, on the X display
// named by DISPLAY; chooses the command, waits until the about panel is on the screen, saves a
// capture of the whole screen to the path it is given and prints the panel's place as
// "window <x> <y> <width> <height>".
#include "EventPolling.h"

#include "ViewKit/AboutPanelCommand.h"

#include "desktop/Application.h"
#include "desktop/ApplicationHost.h"
#include "desktop/CommandMenus.h"
#include "foundation/QtRunLoopDriver.h"
#include "ui/Color.h"
#include "ui/Rectangle.h"
#include "ui/WindowGroup.h"

#include <QAction>
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

struct AboutApp {
    ui::Scene body(ui::ViewContext&) const {
        return ui::Scene({ui::WindowGroup(ui::Rectangle().fill(ui::Color::gray).frame(200, 120))
                              .commands(ui::View(ViewKit::AboutPanelCommand(
                                  "About Goal Keeper", "Goal Keeper", "Made with care by the Quoril team")))});
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: viewkit_about_capture <capture.png>\n");
        return 2;
    }
    QApplication app(argc, argv);
    foundation::QtRunLoopDriver driver;
    desktop::ApplicationHost host{AboutApp{}};
    host.start();
    QAction* about = host.menus().action("About Goal Keeper");
    if (!about) {
        std::fprintf(stderr, "the menu has no about item\n");
        return 1;
    }
    about->trigger();
    QWidget* panel = nullptr;
    if (!pollEvents(
            [&] {
                panel = desktop::Application::shared().aboutPanel();
                return panel && panel->windowHandle() && panel->windowHandle()->isExposed();
            },
            10000)) {
        std::fprintf(stderr, "the about panel was never shown\n");
        return 1;
    }
    pollEvents([n = 0]() mutable { return ++n > 10; });
    panel->repaint();
    QGuiApplication::sync();
    pollEvents([n = 0]() mutable { return ++n > 5; });
    const QPixmap shot = panel->screen()->grabWindow(0);
    if (!shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "could not save the capture\n");
        return 1;
    }
    const QRect frame(panel->mapToGlobal(QPoint(0, 0)), panel->size());
    std::printf("window %d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height());
    host.terminate();
    return 0;
}
