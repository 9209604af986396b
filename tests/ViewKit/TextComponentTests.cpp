#include "ScopedEnvironment.h"

#include "ViewKit/DotLoadingAnimation.h"
#include "ViewKit/DotLoadingAnimationText.h"
#include "ViewKit/LinkText.h"
#include "ViewKit/LinkTextLinkStyle.h"
#include "ViewKit/MultilineSubmitViewModifier.h"
#include "ViewKit/TextReplacement.h"

#include "foundation/RunLoop.h"
#include "ui/ColorScheme.h"
#include "ui/EnvironmentActions.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Frame.h"
#include "ui/LayoutAxis.h"
#include "ui/Stack.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/TextContext.h"
#include "ui/TextField.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using ViewKit::DotLoadingAnimation;
using ViewKit::DotLoadingAnimationText;
using ViewKit::LinkText;
using ViewKit::TextReplacement;

namespace {

// The dots a host shows now.
std::string shownDots(ui::TestHost& host) {
    for (std::string dots : {"...", "..", "."})
        if (host.findByText(dots)) return dots;
    return "";
}

} // namespace

TEST(DotLoadingAnimationTests, CountsUpOnceEachIntervalFromTheFirstIntervalOn) {
    ui::TestHost host(ui::View(DotLoadingAnimation(3, 0.5)));
    host.update();
    std::vector<std::string> seen{shownDots(host)};
    host.stepFrame(0.25);
    seen.push_back(shownDots(host)); // not yet an interval
    host.stepFrame(0.25);
    seen.push_back(shownDots(host));
    for (int i = 0; i < 4; ++i) {
        host.stepFrame(0.5);
        seen.push_back(shownDots(host));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"", "", ".", "..", "...", "", "."}));
}

TEST(DotLoadingAnimationTests, SmallAndBadCountsAndIntervals) {
    {
        ui::TestHost host(ui::View(DotLoadingAnimation(1, 1)));
        host.update();
        std::string seen = shownDots(host);
        for (int i = 0; i < 3; ++i) {
            host.stepFrame(1);
            seen += "|" + shownDots(host);
        }
        EXPECT_EQ(seen, "|.||.");
    }
    for (int count : {0, -2}) {
        ui::TestHost host(ui::View(DotLoadingAnimation(count, 0.5)));
        for (int i = 0; i < 4; ++i) {
            host.stepFrame(0.5);
            EXPECT_EQ(shownDots(host), "") << count;
        }
    }
    for (double interval : {0.0, -1.0, std::nan("")}) {
        const auto pendingBefore = foundation::RunLoop::main().pendingCount();
        ui::TestHost host(ui::View(DotLoadingAnimation(3, interval)));
        host.update();
        EXPECT_EQ(foundation::RunLoop::main().pendingCount(), pendingBefore) << interval;
        EXPECT_EQ(shownDots(host), "");
    }
}

TEST(DotLoadingAnimationTests, KeepsItsTimerUnderAParentThatReEvaluatesOftenAndStopsItWhenGone) {
    struct Parent {
        std::shared_ptr<std::function<void()>> bump;
        ui::View body(ui::ViewContext& ctx) const {
            auto generation = ctx.state<int>("generation", 0);
            *bump = [generation] { generation.set(*generation + 1); };
            return ui::View(DotLoadingAnimation(3, 0.5)).opacity(*generation >= 0 ? 1 : 0);
        }
    };
    const auto pendingBefore = foundation::RunLoop::main().pendingCount();
    auto bump = std::make_shared<std::function<void()>>();
    ui::TestHost host(ui::View(Parent{bump}));
    host.update();
    std::vector<std::string> seen;
    for (int step = 1; step <= 6; ++step) { // 0.3 s apart: 0.3 ... 1.8
        host.stepFrame(0.3);
        (*bump)();
        host.update();
        seen.push_back(shownDots(host));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"", ".", ".", "..", "..", "..."}));

    host.setRoot(ui::View());
    host.update();
    EXPECT_EQ(foundation::RunLoop::main().pendingCount(), pendingBefore);
}

TEST(DotLoadingAnimationTests, TextKeepsOneWidthAndZeroDotsAreAsWideAsTheLabel) {
    ui::TestHost host(ui::View(DotLoadingAnimationText{"Loading", nullptr, 3, 0.5}));
    host.update();
    auto width = [&] { return ui::TestHost::frame(host.findType<DotLoadingAnimationText>()).width(); };
    const double first = width();
    for (int i = 0; i < 4; ++i) {
        host.stepFrame(0.5);
        EXPECT_DOUBLE_EQ(width(), first);
    }

    ui::TestHost bare(ui::View(DotLoadingAnimationText{"Loading", nullptr, 0, 0.5}));
    ui::TestHost label(ui::View(ui::Text("Loading")));
    bare.update();
    label.update();
    EXPECT_DOUBLE_EQ(ui::TestHost::frame(bare.findType<DotLoadingAnimationText>()).width(),
                     ui::TestHost::frame(label.findByText("Loading")).width());
    EXPECT_GT(first, ui::TestHost::frame(label.findByText("Loading")).width());
}

