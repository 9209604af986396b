#include "ui/Alert.h"
#include "ui/Button.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Group.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include "Handles.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace ui;
using uitest::Handles;

// The sheet's own content: it closes itself through the environment's dismiss action and can
// present an alert of its own.
struct SheetBody {
    std::shared_ptr<Handles<bool>> flags;
    View body(ViewContext& ctx) const {
        auto dismiss = ctx.environment<DismissKey>();
        auto confirm = ctx.state("confirm", false);
        flags->keep("confirm", confirm);
        return VStack({View(Text(std::string("Sheet content"))),
                       View(Button("Done", [dismiss] { dismiss(); })),
                       View(Button("Ask", [confirm] { confirm.set(true); }))})
            .padding(20)
            .alert(Text("Sure?"), confirm.binding());
    }
};

// A screen that can show an alert of each form, a sheet and a cover, and records what ran.
struct Screen {
    std::shared_ptr<Handles<bool>> flags;
    std::shared_ptr<std::vector<std::string>> log;
    View body(ViewContext& ctx) const {
        auto deleting = ctx.state("deleting", false);
        auto saved = ctx.state("saved", false);
        auto sheet = ctx.state("sheet", false);
        auto cover = ctx.state("cover", false);
        for (auto [name, state] : {std::pair{"deleting", deleting}, {"saved", saved}, {"sheet", sheet}, {"cover", cover}})
            flags->keep(name, state);
        auto l = log;
        return VStack({View(Text(std::string("Main"))), View(Button("Beneath", [l] { l->push_back("beneath"); }))})
            .frame(400, 300)
            .alert(Text("Delete the goal?"), deleting.binding(),
                   Group({Button("Delete", ButtonRole::destructive, [l] { l->push_back("delete"); }),
                          Button("Cancel", ButtonRole::cancel, [l] { l->push_back("cancel"); })}),
                   View(Text(std::string("This cannot be undone."))))
            .alert(saved.binding(),
                   [l] {
                       return Alert(Text(std::string("Saved")), Text(std::string("All done.")),
                                    Alert::Button::default_(Text("OK"), [l] { l->push_back("ok"); }));
                   })
            .sheet(sheet.binding(), [l] { l->push_back("sheet dismissed"); }, [f = flags] { return View(SheetBody{f}); })
            .fullScreenCover(cover.binding(), [] { return View(Text(std::string("Cover"))); });
    }
};

struct Presentations : testing::Test {
    std::shared_ptr<Handles<bool>> flags = std::make_shared<Handles<bool>>();
    std::shared_ptr<std::vector<std::string>> log = std::make_shared<std::vector<std::string>>();
    TestHost host{Screen{flags, log}, {400, 300}};

    void set(const std::string& name, bool value) {
        (*flags)[name].set(value);
        host.update();
    }
    bool value(const std::string& name) { return (*flags)[name].value(); }
    using Log = std::vector<std::string>;
};

TEST_F(Presentations, AnAlertShowsWhileItsBindingIsTrueAndAButtonRunsItsActionAndCloses) {
    EXPECT_TRUE(host.presentations().empty());
    EXPECT_EQ(host.findByText("Delete the goal?"), nullptr);

    set("deleting", true);
    ASSERT_EQ(host.presentations().size(), 1u);
    const auto& alert = *host.presentations()[0].alert;
    ASSERT_EQ(alert.buttons.size(), 2u);
    EXPECT_EQ(alert.buttons[0].title(), "Delete");
    EXPECT_EQ(alert.buttons[0].role, ButtonRole::destructive);
    ASSERT_NE(host.findByText("This cannot be undone."), nullptr);
    host.renderPNG(QDir::temp().filePath("quoril-alert.png"), 2);

    // A click beneath the alert reaches nothing there.
    host.tap(host.findByText("Beneath"));
    EXPECT_TRUE(log->empty());

    // Clicking the drawn button closes the alert, writing false, and runs the action.
    host.tap(host.findByText("Delete"));
    EXPECT_FALSE(value("deleting"));
    EXPECT_EQ(*log, Log{"delete"});
    EXPECT_TRUE(host.presentations().empty());
    EXPECT_EQ(host.findByText("Delete the goal?"), nullptr);

    // Escape chooses the cancel button; so does a user's dismissal.
    set("deleting", true);
    EXPECT_TRUE(host.keyPress(KeyEquivalent::escape));
    EXPECT_FALSE(value("deleting"));
    set("deleting", true);
    EXPECT_TRUE(host.dismissPresentation());
    EXPECT_FALSE(value("deleting"));
    EXPECT_EQ(*log, (Log{"delete", "cancel", "cancel"}));
}

