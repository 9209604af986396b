#include "TestBox.h"

#include "foundation/IndexSet.h"
#include "ui/ForEach.h"
#include "ui/List.h"
#include "ui/ListRowChanges.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace uitest;
using graphics::CGPoint;

namespace {

// Rows 22 high: with the default insets (4 above and below) each list row is 30 high.
ui::View row(const std::string& name) {
    return box(100, 22, name);
}

struct Edits {
    std::vector<std::pair<foundation::IndexSet, std::size_t>> moves;
    std::vector<foundation::IndexSet> deletions;
};

struct EditableList {
    std::vector<std::string> names;
    std::shared_ptr<Edits> edits;
    std::shared_ptr<std::optional<std::string>> selection; // none: no selection binding
    bool withEditor = false;

    ui::View body(ui::ViewContext&) const {
        auto rows = ui::ForEach(names, [](const std::string& name) { return name; },
                                [editor = withEditor](const std::string& name) {
                                    if (editor && name == "b")
                                        return ui::View(ui::HStack({row(name), box(40, 22, "editor").focusable()}));
                                    return row(name);
                                })
                        .onMove([edits = edits](const foundation::IndexSet& from, std::size_t to) {
                            edits->moves.push_back({from, to});
                        })
                        .onDelete([edits = edits](const foundation::IndexSet& at) { edits->deletions.push_back(at); });
        if (!selection) return ui::List({rows});
        ui::Binding<std::optional<std::string>> binding([s = selection] { return *s; },
                                                        [s = selection](std::optional<std::string> v) { *s = v; });
        return ui::List(binding, {rows});
    }
};

CGPoint centreOf(ui::TestHost& host, const std::string& text) {
    const auto frame = host.frame(host.findByText(text));
    return {frame.midX(), frame.midY()};
}

void drag(ui::TestHost& host, CGPoint from, CGPoint to) {
    host.pointerDown(from);
    const int steps = 6;
    for (int i = 1; i <= steps; ++i) {
        host.pointerMove({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    }
    host.pointerUp(to);
}

TEST(ListTest, DraggingARowReportsSourceOffsetsAndADestinationInTheListBeforeTheMove) {
    auto edits = std::make_shared<Edits>();
    ui::TestHost host(EditableList{{"a", "b", "c", "d", "e"}, edits, nullptr}, {300, 300});
    ASSERT_EQ(host.frame(host.findByText("c")).minY(), 64); // 30 a row, content inset by 4

    // Row 0 released between rows 2 and 3 goes before row 3.
    drag(host, centreOf(host, "a"), {50, 95});
    // Row 3 released between rows 0 and 1 goes before row 1.
    drag(host, centreOf(host, "d"), {50, 28});
    // Released below the last row: to the end.
    drag(host, centreOf(host, "b"), {50, 200});
    ASSERT_EQ(edits->moves.size(), 3u);
    EXPECT_EQ(edits->moves[0].first, foundation::IndexSet(0));
    EXPECT_EQ(edits->moves[0].second, 3u);
    EXPECT_EQ(edits->moves[1].first, foundation::IndexSet(3));
    EXPECT_EQ(edits->moves[1].second, 1u);
    EXPECT_EQ(edits->moves[2].second, 5u);

    // Released where it started, or just below its own place, it does not move.
    drag(host, centreOf(host, "c"), {50, 80});
    drag(host, centreOf(host, "c"), {50, 95});
    EXPECT_EQ(edits->moves.size(), 3u);
    // The dragged row follows the pointer while the drag lasts.
    host.pointerDown(centreOf(host, "a"));
    host.pointerMove({50, 30});
    host.pointerMove({50, 45});
    EXPECT_EQ(host.frame(host.findByText("a")).minY(), 34);
    host.pointerUp({50, 45});
    EXPECT_EQ(host.frame(host.findByText("a")).minY(), 4);
}

TEST(ListTest, ARowDragCancelledByEscapeOrTheWindowPutsTheRowBackAndMovesNothing) {
    auto edits = std::make_shared<Edits>();
    ui::TestHost host(EditableList{{"a", "b", "c", "d", "e"}, edits, nullptr}, {300, 300});
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "escape" : "window lost the pointer");
        host.pointerDown(centreOf(host, "a"));
        host.pointerMove({50, 40});
        host.pointerMove({50, 95});
        EXPECT_GT(host.frame(host.findByText("a")).minY(), 4);
        if (escape)
            EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::escape));
        else
            host.events().cancelPointer();
        host.update();
        EXPECT_EQ(host.frame(host.findByText("a")).minY(), 4) << "back in its place";
        host.pointerUp({50, 95});
        EXPECT_TRUE(edits->moves.empty());
    }
}

