#include "ViewKit/iCloudDocumentSync.h"

#include "foundation/RunLoop.h"

#include "FakeMetadataQueryBackend.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace ViewKit;
using foundation::MetadataQueryBackend;
using foundation::URL;

namespace {

using FakeBackend = FakeMetadataQueryBackend;

// Records what it is asked to download.
class RecordingFileManager : public foundation::FileManager {
public:
    void startDownloadingUbiquitousItem(const URL& url) const override {
        requested.push_back(url.lastPathComponent());
    }
    mutable std::vector<std::string> requested;
};

MetadataQueryBackend::Result item(const std::string& scope, const std::string& name,
                                  const char* status = nullptr) {
    std::map<std::string, foundation::Any, std::less<>> attributes{
        {foundation::MetadataItemFSNameKey, name},
        {foundation::MetadataItemURLKey, URL::fileURLWithPath("/cloud/" + name)}};
    if (status) attributes[foundation::MetadataUbiquitousItemDownloadingStatusKey] = std::string(status);
    return {scope, std::make_shared<foundation::MetadataItem>(std::move(attributes))};
}

const std::string data = foundation::MetadataQueryUbiquitousDataScope;
const std::string documents = foundation::MetadataQueryUbiquitousDocumentsScope;

struct iCloudDocumentSyncTest : ::testing::Test {
    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>();
    MetadataQueryBackend::Factory previous = MetadataQueryBackend::setFactory([this] { return backend; });
    foundation::NotificationCenter center;
    std::shared_ptr<RecordingFileManager> fileManager = std::make_shared<RecordingFileManager>();
    std::unique_ptr<iCloudDocumentSync> sync =
        std::make_unique<iCloudDocumentSync>("*.json", fileManager, center);

    ~iCloudDocumentSyncTest() override {
        sync.reset();
        MetadataQueryBackend::setFactory(previous);
        foundation::RunLoop::main().runUntilIdle();
    }
    std::vector<std::string> requestsFor(std::function<void()> report) {
        fileManager->requested.clear();
        report();
        foundation::RunLoop::main().runUntilIdle();
        return fileManager->requested;
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(iCloudDocumentSyncTest, TheQueryLooksForThePatternInBothScopesInNameOrder) {
    const auto& query = sync->metadataQuery();
    EXPECT_EQ(query, sync->metadataQuery());
    EXPECT_EQ(query->notificationBatchingInterval(), 1.0);
    EXPECT_EQ(query->searchScopes(), (Names{data, documents}));
    EXPECT_EQ(query->predicate()->key, foundation::MetadataItemFSNameKey);
    EXPECT_EQ(query->predicate()->pattern, "*.json");
    EXPECT_EQ(query->sortDescriptors().at(0).key, foundation::MetadataItemFSNameKey);

    sync->startDownload();
    EXPECT_EQ(requestsFor([&] {
                  backend->gather({item(documents, "b.json"), item(data, "c.txt"), item(data, "a.json"),
                                   item("ElsewhereScope", "d.json")});
              }),
              (Names{"a.json", "b.json"}));
}

TEST_F(iCloudDocumentSyncTest, OnlyItemsNotYetPresentAreRequestedAtEveryNotification) {
    sync->startDownload();
    auto noUrl = item(data, "nourl.json");
    noUrl.item =
        std::make_shared<foundation::MetadataItem>(std::map<std::string, foundation::Any, std::less<>>{
            {foundation::MetadataItemFSNameKey, std::string("nourl.json")}});
    auto textUrl = item(data, "texturl.json");
    textUrl.item =
        std::make_shared<foundation::MetadataItem>(std::map<std::string, foundation::Any, std::less<>>{
            {foundation::MetadataItemFSNameKey, std::string("texturl.json")},
            {foundation::MetadataItemURLKey, std::string("file:///cloud/texturl.json")}});
    const std::vector<MetadataQueryBackend::Result> found{
        item(data, "current.json", foundation::MetadataUbiquitousItemDownloadingStatusCurrent),
        item(data, "done.json", foundation::MetadataUbiquitousItemDownloadingStatusDownloaded),
        item(data, "missing.json", foundation::MetadataUbiquitousItemDownloadingStatusNotDownloaded),
        item(data, "unknown.json"),
        noUrl,
        textUrl};
    EXPECT_EQ(requestsFor([&] { backend->gather(found); }), (Names{"missing.json", "unknown.json"}));
    EXPECT_EQ(requestsFor([&] { backend->update(found); }), (Names{"missing.json", "unknown.json"}));

    // The same notification from something that is not the query does nothing.
    EXPECT_TRUE(requestsFor([&] {
                    center.post(foundation::MetadataQueryDidUpdateNotification, std::make_shared<int>(0));
                }).empty());
}

TEST_F(iCloudDocumentSyncTest, StoppingEndsRequestsUntilTheNextStartAndObserversAreNeverDoubled) {
    sync->startDownload();
    sync->startDownload();
    EXPECT_EQ(backend->starts, 2);
    EXPECT_EQ(requestsFor([&] { backend->gather({item(data, "a.json")}); }), (Names{"a.json"}));

    sync->stopDownload();
    EXPECT_EQ(backend->stops, 2); // the second start stopped the first run
    EXPECT_TRUE(requestsFor([&] { backend->update({item(data, "a.json")}); }).empty());
    EXPECT_TRUE(requestsFor([&] {
                    center.post(foundation::MetadataQueryDidUpdateNotification, sync->metadataQuery());
                }).empty());

    sync->startDownload();
    EXPECT_EQ(requestsFor([&] { backend->gather({item(data, "b.json")}); }), (Names{"b.json"}));
    const int stops = backend->stops;
    sync.reset();
    EXPECT_EQ(backend->stops, stops + 1);
}

TEST(iCloudDocumentSyncDefaultTest, NothingIsEverDownloadedOnThisSystem) {
    foundation::NotificationCenter center;
    auto fileManager = std::make_shared<RecordingFileManager>();
    iCloudDocumentSync sync("*", fileManager, center);
    bool gathered = false;
    auto observer = center.addObserver(foundation::MetadataQueryDidFinishGatheringNotification,
                                       [&](const foundation::Notification&) { gathered = true; });
    sync.startDownload();
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(gathered);
    EXPECT_TRUE(fileManager->requested.empty());
}
