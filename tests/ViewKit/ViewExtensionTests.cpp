#include "SchemeRendering.h"
#include "ScopedEnvironment.h"
#include "TestBox.h"

#include "ViewKit/ImageExtensions.h"
#include "ViewKit/PasteboardCopyString.h"
#include "ViewKit/PrimaryBackground.h"
#include "ViewKit/PreviewDetection.h"
#include "ViewKit/ViewAutosave.h"
#include "ViewKit/ViewBorder.h"
#include "ViewKit/ViewConditionals.h"
#include "ViewKit/ViewFrame.h"

#include "desktop/Pasteboard.h"
#include "foundation/ProcessInfo.h"
#include "reactive/ObservableObject.h"
#include "reactive/Published.h"
#include "ui/Color.h"
#include "ui/Rectangle.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using uitest::box;

graphics::CGRect frameOf(const ui::TestHost& host, std::string_view label) {
    return ui::TestHost::frame(host.findByText(label));
}

} // namespace

TEST(ViewExtensionTest, ConditionsAndFramesShapeTheLayout) {
    // A hidden view keeps its place: the boxes after it do not move up.
    for (const bool flag : {false, true}) {
        ui::TestHost host(ui::VStack(ui::HorizontalAlignment::leading, 0,
                                     {box(10, 10, "top"), box(10, 10, "first") | ViewKit::hidden(flag),
                                      box(10, 10, "second"), box(10, 10, "third") | ViewKit::visible(!flag),
                                      box(10, 10, "last")}));
        const auto top = frameOf(host, "top");
        EXPECT_EQ(frameOf(host, "second").minY() - top.minY(), 20) << flag;
        EXPECT_EQ(frameOf(host, "last").minY() - top.minY(), 40) << flag;
        // The hidden boxes paint nothing.
        const QImage image = host.render();
        const auto redAt = [&](double dy) {
            return QColor(image.pixel(int(top.midX()), int(top.midY() + dy))) == QColor(Qt::red);
        };
        EXPECT_EQ(redAt(10), !flag);
        EXPECT_EQ(redAt(30), !flag);
        EXPECT_TRUE(redAt(20));
    }

    ui::TestHost frames(ui::VStack(ui::HorizontalAlignment::leading, 0,
                                   {box(10, 10, "top"), box(8, 8, "squashed") | ViewKit::squareFrame(0),
                                    box(10, 10, "middle") | ViewKit::frame({30, 20}), box(10, 10, "bottom")}));
    const auto top = frameOf(frames, "top");
    // A square of 0 takes no room; the box sits centred in its 30 × 20.
    EXPECT_EQ(frameOf(frames, "middle").minY() - top.minY(), 10 + 5);
    EXPECT_EQ(frameOf(frames, "middle").minX() - top.minX(), 10);
    EXPECT_EQ(frameOf(frames, "bottom").minY() - top.minY(), 30);
}

TEST(ViewExtensionTest, SearchableOnlyAddsAFieldWhenAsked) {
    std::string query;
    const ui::Binding<std::string> text([&] { return query; }, [&](std::string value) { query = std::move(value); });
    bool presented = false;
    const ui::Binding<bool> isPresented([&] { return presented; }, [&](bool value) { presented = value; });
    ui::TestHost plain(box(50, 20, "list") | ViewKit::searchable(false, text, ui::SearchFieldPlacement::automatic, "Find"));
    EXPECT_EQ(plain.find("searchField"), nullptr);
    ui::TestHost bound(box(50, 20, "list") |
                       ViewKit::searchable(false, text, isPresented, ui::SearchFieldPlacement::automatic, std::nullopt));
    EXPECT_EQ(bound.find("searchField"), nullptr);
    ui::TestHost searching(box(50, 20, "list") |
                           ViewKit::searchable(true, text, ui::SearchFieldPlacement::automatic, "Find"));
    EXPECT_NE(searching.find("searchField"), nullptr);
}

TEST(ViewExtensionTest, BorderStrokesInsideTheBoundsWithSquareCornersAtRadiusZero) {
    ui::TestHost host(ui::Rectangle().fill(ui::Color::clear).frame(40, 40) |
                          ViewKit::border(ui::Color::blue, 4, 0),
                      {40, 40});
    const QImage image = host.render();
    const auto blue = [&](int x, int y) { return QColor(image.pixel(x, y)).blue() > 200 && QColor(image.pixel(x, y)).red() < 60; };
    EXPECT_TRUE(blue(0, 20)) << "the stroke reaches the very edge";
    EXPECT_TRUE(blue(3, 20));
    EXPECT_FALSE(blue(5, 20)) << "and is 4 points wide, all inside";
    EXPECT_TRUE(blue(0, 0)) << "a square corner";
    EXPECT_TRUE(blue(39, 39));
    EXPECT_FALSE(blue(20, 20));

    ui::TestHost rounded(ui::Rectangle().fill(ui::Color::clear).frame(40, 40) | ViewKit::border(ui::Color::blue, 2, 10),
                         {40, 40});
    const QImage roundedImage = rounded.render();
    EXPECT_EQ(QColor(roundedImage.pixel(0, 0)), QColor(Qt::white)) << "a rounded corner leaves the corner out";
    viewkit_testing::renderBothSchemes(ui::VStack(ui::HorizontalAlignment::center, 12,
                                                  {ui::View(ui::Text("Bordered")).padding(10) | ViewKit::border(ui::Color::accentColor, 2, 8),
                                                   ui::View(ui::Text("Square")).padding(10) | ViewKit::border(ui::Color::secondary, 1, 0)})
                                           .padding(12),
                                       {160, 110}, "viewkit-border");
}