TEST(LinkTextTests, RendersOneMarkdownSentence) {
    const foundation::URL url = *foundation::URL::fromString("https://x.org/terms");
    using C = LinkText::Component;
    const LinkText::LinkStyle plain{};
    EXPECT_EQ(LinkText({C::text("Read our "), C::link("terms", url), C::text(".")}).markdown(plain),
              "Read our [terms](https://x.org/terms).");
    EXPECT_EQ(LinkText({C::link("t", url, LinkText::LinkStyle::boldItalic())}).markdown(plain),
              "***[t](https://x.org/terms)***");
    EXPECT_EQ(LinkText({C::link("t", url, LinkText::LinkStyle::italic_())}).markdown(plain),
              "*[t](https://x.org/terms)*");
    EXPECT_EQ(LinkText({C::link("t", url, plain)}).markdown(LinkText::LinkStyle::boldItalic()),
              "[t](https://x.org/terms)");
    EXPECT_EQ(LinkText({C::link("t", url)}).markdown(LinkText::LinkStyle{true, false}),
              "**[t](https://x.org/terms)**");
    EXPECT_EQ(LinkText({}).markdown(plain), "");
    EXPECT_EQ(LinkText({C::link("t", std::nullopt)}).markdown(plain), "[t]()");
    EXPECT_EQ(LinkText({C::link("t", *foundation::URL::fromString("https://x.org/a)b"))}).markdown(plain),
              "[t](https://x.org/a\\)b)");
}

TEST(LinkTextTests, TakesTheEnvironmentsStyleAndShowsTheSentence) {
    const foundation::URL url = *foundation::URL::fromString("https://x.org/terms");
    using C = LinkText::Component;
    ui::View text(LinkText({C::text("Read *our* "), C::link("terms", url)}));
    ui::TestHost host(text | ViewKit::linkStyle(LinkText::LinkStyle::boldItalic()));
    host.update();
    EXPECT_NE(host.findByText("Read our terms"), nullptr);

    ui::TestHost empty(ui::View(LinkText({})));
    empty.update();
    EXPECT_EQ(ui::TestHost::frame(empty.findType<LinkText>()).width(), 0);

    // The sentence is a key of the main bundle's table, whose entry replaces it.
    testing_support::ScopedEnvironment all("LC_ALL", nullptr), messages("LC_MESSAGES", nullptr);
    testing_support::ScopedEnvironment language("LANGUAGE", "de");
    ui::TestHost translated(ui::View(LinkText({C::text("Read our "), C::link("terms", url), C::text(".")})));
    translated.update();
    EXPECT_NE(translated.findByText("Lies unsere Bedingungen."), nullptr);
}

TEST(LinkTextTests, AClickOnALinkOpensExactlyItsAddress) {
    std::vector<std::string> opened;
    ui::OpenURLAction open([&](const foundation::URL& url) {
        opened.push_back(url.absoluteString());
        return ui::OpenURLAction::Result::handled;
    });
    using C = LinkText::Component;
    for (const std::string address : {"https://x.org/terms", "https://x.org/a)b"}) {
        opened.clear();
        ui::View text(
            LinkText({C::text("Read our "), C::link("terms", *foundation::URL::fromString(address))}));
        ui::TestHost host(text.environment(ui::OpenURLKey{}, open).frame(300, 40, ui::Alignment::topLeading));
        host.update();
        const auto frame = ui::TestHost::frame(host.findType<LinkText>());
        host.tap({frame.minX() + 3, frame.midY()}); // on "Read"
        EXPECT_TRUE(opened.empty());
        host.tap({frame.maxX() - 8, frame.midY()}); // on "terms"
        EXPECT_EQ(opened, std::vector<std::string>{address});
    }
}

TEST(MultilineSubmitTests, ALineFeedInTheFocusedFieldSubmitsTheCleanedTextOnce) {
    struct Form {
        std::shared_ptr<ui::Binding<std::string>> text;
        std::shared_ptr<std::vector<std::string>> submits;
        std::shared_ptr<ui::Binding<bool>> focus;
        ui::View body(ui::ViewContext& ctx) const {
            auto value = ctx.state<std::string>("text", "");
            *text = value.binding();
            auto binding = value.binding();
            auto s = submits;
            return ui::View(ui::TextField("Note", binding, ui::Axis::vertical)) |
                   ViewKit::multilineSubmit(binding, ui::SubmitLabel::done,
                                            [s, binding] { s->push_back(binding.get()); });
        }
    };
    auto text = std::make_shared<ui::Binding<std::string>>(ui::Binding<std::string>::constant(""));
    auto submits = std::make_shared<std::vector<std::string>>();
    ui::TestHost host(ui::View(Form{text, submits, nullptr}));
    host.update();
    auto* field = host.findByTypeName("Representable");
    ASSERT_NE(field, nullptr);

    // Written by code while unfocused: stays, no submit.
    text->set("x\ny");
    host.update();
    EXPECT_EQ(text->get(), "x\ny");
    EXPECT_TRUE(submits->empty());

    const std::vector<std::pair<std::string, std::string>> cases{
        {"Buy milk\n", "Buy milk"}, {"a\nb\nc", "abc"}, {"a\r\nb", "ab"}};
    for (const auto& [typed, cleaned] : cases) {
        submits->clear();
        host.tap(field);
        ASSERT_NE(host.focusedElement(), nullptr) << typed;
        text->set(typed);
        host.update();
        host.update();
        EXPECT_EQ(text->get(), cleaned);
        EXPECT_EQ(*submits, std::vector<std::string>{cleaned});
        EXPECT_EQ(host.focusedElement(), nullptr);
    }

    submits->clear();
    host.tap(field);
    text->set("a\rb");
    host.update();
    EXPECT_EQ(text->get(), "a\rb");
    EXPECT_TRUE(submits->empty());
    EXPECT_NE(host.focusedElement(), nullptr);
}

