#include "EventPolling.h"
#include "desktop/TextView.h"
#include "desktop/Window.h"
#include "ui/EventTargets.h"
#include "ui/Frame.h"
#include "ui/Rectangle.h"
#include "ui/HostingWindow.h"
#include "ui/Representable.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Focus = std::optional<int>;
using Log = std::vector<std::string>;

// A delegate that writes down what it hears and handles the commands `handles` says.
struct Recorder : desktop::TextViewDelegate {
    Log log;
    std::function<bool(desktop::TextView&, std::string_view)> handles;
    void textDidBeginEditing(const desktop::TextViewNotification&) override { log.push_back("begin"); }
    void textDidChange(const desktop::TextViewNotification& n) override { log.push_back("change " + n.object->string()); }
    void textDidEndEditing(const desktop::TextViewNotification& n) override { log.push_back("end " + n.object->string()); }
    bool doCommandBySelector(desktop::TextView& view, std::string_view selector) override {
        log.emplace_back(selector);
        return handles && handles(view, selector);
    }
};

// A title editor as an application builds one: a field editor with its delegate.
struct TitleEditor {
    using WidgetType = desktop::TextView;
    std::shared_ptr<Recorder> recorder;
    std::string title;
    std::shared_ptr<Recorder> makeCoordinator() const { return recorder; }
    std::unique_ptr<desktop::TextView> makeWidget(const ui::RepresentableContext<TitleEditor>& context) const {
        auto view = std::make_unique<desktop::TextView>();
        view->setDelegate(context.coordinator);
        view->setString(title);
        view->setFieldEditor(true);
        view->setBackgroundColor(ui::Color::clear);
        view->setPlaceholderAttributedString({ui::AttributedRun{"New Item", QFont("DejaVu Sans", 13), Qt::gray}});
        return view;
    }
    void updateWidget(desktop::TextView&, const ui::RepresentableContext<TitleEditor>&) const {}
};

// Two title editors under one focus value, and window shortcuts on Return and Escape.
struct Goals {
    std::shared_ptr<std::optional<ui::State<Focus>>> focus;
    std::shared_ptr<Recorder> first, second;
    std::shared_ptr<Log> shortcuts;
    ui::View body(ui::ViewContext& ctx) const {
        auto focused = ctx.focusState<Focus>("focused");
        focus->emplace(ctx.state<Focus>("focused", Focus{}));
        auto shortcut = [this](ui::KeyEquivalent key, std::string name) {
            return ui::keyboardShortcutTarget(ui::View(ui::Rectangle()).frame(10, 10), [log = shortcuts, name] { log->push_back(name); })
                .keyboardShortcut(key, ui::EventModifiers::none);
        };
        return ui::VStack({ui::View(TitleEditor{first, "Goal"}).focused(focused.binding(), 1).frame(200, 20),
                           ui::View(TitleEditor{second, ""}).focused(focused.binding(), 2).frame(200, 20),
                           shortcut(ui::KeyEquivalent::return_, "return"),
                           shortcut(ui::KeyEquivalent::escape, "escape")});
    }
};

struct TextViewWindow : ::testing::Test {
    std::shared_ptr<std::optional<ui::State<Focus>>> focus = std::make_shared<std::optional<ui::State<Focus>>>();
    std::shared_ptr<Recorder> first = std::make_shared<Recorder>();
    std::shared_ptr<Recorder> second = std::make_shared<Recorder>();
    std::shared_ptr<Log> shortcuts = std::make_shared<Log>();
    ui::HostingWindow window{Goals{focus, first, second, shortcuts}};
    QAction* menuReturn = nullptr;
    int menuTriggered = 0;

