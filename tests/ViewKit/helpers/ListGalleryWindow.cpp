// Shows the list gallery in a window on the X display named by DISPLAY and prints the window's
// content place as "window <x> <y> <width> <height>", then where on the screen the shelf's
// second item and the rounded editor are ("shelf <x> <y>", "editor <x> <y>"). On SIGUSR1 it
// saves a capture of the whole screen to the path it is given, prints where the shelf item is
// now, whether the editor has the focus ("focused 0|1") and "captured", and ends.
#include "WindowShowing.h"
#include "ListGallery.h"

#include "foundation/QtRunLoopDriver.h"
#include "ui/HostingWindow.h"
#include "ui/ScrollView.h"
#include "ui/TestHost.h"
#include "ui/TextEditorWidget.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

const ui::Element* findText(const ui::Element& element, std::string_view text) {
    if (element.node().text() == text) return &element;
    for (const auto& child : element.children())
        if (const auto* found = findText(*child, text)) return found;
    return nullptr;
}

// The screen point at the centre of the shelf's second item.
QPoint shelfItem(ui::HostingWindow& window) {
    const auto* item = findText(window.graph().root(), "Item 2");
    if (!item) return {-1, -1};
    const auto frame = ui::TestHost::frame(item);
    return window.mapToGlobal(QPoint(int(frame.midX()), int(frame.midY())));
}

bool focusIsIn(QWidget* widget) {
    QWidget* focused = QApplication::focusWidget();
    return focused && (focused == widget || widget->isAncestorOf(focused));
}

volatile std::sig_atomic_t captureAsked = 0;

void askForCapture(int) {
    captureAsked = 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: viewkit_list_gallery_window <capture.png>\n");
        return 2;
    }
    std::signal(SIGUSR1, askForCapture);
    QApplication app(argc, argv);
    foundation::QtRunLoopDriver driver;
    std::vector<ui::View> more;
    for (int i = 1; i <= 12; ++i) more.push_back(viewkit_testing::card("Goal " + std::to_string(i)).padding(4));
    ui::HostingWindow window(ui::ScrollView(ui::VStack(
        ui::HorizontalAlignment::leading, 0,
        {viewkit_testing::gallery(), ui::VStack(ui::HorizontalAlignment::leading, 4, more).padding(16)})));
    window.resize(400, 600);
    if (!showAndSettle(window)) return 1;
    const QRect frame(window.mapToGlobal(QPoint(0, 0)), window.size());
    std::printf("window %d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height());
    const QPoint shelf = shelfItem(window);
    std::printf("shelf %d %d\n", shelf.x(), shelf.y());
    auto editors = window.findChildren<ui::TextEditorWidget*>();
    std::sort(editors.begin(), editors.end(), [](QWidget* a, QWidget* b) {
        return a->mapToGlobal(QPoint(0, 0)).x() < b->mapToGlobal(QPoint(0, 0)).x();
    });
    if (editors.size() != 4) {
        std::fprintf(stderr, "the gallery shows %d editors\n", int(editors.size()));
        return 1;
    }
    ui::TextEditorWidget* rounded = editors[2];
    const QPoint editor = rounded->mapToGlobal(rounded->rect().center());
    std::printf("editor %d %d\n", editor.x(), editor.y());
    std::fflush(stdout);
    if (!pollEvents([] { return captureAsked != 0; }, 60000)) {
        std::fprintf(stderr, "no capture was asked for\n");
        return 1;
    }
    pollEvents([n = 0]() mutable { return ++n > 10; });
    window.repaint();
    QGuiApplication::sync();
    pollEvents([n = 0]() mutable { return ++n > 5; });
    const QPixmap shot = window.screen()->grabWindow(0);
    if (!shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "could not save the capture\n");
        return 1;
    }
    const QPoint moved = shelfItem(window);
    std::printf("shelf %d %d\nfocused %d\ncaptured\n", moved.x(), moved.y(), int(focusIsIn(rounded)));
    return 0;
}
