#include "../TestModels.h"

#include "TemporaryFolder.h"
#include "TestBox.h"
#include "foundation/UndoManager.h"
#include "store/ui/ModelContainerModifier.h"
#include "store/ui/Query.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ForEach.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace store_testing;

namespace {

struct Seen {
    std::vector<std::string> titles;
    std::uint64_t fetches = 0;
    int evaluations = 0;
    std::shared_ptr<store::ModelContext> context;
    std::shared_ptr<foundation::UndoManager> undoManager;
};

// The notes by rank, one 20-point box each, keyed by title.
struct NoteList {
    std::shared_ptr<Seen> seen;
    ui::View body(ui::ViewContext& ctx) const {
        auto notes = store::query(ctx, "notes", store::FetchDescriptor<Note>{std::nullopt, {{"rank"}}},
                                  ui::Animation::spring(0.5, 0.85));
        ctx.state<int>("unrelated", 0);
        seen->evaluations++;
        seen->fetches = notes.fetchCount();
        seen->titles.clear();
        std::vector<std::string> titles;
        for (const auto& note : notes)
            titles.push_back(note->title());
        seen->titles = titles;
        seen->context = ctx.environment<store::ModelContextKey>();
        seen->undoManager = ctx.environment<ui::UndoManagerKey>();
        return ui::VStack(ui::HorizontalAlignment::center, 0, {ui::ForEach(titles, [](const std::string& t) { return t; },
                                          [](const std::string& t) { return uitest::box(100, 20, t).id(t); })});
    }
};

class QueryTest : public testing::Test {
protected:
    QueryTest()
        : container(std::make_shared<store::ModelContainer>(testSchema(), fileConfiguration(folder.path() / "q.store"))) {
        container->mainContext()->setAutosaveEnabled(false);
        container->mainContext()->setUndoManager(std::make_shared<foundation::UndoManager>());
        host = std::make_unique<ui::TestHost>(
            ui::View(NoteList{seen}).frame(100, 200, ui::Alignment::top) | store::modelContainer(container),
            graphics::CGSize{100, 200});
    }
    std::shared_ptr<Note> add(std::string title, std::int64_t rank) {
        auto note = std::make_shared<Note>(std::move(title), rank);
        container->mainContext()->insert(note);
        return note;
    }
    // One change, then one update: how many more evaluations and fetches it took.
    template <class F> std::pair<int, std::uint64_t> after(F change) {
        const auto evaluations = seen->evaluations;
        const auto fetches = seen->fetches;
        change();
        host->update();
        host->update();
        return {seen->evaluations - evaluations, seen->fetches - fetches};
    }

    testing_support::TemporaryFolder folder;
    std::shared_ptr<store::ModelContainer> container;
    std::shared_ptr<Seen> seen = std::make_shared<Seen>();
    std::unique_ptr<ui::TestHost> host;
};

TEST_F(QueryTest, EachKindOfChangeReevaluatesOnceWithOneFetch) {
    host->update();
    EXPECT_EQ(seen->fetches, 1u);
    EXPECT_TRUE(seen->titles.empty());
    EXPECT_EQ(seen->context, container->mainContext());
    EXPECT_EQ(seen->undoManager, container->mainContext()->undoManager());

    auto b = add("b", 1);
    EXPECT_EQ(after([&] { add("a", 0); }), std::make_pair(1, std::uint64_t(1))) << "insert";
    EXPECT_EQ(seen->titles, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(after([&] { b->setRank(-1); }), std::make_pair(1, std::uint64_t(1))) << "attribute write";
    EXPECT_EQ(seen->titles, (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(after([&] { container->mainContext()->deleteModel(b); }), std::make_pair(1, std::uint64_t(1)))
        << "delete";
    EXPECT_EQ(seen->titles, (std::vector<std::string>{"a"}));

    // Nothing changed: a re-evaluation for other reasons reads the kept result.
    EXPECT_EQ(after([&] { host->findType<NoteList>()->invalidate({}); }), std::make_pair(1, std::uint64_t(0)));

    // A thousand writes in one turn: one evaluation, one fetch.
    EXPECT_EQ(after([&] {
                  for (int i = 0; i < 1000; ++i)
                      add("n" + std::to_string(i), 10 + i);
              }),
              std::make_pair(1, std::uint64_t(1)));
    EXPECT_EQ(seen->titles.size(), 1001u);

    // Another container on the same file saves; this context takes it in.
    container->mainContext()->save();
    host->update();
    store::ModelContainer other(testSchema(), fileConfiguration(folder.path() / "q.store"));
    other.mainContext()->setAutosaveEnabled(false);
    EXPECT_EQ(after([&] {
                  auto note = std::make_shared<Note>("from elsewhere", -5);
                  other.mainContext()->insert(note);
                  other.mainContext()->save();
              }),
              std::make_pair(1, std::uint64_t(1)))
        << "another container's save";
    ASSERT_FALSE(seen->titles.empty());
    EXPECT_EQ(seen->titles.front(), "from elsewhere");
}

TEST_F(QueryTest, ChangedResultsMoveUnderTheQuerysAnimation) {
    auto a = add("a", 0);
    add("b", 1);
    add("c", 2);
    host->update();
    const auto start = ui::TestHost::frame(host->find("a")).minY();
    EXPECT_EQ(start, 0);
    a->setRank(5); // no animation of its own: the query's spring moves the rows
    host->update();
    host->stepFrame(0.2);
    const auto midway = ui::TestHost::frame(host->find("a")).minY();
    EXPECT_GT(midway, 5);
    EXPECT_LT(midway, 35);
    host->stepFrame(2);
    EXPECT_EQ(ui::TestHost::frame(host->find("a")).minY(), 40);
}

TEST(QueryWithoutContext, IsEmptyAndFetchesNothing) {
    auto seen = std::make_shared<Seen>();
    ui::TestHost host(NoteList{seen}, {100, 100});
    host.update();
    EXPECT_TRUE(seen->titles.empty());
    EXPECT_EQ(seen->context, nullptr);
    EXPECT_EQ(seen->undoManager, nullptr);
}

} // namespace
