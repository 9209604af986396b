#include "EventPolling.h"
#include "Handles.h"

#include "ui/Frame.h"
#include "ui/HostingWindow.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/TextEditorWidget.h"
#include "ui/TextField.h"
#include "ui/TextFieldWidget.h"
#include "ui/ViewContext.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

using namespace uitest;

namespace {

// A vertical field above a one-line field, each with its text kept for the test.
struct Notes {
    std::shared_ptr<Handles<std::string>> texts;
    std::optional<int> lineLimit;
    ui::View body(ui::ViewContext& ctx) const {
        auto note = ctx.state<std::string>("note", "");
        auto name = ctx.state<std::string>("name", "");
        texts->keep("note", note);
        texts->keep("name", name);
        return ui::VStack(
                   ui::HorizontalAlignment::leading, 0,
                   {ui::View(ui::TextField("Note", note.binding(), ui::Axis::vertical)).lineLimit(lineLimit),
                    ui::View(ui::TextField("Name", name.binding())).frame(200, 24), ui::Spacer()})
            .frame(200, 300, ui::Alignment::topLeading);
    }
};

double noteHeight(ui::TestHost& host) {
    // The first hosted editor in tree order is the note.
    return ui::TestHost::frame(host.findByTypeName("Representable")).height();
}

bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return pollEvents([&] { return window.isActiveWindow(); });
}

void sendKey(QWidget* to, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &release);
}

} // namespace

TEST(VerticalTextFieldTest, IsAsHighAsItsLinesUpToTheLineLimit) {
    auto texts = std::make_shared<Handles<std::string>>();
    ui::TestHost host(ui::View(Notes{texts, std::nullopt}), {200, 300});
    host.update();
    const double one = noteHeight(host);
    EXPECT_GT(one, 10);
    (*texts)["note"].set("first\nsecond");
    host.update();
    const double two = noteHeight(host);
    EXPECT_GT(two, one * 1.5);
    (*texts)["note"].set("first\nsecond\n");
    host.update();
    const double three = noteHeight(host);
    EXPECT_GT(three, two);
    // Wrapping to the offered width adds lines as well.
    (*texts)["note"].set("a rather long note that cannot fit on one line of a narrow field at all");
    host.update();
    EXPECT_GT(noteHeight(host), two);

    ui::TestHost capped(ui::View(Notes{texts, 2}), {200, 300});
    (*texts)["note"].set("1\n2\n3\n4\n5");
    capped.update();
    EXPECT_DOUBLE_EQ(noteHeight(capped), two);
}

TEST(VerticalTextFieldTest, ReturnTypesALineBreakAndTabMovesOn) {
    auto texts = std::make_shared<Handles<std::string>>();
    ui::HostingWindow window{Notes{texts, std::nullopt}};
    ASSERT_TRUE(showActive(window));
    auto* editor = window.findChild<ui::TextEditorWidget*>();
    auto* field = window.findChild<ui::TextFieldWidget*>();
    ASSERT_TRUE(editor && field);
    EXPECT_TRUE(editor->isHidden()) << "painted while unfocused";
    EXPECT_EQ(editor->placeholderText(), "Note");

    QCoreApplication::processEvents();
    window.updateNow();
    sendKey(&window, Qt::Key_Tab);
    QCoreApplication::processEvents();
    window.updateNow();
    ASSERT_TRUE(editor->hasFocus());
    EXPECT_FALSE(editor->isHidden());
    sendKey(editor, Qt::Key_A, "a");
    sendKey(editor, Qt::Key_Return, "\r");
    sendKey(editor, Qt::Key_B, "b");
    QCoreApplication::processEvents();
    window.updateNow();
    EXPECT_EQ((*texts)["note"].value(), "a\nb");

    sendKey(editor, Qt::Key_Tab);
    QCoreApplication::processEvents();
    window.updateNow();
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ((*texts)["note"].value(), "a\nb");
}

TEST(VerticalTextFieldTest, ThePaintedAndTheLiveFieldLookTheSame) {
    auto texts = std::make_shared<Handles<std::string>>();
    ui::HostingWindow window{Notes{texts, std::nullopt}};
    ASSERT_TRUE(showActive(window));
    (*texts)["note"].set("first line\nand a second one");
    window.updateNow();
    auto* editor = window.findChild<ui::TextEditorWidget*>();
    ASSERT_TRUE(editor);
    editor->setCursorWidth(0); // the caret blinks; it is no part of the look
    const QRect note = editor->geometry().isValid() ? editor->geometry() : QRect();
    ASSERT_FALSE(note.isEmpty());
    ASSERT_TRUE(editor->isHidden());
    const QImage painted = window.grab(note).toImage();

    sendKey(&window, Qt::Key_Tab);
    QCoreApplication::processEvents();
    window.updateNow();
    ASSERT_TRUE(editor->hasFocus());
    ASSERT_FALSE(editor->isHidden());
    ASSERT_EQ(editor->geometry(), note);
    const QImage live = window.grab(note).toImage();
    ASSERT_EQ(painted.size(), live.size());
    int differing = 0;
    for (int y = 0; y < live.height(); ++y)
        for (int x = 0; x < live.width(); ++x)
            differing += painted.pixel(x, y) != live.pixel(x, y);
    EXPECT_EQ(differing, 0);
}
