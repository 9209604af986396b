#include "EventPolling.h"
#include "Handles.h"
#include "TestBox.h"

#include "ui/Color.h"
#include "ui/EventTargets.h"
#include "ui/Frame.h"
#include "ui/HostingWindow.h"
#include "ui/Rectangle.h"
#include "ui/ScrollView.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/TextEditor.h"
#include "ui/TextField.h"
#include "ui/ViewContext.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

using namespace uitest;

namespace {

using Focus = std::optional<int>;

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

void click(QWidget* window, QPointF at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, window->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, window->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(window, &release);
}

// A form of two fields bound to one focus value, a plain focusable box, and what was submitted.
struct Form {
    std::shared_ptr<Handles<Focus>> focus;
    std::shared_ptr<Handles<std::string>> texts;
    std::shared_ptr<std::vector<std::string>> submitted;
    ui::View body(ui::ViewContext& ctx) const {
        auto focused = ctx.focusState<Focus>("focused");
        focus->keep("focused", ctx.state<Focus>("focused", Focus{}));
        auto name = ctx.state<std::string>("name", "");
        auto notes = ctx.state<std::string>("notes", "");
        texts->keep("name", name);
        texts->keep("notes", notes);
        return ui::VStack(
            {ui::View(ui::TextField("Name", name.binding()))
                 .focused(focused.binding(), 1)
                 .onSubmit([s = submitted, name] { s->push_back(name.value()); })
                 .frame(200, 24),
             ui::View(ui::TextEditor(notes.binding())).focused(focused.binding(), 2).frame(200, 60),
             box(50, 20, "plain").focusable()});
    }
};

struct FormWindow : ::testing::Test {
    std::shared_ptr<Handles<Focus>> focus = std::make_shared<Handles<Focus>>();
    std::shared_ptr<Handles<std::string>> texts = std::make_shared<Handles<std::string>>();
    std::shared_ptr<std::vector<std::string>> submitted = std::make_shared<std::vector<std::string>>();
    ui::HostingWindow window{Form{focus, texts, submitted}};

    ui::TextFieldWidget* field() { return window.findChild<ui::TextFieldWidget*>(); }
    ui::TextEditorWidget* editor() { return window.findChild<ui::TextEditorWidget*>(); }
    Focus value() { return (*focus)["focused"].value(); }
    void settle() {
        QCoreApplication::processEvents();
        window.updateNow();
    }
};

TEST_F(FormWindow, FocusStateAndWidgetFocusFollowEachOther) {
    ASSERT_TRUE(showActive(window));
    ASSERT_TRUE(field() && editor());
    EXPECT_TRUE(field()->isHidden()) << "painted while unfocused";

    // State to widget: the field shows live and takes Qt's focus.
    (*focus)["focused"].set(1);
    settle();
    EXPECT_FALSE(field()->isHidden());
    EXPECT_TRUE(field()->hasFocus());

    // Tab moves among the views, and the binding follows.
    sendKey(field(), Qt::Key_Tab);
    settle();
    EXPECT_EQ(value(), Focus(2));
    EXPECT_TRUE(editor()->hasFocus());
    EXPECT_TRUE(field()->isHidden());

    // Widget to state: Qt's focus given to the field by code moves the views' focus there.
    (*focus)["focused"].set(std::nullopt);
    settle();
    EXPECT_FALSE(editor()->hasFocus());
    EXPECT_TRUE(editor()->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), &window);
}

TEST_F(FormWindow, AClickOnThePaintedFieldFocusesItWithTheCaretWhereClicked) {
    ASSERT_TRUE(showActive(window));
    (*texts)["name"].set("abcdefghijklmnopqrstuvwxyz");
    settle();
    ASSERT_TRUE(field()->isHidden());
    const QRect frame = field()->geometry();
    // Halfway along the field: where the field itself puts the caret for that point.
    const QPoint local(frame.width() / 2 - 20, frame.height() / 2);
    const int expected = field()->cursorPositionAt(local);
    ASSERT_GT(expected, 0);
    ASSERT_LT(expected, 26);
    const QPointF at = frame.topLeft() + local;
    click(&window, at);
    settle();
    EXPECT_EQ(value(), Focus(1));
    EXPECT_TRUE(field()->hasFocus());
    EXPECT_EQ(field()->cursorPosition(), expected);
}