TEST(ListTest, DeleteRemovesTheSelectedRowOnlyWithASelectionAndNotFromAFocusedEditor) {
    auto edits = std::make_shared<Edits>();
    auto selection = std::make_shared<std::optional<std::string>>();
    ui::TestHost host(EditableList{{"a", "b", "c"}, edits, selection}, {300, 300});
    EXPECT_FALSE(host.keyPress(ui::KeyEquivalent::delete_)); // nothing selected yet
    host.tap(host.findByText("c"));
    EXPECT_EQ(*selection, "c");
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::delete_));
    ASSERT_EQ(edits->deletions.size(), 1u);
    EXPECT_EQ(edits->deletions[0], foundation::IndexSet(2));
    host.tap(host.findByText("a"));
    host.keyPress(ui::KeyEquivalent::deleteForward);
    ASSERT_EQ(edits->deletions.size(), 2u);
    EXPECT_EQ(edits->deletions[1], foundation::IndexSet(0));

    // Without a selection binding a click selects nothing and Delete does nothing.
    auto unselectable = std::make_shared<Edits>();
    ui::TestHost plain(EditableList{{"a", "b"}, unselectable, nullptr}, {300, 300});
    plain.tap(plain.findByText("a"));
    EXPECT_FALSE(plain.keyPress(ui::KeyEquivalent::delete_));
    EXPECT_TRUE(unselectable->deletions.empty());

    // A key typed into an editor inside a row stays the editor's.
    auto editing = std::make_shared<Edits>();
    auto chosen = std::make_shared<std::optional<std::string>>();
    ui::TestHost withEditor(EditableList{{"a", "b"}, editing, chosen, true}, {300, 300});
    withEditor.tap(withEditor.findByText("editor"));
    ASSERT_NE(withEditor.focusedElement(), nullptr);
    EXPECT_EQ(*chosen, "b");
    withEditor.keyPress(ui::KeyEquivalent::delete_);
    EXPECT_TRUE(editing->deletions.empty());
    // Clicking the row itself gives the list the focus back.
    withEditor.tap(withEditor.findByText("a"));
    withEditor.keyPress(ui::KeyEquivalent::delete_);
    EXPECT_EQ(editing->deletions.size(), 1u);
}

struct LongList {
    int count;
    std::shared_ptr<ui::ScrollViewProxy> proxy;
    ui::View body(ui::ViewContext&) const {
        return ui::ScrollViewReader([*this](const ui::ScrollViewProxy& p) {
            *proxy = p;
            return ui::View(ui::List({ui::View(ui::Text("top")).id(std::string("top")),
                                      ui::ForEach(0, count, [](int i) { return row("row " + std::to_string(i)); }),
                                      ui::View(ui::Text("bottom")).id(std::string("bottom"))}));
        });
    }
};

TEST(ListTest, BuildsOnlyTheRowsInSightAndScrollsToAnIDWithAnAnchor) {
    auto proxy = std::make_shared<ui::ScrollViewProxy>();
    ui::TestHost host(LongList{1000, proxy}, {300, 300});
    EXPECT_LE(host.findAll([](const ui::Element& e) { return e.node().typeName() == "ListRow"; }).size(), 14u);
    EXPECT_NE(host.findByText("row 3"), nullptr);
    EXPECT_EQ(host.findByText("row 500"), nullptr);

    proxy->scrollTo(500, CGPoint{0, 0}); // the row's top at the top of the list
    host.update();
    host.update();
    ASSERT_NE(host.findByText("row 500"), nullptr);
    EXPECT_NEAR(host.frame(host.findByText("row 500")).minY(), 4, 0.5);
    EXPECT_EQ(host.findByText("row 3"), nullptr);

    proxy->scrollTo(std::string("bottom"), CGPoint{0.5, 1}); // never built until now
    host.update();
    host.update();
    ASSERT_NE(host.findByText("bottom"), nullptr);
    const auto bottom = host.frame(host.findByText("bottom"));
    EXPECT_NEAR(bottom.maxY() + 4, 300, 1.0);

    proxy->scrollTo(std::string("top"), CGPoint{0, 0});
    host.update();
    host.update();
    ASSERT_NE(host.findByText("top"), nullptr);
    EXPECT_LT(host.frame(host.findByText("top")).minY(), 10);
}

