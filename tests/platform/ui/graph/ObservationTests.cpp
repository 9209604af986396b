#include "TestBox.h"

#include "reactive/ObservableObject.h"
#include "reactive/ObservationRegistrar.h"
#include "reactive/Published.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace uitest;

namespace {

class Scores {
public:
    int home() const {
        registrar_.access(*this, &Scores::home_);
        return home_;
    }
    void setHome(int value) {
        registrar_.withMutation(*this, &Scores::home_, [&] { home_ = value; });
    }
    int away() const {
        registrar_.access(*this, &Scores::away_);
        return away_;
    }
    void setAway(int value) {
        registrar_.withMutation(*this, &Scores::away_, [&] { away_ = value; });
    }

private:
    reactive::ObservationRegistrar registrar_;
    int home_ = 0;
    int away_ = 0;
};

struct HomeLabel {
    std::shared_ptr<Scores> scores;
    bool operator==(const HomeLabel&) const = default;
    ui::View body(ui::ViewContext&) const { return box(1, 1, "home:" + std::to_string(scores->home())); }
};
struct AwayLabel {
    std::shared_ptr<Scores> scores;
    bool operator==(const AwayLabel&) const = default;
    ui::View body(ui::ViewContext&) const { return box(1, 1, "away:" + std::to_string(scores->away())); }
};
struct Board {
    std::shared_ptr<Scores> scores;
    ui::View body(ui::ViewContext&) const { return ui::VStack({HomeLabel{scores}, AwayLabel{scores}}); }
};

TEST(ObservationTest, OnlyViewsThatReadAPropertyReevaluateWhenItIsWritten) {
    auto scores = std::make_shared<Scores>();
    ui::TestHost host(Board{scores});
    auto* board = host.findType<Board>();
    auto* home = host.findType<HomeLabel>();
    auto* away = host.findType<AwayLabel>();
    ASSERT_TRUE(board && home && away);

    scores->setHome(3);
    host.update();
    EXPECT_NE(host.findByText("home:3"), nullptr);
    EXPECT_EQ(board->evaluationCount(), 1);
    EXPECT_EQ(home->evaluationCount(), 2);
    EXPECT_EQ(away->evaluationCount(), 1);

    scores->setHome(3); // an equal write notifies all the same
    host.update();
    EXPECT_EQ(home->evaluationCount(), 3);
    EXPECT_EQ(away->evaluationCount(), 1);
}

class Counter : public reactive::ObservableObject {
public:
    reactive::Published<int> count{this, 0};
};

struct CounterView {
    std::shared_ptr<Counter> counter;
    ui::View body(ui::ViewContext& ctx) const {
        auto c = ctx.observedObject(counter);
        return box(1, 1, "count:" + std::to_string(c->count.get()));
    }
};

TEST(ObservationTest, AnObservedObjectReevaluatesItsViewOnEveryChange) {
    auto counter = std::make_shared<Counter>();
    ui::TestHost host(CounterView{counter});
    counter->count = 2;
    host.update();
    EXPECT_NE(host.findByText("count:2"), nullptr);
    auto* view = host.findType<CounterView>();
    counter->count = 2;
    host.update();
    EXPECT_EQ(view->evaluationCount(), 3);
}

} // namespace
