#include "foundation/MetadataQuery.h"
#include "foundation/RunLoop.h"
#include "foundation/URL.h"

#include "FakeMetadataQueryBackend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace foundation;

namespace {

using FakeBackend = FakeMetadataQueryBackend;

MetadataQueryBackend::Result item(std::string scope, std::string name) {
    return {std::move(scope),
            std::make_shared<MetadataItem>(std::map<std::string, Any, std::less<>>{
                {MetadataItemFSNameKey, name}, {MetadataItemURLKey, URL::fileURLWithPath("/c/" + name)}})};
}

struct MetadataQueryTest : ::testing::Test {
    NotificationCenter center;
    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>();
    std::shared_ptr<MetadataQuery> query = std::make_shared<MetadataQuery>(backend, center);
    std::vector<std::string> posted;
    NotificationObserverToken observer =
        center.addObserver("", query, std::nullopt, [this](const Notification& n) {
            posted.push_back(n.name + "@" + std::to_string(query->resultCount()));
        });

    MetadataQueryTest() {
        query->setSearchScopes({MetadataQueryUbiquitousDataScope, MetadataQueryUbiquitousDocumentsScope});
        query->setPredicate(MetadataLikePredicate{MetadataItemFSNameKey, "*.json"});
        query->setSortDescriptors({{MetadataItemFSNameKey, true}});
    }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        query->enumerateResults([&](const MetadataQuery::Item& i, std::size_t index, bool&) {
            EXPECT_EQ(index, out.size());
            out.push_back(*i->valueForAttribute(MetadataItemFSNameKey).get<std::string>());
        });
        return out;
    }
    void TearDown() override { RunLoop::main().runUntilIdle(); }
};

const std::string gathered = MetadataQueryDidFinishGatheringNotification;
const std::string updated = MetadataQueryDidUpdateNotification;

} // namespace

TEST_F(MetadataQueryTest, KeepsMatchingItemsOfItsScopesInNameOrderAndPostsOnTheMainQueue) {
    EXPECT_TRUE(query->startQuery());
    EXPECT_EQ(backend->askedScopes, query->searchScopes());
    backend->gather({item(MetadataQueryUbiquitousDocumentsScope, "b.json"), item("OtherScope", "x.json"),
                     item(MetadataQueryUbiquitousDataScope, "c.txt"),
                     item(MetadataQueryUbiquitousDataScope, "a.json")});
    EXPECT_TRUE(posted.empty()); // not before the main queue runs
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(posted, (std::vector<std::string>{gathered + "@2"}));
    EXPECT_EQ(names(), (std::vector<std::string>{"a.json", "b.json"}));

    backend->update(
        {item(MetadataQueryUbiquitousDataScope, "d.json"), item(MetadataQueryUbiquitousDataScope, "a.json")});
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(posted.back(), updated + "@2");
    EXPECT_EQ(names(), (std::vector<std::string>{"a.json", "d.json"}));

    int seen = 0;
    query->enumerateResults([&](const MetadataQuery::Item&, std::size_t, bool& stop) { stop = ++seen == 1; });
    EXPECT_EQ(seen, 1);
}

TEST_F(MetadataQueryTest, UpdatesWaitWhileDisabledAndEndWithTheQuery) {
    query->startQuery();
    backend->gather({});
    RunLoop::main().runUntilIdle();
    query->disableUpdates();
    backend->update({item(MetadataQueryUbiquitousDataScope, "a.json")});
    backend->update({item(MetadataQueryUbiquitousDataScope, "b.json")});
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(posted, (std::vector<std::string>{gathered + "@0"}));
    query->enableUpdates();
    EXPECT_EQ(posted.back(), updated + "@1");
    EXPECT_EQ(names(), (std::vector<std::string>{"b.json"}));

    query->stopQuery();
    EXPECT_EQ(backend->stops, 1);
    backend->update({item(MetadataQueryUbiquitousDataScope, "c.json")});
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(posted.size(), 2u);

    // Started again: gathers anew; what the old run reports late is dropped.
    query->startQuery();
    EXPECT_EQ(backend->starts, 2);
    EXPECT_TRUE(query->isGathering());
    backend->gather({item(MetadataQueryUbiquitousDataScope, "e.json")});
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(posted.back(), gathered + "@1");
}

TEST(MetadataQueryDefaultTest, TheSystemsBackendFinishesGatheringWithNothing) {
    NotificationCenter center;
    auto query = std::make_shared<MetadataQuery>(MetadataQueryBackend::make(), center);
    query->setSearchScopes({MetadataQueryUbiquitousDocumentsScope});
    std::vector<std::string> posted;
    auto observer =
        center.addObserver("", query, std::nullopt, [&](const Notification& n) { posted.push_back(n.name); });
    query->startQuery();
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(posted, (std::vector<std::string>{gathered}));
    EXPECT_EQ(query->resultCount(), 0u);
    EXPECT_FALSE(query->isGathering());

    // A factory in place gives its backend to new queries until it is taken away.
    auto fake = std::make_shared<FakeBackend>();
    const auto previous = MetadataQueryBackend::setFactory([fake] { return fake; });
    EXPECT_EQ(MetadataQueryBackend::make(), fake);
    MetadataQueryBackend::setFactory(previous);
    EXPECT_NE(MetadataQueryBackend::make(), fake);
}
