// quoril-dock: loads the dock tile plug-ins, shows their tiles in a small window, and with
// --snapshot FILE.png draws them once into that file instead.
#include "DockHost/PlugInLoader.h"
#include "DockHost/TileStrip.h"

#include "foundation/QtRunLoopDriver.h"

#include <QApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

int quitPipe[2] = {-1, -1};

void requestQuit(int) {
    const char byte = 0;
    [[maybe_unused]] const auto written = ::write(quitPipe[1], &byte, 1);
}

// SIGINT and SIGTERM quit through the event loop, so the plug-ins are unloaded in order.
void quitOnSignals(QApplication& app) {
    if (::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QApplication::quit);
    struct sigaction action {};
    action.sa_handler = requestQuit;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Last loaded, first unloaded.
void unload(std::vector<std::unique_ptr<dock::LoadedPlugIn>>& plugIns) {
    while (!plugIns.empty())
        plugIns.pop_back();
}

int usage(int code) {
    std::fprintf(code ? stderr : stdout, "usage: quoril-dock [--snapshot FILE.png]\n");
    return code;
}

} // namespace

int main(int argc, char** argv) {
    std::optional<std::string> snapshot;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--snapshot" && i + 1 < argc) {
            snapshot = argv[++i];
        } else if (argument == "--help" || argument == "-h") {
            return usage(0);
        } else {
            std::fprintf(stderr, "quoril-dock: unknown argument %s\n", argument.c_str());
            return usage(2);
        }
    }
    // A snapshot needs no screen.
    if (snapshot && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    foundation::QtRunLoopDriver driver;
    auto plugIns = dock::loadPlugIns(dock::plugInFolders(), [](const std::string& message) {
        std::fprintf(stderr, "quoril-dock: %s\n", message.c_str());
    });

    if (snapshot) {
        if (plugIns.empty()) {
            std::fprintf(stderr, "quoril-dock: no dock tile plug-ins found\n");
            return 1;
        }
        const bool saved = dock::renderTiles(plugIns, 2).save(QString::fromStdString(*snapshot), "PNG");
        unload(plugIns);
        if (!saved) {
            std::fprintf(stderr, "quoril-dock: cannot write %s\n", snapshot->c_str());
            return 1;
        }
        return 0;
    }

    int result = 0;
    {
        dock::TileStrip window(plugIns);
        window.show();
        quitOnSignals(app);
        result = app.exec();
    }
    unload(plugIns);
    return result;
}
