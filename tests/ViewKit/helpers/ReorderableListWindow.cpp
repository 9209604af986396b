// Shows six goals in a reorderable list in a window on the X display named by DISPLAY and
// prints the window's content place as "window <x> <y> <width> <height>", then where on the
// screen each row's title is, top down ("row <index> <x> <y>"). At each SIGUSR1 it lets what
// moves settle, saves a capture of the screen to "<prefix>-<n>.png" and prints the caller's
// order of goal numbers ("order 2 3 ..."), the dragged goal ("active none" or "active <n>"), the
// least opacity of a row ("opacity <value>") and "captured <path>". SIGUSR2 ends it.
// Usage: viewkit_reorderable_list_window <capture prefix> [light|dark]
#include "WindowShowing.h"

#include "ViewKit/ReorderableForEach.h"

#include "foundation/CollectionMove.h"
#include "foundation/QtRunLoopDriver.h"
#include "ui/Circle.h"
#include "ui/ColorScheme.h"
#include "ui/Font.h"
#include "ui/HostingWindow.h"
#include "ui/List.h"
#include "ui/Rectangle.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Goal {
    int id = 0;
    bool operator==(const Goal&) const = default;
    std::string title() const { return "Goal " + std::to_string(id); }
};

struct Caller {
    std::vector<Goal> goals;
    std::optional<Goal> active;
};

ui::Color colorOf(int id) {
    static const ui::Color colors[] = {ui::Color::red,   ui::Color::orange, ui::Color::yellow,
                                       ui::Color::green, ui::Color::blue,   ui::Color::purple};
    return colors[(id - 1) % 6];
}

struct Screen {
    std::shared_ptr<Caller> caller;
    ui::ColorScheme scheme = ui::ColorScheme::light;
    ui::View body(ui::ViewContext& ctx) const {
        auto version = ctx.state<int>("version", 0);
        auto changed = [version] { version.set(*version + 1); };
        ui::Binding<std::optional<Goal>> active([caller = caller] { return caller->active; },
                                                [caller = caller, changed](std::optional<Goal> goal) {
                                                    caller->active = goal;
                                                    changed();
                                                });
        auto row = [](const Goal& goal) {
            return ui::View(ui::HStack(ui::VerticalAlignment::center, 8,
                                       {ui::View(ui::Circle().fill(colorOf(goal.id))).frame(14, 14),
                                        ui::View(ui::Text(goal.title())).font(ui::Font::system(15)),
                                        ui::Spacer()}))
                .padding(ui::EdgeSet::vertical, 6)
                .contentShape(ui::Rectangle()); // the whole row takes the drag, not only its text
        };
        auto move = [caller = caller, changed](const foundation::IndexSet& offsets, int destination) {
            foundation::moveElements(caller->goals, offsets, std::size_t(destination));
            changed();
        };
        // A window's size follows its content's: a list has no width of its own.
        return (ui::View(ui::List({ViewKit::ReorderableForEach<Goal>(caller->goals, active, row, move)})) |
                ViewKit::reorderableForEachContainer(active))
            .frame(320, 300)
            .preferredColorScheme(scheme);
    }
};

const ui::Element* findText(const ui::Element& element, std::string_view text) {
    if (element.node().text() == text) return &element;
    for (const auto& child : element.children())
        if (const auto* found = findText(*child, text)) return found;
    return nullptr;
}

double opacityAbove(const ui::Element* element) {
    double product = 1;
    for (; element; element = element->parent()) {
        if (element->node().typeName() == "Opacity") product *= element->presentedValue("opacity", 1.0);
    }
    return product;
}

// Whether a row is still on its way to its place or its opacity.
bool moving(const ui::Element& element) {
    if (element.isFrameAnimating()) return true;
    if (const auto* opacity = element.findAnimatedAttribute<double>("opacity");
        opacity && opacity->isAnimating())
        return true;
    for (const auto& child : element.children())
        if (moving(*child)) return true;
    return false;
}

volatile std::sig_atomic_t reportsAsked = 0;
volatile std::sig_atomic_t endAsked = 0;

void askForReport(int) {
    reportsAsked = reportsAsked + 1;
}

void askToEnd(int) {
    endAsked = 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: viewkit_reorderable_list_window <capture prefix> [light|dark]\n");
        return 2;
    }
    const std::string prefix = argv[1];
    const bool dark = argc > 2 && std::string(argv[2]) == "dark";
    std::signal(SIGUSR1, askForReport);
    std::signal(SIGUSR2, askToEnd);
    QApplication app(argc, argv);
    foundation::QtRunLoopDriver driver;
    auto caller = std::make_shared<Caller>();
    for (int id = 1; id <= 6; ++id)
        caller->goals.push_back({id});
    ui::HostingWindow window(Screen{caller, dark ? ui::ColorScheme::dark : ui::ColorScheme::light});
    if (!showAndSettle(window)) return 1;
    const QRect frame(window.mapToGlobal(QPoint(0, 0)), window.size());
    std::printf("window %d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height());
    for (int id = 1; id <= 6; ++id) {
        const auto* title = findText(window.graph().root(), "Goal " + std::to_string(id));
        if (!title) {
            std::fprintf(stderr, "no row shows goal %d\n", id);
            return 1;
        }
        const auto place = ui::TestHost::frame(title);
        const QPoint at = window.mapToGlobal(QPoint(int(place.midX()), int(place.midY())));
        std::printf("row %d %d %d\n", id - 1, at.x(), at.y());
    }
    std::fflush(stdout);

    int reported = 0;
    while (!endAsked) {
        if (!pollEvents([&] { return endAsked || reportsAsked > reported; }, 120000)) {
            std::fprintf(stderr, "nothing was asked for\n");
            return 1;
        }
        if (endAsked) break;
        ++reported;
        // What the last events started (moves, the preview) settles before the capture.
        pollEvents([n = 0]() mutable { return ++n > 10; });
        pollEvents([&] { return !window.graph().needsUpdate() && !moving(window.graph().root()); }, 5000);
        window.repaint();
        QGuiApplication::sync();
        pollEvents([n = 0]() mutable { return ++n > 5; });
        const std::string path = prefix + "-" + std::to_string(reported) + ".png";
        if (!window.screen()->grabWindow(0).save(QString::fromStdString(path), "PNG")) {
            std::fprintf(stderr, "could not save the capture\n");
            return 1;
        }
        std::printf("order");
        for (const auto& goal : caller->goals)
            std::printf(" %d", goal.id);
        std::printf("\nactive %s\n", caller->active ? std::to_string(caller->active->id).c_str() : "none");
        double least = 1;
        for (const auto& goal : caller->goals)
            least = std::min(least, opacityAbove(findText(window.graph().root(), goal.title())));
        std::printf("opacity %.2f\ncaptured %s\n", least, path.c_str());
        std::fflush(stdout);
    }
    return 0;
}
