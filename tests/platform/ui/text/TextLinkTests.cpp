#include "ui/EnvironmentActions.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Frame.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Restores the system opener when the test ends.
struct RecordingOpener {
    std::vector<std::string> opened;
    ui::OpenURLAction::SystemOpener previous;
    RecordingOpener() {
        previous = ui::OpenURLAction::setSystemOpener([this](const foundation::URL& url) {
            opened.push_back(url.absoluteString());
            return true;
        });
    }
    ~RecordingOpener() { ui::OpenURLAction::setSystemOpener(previous); }
};

} // namespace

TEST(TextLinkTest, AClickOnALinkOpensItAndOtherClicksGoOnToTheViewsAround) {
    RecordingOpener opener;
    int containerTaps = 0;
    ui::View text(ui::Text("Read [terms](https://x.org/t) now"));
    ui::TestHost host(ui::VStack({text}).frame(300, 60, ui::Alignment::topLeading).onTapGesture([&] { ++containerTaps; }));
    host.update();
    const auto frame = ui::TestHost::frame(host.findByText("Read terms now"));
    ASSERT_GT(frame.width(), 40);

    host.tap({frame.minX() + 3, frame.midY()});
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(containerTaps, 1);

    const double onTerms = frame.minX() + frame.width() * 0.45;
    EXPECT_TRUE(host.tap({onTerms, frame.midY()}));
    EXPECT_EQ(opener.opened, std::vector<std::string>{"https://x.org/t"});
    EXPECT_EQ(containerTaps, 1);

    // Pressed on the link, released off it: nothing opens.
    host.pointerDown({onTerms, frame.midY()});
    host.pointerUp({frame.maxX() - 2, frame.midY()});
    EXPECT_EQ(opener.opened.size(), 1u);
}

TEST(TextLinkTest, TheEnvironmentsOpenURLActionIsUsedAndVerbatimTextHasNoLinks) {
    RecordingOpener opener;
    std::vector<std::string> handled;
    ui::OpenURLAction action([&](const foundation::URL& url) {
        handled.push_back(url.absoluteString());
        return ui::OpenURLAction::Result::handled;
    });
    ui::TestHost host(ui::VStack({ui::View(ui::Text("[here](https://x.org/h)")),
                                  ui::View(ui::Text::verbatim("[there](https://x.org/t)"))})
                          .environment(ui::OpenURLKey{}, action)
                          .frame(300, 80, ui::Alignment::topLeading));
    host.update();
    EXPECT_TRUE(host.tap(host.findByText("here")));
    EXPECT_FALSE(host.tap(host.findByText("[there](https://x.org/t)")));
    EXPECT_EQ(handled, std::vector<std::string>{"https://x.org/h"});
    EXPECT_TRUE(opener.opened.empty());
}
