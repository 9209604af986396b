#include "ViewKit/iCloudDocumentSync.h"

#include "foundation/FileError.h"

namespace ViewKit {

iCloudDocumentSync::iCloudDocumentSync(std::string filePattern,
                                       std::shared_ptr<foundation::FileManager> fileManager,
                                       foundation::NotificationCenter& center)
    : filePattern_(std::move(filePattern))
    , fileManager_(std::move(fileManager))
    , center_(&center) {}

iCloudDocumentSync::~iCloudDocumentSync() {
    stopDownload();
}

const std::shared_ptr<foundation::MetadataQuery>& iCloudDocumentSync::metadataQuery() {
    if (metadataQuery_) return metadataQuery_;
    metadataQuery_ =
        std::make_shared<foundation::MetadataQuery>(foundation::MetadataQueryBackend::make(), *center_);
    metadataQuery_->setNotificationBatchingInterval(1.0);
    metadataQuery_->setSearchScopes(
        {foundation::MetadataQueryUbiquitousDataScope, foundation::MetadataQueryUbiquitousDocumentsScope});
    metadataQuery_->setPredicate(
        foundation::MetadataLikePredicate{foundation::MetadataItemFSNameKey, filePattern_});
    metadataQuery_->setSortDescriptors({{foundation::MetadataItemFSNameKey, true}});
    return metadataQuery_;
}

void iCloudDocumentSync::startDownload() {
    const auto& query = metadataQuery();
    if (observers_.empty()) {
        for (const char* name : {foundation::MetadataQueryDidUpdateNotification,
                                 foundation::MetadataQueryDidFinishGatheringNotification})
            observers_.push_back(center_->addObserver(name, query, std::nullopt,
                                                      [this](const foundation::Notification& notification) {
                                                          handleQueryNotification(notification);
                                                      }));
    }
    query->startQuery();
}

void iCloudDocumentSync::stopDownload() {
    for (const auto& token : observers_)
        center_->removeObserver(token);
    observers_.clear();
    if (metadataQuery_) metadataQuery_->stopQuery();
}

void iCloudDocumentSync::handleQueryNotification(const foundation::Notification& notification) {
    const auto& query = metadataQuery_;
    if (!query || notification.object.get() != query.get()) return;
    query->disableUpdates();
    query->enumerateResults(
        [this](const foundation::MetadataQuery::Item& item, std::size_t, bool&) { handleQueryItem(item); });
    query->enableUpdates();
}

void iCloudDocumentSync::handleQueryItem(const foundation::MetadataQuery::Item& item) {
    if (!item || isMetadataItemDownloaded(*item)) return;
    const auto* url = item->valueForAttribute(foundation::MetadataItemURLKey).get<foundation::URL>();
    if (!url) return;
    try {
        fileManager_->startDownloadingUbiquitousItem(*url);
    } catch (const foundation::FileError&) {
        // The next notification asks again.
    }
}

bool iCloudDocumentSync::isMetadataItemDownloaded(const foundation::MetadataItem& item) {
    const auto* status =
        item.valueForAttribute(foundation::MetadataUbiquitousItemDownloadingStatusKey).get<std::string>();
    if (!status) return false;
    return *status == foundation::MetadataUbiquitousItemDownloadingStatusDownloaded ||
           *status == foundation::MetadataUbiquitousItemDownloadingStatusCurrent;
}

} // namespace ViewKit
