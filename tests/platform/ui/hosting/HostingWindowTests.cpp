#include "EventPolling.h"
#include "Handles.h"
#include "Swatch.h"
#include "TestBox.h"

#include "foundation/DispatchQueue.h"
#include "foundation/QtRunLoopDriver.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Frame.h"
#include "ui/Gesture.h"
#include "ui/HostingWindow.h"
#include "ui/Representable.h"
#include "ui/Stack.h"
#include "ui/ViewContext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace uitest;

namespace {

QRgb centre(QWidget& window) {
    const QImage image = window.grab().toImage();
    return image.pixel(image.width() / 2, image.height() / 2) & 0xffffff;
}

TEST(HostingWindowTest, SizesToTheIdealSizeWithinTheContentLimits) {
    ui::HostingWindow limited(
        flexible("", Qt::red, {200, 60})
            .frame(ui::FlexibleFrame{.minWidth = 100, .maxWidth = 300, .minHeight = 40, .maxHeight = 80}));
    EXPECT_EQ(limited.size(), QSize(200, 60));
    EXPECT_EQ(limited.minimumSize(), QSize(100, 40));
    EXPECT_EQ(limited.maximumSize(), QSize(300, 80));
    limited.resize(500, 10);
    EXPECT_EQ(limited.size(), QSize(300, 40));
    limited.updateNow();
    EXPECT_EQ(limited.graph().size(), (graphics::CGSize{300, 40}));

    ui::HostingWindow fixed(box(50, 30));
    EXPECT_EQ(fixed.size(), QSize(50, 30));
    EXPECT_EQ(fixed.minimumSize(), fixed.maximumSize());

    ui::HostingWindow open(flexible());
    EXPECT_EQ(open.size(), QSize(10, 10));
    EXPECT_EQ(open.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

// A colour chosen by state that the test reaches through its handle.
struct Lamp {
    HandlesPtr<bool> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto on = ctx.state<bool>("on", false);
        handles->keep("on", on);
        return box(40, 40, "", on.value() ? Qt::blue : Qt::red);
    }
};

TEST(HostingWindowTest, RepaintsWhenWorkOnTheMainQueueChangesState) {
    foundation::QtRunLoopDriver driver;
    auto handles = std::make_shared<Handles<bool>>();
    ui::HostingWindow window(Lamp{handles});
    window.show();
    EXPECT_EQ(centre(window), 0xff0000u);
    foundation::DispatchQueue::main().async([handles] { (*handles)["on"].set(true); });
    EXPECT_TRUE(pollEvents([&] { return centre(window) == 0x0000ffu; }));
    // It grows with what it shows.
    window.setRootView(box(60, 20));
    EXPECT_TRUE(pollEvents([&] { return window.size() == QSize(60, 20); }));
}

TEST(HostingWindowTest, HostsWidgetsAtTheirFrames) {
    Swatch swatch;
    ui::HostingWindow window(ui::VStack({box(40, 30), ui::View(swatch)}).padding(10));
    window.show();
    SwatchWidget* widget = nullptr;
    for (auto* child : window.findChildren<SwatchWidget*>())
        widget = child;
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), &window);
    EXPECT_EQ(widget->geometry(), QRect(10, 48, 40, 20)); // below the box and the stack's spacing
    EXPECT_TRUE(widget->isVisible());
}

struct SchemeReader {
    std::shared_ptr<ui::ColorScheme> seen;
    ui::View body(ui::ViewContext& ctx) const {
        *seen = ctx.environment<ui::ColorSchemeKey>();
        return box(20, 20).preferredColorScheme(ui::ColorScheme::dark);
    }
};

TEST(HostingWindowTest, TakesTheColorSchemeTheContentPrefers) {
    auto seen = std::make_shared<ui::ColorScheme>(ui::ColorScheme::light);
    ui::HostingWindow window(ui::VStack({SchemeReader{seen}, box(40, 40).opacity(0)}));
    EXPECT_EQ(window.colorScheme(), ui::ColorScheme::dark);
    EXPECT_EQ(*seen, ui::ColorScheme::dark);
    const QImage image = window.grab().toImage();
    EXPECT_LT(QColor(image.pixel(20, 50)).lightness(), 128); // the dark window background
}

TEST(HostingWindowTest, PassesClicksAndKeysToTheViews) {
    auto taps = std::make_shared<std::vector<std::string>>();
    ui::HostingWindow window(ui::HStack({box(40, 40).onTapGesture([taps] { taps->push_back("left"); }),
                                         box(40, 40).onTapGesture([taps] { taps->push_back("right"); })})
                                 .focusable()
                                 .onKeyPress([taps](const ui::KeyPress& press) {
                                     if (press.key != ui::KeyEquivalent('a')) return ui::KeyPress::Result::ignored;
                                     taps->push_back("key");
                                     return ui::KeyPress::Result::handled;
                                 }));
    window.show();
    const auto click = [&](QPointF at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &release);
    };
    click({70, 20}); // the right box: 40 + the stack's spacing of 8
    click({20, 20});
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t"); // the focus moves into the stack
    QCoreApplication::sendEvent(&window, &tab);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(&window, &key);
    EXPECT_EQ(*taps, (std::vector<std::string>{"right", "left", "key"}));
}

TEST(HostingWindowTest, LosingActivationEndsADragUnderWay) {
    auto log = std::make_shared<std::vector<std::string>>();
    ui::HostingWindow window(box(100, 100).gesture(
        ui::DragGesture(4)
            .onChanged([log](const ui::DragGesture::Value&) {
                if (log->empty()) log->push_back("changed");
            })
            .onEnded([log](const ui::DragGesture::Value&) { log->push_back("ended"); })
            .onCancelled([log] { log->push_back("cancelled"); })));
    window.show();
    const auto mouse = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, at, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
    };
    mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {40, 40}, Qt::LeftButton);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&window, &deactivate);
    mouse(QEvent::MouseButtonRelease, {50, 50}, Qt::NoButton);
    EXPECT_EQ(*log, (std::vector<std::string>{"changed", "cancelled"}));
}

} // namespace
