#include "ViewKit/ErrorAlerter.h"

#include "foundation/DispatchQueue.h"
#include "foundation/RunLoop.h"
#include "ui/Rectangle.h"
#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using ViewKit::AlertContext;

struct DiskFull : std::runtime_error {
    DiskFull()
        : std::runtime_error("The disk is full.") {}
};

// An error with texts of its own.
struct SyncError : std::runtime_error, ViewKit::ErrorAlertConvertible {
    SyncError()
        : std::runtime_error("sync failed") {}
    std::string errorTitle() const override { return "Not synced"; }
    std::string errorMessage() const override { return "Try again when online."; }
    std::string errorButtonText() const override { return "Later"; }
};

struct Screen : ViewKit::ErrorAlerter {
    std::shared_ptr<AlertContext> context = std::make_shared<AlertContext>();
    std::shared_ptr<AlertContext> alert() const override { return context; }
    using ViewKit::ErrorAlerter::alert;
};

// A view bound to the context. Made before anything is presented: work queued before its
// clock is installed would wait for that clock's time to come.
std::unique_ptr<ui::TestHost> boundHost(const std::shared_ptr<AlertContext>& context) {
    return std::make_unique<ui::TestHost>(ui::View(ui::Rectangle()).frame(50, 50) | ViewKit::alert(context));
}

// What the host's alert shows; then the user closes it.
struct Shown {
    std::string title;
    bool hasMessage = false;
    std::vector<std::string> buttons;
};

std::optional<Shown> shownAlert(ui::TestHost& host) {
    host.update();
    if (host.presentations().empty()) return std::nullopt;
    const ui::Alert& alert = *host.presentations().front().alert;
    Shown shown{alert.title.string({}), alert.message.has_value(), {}};
    for (const auto& button : alert.buttons) shown.buttons.push_back(button.title());
    host.dismissPresentation();
    return shown;
}

void runMainQueue() {
    foundation::RunLoop::main().runUntilIdle();
}

} // namespace

TEST(ErrorAlerterTest, AConvertibleErrorShowsItsOwnTextsAndAPlainOneItsDescription) {
    Screen screen;
    auto host = boundHost(screen.context);
    screen.alert(SyncError(), "Ignored");
    host->update();
    EXPECT_NE(host->findByText("Try again when online."), nullptr);
    auto shown = shownAlert(*host);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title, "Not synced");
    EXPECT_TRUE(shown->hasMessage);
    EXPECT_EQ(shown->buttons, (std::vector<std::string>{"Later"})) << "the passed text is not used";

    screen.alert(DiskFull(), "Understood");
    shown = shownAlert(*host);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title, "The disk is full.");
    EXPECT_FALSE(shown->hasMessage);
    EXPECT_EQ(shown->buttons, (std::vector<std::string>{"Understood"}));

    // Texts are shown as they are, never looked up as keys.
    screen.alert(std::runtime_error("Button.Cancel"));
    shown = shownAlert(*host);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title, "Button.Cancel");
    EXPECT_EQ(shown->buttons, (std::vector<std::string>{"OK"}));
}

TEST(ErrorAlerterTest, TheCompletionStyleShowsFailuresThenPassesEveryResultOnOnce) {
    Screen screen;
    auto host = boundHost(screen.context);
    std::vector<std::string> log;
    std::function<void(std::optional<DiskFull>)> finish;
    screen.tryWithErrorAlert<DiskFull>([&](std::function<void(std::optional<DiskFull>)> done) { finish = done; },
                                       [&](std::optional<DiskFull> error) {
                                           log.push_back(error ? "failed" : "succeeded");
                                           // Runs after the alert's own work item: it was asked for first.
                                           foundation::DispatchQueue::main().async([&, context = screen.context] {
                                               log.push_back(context->isActive() ? "alert" : "no alert");
                                           });
                                       });
    ASSERT_TRUE(finish);
    EXPECT_TRUE(log.empty()) << "nothing before the operation reports";

    finish(std::nullopt);
    runMainQueue();
    EXPECT_EQ(log, (std::vector<std::string>{"succeeded", "no alert"}));
    EXPECT_FALSE(shownAlert(*host));

    log.clear();
    finish(DiskFull());
    runMainQueue();
    EXPECT_EQ(log, (std::vector<std::string>{"failed", "alert"}));
    const auto shown = shownAlert(*host);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title, "The disk is full.");
    EXPECT_EQ(shown->buttons, (std::vector<std::string>{"OK"}));
}

TEST(ErrorAlerterTest, TheAsynchronousStyleShowsWhatTheOperationThrowsEvenWithItsAdopterGone) {
    auto screen = std::make_unique<Screen>();
    const auto context = screen->context;
    auto host = boundHost(context);
    screen->tryWithErrorAlert([]() -> foundation::Task<> { co_return; });
    runMainQueue();
    EXPECT_FALSE(context->isActive()) << "success shows nothing";

    screen->tryWithErrorAlert([]() -> foundation::Task<> {
        throw DiskFull();
        co_return;
    });
    screen.reset();
    runMainQueue();
    const auto shown = shownAlert(*host);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title, "The disk is full.");
    EXPECT_EQ(shown->buttons, (std::vector<std::string>{"OK"}));

    // A convertible error keeps its own texts here too.
    Screen other;
    auto otherHost = boundHost(other.context);
    other.tryWithErrorAlert([]() -> foundation::Task<> {
        throw SyncError();
        co_return;
    });
    runMainQueue();
    const auto own = shownAlert(*otherHost);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->title, "Not synced");
}
