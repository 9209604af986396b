#include "SchemeRendering.h"

#include "ViewKit/AlertContext.h"
#include "ViewKit/SheetContext.h"

#include "foundation/RunLoop.h"
#include "reactive/AnyCancellable.h"
#include "ui/Alert.h"
#include "ui/Presentation.h"
#include "ui/Rectangle.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/TextEnvironment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using ViewKit::AlertContext;
using ViewKit::SheetContext;

void runMainQueue() {
    foundation::RunLoop::main().runUntilIdle();
}

std::string titleOf(const ui::Presentation& presentation) {
    return presentation.alert->title.string(ui::textContext(*presentation.environment));
}


// A screen bound to an alert and a sheet context; what its subtree reads back of them.
struct Seen {
    std::shared_ptr<AlertContext> alert;
    std::shared_ptr<SheetContext> sheetInSheet;
};

struct Probe {
    std::shared_ptr<Seen> seen;
    ui::View body(ui::ViewContext& ctx) const {
        seen->alert = ctx.environmentObject<AlertContext>();
        return ui::View(ui::Rectangle()).frame(40, 40);
    }
};

struct SheetProbe {
    std::shared_ptr<Seen> seen;
    ui::View body(ui::ViewContext& ctx) const {
        seen->sheetInSheet = ctx.environmentObject<SheetContext>();
        return ui::Text("In the sheet");
    }
};

ui::View boundScreen(const std::shared_ptr<AlertContext>& alert, const std::shared_ptr<SheetContext>& sheet,
                     const std::shared_ptr<Seen>& seen) {
    return ui::View(Probe{seen}) | ViewKit::alert(alert) | ViewKit::sheet(sheet);
}

} // namespace

TEST(PresentationContextTest, PresentAndDismissTakeEffectAfterTheTurnInCallOrder) {
    auto context = std::make_shared<AlertContext>();
    EXPECT_FALSE(context->isActive());
    EXPECT_FALSE(context->content().has_value());

    context->dismiss();
    runMainQueue();
    EXPECT_FALSE(context->isActive()) << "dismissing an idle context leaves it idle";
    EXPECT_FALSE(context->content().has_value());

    context->present([] { return ui::Alert(ui::Text("First")); });
    EXPECT_FALSE(context->isActive()) << "nothing changes before the turn ends";
    context->present([] { return ui::Alert(ui::Text("Second")); });
    runMainQueue();
    EXPECT_TRUE(context->isActive());
    ASSERT_TRUE(context->content().has_value());
    EXPECT_EQ((*context->content())().title.string({}), "Second") << "the later builder wins";

    context->present([] { return ui::Alert(ui::Text("Third")); });
    context->dismiss();
    runMainQueue();
    EXPECT_FALSE(context->isActive()) << "present then dismiss in one turn ends hidden";
    EXPECT_EQ((*context->content())().title.string({}), "Third") << "with the new content kept";
}

TEST(PresentationContextTest, APresentedContextLetGoByItsOwnerStillShows) {
    auto context = std::make_shared<AlertContext>();
    std::vector<bool> states;
    reactive::AnyCancellable watch = context->isActivePublisher().sink([&](bool active) { states.push_back(active); });
    std::weak_ptr<AlertContext> weak = context;
    context->present([] { return ui::Alert(ui::Text("Gone")); });
    context.reset();
    EXPECT_FALSE(weak.expired()) << "the queued work holds the context";
    runMainQueue();
    EXPECT_EQ(states, (std::vector<bool>{false, true}));
    EXPECT_TRUE(weak.expired()) << "and lets it go once it ran";
}