struct Rows {
    std::shared_ptr<std::vector<int>> ids;
    ui::View body(ui::ViewContext&) const {
        return ui::List({ui::Section(ui::Text("Header"), {ui::ForEach(*ids, [](int i) {
                                                           return row("row " + std::to_string(i));
                                                       })})});
    }
};

TEST(ListTest, SectionsPutTheirHeaderAboveTheirRowsAndChangesOfRowsAreReported) {
    auto ids = std::make_shared<std::vector<int>>(std::vector<int>{1, 2, 3});
    ui::TestHost host(Rows{ids}, {300, 300});
    EXPECT_LT(host.frame(host.findByText("Header")).maxY(), host.frame(host.findByText("row 1")).minY());
    auto* list = &host.graph().root();
    EXPECT_EQ(ui::ListRowChanges::last(*list), nullptr); // the first rows are not insertions

    *ids = {1, 3, 4};
    host.setRoot(Rows{ids});
    host.update();
    const auto* changes = ui::ListRowChanges::last(*list);
    ASSERT_NE(changes, nullptr);
    EXPECT_EQ(changes->inserted, std::vector<foundation::AnyHashable>{foundation::AnyHashable(4)});
    EXPECT_EQ(changes->removed, std::vector<foundation::AnyHashable>{foundation::AnyHashable(2)});

    // Edits far apart in a long list, a row moved from the front to the back and an id
    // repeated (by mistake) report only what really came and went.
    std::vector<int> many;
    for (int i = 1; i <= 40; ++i)
        many.push_back(i);
    *ids = many;
    host.setRoot(Rows{ids});
    host.update();
    std::vector<int> edited(many.begin() + 1, many.end()); // 1 moves to the back
    edited.erase(std::find(edited.begin(), edited.end(), 5));
    edited.insert(std::find(edited.begin(), edited.end(), 30), 100);
    edited.insert(edited.begin() + 8, 20);
    edited.push_back(1);
    *ids = edited;
    host.setRoot(Rows{ids});
    host.update();
    changes = ui::ListRowChanges::last(*list);
    ASSERT_NE(changes, nullptr);
    EXPECT_EQ(changes->inserted, std::vector<foundation::AnyHashable>{foundation::AnyHashable(100)});
    EXPECT_EQ(changes->removed, std::vector<foundation::AnyHashable>{foundation::AnyHashable(5)});
}

} // namespace

