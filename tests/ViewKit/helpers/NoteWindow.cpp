// Shows a vertical note field with multilineSubmit above a LinkText in a window on the X display
// named by DISPLAY, and prints "note <x> <y>" and "link <x> <y>" (screen points). Prints
// "submit <text>" for each submit and "opened <url>" for each link opened; on SIGUSR1 prints
// whether the note has the focus ("focused 0|1") and its text ("text <text>"), and ends.
#include "WindowShowing.h"
#include "ViewKit/LinkText.h"
#include "ViewKit/MultilineSubmitViewModifier.h"
#include "foundation/QtRunLoopDriver.h"
#include "ui/EnvironmentActions.h"
#include "ui/Frame.h"
#include "ui/HostingWindow.h"
#include "ui/Stack.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/TextEditorWidget.h"
#include "ui/TextField.h"
#include "ui/ViewContext.h"

#include <QApplication>
#include <QWindow>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

volatile std::sig_atomic_t endAsked = 0;
void askToEnd(int) {
    endAsked = 1;
}

struct Note {
    std::shared_ptr<ui::Binding<std::string>> kept;
    ui::View body(ui::ViewContext& ctx) const {
        auto text = ctx.state<std::string>("text", "");
        *kept = text.binding();
        auto binding = text.binding();
        using C = ViewKit::LinkText::Component;
        return ui::VStack(ui::HorizontalAlignment::leading, 16,
                          {ui::View(ui::TextField("Note", binding, ui::Axis::vertical)) |
                               ViewKit::multilineSubmit(binding, ui::SubmitLabel::done,
                                                        [binding] {
                                                            std::printf("submit %s\n", binding.get().c_str());
                                                            std::fflush(stdout);
                                                        }),
                           ui::View(ViewKit::LinkText(
                               {C::link("terms", foundation::URL::fromString("https://x.org/a)b"))}))})
            .padding(20)
            .frame(300, 200, ui::Alignment::topLeading);
    }
};

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGUSR1, askToEnd);
    QApplication app(argc, argv);
    foundation::QtRunLoopDriver driver;
    ui::OpenURLAction::setSystemOpener([](const foundation::URL& url) {
        std::printf("opened %s\n", url.absoluteString().c_str());
        std::fflush(stdout);
        return true;
    });
    auto kept = std::make_shared<ui::Binding<std::string>>(ui::Binding<std::string>::constant(""));
    ui::HostingWindow window(Note{kept});
    window.resize(300, 200);
    if (!showAndSettle(window)) return 1;
    auto centre = [&](const ui::Element* element) {
        const auto frame = ui::TestHost::frame(element);
        return window.mapToGlobal(QPoint(int(frame.minX() + 10), int(frame.midY())));
    };
    const ui::Element* note = nullptr;
    const ui::Element* link = nullptr;
    std::function<void(const ui::Element&)> find = [&](const ui::Element& e) {
        if (!note && e.node().typeName() == "Representable") note = &e;
        if (!link && e.node().text() == "terms") link = &e;
        for (const auto& child : e.children())
            find(*child);
    };
    find(window.graph().root());
    if (!note || !link) {
        std::fprintf(stderr, "the note or the link is missing\n");
        return 1;
    }
    const QPoint n = centre(note), l = centre(link);
    std::printf("note %d %d\nlink %d %d\n", n.x(), n.y(), l.x(), l.y());
    std::fflush(stdout);
    if (!pollEvents([] { return endAsked != 0; }, 60000)) return 1;
    const bool focused = dynamic_cast<ui::TextEditorWidget*>(QApplication::focusWidget()) != nullptr;
    std::printf("focused %d\ntext %s\n", int(focused), kept->get().c_str());
    return 0;
}
