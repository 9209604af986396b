#include "Handles.h"

#include "ViewKit/TextEditorStyle.h"

#include "ui/Color.h"
#include "ui/TestHost.h"
#include "ui/TextEditorWidget.h"
#include "ui/ViewContext.h"

#include <QImage>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using ViewKit::TextEditorStyle;

struct Editor {
    std::shared_ptr<TextEditorStyle> style;
    uitest::HandlesPtr<int> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto text = ctx.state<std::string>("text", "Notes");
        auto version = ctx.state<int>("version", 0); // bumped to rebuild with the current style
        handles->keep("version", version);
        return ViewKit::textEditorStyle(ui::TextEditor(text.binding()), *style).frame(100, 60).padding(10);
    }
};

struct EditorHost {
    std::shared_ptr<TextEditorStyle> style;
    uitest::HandlesPtr<int> handles = std::make_shared<uitest::Handles<int>>();
    ui::TestHost host;

    explicit EditorHost(TextEditorStyle initial)
        : style(std::make_shared<TextEditorStyle>(initial))
        , host(ui::View(Editor{style, handles}), {120, 80}) {}

    void restyle(TextEditorStyle next) {
        *style = next;
        (*handles)["version"].set((*handles)["version"].value() + 1);
        host.update();
    }
    ui::TextEditorWidget* widget() const { return host.widgetContainer()->findChild<ui::TextEditorWidget*>(); }
};

} // namespace

TEST(TextEditorStyleTest, AutomaticAndPlainAreTheBareEditor) {
    const auto render = [](TextEditorStyle style) {
        EditorHost editor(style);
        return editor.host.render();
    };
    EXPECT_EQ(render(TextEditorStyle::automatic()), render(TextEditorStyle::plain()));
    EXPECT_NE(render(TextEditorStyle::plain()), render(TextEditorStyle::roundedBorder()));
    EXPECT_EQ(TextEditorStyle::roundedBorder().width(), 0.5);
    EXPECT_EQ(TextEditorStyle::roundedBorder().color(), ui::Color::primary.opacity(0.17));
}

TEST(TextEditorStyleTest, TheBorderIsCentredOnTheEdgeAndAZeroWidthOnlyClips) {
    EditorHost thick(TextEditorStyle::roundedColorBorder(ui::Color::blue, 2));
    const QImage image = thick.host.render(1, Qt::white);
    // The editor spans 10…110 × 10…70: one point of the line outside it, one inside.
    const auto blueAt = [&](int x, int y) { return QColor(image.pixel(x, y)).blue() > 200 && QColor(image.pixel(x, y)).red() < 80; };
    EXPECT_TRUE(blueAt(9, 40));
    EXPECT_TRUE(blueAt(10, 40));
    EXPECT_FALSE(blueAt(8, 40));
    EXPECT_FALSE(blueAt(12, 40));

    EditorHost none(TextEditorStyle::roundedColorBorder(ui::Color::blue, 0));
    const QImage clipped = none.host.render(1, Qt::green);
    EXPECT_EQ(QColor(clipped.pixel(10, 10)), QColor(Qt::green)) << "the corner is clipped";
    EXPECT_FALSE(QColor(clipped.pixel(9, 40)).blue() > 200) << "no line";
}

TEST(TextEditorStyleTest, OnlyAChangeOfFrameKindMakesANewEditor) {
    EditorHost editor(TextEditorStyle::plain());
    const QPointer<ui::TextEditorWidget> first = editor.widget();
    ASSERT_NE(first, nullptr);
    const auto settle = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); };
    editor.restyle(TextEditorStyle::automatic());
    settle();
    EXPECT_EQ(editor.widget(), first.data()) << "the same editor, with its undo";
    editor.restyle(TextEditorStyle::roundedBorder());
    settle();
    EXPECT_TRUE(first.isNull()) << "the old editor went";
    EXPECT_NE(editor.widget(), nullptr) << "a new one shows the same text";
}
