#include "Handles.h"
#include "Swatch.h"
#include "TestBox.h"

#include "ui/Frame.h"
#include "ui/Representable.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>

#include <gtest/gtest.h>

using namespace uitest;

namespace {

// Shows a swatch while `shown`, under an id; `tick` re-runs the body without changing either.
struct Holder {
    Swatch swatch;
    HandlesPtr<int> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto shown = ctx.state<int>("shown", 1);
        auto identity = ctx.state<int>("identity", 0);
        auto tick = ctx.state<int>("tick", 0);
        handles->keep("shown", shown);
        handles->keep("identity", identity);
        handles->keep("tick", tick);
        Swatch current = swatch;
        current.color = tick.value() % 2 ? Qt::blue : Qt::green;
        return ui::VStack(
            {box(10, 10), ui::ConditionalContent(shown.value() != 0, ui::View(current).id(identity.value()),
                                                 ui::View(EmptyView()))});
    }
    struct EmptyView {
        ui::View body(ui::ViewContext&) const { return ui::EmptyView(); }
    };
};

// Widgets of views that went are deleted once control is back in an event loop.
void returnToTheEventLoop() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

SwatchWidget* swatchIn(const ui::TestHost& host) {
    return ui::hostedWidget<Swatch>(host.findByTypeName("Representable"));
}

TEST(RepresentableTest, MadeOncePerIdentityUpdatedOnEveryBodyAndDismantledWhenItGoes) {
    auto handles = std::make_shared<Handles<int>>();
    Swatch swatch;
    auto probe = swatch.probe;
    ui::TestHost host(Holder{swatch, handles});

    QPointer<SwatchWidget> first = swatchIn(host);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->parentWidget(), host.widgetContainer());
    EXPECT_EQ(probe->coordinators, 1);
    EXPECT_EQ(probe->made, 1);
    EXPECT_EQ(probe->updates, 1); // right after it was made
    const void* coordinator = probe->lastCoordinator;
    ASSERT_NE(coordinator, nullptr);

    (*handles)["tick"].set(1);
    host.update();
    EXPECT_EQ(swatchIn(host), first.data());
    EXPECT_EQ(probe->made, 1);
    EXPECT_EQ(probe->updates, 2);
    EXPECT_EQ(probe->dismantled, 0);
    EXPECT_EQ(probe->lastCoordinator, coordinator);
    EXPECT_EQ(first->color, QColor(Qt::blue));

    // A new identity is a new widget with a new coordinator; the old one is dismantled and deleted.
    (*handles)["identity"].set(1);
    host.update();
    EXPECT_TRUE(first->isHidden());
    returnToTheEventLoop();
    QPointer<SwatchWidget> second = swatchIn(host);
    EXPECT_FALSE(first);
    ASSERT_TRUE(second);
    EXPECT_EQ(probe->made, 2);
    EXPECT_EQ(probe->coordinators, 2);
    EXPECT_EQ(probe->dismantled, 1);

    (*handles)["shown"].set(0);
    host.update();
    returnToTheEventLoop();
    EXPECT_FALSE(second);
    EXPECT_EQ(probe->dismantled, 2);
    EXPECT_EQ(host.findByTypeName("Representable"), nullptr);
    EXPECT_TRUE(host.graph().hostedWidgets().isEmpty());
}

TEST(RepresentableTest, SizesFromTheWidgetOrTheRepresentable) {
    Swatch fixed;
    Swatch flexible;
    flexible.policy = QSizePolicy::Expanding;
    Swatch custom;
    custom.size = graphics::CGSize{77, 33};
    ui::TestHost host(ui::VStack({ui::View(fixed).id(1), ui::View(flexible).frame(120, 30).id(2),
                                  ui::View(flexible).frame(ui::FlexibleFrame{.maxWidth = 25}).id(3),
                                  ui::View(custom).id(4)}),
                      {400, 300});
    EXPECT_EQ(ui::TestHost::frame(host.find(1)).size, (graphics::CGSize{40, 20}));
    EXPECT_EQ(ui::TestHost::frame(host.find(2)).size, (graphics::CGSize{120, 30}));
    // Offered what is left, an expanding widget takes it; under a narrower limit, that limit.
    EXPECT_EQ(ui::TestHost::frame(host.find(3)).size.width, 25);
    EXPECT_EQ(ui::TestHost::frame(host.find(4)).size, (graphics::CGSize{77, 33}));

    // The live widget stands exactly at its element's frame.
    auto* element = host.find(1);
    auto* widget = ui::hostedWidget<Swatch>(element); // the id is on the representable itself
    ASSERT_NE(widget, nullptr);
    const auto frame = ui::TestHost::frame(element);
    EXPECT_EQ(widget->geometry(), QRect(int(frame.minX()), int(frame.minY()), 40, 20));
    EXPECT_FALSE(widget->isHidden());
}

QRgb pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xffffff;
}

