#include "Handles.h"
#include "SchemeRendering.h"

#include "ViewKit/PageIndicator.h"
#include "ViewKit/PageView.h"

#include "ui/Button.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/Transaction.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using ViewKit::PageIndicatorDisplayMode;
using ViewKit::PageIndicatorStyle;

constexpr double W = 300;
constexpr double H = 200;

ui::View page(int i) {
    return ui::Text("page " + std::to_string(i));
}

// The caller of a page view or an indicator: it owns the index.
struct Pager {
    std::vector<ui::View> pages;
    PageIndicatorDisplayMode mode = PageIndicatorDisplayMode::automatic;
    int start = 0;
    uitest::HandlesPtr<int> handles;
    std::optional<PageIndicatorStyle> style;
    ui::View body(ui::ViewContext& ctx) const {
        auto index = ctx.state<int>("index", start);
        handles->keep("index", index);
        ui::View view = ViewKit::PageView(pages, index.binding(), mode);
        return style ? view | ViewKit::pageIndicatorStyle(*style) : view;
    }
};

class PagerHost {
public:
    explicit PagerHost(int count, PageIndicatorDisplayMode mode = PageIndicatorDisplayMode::automatic, int start = 0,
                       std::vector<ui::View> pages = {}, std::optional<PageIndicatorStyle> style = std::nullopt)
        : host_(ui::View(Pager{withPages(count, std::move(pages)), mode, start, handles_, style}), {W, H}) {
        host_.update();
        host_.stepFrames(120);
    }

    int index() const { return (*handles_)["index"].value(); }
    void setIndex(int value) {
        (*handles_)["index"].set(value);
        settle();
    }
    double offset() const {
        const auto* first = host_.findByText("page 0");
        return first ? ui::ScrollView::contentOffset(*first).x : 0;
    }
    // A quick drag across the middle of the view, `dx` and `dy` from its start.
    void swipe(double dx, double dy = 0, graphics::CGPoint start = {W / 2, H / 2}) {
        host_.pointerDown(start);
        host_.pointerMove({start.x + dx / 2, start.y + dy / 2});
        host_.clock().advance(0.1);
        host_.pointerMove({start.x + dx, start.y + dy});
        host_.pointerUp({start.x + dx, start.y + dy});
        settle();
    }
    void settle() {
        host_.update();
        host_.stepFrames(120);
    }
    ui::TestHost& host() { return host_; }

private:
    static std::vector<ui::View> withPages(int count, std::vector<ui::View> pages) {
        for (int i = static_cast<int>(pages.size()); i < count; ++i)
            pages.push_back(page(i));
        return pages;
    }
    uitest::HandlesPtr<int> handles_ = std::make_shared<uitest::Handles<int>>();
    ui::TestHost host_;
};

std::vector<ui::Element*> buttons(ui::TestHost& host) {
    return host.findAll([](const ui::Element& e) { return e.node().typeName() == "Button"; });
}

// The dots of the indicator in `host`, left to right.
std::vector<graphics::CGRect> dots(ui::TestHost& host) {
    host.update();
    std::vector<graphics::CGRect> frames;
    for (const auto* button : buttons(host))
        frames.push_back(ui::TestHost::frame(button));
    return frames;
}

// An indicator on black with a state of its own, recording how each write was made.
struct Indicator {
    int count = 3;
    int start = 1;
    std::shared_ptr<std::vector<bool>> animatedWrites;
    ui::View body(ui::ViewContext& ctx) const {
        auto index = ctx.state<int>("index", start);
        const ui::Binding<int> recorded([index] { return index.value(); },
                                        [index, writes = animatedWrites](int value) {
                                            writes->push_back(ui::Transaction::current().animation != nullptr);
                                            index.set(value);
                                        });
        return ViewKit::PageIndicator(count, recorded);
    }
};

ui::View indicator(int count, int start, std::shared_ptr<std::vector<bool>> writes = std::make_shared<std::vector<bool>>()) {
    return ui::View(Indicator{count, start, std::move(writes)});
}

} // namespace