    void SetUp() override {
        // A menu item's shortcut, as the shell installs it.
        menuReturn = new QAction(&window);
        menuReturn->setShortcut(QKeySequence(Qt::Key_Return));
        menuReturn->setShortcutContext(Qt::ApplicationShortcut);
        QObject::connect(menuReturn, &QAction::triggered, [this] { ++menuTriggered; });
        window.addAction(menuReturn);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(pollEvents([&] { return window.isActiveWindow(); }));
    }
    QList<desktop::TextView*> views() { return window.findChildren<desktop::TextView*>(); }
    void settle() {
        QCoreApplication::processEvents();
        window.updateNow();
    }
    void setFocus(Focus value) {
        (*focus)->set(value);
        settle();
    }
    // Through the window system, so shortcuts get their say first.
    void key(Qt::Key key) {
        QTest::keyClick(window.windowHandle(), key, Qt::NoModifier);
        settle();
    }
    void type(const char* text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        settle();
    }
};

TEST_F(TextViewWindow, EditingBeginsAtTheFirstChangeAndEndsWhenTheFocusGoes) {
    ASSERT_EQ(views().size(), 2u);
    setFocus(1);
    EXPECT_TRUE(views()[0]->hasFocus());
    EXPECT_TRUE(views()[0]->isFirstResponder());
    EXPECT_TRUE(first->log.empty()) << "taking the focus begins nothing";
    type("ab");
    EXPECT_EQ(first->log, (Log{"begin", "change Goala", "change Goalab"}));

    // The focus moving to the other editor ends this one's editing before the binding changes.
    setFocus(2);
    EXPECT_EQ(first->log.back(), "end Goalab");
    EXPECT_TRUE(second->log.empty());
    EXPECT_TRUE(views()[1]->hasFocus());

    // Focus that comes and goes without a change still ends; a new session begins anew.
    setFocus(1);
    setFocus(std::nullopt);
    EXPECT_EQ(second->log, (Log{"end "}));
    EXPECT_EQ(first->log, (Log{"begin", "change Goala", "change Goalab", "end Goalab", "end Goalab"}));
    EXPECT_FALSE(views()[0]->isFirstResponder());
}

TEST_F(TextViewWindow, ReturnAndEscapeGoToTheDelegateBeforeAnyShortcut) {
    first->handles = [](desktop::TextView&, std::string_view) { return true; };
    setFocus(1);
    key(Qt::Key_Return);
    key(Qt::Key_Escape);
    EXPECT_EQ(first->log, (Log{"insertNewline:", "cancelOperation:"}));
    EXPECT_EQ(menuTriggered, 0);
    EXPECT_TRUE(shortcuts->empty());
    EXPECT_EQ(views()[0]->string(), "Goal") << "a handled Return types nothing";
    EXPECT_EQ((*focus)->value(), Focus(1));

    // Without an editor in focus, the shortcuts have the keys.
    setFocus(std::nullopt);
    key(Qt::Key_Escape);
    EXPECT_EQ(*shortcuts, (Log{"escape"}));
}

TEST_F(TextViewWindow, AFieldEditorEndsAtAnUnhandledReturnOrTabAndTheFocusMovesOn) {
    setFocus(1);
    type("s");
    key(Qt::Key_Tab);
    EXPECT_EQ(first->log, (Log{"begin", "change Goals", "insertTab:", "end Goals"}));
    EXPECT_EQ((*focus)->value(), Focus(2)) << "Tab goes on to the next view";
    EXPECT_TRUE(views()[1]->hasFocus());

    // An unhandled Return in the empty editor ends it and clears the focus; it never reaches
    // the window's Return shortcut or the menu.
    key(Qt::Key_Return);
    EXPECT_EQ(second->log, (Log{"insertNewline:", "end "}));
    EXPECT_EQ((*focus)->value(), std::nullopt);
    EXPECT_TRUE(views()[1]->isHidden());
    EXPECT_EQ(menuTriggered, 0);
    EXPECT_TRUE(shortcuts->empty());
}