TEST(RepresentableTest, ShowsLiveOnlyWhereDrawnPlainlyAndIsPaintedElsewhere) {
    Swatch live;
    live.color = Qt::blue;
    Swatch painted = live;
    painted.live = false;
    Swatch faded = live;
    ui::TestHost host(
        ui::HStack(ui::VerticalAlignment::top, 0,
                   {ui::View(live).id(1), ui::View(painted).id(2), ui::View(faded).opacity(0.5).id(3)}),
        {120, 20});
    auto widgets = host.findAll([](const ui::Element& e) { return e.node().typeName() == "Representable"; });
    ASSERT_EQ(widgets.size(), 3u);
    auto* liveWidget = ui::hostedWidget<Swatch>(widgets[0]);
    auto* paintedWidget = ui::hostedWidget<Swatch>(widgets[1]);
    auto* fadedWidget = ui::hostedWidget<Swatch>(widgets[2]);
    EXPECT_FALSE(liveWidget->isHidden());
    EXPECT_TRUE(paintedWidget->isHidden());
    EXPECT_TRUE(fadedWidget->isHidden());

    // A live widget is missing from rendered images; a painted one is drawn by the layer,
    // with the effects above it.
    const QImage image = host.render();
    EXPECT_EQ(pixel(image, 20, 10), 0xffffffu);
    EXPECT_EQ(pixel(image, 60, 10), 0x0000ffu);
    const QColor half = QColor::fromRgb(image.pixel(100, 10));
    EXPECT_NEAR(half.red(), 128, 2);
    EXPECT_NEAR(half.blue(), 255, 2);
}

TEST(RepresentableTest, ClippedByTheScrollViewAroundIt) {
    Swatch swatch;
    ui::TestHost host(ui::ScrollView(ui::VStack(ui::HorizontalAlignment::leading, 0,
                                                {box(40, 90), ui::View(swatch), box(40, 200)}))
                          .frame(40, 100),
                      {40, 100});
    auto* widget = swatchIn(host);
    ASSERT_NE(widget, nullptr);
    // 10 of its 20 points are inside the scroll view.
    EXPECT_EQ(widget->geometry(), QRect(0, 90, 40, 20));
    EXPECT_EQ(widget->mask().boundingRect(), QRect(0, 0, 40, 10));

    ui::ScrollView::setContentOffset(*host.findByTypeName("Representable"), {0, 50});
    host.update();
    EXPECT_EQ(widget->geometry(), QRect(0, 40, 40, 20));
    EXPECT_TRUE(widget->mask().isEmpty()); // wholly inside: no mask
    EXPECT_FALSE(widget->isHidden());

    ui::ScrollView::setContentOffset(*host.findByTypeName("Representable"), {0, 200});
    host.update();
    EXPECT_TRUE(widget->isHidden()); // scrolled out of sight
}

TEST(RepresentableTest, ASmoothClipKeepsTheWidgetLiveAndMasksItToTheShape) {
    Swatch swatch;
    ui::TestHost host(ui::View(swatch).frame(40, 20).cornerRadius(6).opacity(0.5), {40, 20});
    auto* faded = swatchIn(host);
    ASSERT_NE(faded, nullptr);
    EXPECT_TRUE(faded->isHidden()) << "a clip inside a faded layer is still painted";

    host.setRoot(ui::View(swatch).frame(40, 20).cornerRadius(6));
    auto* widget = swatchIn(host);
    ASSERT_NE(widget, nullptr);
    EXPECT_FALSE(widget->isHidden()) << "live, though its clip is antialiased";
    EXPECT_FALSE(widget->mask().isEmpty());
    EXPECT_FALSE(widget->mask().contains(QPoint(0, 0))) << "the rounded corner is cut away";
    EXPECT_TRUE(widget->mask().contains(QPoint(20, 10)));
}

TEST(RepresentableTest, AWidgetWhoseOwnEventRemovesItSurvivesTheEvent) {
    auto handles = std::make_shared<Handles<int>>();
    Swatch swatch;
    auto probe = swatch.probe;
    ui::TestHost host(Holder{swatch, handles});
    QPointer<SwatchWidget> widget = swatchIn(host);
    ASSERT_TRUE(widget);
    bool aliveAfterUpdate = false;
    widget->onPress = [&] {
        (*handles)["shown"].set(0);
        host.update();
        aliveAfterUpdate = !widget.isNull();
    };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget.data(), &press);
    EXPECT_TRUE(aliveAfterUpdate);
    ASSERT_TRUE(widget);
    EXPECT_TRUE(widget->pressHandled);
    EXPECT_TRUE(widget->isHidden());
    returnToTheEventLoop();
    EXPECT_FALSE(widget);
}

} // namespace

TEST(RepresentableTest, ThroughAGeometryEffectKeepsItsOwnSize) {
    Swatch swatch;
    swatch.color = Qt::blue;
    // Moved only, it stays live where it shows; scaled, it is painted at its own size and
    // grows with the layer instead of being made larger itself.
    ui::TestHost moved(ui::View(swatch).offset(30, 10), {200, 100});
    ASSERT_NE(swatchIn(moved), nullptr);
    EXPECT_FALSE(swatchIn(moved)->isHidden());
    EXPECT_EQ(swatchIn(moved)->geometry(), QRect(110, 50, 40, 20));

    ui::TestHost scaled(ui::View(swatch).scaleEffect(2), {200, 100});
    auto* widget = swatchIn(scaled);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isHidden());
    EXPECT_EQ(widget->size(), QSize(40, 20));
    const QImage image = scaled.render();
    EXPECT_EQ(pixel(image, 62, 32), 0x0000ffu);
    EXPECT_EQ(pixel(image, 137, 68), 0x0000ffu);
    EXPECT_EQ(pixel(image, 57, 50), 0xffffffu);
}
