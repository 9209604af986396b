#pragma once

#include "foundation/FileManager.h"
#include "foundation/MetadataQuery.h"
#include "foundation/NotificationCenter.h"

#include <memory>
#include <string>
#include <vector>

namespace ViewKit {

// Asks the file manager to download the cloud documents whose file names match a LIKE pattern
// ("*.json") and are not present yet, each time its metadata query gathers or updates. Items
// that are downloaded or current count as present. Where there is no cloud storage (always, on
// this system) the query finds nothing and nothing is downloaded.
//
// The query's notifications arrive on the main queue; use the object there.
class iCloudDocumentSync {
public:
    // The centre must outlive the object.
    explicit iCloudDocumentSync(
        std::string filePattern,
        std::shared_ptr<foundation::FileManager> fileManager = foundation::FileManager::defaultManager(),
        foundation::NotificationCenter& center = foundation::NotificationCenter::defaultCenter());
    // Stops the query and the observation.
    virtual ~iCloudDocumentSync();
    iCloudDocumentSync(const iCloudDocumentSync&) = delete;
    iCloudDocumentSync& operator=(const iCloudDocumentSync&) = delete;

    const std::string& filePattern() const { return filePattern_; }
    const std::shared_ptr<foundation::FileManager>& fileManager() const { return fileManager_; }
    foundation::NotificationCenter& center() const { return *center_; }
    // Made on first use: batching 1.0 s, both ubiquitous scopes, the pattern on the file-system
    // name, sorted by that name, posting to `center`.
    const std::shared_ptr<foundation::MetadataQuery>& metadataQuery();

    // Observes the query's notifications (once, however often it is called) and starts it.
    virtual void startDownload();
    // Ends the observation and stops the query; a later startDownload() starts both again.
    virtual void stopDownload();

private:
    void handleQueryNotification(const foundation::Notification& notification);
    void handleQueryItem(const foundation::MetadataQuery::Item& item);
    static bool isMetadataItemDownloaded(const foundation::MetadataItem& item);

    std::string filePattern_;
    std::shared_ptr<foundation::FileManager> fileManager_;
    foundation::NotificationCenter* center_;
    std::shared_ptr<foundation::MetadataQuery> metadataQuery_;
    std::vector<foundation::NotificationObserverToken> observers_;
};

} // namespace ViewKit
