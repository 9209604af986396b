#include "GoalListFixture.h"

#include "App/ItemSizeElement.h"
#include "Views/BurnShader.h"
#include "Views/Utilities.h"

#include "TemporaryFolder.h"
#include "ui/Accessibility.h"
#include "ui/AnyShapeStyle.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Image.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/VisualEffectNode.h"

#include <QDir>

#include <algorithm>

using namespace goaltest;

namespace {

struct StoreFolder {
    testing_support::TemporaryFolder folder;
    std::filesystem::path file = folder.path() / "goals.store";
};

// The goal list over a store file, with the burn's states, its overlay as drawn and its button.
class BurnTest : protected StoreFolder, public GoalListTest {
protected:
    BurnTest()
        : GoalListTest(StoreFolder::file) {
        quoril::registerBurnShader();
    }

    template <class T> T state(const char* name) const {
        auto* box = host->findType<quoril::ContentView>()->findSlot<ui::detail::StateBox<T>>(name);
        EXPECT_NE(box, nullptr) << name;
        return box ? box->value : T{};
    }
    bool isBurning() const { return state<bool>("isBurning"); }
    int seed() const { return state<int>("burnSeed"); }

    ui::Element* overlay() const { return host->findByTypeName("VisualEffect"); }
    ui::ShaderEffect effectAsDrawn() const {
        auto* e = overlay();
        return e->nodeAs<ui::VisualEffectNode>()->presentedEffect(*e).steps().at(0).shader;
    }
    double timeAsDrawn() const { return effectAsDrawn().shader.arguments().at(2).values().at(0); }
    double opacityAsDrawn() const {
        for (auto* e = overlay(); e; e = e->children().empty() ? nullptr : e->children().front().get())
            if (e->node().typeName() == "Opacity") return e->presentedValue<double>("opacity", -1);
        return -1;
    }

    // The symbol of the toolbar's Burn button, which its title names to accessibility.
    ui::Element* burnButton() const {
        for (auto* e : host->findAll([](const ui::Element& e) {
                 const auto* record = e.nodeAs<ui::AccessibilityNode>();
                 return record && record->properties().label && record->properties().label->string({}) == "Burn";
             }))
            if (ui::TestHost::frame(e).midY() < toolbar) return e;
        return nullptr;
    }
    ui::Element* flame() const {
        auto* label = burnButton()->parent();
        for (auto* e : host->findAll([](const ui::Element& e) { return e.node().typeName() == "Image"; }))
            for (auto* up = e; up; up = up->parent())
                if (up == label) return e;
        return nullptr;
    }