TEST(PageIndicatorTest, TheStandardDotsAreWhiteAndTheCurrentOneOpaque) {
    EXPECT_EQ(PageIndicatorStyle(), PageIndicatorStyle::standard());
    ui::TestHost host(indicator(3, 1), {100, 20});
    const auto frames = dots(host);
    ASSERT_EQ(frames.size(), 3u);
    for (const auto& frame : frames) {
        EXPECT_EQ(frame.width(), 7);
        EXPECT_EQ(frame.height(), 7);
    }
    EXPECT_EQ(frames[1].minX() - frames[0].maxX(), 8) << "the standard stack spacing";
    const QImage image = host.render(1, Qt::black);
    const auto grey = [&](const graphics::CGRect& frame) {
        return QColor(image.pixel(int(frame.midX()), int(frame.midY()))).red();
    };
    EXPECT_EQ(grey(frames[1]), 255);
    EXPECT_NEAR(grey(frames[0]), 128, 2);
    EXPECT_NEAR(grey(frames[2]), 128, 2);

    for (const int outside : {-1, 3}) {
        ui::TestHost none(indicator(3, outside), {100, 20});
        const QImage image = none.render(1, Qt::black);
        for (const auto& frame : dots(none))
            EXPECT_NEAR(QColor(image.pixel(int(frame.midX()), int(frame.midY()))).red(), 128, 2) << outside;
    }
    for (const int count : {0, -2}) {
        ui::TestHost empty(indicator(count, 0), {100, 20});
        EXPECT_TRUE(dots(empty).empty()) << count;
    }
}

TEST(PageIndicatorTest, ATapWritesTheIndexAnimatedAsTheStyleSays) {
    for (const bool animated : {true, false}) {
        auto writes = std::make_shared<std::vector<bool>>();
        PageIndicatorStyle style;
        style.isAnimated = animated;
        ui::TestHost host(indicator(3, 1, writes) | ViewKit::pageIndicatorStyle(style), {100, 20});
        host.update();
        host.tap(buttons(host)[2]);
        host.tap(buttons(host)[2]);
        EXPECT_EQ(*writes, std::vector<bool>(2, animated)) << "the current dot writes again";
    }
    PageIndicatorStyle spaced;
    spaced.dotSpacing = 0;
    EXPECT_NE(spaced, PageIndicatorStyle::standard()) << "absent spacing differs from 0";
    EXPECT_EQ(PageIndicatorStyle(ui::Color::white.opacity(0.5), 7, std::nullopt, ui::Color::white, 7, true),
              PageIndicatorStyle::standard());
}

TEST(PageViewTest, SwipesTurnOnePageWithinThePages) {
    PagerHost pager(3);
    EXPECT_EQ(pager.offset(), 0);
    pager.swipe(-100);
    EXPECT_EQ(pager.index(), 1);
    EXPECT_EQ(pager.offset(), W + 8);
    pager.swipe(100);
    EXPECT_EQ(pager.index(), 0);
    EXPECT_EQ(pager.offset(), 0);
    pager.swipe(100);
    EXPECT_EQ(pager.index(), 0) << "no page before the first";
    pager.swipe(0, -100);
    pager.swipe(0, 100);
    EXPECT_EQ(pager.index(), 0) << "vertical swipes do nothing";
    pager.setIndex(2);
    EXPECT_EQ(pager.offset(), 2 * (W + 8)) << "a write by the caller scrolls";
    pager.swipe(-100);
    EXPECT_EQ(pager.index(), 2) << "no page after the last";

    EXPECT_FALSE(pager.host().scroll({W / 2, H / 2}, {0, 100}));
    EXPECT_FALSE(pager.host().scroll({W / 2, H / 2}, {100, 0}));
    EXPECT_EQ(pager.offset(), 2 * (W + 8)) << "the wheel moves nothing";

    PagerHost opened(3, PageIndicatorDisplayMode::automatic, 2);
    EXPECT_EQ(opened.offset(), 2 * (W + 8)) << "opens on its page";
}

TEST(PageViewTest, OutOfRangeIndexesAndEmptyPagesAreSafe) {
    PagerHost pager(3);
    pager.setIndex(1);
    pager.setIndex(5);
    EXPECT_EQ(pager.offset(), W + 8) << "no page 5: the strip stays";
    pager.swipe(100);
    EXPECT_EQ(pager.index(), 4);
    pager.setIndex(-1);
    pager.swipe(-100);
    EXPECT_EQ(pager.index(), 0);
    EXPECT_EQ(pager.offset(), 0);

    PagerHost empty(0);
    empty.swipe(-100);
    EXPECT_EQ(empty.index(), 0);
    empty.swipe(100);
    EXPECT_EQ(empty.index(), 0);
}