namespace {

struct Draft : reactive::ObservableObject {
    reactive::Published<int> text{this, 0};
};

struct Editor {
    std::shared_ptr<Draft> draft;
    std::shared_ptr<int> saves;
    ui::View body(ui::ViewContext&) const {
        return box(20, 20) | ViewKit::autosave(draft->text.publisher(), 0.5, [saves = saves] { ++*saves; });
    }
};

} // namespace

TEST(ViewExtensionTest, AutosaveSavesOnceAfterABurstAndOnceMoreWhenTheViewGoesWithAValuePending) {
    auto draft = std::make_shared<Draft>();
    auto saves = std::make_shared<int>(0);
    auto host = std::make_unique<ui::TestHost>(ui::View(Editor{draft, saves}));
    const auto wait = [&](double seconds) {
        host->clock().advance(seconds);
        host->update();
    };
    wait(0.6);
    const int afterAppearing = *saves; // the current value counts as one, as any value does
    EXPECT_LE(afterAppearing, 1);

    for (int i = 1; i <= 5; ++i) {
        draft->text.set(i);
        wait(0.3);
    }
    EXPECT_EQ(*saves, afterAppearing) << "values closer than the interval wait";
    wait(0.19);
    EXPECT_EQ(*saves, afterAppearing);
    wait(0.02);
    EXPECT_EQ(*saves, afterAppearing + 1) << "one save, an interval after the last value";
    wait(2);
    EXPECT_EQ(*saves, afterAppearing + 1);

    draft->text.set(6);
    wait(0.1);
    host->setRoot(box(20, 20));
    host->update();
    EXPECT_EQ(*saves, afterAppearing + 2) << "the pending value is saved as the view goes";
    wait(1);
    EXPECT_EQ(*saves, afterAppearing + 2) << "and only once";

    // A host torn down with a value pending saves it too.
    host->setRoot(ui::View(Editor{draft, saves}));
    wait(1);
    const int before = *saves;
    draft->text.set(7);
    host->update();
    host.reset();
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(*saves, before + 1);
}

TEST(ViewExtensionTest, ThePreviewTestIsTrueOnlyForExactlyOne) {
    const std::string name(ViewKit::previewEnvironmentVariable);
    EXPECT_FALSE(ViewKit::isSwiftUIPreview(foundation::ProcessInfo(foundation::ProcessInfo::Environment{})));
    for (const char* value : {"", "0", "true", " 1", "01", "1 "})
        EXPECT_FALSE(ViewKit::isSwiftUIPreview(foundation::ProcessInfo({{name, value}}))) << '"' << value << '"';
    EXPECT_TRUE(ViewKit::isSwiftUIPreview(foundation::ProcessInfo({{name, "1"}})));

    {
        testing_support::ScopedEnvironment unset(name, nullptr);
        EXPECT_FALSE(ViewKit::isSwiftUIPreview());
    }
    testing_support::ScopedEnvironment set(name, "1");
    EXPECT_TRUE(ViewKit::isSwiftUIPreview());
}

TEST(ViewExtensionTest, CopyingAnEmptyStringStillClearsAndWrites) {
    auto& pasteboard = desktop::Pasteboard::general();
    ViewKit::copyString(pasteboard, "Buy milk");
    const auto before = pasteboard.changeCount();
    ViewKit::copyString(pasteboard, "");
    EXPECT_EQ(pasteboard.changeCount(), before + 2);
    EXPECT_EQ(pasteboard.string(), std::optional<std::string>(""));
}

TEST(ViewExtensionTest, PrimaryBackgroundAndFittedImagesDraw) {
    // Light: the primary colour inverted, white. Dark: the primary colour at 0.102.
    const auto pixel = [](const ui::View& view, ui::ColorScheme scheme) {
        ui::TestHost host(view.frame(20, 20), {20, 20}, viewkit_testing::inScheme(scheme));
        return QColor(host.render(1, viewkit_testing::windowColour(scheme)).pixel(10, 10));
    };
    EXPECT_EQ(pixel(ViewKit::primaryBackground(ui::ColorScheme::light), ui::ColorScheme::light), QColor(Qt::white));
    const QColor window = viewkit_testing::windowColour(ui::ColorScheme::dark);
    const QColor primary = pixel(ui::View(ui::Color::primary), ui::ColorScheme::dark);
    const QColor dark = pixel(ViewKit::primaryBackground(ui::ColorScheme::dark), ui::ColorScheme::dark);
    EXPECT_NEAR(dark.red(), window.red() + (primary.red() - window.red()) * 0.102, 1.5);
    EXPECT_NEAR(dark.blue(), window.blue() + (primary.blue() - window.blue()) * 0.102, 1.5);

    QImage pixels(20, 10, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::red);
    ui::TestHost host(ViewKit::resizable(ViewKit::image(std::make_shared<graphics::Image>(pixels)), ui::ContentMode::fit)
                          .frame(100, 100),
                      {100, 100});
    const QImage image = host.render();
    const auto red = [&](int x, int y) { return QColor(image.pixel(x, y)) == QColor(Qt::red); };
    EXPECT_TRUE(red(2, 50));
    EXPECT_TRUE(red(97, 27));
    EXPECT_FALSE(red(50, 22)) << "twice as wide as high: 100 × 50, centred";
    EXPECT_FALSE(red(50, 77));
}