    // The goals of the store file, as another program would read them.
    std::vector<std::string> stored() const {
        store::ModelConfiguration configuration;
        configuration.url = StoreFolder::file;
        store::ModelContainer other(quoril::quorilSchema(), configuration);
        other.mainContext()->setAutosaveEnabled(false);
        std::vector<std::string> titles;
        for (const auto& item : other.mainContext()->fetch<Item>())
            titles.push_back(item->title());
        std::sort(titles.begin(), titles.end());
        return titles;
    }
    std::vector<std::string> remaining() const {
        auto shown = titles();
        std::sort(shown.begin(), shown.end());
        return shown;
    }
    // Three completed goals and two open ones.
    void addFive() {
        addGoal("done 1", 0, true);
        addGoal("done 2", 1, true);
        addGoal("done 3", 2, true);
        addGoal("open 1", 3);
        addGoal("open 2", 4);
    }
    // On the clock: `seconds` further on, in one frame.
    void after(double seconds) { host->stepFrame(seconds); }
};

TEST_F(BurnTest, TheButtonBurnsTheCompletedGoalsInThreeSecondsWithTheShadersTimeRunningLinearly) {
    addFive();
    show();
    const int firstSeed = seed();
    EXPECT_TRUE(context()->undoManager()->canUndo());
    ASSERT_NE(burnButton(), nullptr);
    ASSERT_TRUE(isEnabled(burnButton()));
    EXPECT_EQ(opacityAsDrawn(), 0);

    host->tap(burnButton());
    EXPECT_TRUE(isBurning());
    EXPECT_FALSE(context()->undoManager()->canUndo()) << "cleared before anything is deleted";
    EXPECT_EQ(listed().size(), 5u);
    EXPECT_EQ(stored().size(), 5u) << "pending changes were saved";
    EXPECT_TRUE(effectAsDrawn().isEnabled);

    after(1.5);
    EXPECT_DOUBLE_EQ(timeAsDrawn(), 0.5);
    EXPECT_EQ(opacityAsDrawn(), 1);
    after(1.5 - 1e-3);
    EXPECT_NEAR(timeAsDrawn(), 1.0, 1e-3);
    EXPECT_EQ(opacityAsDrawn(), 1);
    EXPECT_EQ(listed().size(), 5u);

    after(1e-3);
    EXPECT_EQ(remaining(), (std::vector<std::string>{"open 1", "open 2"}));
    host->update();
    EXPECT_EQ(stored(), (std::vector<std::string>{"open 1", "open 2"}));
    EXPECT_FALSE(isBurning());
    EXPECT_EQ(state<float>("burningTime"), 0);
    settle();
    EXPECT_EQ(opacityAsDrawn(), 0);
    EXPECT_FALSE(isEnabled(burnButton())) << "nothing completed is left";

    // The deletion can be undone like any other; every burn draws its own seed.
    // (This undo manager makes a group of every registration.)
    while (context()->undoManager()->canUndo())
        context()->undoManager()->undo();
    settle(0.1);
    EXPECT_EQ(listed().size(), 5u);
    std::vector<int> seeds{firstSeed, seed()};
    for (int round = 0; round < 2; ++round) {
        addGoal("more", 5 + round, true);
        settle(0.1);
        commands->burnCompletedItems.send();
        after(3);
        settle(0.1);
        seeds.push_back(seed());
    }
    for (int s : seeds) {
        EXPECT_GE(s, 1);
        EXPECT_LE(s, 9999);
    }
    EXPECT_NE(std::count(seeds.begin(), seeds.end(), seeds.front()), std::ptrdiff_t(seeds.size()));
}

TEST_F(BurnTest, CtrlBAndTheMenusChannelStartTheSameBurnAndNothingStartsWithoutACompletedGoal) {
    addGoal("open", 0);
    addGoal("done", 1, true);
    show();
    EXPECT_EQ(burnDisabled, std::vector<bool>{false});
    EXPECT_EQ(flame()->environment().get<ui::SymbolVariantKey>(), ui::SymbolVariant::fill);
    EXPECT_EQ(flame()->environment().get<ui::ForegroundStyleKey>(),
              ui::AnyShapeStyle(quoril::Utilities::accentColor()));

    EXPECT_TRUE(host->keyPress(ui::KeyEquivalent(U'b'), ui::EventModifiers::command));
    EXPECT_TRUE(isBurning());
    after(3);
    EXPECT_EQ(titles(), std::vector<std::string>{"open"});
    settle();
    EXPECT_EQ(burnDisabled, (std::vector<bool>{false, true}));
    EXPECT_FALSE(isEnabled(burnButton()));
    EXPECT_EQ(flame()->environment().get<ui::ForegroundStyleKey>(),
              ui::AnyShapeStyle(ui::HierarchicalShapeStyle::secondary));
    EXPECT_FALSE(host->keyPress(ui::KeyEquivalent(U'b'), ui::EventModifiers::command));
    EXPECT_FALSE(isBurning());

    // The channel burns regardless: nothing to delete, but the undo history goes all the same.
    context()->undoManager()->registerUndo(collection, [](ItemCollection&) {});
    commands->burnCompletedItems.send();
    EXPECT_TRUE(isBurning());
    EXPECT_FALSE(context()->undoManager()->canUndo());
    host->update();
    EXPECT_EQ(state<graphics::CGFloat>("completedItemsHeight"), 0);
    after(3);
    EXPECT_FALSE(isBurning());
    EXPECT_EQ(titles(), std::vector<std::string>{"open"});
}

TEST_F(BurnTest, OnlyWhatWasCompletedInTheListedCollectionAtTheStartAndStillIsGoes) {
    auto other = std::make_shared<ItemCollection>("other");
    context()->insert(other);
    addGoal("elsewhere", 0, true, true, other);
    addGoal("completed at the start", 0, true);
    auto changed = addGoal("uncompleted meanwhile", 1, true);
    auto late = addGoal("completed meanwhile", 2);
    auto second = addGoal("completed before the second start", 3);
    addGoal("open", 4);
    show();

    host->tap(burnButton());
    after(1);
    changed->setCompleted(false);
    second->setCompleted(true);
    host->update();
    commands->burnCompletedItems.send();
    // Completed after both starts: in neither burn.
    late->setCompleted(true);
    host->update();
    after(2);
    // The first start's deletion: its own snapshot, still completed.
    EXPECT_EQ(remaining(),
              (std::vector<std::string>{"completed before the second start", "completed meanwhile", "open",
                                        "uncompleted meanwhile"}));
    EXPECT_FALSE(isBurning()) << "the first deletion ends the burning state";
    EXPECT_TRUE(late->completed());
    after(1);
    EXPECT_EQ(remaining(),
              (std::vector<std::string>{"completed meanwhile", "open", "uncompleted meanwhile"}));
    EXPECT_EQ(context()->fetch<Item>().size(), 4u) << "the other collection's completed goal stays";
}

TEST_F(BurnTest, WithoutACollectionOnlyCompletedGoalsWithoutOneGo) {
    addGoal("in a collection", 0, true);
    collection = nullptr;
    addGoal("loose and done", 0, true);
    addGoal("loose and open", 1);
    show();
    EXPECT_EQ(rows().size(), 2u);
    commands->burnCompletedItems.send();
    after(3);
    host->update();
    std::vector<std::string> left;
    for (const auto& item : context()->fetch<Item>())
        left.push_back(item->title());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"in a collection", "loose and open"}));
    EXPECT_EQ(stored(), left);
}

