#include "ui/Form.h"
#include "ui/Group.h"
#include "ui/LabeledContent.h"
#include "ui/Picker.h"
#include "ui/Section.h"
#include "ui/Stack.h"
#include "ui/TabView.h"
#include "ui/TestHost.h"
#include "ui/TextFieldWidget.h"
#include "ui/Toggle.h"
#include "ui/ViewContext.h"

#include "Handles.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace ui;
using uitest::Handles;

Text verbatim(const char* s) { return Text(std::string(s)); }

View settingsForm(const Binding<bool>& on) {
    return Form(Group({
        View(LabeledContent(verbatim("Burn:"), VStack(HorizontalAlignment::leading, std::nullopt,
                                                     {View(Toggle(verbatim("On quit"), on)),
                                                      View(Toggle(verbatim("At the end of the day"), on))}))),
        View(LabeledContent(verbatim("Much longer label:"), View(Text(std::string("Value"))))),
        View(Text(std::string("Unlabelled row")))}));
}

TEST(Form, ColumnsLineLabelsUpAtTheirTrailingEdgeAndContentsAtOneStart) {
    TestHost host(View(settingsForm(Binding<bool>::constant(true))).padding(), {420, 200});
    host.renderPNG(QDir::temp().filePath("quoril-form-columns.png"), 2);
    const auto burn = TestHost::frame(host.findByText("Burn:"));
    const auto longer = TestHost::frame(host.findByText("Much longer label:"));
    const auto toggle = TestHost::frame(host.findByText("On quit"));
    const auto value = TestHost::frame(host.findByText("Value"));
    const auto loose = TestHost::frame(host.findByText("Unlabelled row"));
    EXPECT_NEAR(burn.maxX(), longer.maxX(), 0.5) << "labels right-aligned";
    EXPECT_LT(burn.minX(), burn.maxX());
    EXPECT_GT(value.minX(), longer.maxX());
    EXPECT_NEAR(loose.minX(), value.minX(), 0.5) << "an unlabelled row starts with the contents";
    EXPECT_LT(toggle.minX(), value.minX() + 30) << "the toggle is in the content column";
    EXPECT_GT(toggle.minX(), burn.maxX());
    EXPECT_NEAR(value.midY() - longer.midY(), 0, 1) << "a label sits on its content's line";
    EXPECT_LT(burn.maxY(), longer.minY());
}

TEST(Form, APickersLabelTakesTheLabelColumn) {
    auto choice = std::make_shared<int>(2);
    const Binding<int> selection([choice] { return *choice; }, [choice](int v) { *choice = v; });
    View form = Form(Group({View(LabeledContent(verbatim("App Updates:"), View(Text(std::string("Value"))))),
                            View(Picker(verbatim("Frequency:"), selection,
                                        Group({View(verbatim("Hourly")).tag(1), View(verbatim("Daily")).tag(2)})))}));
    TestHost host(form.padding(), {420, 160});
    const auto updates = TestHost::frame(host.findByText("App Updates:"));
    const auto frequency = TestHost::frame(host.findByText("Frequency:"));
    const auto value = TestHost::frame(host.findByText("Value"));
    const auto daily = TestHost::frame(host.findByText("Daily"));
    EXPECT_NEAR(frequency.maxX(), updates.maxX(), 0.5) << "right-aligned with the other labels";
    EXPECT_GE(daily.minX(), value.minX()) << "the control in the content column";
    EXPECT_LT(daily.minX(), value.minX() + 30);
    EXPECT_NEAR(daily.midY(), frequency.midY(), 4) << "on the control's line";
    EXPECT_EQ(host.findAll([](const Element& e) { return e.node().text() == std::optional<std::string>("Frequency:"); }).size(),
              1u)
        << "the label is shown once";
}

TEST(Form, GroupedPutsSectionsUnderTheirHeadersWithLabelAndContentAtTheEnds) {
    View form = View(Form(Group({View(Section(verbatim("Dock Icon"),
                                                    Group({View(LabeledContent(verbatim("Size"), std::string("Large"))),
                                                           View(Text(std::string("Plain row")))})))})))
                    .formStyle(FormStyle::grouped);
    TestHost host(form, {400, 200});
    host.renderPNG(QDir::temp().filePath("quoril-form-grouped.png"), 2);
    const auto header = TestHost::frame(host.findByText("Dock Icon"));
    const auto label = TestHost::frame(host.findByText("Size"));
    const auto content = TestHost::frame(host.findByText("Large"));
    const auto plain = TestHost::frame(host.findByText("Plain row"));
    EXPECT_LT(header.maxY(), label.minY());
    EXPECT_NEAR(label.minX(), plain.minX(), 0.5);
    EXPECT_GT(content.maxX(), 340) << "content at the trailing end of the box";
    EXPECT_LT(label.maxY(), plain.minY());
}

enum class Pane { general, updates };