TEST(PageViewTest, TheIndicatorShowsAsTheModeSaysAndTurnsToATappedPage) {
    const auto shown = [](int count, PageIndicatorDisplayMode mode) {
        PagerHost pager(count, mode);
        return pager.host().findType<ViewKit::PageIndicator>() != nullptr;
    };
    EXPECT_TRUE(shown(2, PageIndicatorDisplayMode::automatic));
    EXPECT_FALSE(shown(1, PageIndicatorDisplayMode::automatic));
    EXPECT_FALSE(shown(0, PageIndicatorDisplayMode::automatic));
    EXPECT_TRUE(shown(0, PageIndicatorDisplayMode::always));
    EXPECT_FALSE(shown(3, PageIndicatorDisplayMode::never));

    PagerHost pager(3);
    const auto frames = dots(pager.host());
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_NEAR(frames[1].midX(), W / 2, 0.5) << "centred";
    EXPECT_EQ(frames[1].maxY(), H - 16) << "with the standard padding below";
    pager.host().tap({frames[2].midX(), frames[2].midY()});
    pager.settle();
    EXPECT_EQ(pager.index(), 2);
    EXPECT_EQ(pager.offset(), 2 * (W + 8));

    PageIndicatorStyle large;
    large.dotSize = 12;
    PagerHost styled(3, PageIndicatorDisplayMode::automatic, 0, {}, large);
    EXPECT_EQ(dots(styled.host())[1].height(), 12) << "a parent's style reaches the page view's indicator";
}

TEST(PageViewTest, ClicksReachThePagesAndQuickDragsTurnThem) {
    auto presses = std::make_shared<int>(0);
    PagerHost pager(3, PageIndicatorDisplayMode::never, 1,
                    {page(0), ui::Button("Press", [presses] { ++*presses; })});
    const auto button = ui::TestHost::frame(pager.host().findByText("Press"));
    pager.host().tap({button.midX(), button.midY()});
    pager.settle();
    EXPECT_EQ(*presses, 1);
    EXPECT_EQ(pager.index(), 1);

    pager.swipe(-120, 0, {button.midX(), button.midY()});
    EXPECT_EQ(pager.index(), 2);
    EXPECT_EQ(*presses, 1) << "a drag is no click";

    pager.swipe(100, 0, {20, 20});
    EXPECT_EQ(pager.index(), 1) << "empty parts of a page take the swipe";
}

TEST(PageViewTest, TheItemsCallbackRunsOncePerItem) {
    auto calls = std::make_shared<std::vector<std::string>>();
    const std::vector<std::string> items = {"a", "b", "c"};
    auto index = std::make_shared<int>(0);
    const ViewKit::PageView view(items, ui::Binding<int>([index] { return *index; }, [index](int i) { *index = i; }),
                                 PageIndicatorDisplayMode::always, [calls](const std::string& item) {
                                     calls->push_back(item);
                                     return ui::Text(item);
                                 });
    EXPECT_EQ(*calls, items);
    ui::TestHost host(view, {W, H});
    host.update();
    ASSERT_EQ(buttons(host).size(), 3u);
    host.tap(buttons(host)[1]);
    host.update();
    EXPECT_EQ(*index, 1);
    EXPECT_EQ(*calls, items) << "not again on rebuilds";
    EXPECT_NE(host.findByText("c"), nullptr);
}

TEST(PageViewTest, RendersMidTurnInBothSchemes) {
    // Built mid-turn by hand: the strip as a caller sees it while scrolling from page 0 to 1.
    for (const auto scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
        std::vector<ui::View> pages;
        for (int i = 0; i < 3; ++i)
            pages.push_back(ui::View(ui::Text("Page " + std::to_string(i + 1)).font(ui::Font::title()))
                                .frame(ui::FlexibleFrame{.maxWidth = 1e9, .maxHeight = 1e9})
                                .background(ui::View(ui::Color::accentColor.opacity(0.15 + 0.2 * i))));
        auto handles = std::make_shared<uitest::Handles<int>>();
        ui::TestHost host(ui::View(Pager{pages, PageIndicatorDisplayMode::automatic, 0, handles, std::nullopt})
                              .background(ui::View(ui::Color::gray)),
                          {W, H}, viewkit_testing::inScheme(scheme));
        host.update();
        host.pointerDown({W / 2, H / 2});
        host.pointerMove({W / 2 - 60, H / 2});
        host.clock().advance(0.1);
        host.pointerMove({W / 2 - 120, H / 2});
        host.pointerUp({W / 2 - 120, H / 2});
        host.update();
        host.stepFrames(12);
        const auto suffix = scheme == ui::ColorScheme::dark ? "-dark.png" : "-light.png";
        host.renderPNG(QDir::temp().filePath(QString("viewkit-page-view") + suffix), 2,
                       viewkit_testing::windowColour(scheme));
        viewkit_testing::renderBothSchemes(indicator(5, 2).padding(8).background(ui::View(ui::Color::gray)), {100, 30},
                                           "viewkit-page-indicator");
    }
}