TEST_F(BurnTest, TheOverlayCoversTheCompletedRowsAndLetsClicksThrough) {
    for (int i = 0; i < 9; ++i)
        addGoal(i < 3 ? "done " + std::to_string(i) : "open " + std::to_string(i), i, i < 3);
    show();
    // Scrolled down: the burn brings the completed rows back to the top under the overlay.
    host->scroll({200, 200}, {0, 400});
    settle();
    commands->burnCompletedItems.send();
    settle(1);
    const auto shown = listed();
    const auto first = ui::TestHost::frame(rowOf(shown[0]));
    const auto third = ui::TestHost::frame(rowOf(shown[2]));
    const auto covered = ui::TestHost::frame(overlay());
    EXPECT_DOUBLE_EQ(state<graphics::CGFloat>("completedItemsHeight"), third.maxY() - first.minY());
    EXPECT_DOUBLE_EQ(covered.minY(), first.minY());
    EXPECT_DOUBLE_EQ(covered.maxY(), third.maxY());
    EXPECT_EQ(opacityAsDrawn(), 1);

    // The ring of a completed row, under the opaque overlay, still takes the click.
    host->tap(togglesOf(shown[1]).at(0));
    EXPECT_FALSE(shown[1]->completed());
    after(2);
    settle(0.1);
    EXPECT_EQ(listed().size(), 7u) << "the goal uncompleted under the overlay stays";
    EXPECT_EQ(listed().front(), shown[1]);
}

TEST_F(BurnTest, RowSizesOfRowsNoLongerListedCountForNothing) {
    addGoal("done", 0, true);
    addGoal("open", 1);
    show();
    const double rowHeight = ui::TestHost::frame(rows().front()).height();
    // As the sizes are until the rows report again after a deletion: one row too many.
    auto* sizes =
        host->findType<quoril::ContentView>()->findSlot<std::vector<quoril::ItemSizeElement>>("itemSizes");
    ASSERT_NE(sizes, nullptr);
    ASSERT_EQ(sizes->size(), 2u);
    sizes->push_back({2, {400, 1000}});
    sizes->push_back({-1, {400, 1000}});
    commands->burnCompletedItems.send();
    EXPECT_DOUBLE_EQ(state<graphics::CGFloat>("completedItemsHeight"), rowHeight);
}

TEST_F(BurnTest, ATimerOutlivingItsListDoesNothing) {
    addFive();
    show();
    host->tap(burnButton());
    after(1);
    // Another collection is shown: another list, with its own states.
    auto other = std::make_shared<ItemCollection>("other");
    context()->insert(other);
    host->setRoot(content(other));
    host->update();
    EXPECT_FALSE(isBurning());
    after(2.5);
    host->update();
    EXPECT_EQ(context()->fetch<Item>().size(), 5u);
    EXPECT_FALSE(isBurning());

    // The window closes.
    host->setRoot(content(collection));
    host->update();
    host->tap(burnButton());
    after(1);
    host->setRoot(ui::View());
    after(2.5);
    host->update();
    EXPECT_EQ(context()->fetch<Item>().size(), 5u);
}

} // namespace

namespace {

TEST_F(BurnTest, TheOverlayBurnsFromItsEdgesOverTheRowsAndEndsInAsh) {
    for (int i = 0; i < 8; ++i)
        addGoal("Accomplished goal number " + std::to_string(i + 1), i, true);
    show();
    const QColor window(30, 30, 30);
    const QImage before = host->render(2, window);
    commands->burnCompletedItems.send();
    host->update();
    const auto covered = ui::TestHost::frame(overlay());
    ASSERT_GT(covered.height(), 300);
    // Pixels of the covered area, in points of the window.
    auto at = [](const QImage& image, double x, double y) { return image.pixel(int(x * 2), int(y * 2)); };
    const graphics::CGPoint middle{covered.midX(), std::min(covered.midY(), 180.0)};
    const graphics::CGPoint nearEdge{covered.minX() + 2, middle.y};

    std::vector<QImage> frames;
    double shown = 0;
    for (double time : {0.0, 0.25, 0.5, 0.75, 1.0}) {
        after(std::max(time * 3 - shown, 0.0) - (time == 1 ? 1e-3 : 0));
        shown = time * 3 - (time == 1 ? 1e-3 : 0);
        frames.push_back(host->render(2, window));
        frames.back().save(QDir::temp().filePath(QString("quoril-burn-%1.png").arg(int(time * 100))));
        host->render(1, window).save(
            QDir::temp().filePath(QString("quoril-burn-%1@1x.png").arg(int(time * 100))));
    }
    EXPECT_EQ(frames[0], before) << "at time 0 the rows show untouched";
    const QRgb ash = at(frames[4], middle.x, middle.y);
    EXPECT_TRUE(qRed(ash) == qGreen(ash) && qGreen(ash) == qBlue(ash) && qRed(ash) < 40) << std::hex << ash;
    EXPECT_NE(ash, at(before, middle.x, middle.y));
    EXPECT_EQ(at(frames[1], middle.x, middle.y), at(before, middle.x, middle.y)) << "the middle burns last";
    EXPECT_EQ(at(frames[2], nearEdge.x, nearEdge.y), ash) << "the edges first";
}

} // namespace