struct Tabs {
    std::shared_ptr<Handles<Pane>> handles;
    View body(ViewContext& ctx) const {
        auto pane = ctx.state("pane", Pane::general);
        handles->keep("pane", pane);
        return View(TabView(pane.binding(),
                            {Tab(verbatim("General"), "gear", Pane::general, View(Text(std::string("General pane")))),
                             Tab(verbatim("Updates"), "arrow.trianglehead.2.clockwise.rotate.90", Pane::updates,
                                 View(Text(std::string("Updates pane"))))}))
            .frame(300, 160);
    }
};

TEST(TabViewTest, TheSelectionBindingChoosesTheTabAndAClickOnATabWritesIt) {
    auto handles = std::make_shared<Handles<Pane>>();
    TestHost host(Tabs{handles}, {300, 160});
    EXPECT_NE(host.findByText("General pane"), nullptr);
    EXPECT_EQ(host.findByText("Updates pane"), nullptr) << "only the shown tab is built";

    (*handles)["pane"].set(Pane::updates);
    host.update();
    EXPECT_NE(host.findByText("Updates pane"), nullptr);
    EXPECT_EQ(host.findByText("General pane"), nullptr);
    host.renderPNG(QDir::temp().filePath("quoril-tabview.png"), 2);

    host.tap(host.findByText("General"));
    EXPECT_EQ((*handles)["pane"].value(), Pane::general);
    EXPECT_NE(host.findByText("General pane"), nullptr);
}

TEST(TabViewTest, ASelectionMatchingNoTabShowsTheFirstWithoutWriting) {
    auto selection = std::make_shared<std::string>("missing");
    Binding<std::string> binding([selection] { return *selection; }, [selection](std::string v) { *selection = v; });
    TestHost host(View(TabView(binding, {Tab(verbatim("One"), "gear", "one", View(Text(std::string("First")))),
                                         Tab(verbatim("Two"), "gear", "two", View(Text(std::string("Second"))))})),
                  {300, 160});
    EXPECT_NE(host.findByText("First"), nullptr);
    EXPECT_EQ(*selection, "missing");
    host.tap(host.findByText("Two"));
    EXPECT_EQ(*selection, "two");
}

struct Search {
    std::shared_ptr<Handles<std::string>> handles;
    View body(ViewContext& ctx) const {
        auto query = ctx.state<std::string>("query", "");
        handles->keep("query", query);
        return View(Text(std::string("Results for: ") + query.value())).searchable(query.binding(), SearchFieldPlacement::automatic, "Find goals");
    }
};

TEST(Searchable, TheFieldWritesTheBoundTextAndItsClearButtonEmptiesIt) {
    auto handles = std::make_shared<Handles<std::string>>();
    TestHost host(Search{handles}, {300, 120});
    ASSERT_NE(host.widgetContainer(), nullptr);
    auto* field = host.widgetContainer()->findChild<TextFieldWidget*>();
    ASSERT_NE(field, nullptr);
    field->insert("milk");
    host.update();
    EXPECT_EQ((*handles)["query"].value(), "milk");
    EXPECT_NE(host.findByText("Results for: milk"), nullptr);
    host.renderPNG(QDir::temp().filePath("quoril-searchable.png"), 2);

    ASSERT_TRUE(host.tap(host.find("clearSearch")));
    EXPECT_EQ((*handles)["query"].value(), "");
    EXPECT_EQ(host.find("clearSearch"), nullptr) << "nothing left to clear";
}

} // namespace

namespace {

struct PresentedSearch {
    std::shared_ptr<Handles<std::string>> texts;
    std::shared_ptr<Handles<bool>> flags;
    View body(ViewContext& ctx) const {
        auto query = ctx.state<std::string>("query", "");
        auto presented = ctx.state<bool>("presented", false);
        texts->keep("query", query);
        flags->keep("presented", presented);
        return View(Text(std::string("Results"))).searchable(query.binding(), presented.binding(),
                                                             SearchFieldPlacement::toolbar, Text("Find goals"));
    }
};

} // namespace

TEST(Searchable, ThePresentationBindingFollowsTheFieldsFocusBothWays) {
    auto texts = std::make_shared<Handles<std::string>>();
    auto flags = std::make_shared<Handles<bool>>();
    TestHost host(PresentedSearch{texts, flags}, {300, 120});
    ASSERT_NE(host.widgetContainer(), nullptr);
    auto* field = host.widgetContainer()->findChild<TextFieldWidget*>();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->placeholderText(), "Find goals") << "the Text prompt, resolved";
    const auto presented = (*flags)["presented"];
    EXPECT_EQ(host.focusedElement(), nullptr);

    presented.set(true);
    host.update();
    EXPECT_NE(host.focusedElement(), nullptr) << "presenting focuses the field";
    presented.set(false);
    host.update();
    EXPECT_EQ(host.focusedElement(), nullptr);

    host.tap(host.find("searchField"));
    EXPECT_TRUE(presented.value()) << "a click into the field presents the search";
    EXPECT_EQ((*texts)["query"].value(), "");
}