namespace {

struct Chrome {
    bool hideBackground = false;
    bool noMinimum = false;
    ui::View body(ui::ViewContext&) const {
        auto titled = [](const std::string& name) {
            // The separator starts where the title does and ends after the marks.
            return ui::View(ui::HStack(ui::VerticalAlignment::center, 16,
                                       {ui::View(ui::HStack({box(60, 10, name, Qt::black)}))
                                            .alignmentGuide(ui::HorizontalAlignment::listRowSeparatorLeading,
                                                            [](const ui::ViewDimensions&) { return 0.0; }),
                                        box(20, 10, {}, Qt::darkGray)
                                            .alignmentGuide(ui::HorizontalAlignment::listRowSeparatorTrailing,
                                                            [](const ui::ViewDimensions& d) { return d.width; })}))
                .padding(ui::EdgeSet::horizontal, 40)
                .listRowSeparatorTint(ui::Color::blue)
                .listRowInsets(ui::EdgeInsets{0, 0, 0, 0});
        };
        ui::View list = ui::List({ui::ForEach(std::vector<std::string>{"one", "two"},
                                              [](const std::string& n) { return n; }, titled),
                                  box(50, 10, "tinted").listRowBackground(ui::View(ui::Color::red))});
        if (noMinimum) list = list.environment(ui::DefaultMinListRowHeightKey{}, 0.0);
        if (hideBackground) list = list.scrollContentBackground(ui::Visibility::hidden);
        return list;
    }
};

TEST(ListTest, RowsTakeTheirInsetsBackgroundsMinimumHeightAndSeparatorGuides) {
    ui::TestHost host(Chrome{}, {300, 200});
    auto rowOf = [&](const std::string& text) {
        ui::Element* e = host.findByText(text);
        while (e && e->node().typeName() != "ListRow")
            e = e->parent();
        return host.frame(e);
    };
    EXPECT_EQ(rowOf("one").height(), 24); // the default least height
    EXPECT_EQ(host.frame(host.findByText("one")).minX(), 40);
    EXPECT_EQ(host.frame(host.findByText("tinted")).minX(), 8); // the default insets
    EXPECT_EQ(rowOf("tinted").height(), 24);

    const QImage image = host.render(1, Qt::yellow);
    const int line = int(rowOf("one").maxY()) - 1;
    EXPECT_EQ(image.pixelColor(30, line), QColor(Qt::white)); // before the title: no line
    const QColor tint = image.pixelColor(60, line);
    EXPECT_GT(tint.blue(), 200);
    EXPECT_LT(tint.red(), 100);
    EXPECT_EQ(image.pixelColor(200, line), QColor(Qt::white)); // past the marks' trailing edge
    const auto tinted = rowOf("tinted");
    const QColor background = image.pixelColor(200, int(tinted.midY()));
    EXPECT_GT(background.red(), 200);
    EXPECT_LT(background.green(), 100);
    EXPECT_EQ(image.pixelColor(200, 150), QColor(Qt::white)); // the list's own background

    ui::TestHost bare(Chrome{true, true}, {300, 200});
    EXPECT_EQ(bare.frame(bare.findByText("one")).height(), 10);
    ui::Element* row = bare.findByText("one");
    while (row->node().typeName() != "ListRow")
        row = row->parent();
    EXPECT_EQ(bare.frame(row).height(), 10); // no least height, no insets
    EXPECT_EQ(bare.render(1, Qt::yellow).pixelColor(200, 150), QColor(Qt::yellow));
}

// A row whose title stands after an indent and sets the separator's leading guide, or not.
struct GuidedRows {
    CGFloat indent = 20;
    bool guided = true;
    ui::View body(ui::ViewContext&) const {
        auto titled = [*this](const std::string& name) {
            ui::View title = box(60, 10, name, Qt::black);
            if (guided)
                title = title.alignmentGuide(ui::HorizontalAlignment::listRowSeparatorLeading,
                                             [](const ui::ViewDimensions&) { return 0.0; });
            return ui::View(ui::HStack(ui::VerticalAlignment::center, 0, {box(indent, 10, {}, Qt::darkGray), title}))
                .listRowSeparatorTint(ui::Color::blue)
                .listRowInsets(ui::EdgeInsets{0, 0, 0, 0});
        };
        return ui::List({ui::ForEach(std::vector<std::string>{"one", "two"}, [](const std::string& n) { return n; },
                                     titled)});
    }
};

TEST(ListTest, TheSeparatorFollowsTheViewThatSetsItsGuideAsTheRowChanges) {
    ui::TestHost host(GuidedRows{}, {300, 200});
    auto lineStart = [&] {
        ui::Element* row = host.findByText("one");
        while (row->node().typeName() != "ListRow")
            row = row->parent();
        const QImage image = host.render();
        const int y = int(host.frame(row).maxY()) - 1;
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).blue() > 200 && image.pixelColor(x, y).red() < 100) return x;
        }
        return -1;
    };
    EXPECT_EQ(lineStart(), 20);
    host.setRoot(GuidedRows{80, true}); // the same title, moved by its row's layout
    host.update();
    EXPECT_EQ(lineStart(), 80);
    host.setRoot(GuidedRows{80, false}); // no view sets the guide: the row's inset
    host.update();
    EXPECT_EQ(lineStart(), 0);
    host.setRoot(GuidedRows{50, true}); // set again, by a new view
    host.update();
    EXPECT_EQ(lineStart(), 50);
}

} // namespace