TEST_F(FormWindow, ReturnSubmitsTheFieldAndNotTheWindowShortcut) {
    auto shortcuts = std::make_shared<int>(0);
    window.setRootView(ui::VStack({Form{focus, texts, submitted},
                                   ui::keyboardShortcutTarget(box(20, 20), [shortcuts] { ++*shortcuts; })
                                       .keyboardShortcut(ui::KeyEquivalent::return_, ui::EventModifiers::none)}));
    ASSERT_TRUE(showActive(window));
    (*focus)["focused"].set(1);
    settle();
    ASSERT_TRUE(field()->hasFocus());
    sendKey(field(), Qt::Key_H, "h");
    sendKey(field(), Qt::Key_I, "i");
    sendKey(field(), Qt::Key_Return, "\r");
    settle();
    EXPECT_EQ((*texts)["name"].value(), "hi");
    EXPECT_EQ(*submitted, (std::vector<std::string>{"hi"}));
    EXPECT_EQ(*shortcuts, 0);

    // In the multi-line editor Return is a line break, and neither submits nor reaches the window.
    (*focus)["focused"].set(2);
    settle();
    sendKey(editor(), Qt::Key_A, "a");
    sendKey(editor(), Qt::Key_Return, "\r");
    sendKey(editor(), Qt::Key_Escape);
    settle();
    EXPECT_EQ((*texts)["notes"].value(), "a\n");
    EXPECT_EQ(submitted->size(), 1u);
    EXPECT_EQ(*shortcuts, 0);

    // Without an editor focused, the window's shortcut takes Return.
    (*focus)["focused"].set(std::nullopt);
    settle();
    sendKey(&window, Qt::Key_Return, "\r");
    EXPECT_EQ(*shortcuts, 1);
}

// A text field under a red band that covers its left half.
struct Covered {
    std::shared_ptr<Handles<std::string>> texts;
    ui::View body(ui::ViewContext& ctx) const {
        auto name = ctx.state<std::string>("name", "WWWWWWWWWWWWWWWW");
        texts->keep("name", name);
        return ui::View(ui::TextField("", name.binding()))
            .frame(200, 30)
            .overlay(ui::Rectangle().fill(ui::Color::red).frame(100, 30), ui::Alignment::leading);
    }
};

bool hasDarkPixels(const QImage& image, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (QColor(image.pixel(x, y)).lightness() < 90) return true;
        }
    }
    return false;
}

TEST(TextInputTest, APaintedOverlayCoversTheFieldsTextInARenderedImage) {
    auto texts = std::make_shared<Handles<std::string>>();
    ui::TestHost host(Covered{texts}, {200, 30});
    const QImage image = host.render();
    const QString png = QString::fromStdString(testing::TempDir()) + "/covered-field.png";
    image.save(png);
    // Under the band only red; beside it the field's text is drawn by the layer.
    const QColor band = QColor::fromRgb(image.pixel(50, 15));
    EXPECT_GT(band.red(), 200);
    EXPECT_LT(band.green(), 100);
    EXPECT_FALSE(hasDarkPixels(image, QRect(2, 2, 96, 26)));
    EXPECT_TRUE(hasDarkPixels(image, QRect(104, 4, 90, 22)));
}

TEST(TextInputTest, TheLiveEditorFollowsLayoutAndItsAncestorsClipAndFallsBackWhileFaded) {
    auto focus = std::make_shared<Handles<Focus>>();
    auto texts = std::make_shared<Handles<std::string>>();
    struct Scrolled {
        std::shared_ptr<Handles<Focus>> focus;
        std::shared_ptr<Handles<std::string>> texts;
        ui::View body(ui::ViewContext& ctx) const {
            auto focused = ctx.focusState<Focus>("focused");
            focus->keep("focused", ctx.state<Focus>("focused", Focus{}));
            auto notes = ctx.state<std::string>("notes", "");
            auto fade = ctx.state<std::string>("fade", "");
            texts->keep("notes", notes);
            texts->keep("fade", fade);
            return ui::ScrollView(ui::VStack(ui::HorizontalAlignment::leading, 0,
                                             {box(100, 80), ui::View(ui::TextEditor(notes.binding()))
                                                                .focused(focused.binding(), 1)
                                                                .frame(100, 40)
                                                                .opacity(fade.value().empty() ? 1 : 0.5),
                                              box(100, 200)}))
                .frame(100, 100);
        }
    };
    ui::HostingWindow window(Scrolled{focus, texts});
    ASSERT_TRUE(showActive(window));
    (*focus)["focused"].set(1);
    window.updateNow();
    auto* editor = window.findChild<ui::TextEditorWidget*>();
    ASSERT_TRUE(editor);
    EXPECT_FALSE(editor->isHidden());
    EXPECT_EQ(editor->geometry(), QRect(0, 80, 100, 40));
    EXPECT_EQ(editor->mask().boundingRect(), QRect(0, 0, 100, 20)) << "clipped by the scroll view";

    // While an ancestor is faded the editor is painted, keeping the focus, and comes back live.
    (*texts)["fade"].set("yes");
    window.updateNow();
    EXPECT_TRUE(editor->isHidden());
    EXPECT_EQ((*focus)["focused"].value(), Focus(1));
    (*texts)["fade"].set("");
    window.updateNow();
    EXPECT_FALSE(editor->isHidden());
    EXPECT_TRUE(editor->hasFocus());
}

} // namespace
