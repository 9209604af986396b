// quoril_capture: waits for the shown window whose WM_CLASS names a program, lets it finish
// painting, and saves it as a PNG. For `make screenshot` and the tests that look at the program
// on a virtual screen.
//
//     quoril_capture <class or instance name> <file.png> [seconds to wait, 20 by default]
//
// Prints "window <id> <x> <y> <width> <height>" (in the screen's pixels) once saved.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

bool names(Display* display, Window window, const std::string& name) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint)) return false;
    const bool match = (hint.res_name && name == hint.res_name) || (hint.res_class && name == hint.res_class);
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return match;
}

std::optional<Window> findShown(Display* display, Window parent, const std::string& name) {
    Window root = 0, up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) return std::nullopt;
    std::optional<Window> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            names(display, children[i], name))
            found = children[i];
        else
            found = findShown(display, children[i], name);
    }
    if (children) XFree(children);
    return found;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: quoril_capture <class or instance name> <file.png> [seconds]\n");
        return 2;
    }
    const std::string name = argv[1];
    const QString file = QString::fromLocal8Bit(argv[2]);
    const double patience = argc > 3 ? std::atof(argv[3]) : 20;
    // The capture itself is never scaled, whatever the program was run with.
    unsetenv("QT_SCALE_FACTOR");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QGuiApplication app(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "quoril_capture: no display\n");
        return 1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(patience);
    std::optional<Window> window;
    while (!(window = findShown(display, DefaultRootWindow(display), name))) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "quoril_capture: no shown window of %s\n", name.c_str());
            return 1;
        }
        QThread::msleep(20);
    }
    // Painting has settled when two grabs a moment apart agree.
    QImage last;
    QImage shot;
    while (std::chrono::steady_clock::now() < deadline) {
        shot = QGuiApplication::primaryScreen()->grabWindow(WId(*window)).toImage();
        if (!shot.isNull() && shot == last) break;
        last = shot;
        QThread::msleep(150);
    }
    if (shot.isNull() || !shot.save(file)) {
        std::fprintf(stderr, "quoril_capture: could not save %s\n", argv[2]);
        return 1;
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, *window, &attributes);
    Window child = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(display, *window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    std::printf("window %lu %d %d %d %d\n", static_cast<unsigned long>(*window), x, y, attributes.width,
                attributes.height);
    XCloseDisplay(display);
    return 0;
}