TEST_F(Presentations, AnAlertValueShowsItsTextsAndItsOnlyButtonAnswersReturnAndEscape) {
    set("saved", true);
    ASSERT_NE(host.findByText("Saved"), nullptr);
    ASSERT_NE(host.findByText("All done."), nullptr);
    EXPECT_TRUE(host.keyPress(KeyEquivalent::return_));
    EXPECT_FALSE(value("saved"));
    set("saved", true);
    EXPECT_TRUE(host.keyPress(KeyEquivalent::escape));
    EXPECT_FALSE(value("saved"));
    EXPECT_TRUE(host.chooseAlertButton("OK") == false) << "nothing is shown any more";
    set("saved", true);
    EXPECT_TRUE(host.chooseAlertButton("OK"));
    EXPECT_FALSE(value("saved"));
    EXPECT_EQ(*log, (Log{"ok", "ok", "ok"}));
}

TEST_F(Presentations, ASheetClosesByItsDismissActionByEscapeAndByItsBindingAndRunsOnDismissEachTime) {
    set("sheet", true);
    ASSERT_NE(host.findByText("Sheet content"), nullptr);
    EXPECT_EQ(host.presentations().at(0).kind, Presentation::Kind::sheet);
    host.renderPNG(QDir::temp().filePath("quoril-sheet.png"), 2);

    host.tap(host.findByText("Done"));
    EXPECT_FALSE(value("sheet"));
    EXPECT_EQ(host.findByText("Sheet content"), nullptr);
    EXPECT_EQ(*log, Log{"sheet dismissed"});

    set("sheet", true);
    EXPECT_TRUE(host.keyPress(KeyEquivalent::escape));
    EXPECT_FALSE(value("sheet"));

    set("sheet", true);
    set("sheet", false); // closed by code
    EXPECT_EQ(host.findByText("Sheet content"), nullptr);
    EXPECT_EQ(*log, (Log{"sheet dismissed", "sheet dismissed", "sheet dismissed"}));
}

TEST_F(Presentations, WhatASheetPresentsIsShownOverItAndEscapeClosesOnlyTheTopmost) {
    set("sheet", true);
    host.tap(host.findByText("Ask"));
    ASSERT_EQ(host.presentations().size(), 2u);
    EXPECT_NE(host.findByText("Sure?"), nullptr);
    host.renderPNG(QDir::temp().filePath("quoril-sheet-alert.png"), 2);

    EXPECT_TRUE(host.keyPress(KeyEquivalent::escape));
    EXPECT_FALSE(value("confirm"));
    EXPECT_TRUE(value("sheet")) << "the sheet stays";
    EXPECT_TRUE(host.keyPress(KeyEquivalent::escape));
    EXPECT_FALSE(value("sheet"));
}

TEST_F(Presentations, ACoverFillsTheWindowAndAUsersDismissalWritesFalse) {
    set("cover", true);
    auto* cover = host.findByText("Cover");
    ASSERT_NE(cover, nullptr);
    EXPECT_EQ(host.presentations().at(0).kind, Presentation::Kind::fullScreenCover);
    EXPECT_TRUE(host.dismissPresentation());
    EXPECT_FALSE(value("cover"));
    EXPECT_FALSE(host.dismissPresentation()) << "nothing left to close";
}

} // namespace