TEST_F(TextViewWindow, TheWindowGivingUpItsFirstResponderEndsEditing) {
    first->handles = [](desktop::TextView& view, std::string_view selector) {
        if (selector != "cancelOperation:") return false;
        if (auto window = view.window()) window->makeFirstResponder(nullptr);
        return true;
    };
    setFocus(1);
    EXPECT_EQ(desktop::Window(window).firstResponder(), views()[0]);
    type("!");
    key(Qt::Key_Escape);
    EXPECT_EQ(first->log, (Log{"begin", "change Goal!", "cancelOperation:", "end Goal!"}));
    EXPECT_EQ((*focus)->value(), std::nullopt);
    EXPECT_EQ(desktop::Window(window).firstResponder(), &window);
    EXPECT_TRUE(shortcuts->empty());

    // Giving the first responder to a view by code is the same as the views' focus moving there.
    EXPECT_TRUE(desktop::Window(window).makeFirstResponder(views()[1]));
    settle();
    EXPECT_EQ((*focus)->value(), Focus(2));
}

// The largest difference of a channel between two images of one size.
int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            largest = std::max({largest, std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                                std::abs(p.blue() - q.blue())});
        }
    }
    return largest;
}

TEST(TextViewTest, ItsPaintedFormIsKeptUntilItsLookChangesAndLooksAsRenderingInPlace) {
    auto recorder = std::make_shared<Recorder>();
    // Placed part-way into a pixel, where a kept painting must still look as rendering in place.
    ui::TestHost host(ui::View(TitleEditor{recorder, "Goal"}).frame(120, 30).offset(0.4, 3.7), {130, 40});
    auto* view = ui::hostedWidget<TitleEditor>(host.findByTypeName("Representable"));
    ASSERT_NE(view, nullptr);
    view->setFont(QFont("DejaVu Sans", 13));
    const auto origin = host.frame(host.findByTypeName("Representable")).origin;
    const auto inPlace = [&](qreal scale) {
        QImage image(QSize(130, 40) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(origin.x, origin.y);
        view->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    const QImage first = host.render();
    EXPECT_LE(largestDifference(first, inPlace(1)), 2);
    EXPECT_EQ(host.render(), first);
    EXPECT_LE(largestDifference(host.render(2), inPlace(2)), 2) << "kept apart for each scale";

    // Each change of the look shows at the next painting.
    view->setString("Gold");
    const QImage text = host.render();
    EXPECT_NE(text, first);
    EXPECT_LE(largestDifference(text, inPlace(1)), 2);
    view->setTextColor(ui::Color::red);
    const QImage red = host.render();
    EXPECT_LE(largestDifference(red, inPlace(1)), 2);
    EXPECT_NE(red, text);
    view->selectAll();
    EXPECT_LE(largestDifference(host.render(), inPlace(1)), 2);
}

TEST(TextViewTest, MeasuresItsLinesAndShowsThePlaceholderWhileEmpty) {
    auto recorder = std::make_shared<Recorder>();
    ui::TestHost host(ui::View(TitleEditor{recorder, ""}).frame(120, 30), {120, 30});
    auto* view = ui::hostedWidget<TitleEditor>(host.findByTypeName("Representable"));
    ASSERT_NE(view, nullptr);
    view->setFont(QFont("DejaVu Sans", 13));
    auto* container = view->textContainer();
    const auto empty = view->layoutManager()->usedRectForTextContainer(*container);
    EXPECT_GT(empty.height(), 10);
    EXPECT_EQ(empty.width(), 0);

    const QImage placeholder = host.render();
    placeholder.save(QString::fromStdString(testing::TempDir()) + "/text-view-placeholder.png");
    int grey = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 30; ++y)
            grey += QColor(placeholder.pixel(x, y)).lightness() < 200;
    EXPECT_GT(grey, 20) << "the placeholder is painted";

    view->setString("one\ntwo");
    view->layoutManager()->ensureLayoutForTextContainer(*container);
    const auto two = view->layoutManager()->usedRectForTextContainer(*container);
    EXPECT_NEAR(two.height(), 2 * empty.height(), 1);
    EXPECT_GT(two.width(), 10);
    EXPECT_TRUE(recorder->log.empty()) << "setting the string is no edit";
}


// A view and a twin whose editor is made, at one width, in one font and colour.
struct Twins {
    desktop::TextView drawn, edited;
    Twins(const std::string& text, int width, int height) {
        for (auto* view : {&drawn, &edited}) {
            view->setFont(ui::Font::system(13, ui::Font::Weight::medium, ui::Font::Design::rounded));
            view->setTextColor(ui::Color::red);
            view->setPlaceholderAttributedString({ui::AttributedRun{"New Item", QFont("DejaVu Sans", 13), Qt::gray}});
            view->setString(text);
            view->resize(width, height);
        }
        edited.selectAll();
        edited.editor()->moveCursor(QTextCursor::End);
    }
    static QImage image(desktop::TextView& view) {
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        view.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }
};

TEST(TextViewTest, UntilEditedItDrawsItsTextAsItsEditorShowsIt) {
    const std::vector<std::string> texts{"Goal", "", "A title long enough to wrap onto the lines below it",
                                         "one\ntwo", "Averylongwordthatcannotbreakatanyspace and more"};
    for (const int width : {120, 173}) {
        for (const auto& text : texts) {
            Twins twins(text, width, 80);
            EXPECT_EQ(twins.drawn.editor(), nullptr);
            ASSERT_NE(twins.edited.editor(), nullptr);
            const QImage drawn = Twins::image(twins.drawn);
            const QImage edited = Twins::image(twins.edited);
            EXPECT_EQ(largestDifference(drawn, edited), 0) << '"' << text << "\" at " << width;
            EXPECT_EQ(twins.drawn.sizeHint(), twins.edited.sizeHint());
            EXPECT_EQ(twins.edited.string(), text);
            if (text.size() > 40 && width == 120) {
                drawn.save(QString::fromStdString(testing::TempDir()) + "/text-view-drawn.png");
                edited.save(QString::fromStdString(testing::TempDir()) + "/text-view-edited.png");
            }
        }
    }
}

TEST(TextViewTest, ItsEditorIsMadeAtTheFocusWithTheCaretWhereClickedAndKeysGoOnAtOnce) {
    auto first = std::make_shared<Recorder>();
    auto second = std::make_shared<Recorder>();
    ui::TestHost host(ui::VStack({ui::View(TitleEditor{first, "Goal"}).frame(200, 20),
                                  ui::View(TitleEditor{second, "Other"}).frame(200, 20)}),
                      {200, 40});
    const auto editors = host.findAll([](const ui::Element& e) { return e.node().typeName() == "Representable"; });
    ASSERT_EQ(editors.size(), 2u);
    auto* view = ui::hostedWidget<TitleEditor>(editors[0]);
    auto* other = ui::hostedWidget<TitleEditor>(editors[1]);
    ASSERT_TRUE(view && other);
    EXPECT_EQ(view->editor(), nullptr) << "shown, not edited";
    EXPECT_EQ(other->editor(), nullptr);

    // A click between "Go" and "al".
    const QFontMetricsF metrics(view->font());
    const auto frame = host.frame(editors[0]);
    host.tap({frame.minX() + metrics.horizontalAdvance("Go"), frame.midY()});
    ASSERT_NE(view->editor(), nullptr);
    EXPECT_TRUE(view->isFirstResponder());
    // Keys sent to the view as soon as the click is in, before anything else runs.
    for (const char* letter : {"x", "y"}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QString::fromLatin1(letter));
        QCoreApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : view, &press);
    }
    host.update();
    EXPECT_EQ(view->string(), "Goxyal");
    EXPECT_EQ(view->editor()->textCursor().position(), 4);
    EXPECT_EQ(first->log, (Log{"begin", "change Goxal", "change Goxyal"}));
    EXPECT_EQ(other->editor(), nullptr) << "the other title is still only drawn";
}

} // namespace