TEST(TextReplacementTests, SplitsAtEveryOccurrenceAndCallsTheBuilderOncePerPiece) {
    struct Run {
        std::vector<std::string> received;
        std::vector<std::string> pieces(const std::string& s, const std::string& target) {
            received.clear();
            const TextReplacement replaced(s, target, [this](const std::string& t) {
                received.push_back(t);
                return ui::Text::verbatim("<" + t + ">");
            });
            std::vector<std::string> out;
            for (const auto& run : replaced.content().resolve(ui::TextContext{}))
                out.push_back(run.text);
            return out;
        }
    } run;
    using V = std::vector<std::string>;
    EXPECT_EQ(run.pieces("{x} is {x}", "{x}"), (V{"<{x}> is <{x}>"}));
    EXPECT_EQ(run.received, (V{"{x}", "{x}", "{x}"}));
    EXPECT_EQ(run.pieces("{x}{x}", "{x}"), (V{"<{x}><{x}>"}));
    EXPECT_EQ(run.received.size(), 3u);
    EXPECT_EQ(run.pieces("plain", "{x}"), (V{"plain"}));
    EXPECT_EQ(run.received.size(), 1u);
    EXPECT_EQ(run.pieces("", "{x}"), V{});
    EXPECT_EQ(run.received.size(), 1u);
    EXPECT_EQ(run.pieces("a{x}b", ""), (V{"a{x}b"}));
    EXPECT_EQ(run.received, (V{""}));
    EXPECT_EQ(run.pieces("aaa", "aa"), (V{"<aa>a"}));
    EXPECT_EQ(run.received.size(), 2u);
}

TEST(TextReplacementTests, ColouredReplacementsWrapLikeThePlainText) {
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "word " + std::to_string(i) + " and more ";
    const TextReplacement replaced(text, "word", [](const std::string& t) {
        return ui::Text::verbatim(t).foregroundColor(QColor(Qt::red));
    });
    ui::TestHost coloured(
        ui::View(replaced).frame(200, std::nullopt, ui::Alignment::topLeading).fixedSize(false, true));
    ui::TestHost plain(ui::View(ui::Text::verbatim(text))
                           .frame(200, std::nullopt, ui::Alignment::topLeading)
                           .fixedSize(false, true));
    coloured.update();
    plain.update();
    const auto* a = coloured.findByTypeName("Text");
    const auto* b = plain.findByTypeName("Text");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->frame().size.height, b->frame().size.height);
    EXPECT_GT(a->frame().size.height, 40);
}

TEST(TextComponentGallery, DrawsInBothSchemes) {
    using C = LinkText::Component;
    const auto url = *foundation::URL::fromString("https://x.org/terms");
    auto gallery = [&] {
        return ui::VStack(
                   ui::HorizontalAlignment::leading, 12,
                   {ui::View(DotLoadingAnimationText{"Loading", nullptr, 3, 0.5}),
                    ui::View(
                        LinkText({C::text("Read our "), C::link("terms", url), C::text(" and "),
                                  C::link("privacy", url, LinkText::LinkStyle::boldItalic()), C::text(".")})),
                    ui::View(TextReplacement("Hello {name}, welcome back, {name}!", "{name}",
                                             [](const std::string&) {
                                                 return ui::Text::verbatim("Ada").bold().foregroundColor(
                                                     QColor(Qt::red));
                                             })),
                    ui::View(ui::TextField("Add a note",
                                           ui::Binding<std::string>::constant("First line\nsecond line"),
                                           ui::Axis::vertical)),
                    ui::View(ui::TextField("Add a note", ui::Binding<std::string>::constant(""),
                                           ui::Axis::vertical))})
            .padding(16)
            .frame(260, 240, ui::Alignment::topLeading);
    };
    for (auto scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
        ui::EnvironmentValues environment;
        environment.set<ui::ColorSchemeKey>(scheme);
        ui::TestHost host(gallery(), {260, 240}, environment);
        host.stepFrame(1.0);
        const QImage image =
            host.render(2, scheme == ui::ColorScheme::light ? QColor(236, 236, 236) : QColor(40, 40, 40));
        ASSERT_FALSE(image.isNull());
        if (const char* path = std::getenv("TEXT_COMPONENTS_PNG"))
            image.save(QString(path) + (scheme == ui::ColorScheme::light ? "-light.png" : "-dark.png"));
    }
}
