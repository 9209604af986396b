// Rows a list describes anew at each update, with new closures in their modifiers, keep what
// was laid out and painted while nothing else about them changed.
#include "Handles.h"

#include "ui/Element.h"
#include "ui/ForEach.h"
#include "ui/List.h"
#include "ui/Rectangle.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <QPainterPath>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace uitest;

namespace {

// How often each row was measured and placed, by its number.
struct Counts {
    std::map<int, int> measured;
    std::map<int, int> placed;
};

// A row's content: 20 points high, painted blue (the last row) or red, counting its layout.
class CountingNode final : public ui::ViewNode {
public:
    CountingNode(int number, std::shared_ptr<Counts> counts)
        : number_(number)
        , counts_(std::move(counts)) {}
    std::string_view typeName() const override { return "Counting"; }
    graphics::CGSize sizeThatFits(ui::Element&, const ui::ProposedViewSize& proposal) const override {
        ++counts_->measured[number_];
        return {proposal.width.value_or(100), 20};
    }
    void placeChildren(ui::Element&, const ui::ProposedViewSize&) const override { ++counts_->placed[number_]; }
    void render(const ui::Element& element, ui::DisplayList& list) const override {
        QPainterPath path;
        path.addRect(element.frame().toQRectF());
        list.fill(path, QColor(number_ == 3 ? Qt::blue : Qt::red));
    }
    int number() const { return number_; }

private:
    int number_;
    std::shared_ptr<Counts> counts_;
};

// The same description at every update: only where it is put changes.
const ui::View& marker() {
    static const ui::View view = ui::View(std::make_shared<CountingNode>(0, std::make_shared<Counts>())).frame(10, 10);
    return view;
}

struct CountedRow {
    int number;
    int value;
    std::shared_ptr<Counts> counts;
    bool operator==(const CountedRow&) const = default;
    ui::View body(ui::ViewContext&) const { return ui::View(std::make_shared<CountingNode>(number, counts)); }
};

// Three rows; the first shows `value`, the last has a marker in its background, at its leading
// end or with `trailing` at its trailing end; tapping a row logs the tick of the update that
// described it.
struct Rows {
    std::shared_ptr<Counts> counts;
    std::shared_ptr<std::vector<std::string>> log;
    std::shared_ptr<Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto tick = ctx.state<int>("tick", 0);
        auto value = ctx.state<int>("value", 0);
        auto trailing = ctx.state<int>("trailing", 0);
        handles->keep("tick", tick);
        handles->keep("value", value);
        handles->keep("trailing", trailing);
        const int now = *tick;
        const int first = *value;
        const auto markerAt = *trailing ? ui::Alignment::trailing : ui::Alignment::leading;
        auto log = this->log;
        auto counts = this->counts;
        return ui::List({ui::ForEach(std::vector<int>{1, 2, 3},
                                     [=](int number) {
                                         return ui::View(CountedRow{number, number == 1 ? first : 0, counts})
                                             .background(number == 3 ? marker() : ui::View(), markerAt)
                                             .contentShape(ui::Rectangle())
                                             .onTapGesture([=] {
                                                 log->push_back(std::to_string(number) + "@" + std::to_string(now));
                                             });
                                     })
                             .onMove([](const foundation::IndexSet&, std::size_t) {})})
            .listStyle(ui::ListStyle::plain);
    }
};

const ui::Element* rowContent(const ui::TestHost& host, int number) {
    for (auto* element : host.findAll([](const ui::Element& e) { return e.node().typeName() == "Counting"; })) {
        if (element->nodeAs<CountingNode>()->number() == number) return element;
    }
    return nullptr;
}

int evaluations(const ui::TestHost& host, int number) {
    return rowContent(host, number)->parent()->evaluationCount();
}

TEST(KeptRowTest, RowsWithOnlyNewClosuresKeepTheirLayoutAndRunTheNewClosures) {
    auto counts = std::make_shared<Counts>();
    auto log = std::make_shared<std::vector<std::string>>();
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(Rows{counts, log, handles}, {200, 200});
    ASSERT_NE(rowContent(host, 3), nullptr);
    const int firstEvaluations = evaluations(host, 1);
    *counts = {};

    (*handles)["tick"].set(1);
    host.update();
    for (int number = 1; number <= 3; ++number) {
        EXPECT_EQ(counts->measured[number], 0) << "row " << number;
        EXPECT_EQ(counts->placed[number], 0) << "row " << number;
    }
    EXPECT_EQ(evaluations(host, 1), firstEvaluations);
    ASSERT_TRUE(host.tap(rowContent(host, 2)));
    EXPECT_EQ(*log, std::vector<std::string>{"2@1"}) << "the closure of the latest update runs";

    // What the row shows changed: it is evaluated and laid out again, the others are not.
    (*handles)["value"].set(7);
    host.update();
    EXPECT_EQ(evaluations(host, 1), firstEvaluations + 1);
    EXPECT_GT(counts->placed[1], 0);
    EXPECT_EQ(counts->placed[2], 0);
    EXPECT_EQ(counts->measured[3], 0);
}

TEST(KeptRowTest, AModifierWhoseValueChangedIsLaidOutAgain) {
    auto counts = std::make_shared<Counts>();
    auto log = std::make_shared<std::vector<std::string>>();
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(Rows{counts, log, handles}, {200, 200});
    const auto row = rowContent(host, 3)->frame();
    EXPECT_EQ(rowContent(host, 0)->frame().minX(), row.minX());

    (*handles)["trailing"].set(1);
    host.update();
    EXPECT_EQ(rowContent(host, 0)->frame().maxX(), row.maxX());
}

} // namespace