TEST(PresentationContextTest, BoundContextsShowTheirContentAndTheUserClosingKeepsIt) {
    auto alert = std::make_shared<AlertContext>();
    auto sheet = std::make_shared<SheetContext>();
    auto seen = std::make_shared<Seen>();
    ui::TestHost host(boundScreen(alert, sheet, seen));
    EXPECT_EQ(seen->alert, alert) << "the subtree reads the context back";
    EXPECT_TRUE(host.presentations().empty());

    alert->present([] { return ui::Alert(ui::Text("Saved"), ui::Text("All goals are stored.")); });
    host.update();
    ASSERT_EQ(host.presentations().size(), 1u);
    EXPECT_NE(host.findByText("All goals are stored."), nullptr);

    EXPECT_TRUE(host.dismissPresentation());
    EXPECT_TRUE(host.presentations().empty());
    EXPECT_FALSE(alert->isActive()) << "closing writes false through the binding";
    ASSERT_TRUE(alert->content().has_value()) << "and keeps the content";

    alert->present([] { return ui::Alert(ui::Text("Saved again")); });
    host.update();
    ASSERT_EQ(host.presentations().size(), 1u);
    EXPECT_EQ(titleOf(host.presentations()[0]), "Saved again");
    EXPECT_TRUE(host.chooseAlertButton("OK"));
    EXPECT_FALSE(alert->isActive());

    // Weakly: the sheet keeps its content, and `seen` keeps the sheet.
    sheet->present([weak = std::weak_ptr(seen)] { return SheetProbe{weak.lock()}; });
    host.update();
    ASSERT_EQ(host.presentations().size(), 1u);
    EXPECT_EQ(host.presentations()[0].kind, ui::Presentation::Kind::sheet);
    EXPECT_NE(host.findByText("In the sheet"), nullptr);
    EXPECT_EQ(seen->sheetInSheet, sheet) << "the sheet's content reads its context too";
    sheet->dismiss();
    host.update();
    EXPECT_TRUE(host.presentations().empty());
}

TEST(PresentationContextTest, ActivatingAContextWithoutContentShowsAnEmptyAlertOrSheet) {
    auto alert = std::make_shared<AlertContext>();
    auto sheet = std::make_shared<SheetContext>();
    auto seen = std::make_shared<Seen>();
    ui::TestHost host(boundScreen(alert, sheet, seen));

    alert->isActiveBinding().set(true);
    host.update();
    ASSERT_EQ(host.presentations().size(), 1u);
    EXPECT_EQ(host.presentations()[0].kind, ui::Presentation::Kind::alert);
    EXPECT_EQ(titleOf(host.presentations()[0]), "");
    EXPECT_TRUE(host.chooseAlertButton("OK"));

    sheet->isActiveBinding().set(true);
    host.update();
    ASSERT_EQ(host.presentations().size(), 1u);
    EXPECT_EQ(host.presentations()[0].kind, ui::Presentation::Kind::sheet);
    EXPECT_EQ(host.findAll([](const ui::Element& e) { return e.node().text().has_value() && !e.node().text()->empty(); }).size(), 0u)
        << "the sheet shows nothing";
    EXPECT_FALSE(sheet->content().has_value());
}

TEST(PresentationContextDeathTest, UseOffTheMainThreadStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto context = std::make_shared<AlertContext>();
    EXPECT_DEATH(std::thread([&] { context->present([] { return ui::Alert(ui::Text("Late")); }); }).join(),
                 "main actor");
    EXPECT_DEATH(std::thread([&] { context->dismiss(); }).join(), "main actor");
}

TEST(PresentationContextTest, RendersAnAlertAndASheetShownThroughContexts) {
    for (const auto scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
        auto alert = std::make_shared<AlertContext>();
        auto sheet = std::make_shared<SheetContext>();
        const ui::View screen = ui::View(ui::Text("Goals")).frame(360, 240) | ViewKit::alert(alert) |
                                ViewKit::sheet(sheet);
        const auto suffix = scheme == ui::ColorScheme::dark ? "-dark.png" : "-light.png";
        ui::TestHost host(screen, {360, 240}, viewkit_testing::inScheme(scheme));
        alert->present([] { return ui::Alert(ui::Text("Saved"), ui::Text("All goals are stored.")); });
        host.update();
        ASSERT_EQ(host.presentations().size(), 1u);
        host.renderPNG(QDir::temp().filePath(QString("viewkit-context-alert") + suffix), 2,
                       viewkit_testing::windowColour(scheme));
        host.dismissPresentation();
        sheet->present([] { return ui::View(ui::Text("Edit the goal")).padding(40); });
        host.update();
        ASSERT_EQ(host.presentations().size(), 1u);
        host.renderPNG(QDir::temp().filePath(QString("viewkit-context-sheet") + suffix), 2,
                       viewkit_testing::windowColour(scheme));
    }
}
