#pragma once

#include "ViewKit/DirectoryMonitor.h"

#include "foundation/FileManager.h"
#include "foundation/URL.h"
#include "reactive/AnyPublisher.h"
#include "reactive/ObservableObject.h"
#include "reactive/Published.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace ViewKit {

// The entries of one folder, hidden ones included, as absolute file URLs in the system's order,
// published for views and kept current by a DirectoryMonitor of its own. Made with make() on
// the main actor; `files` is read and written there.
class DirectoryObservable : public reactive::ObservableObject,
                            public std::enable_shared_from_this<DirectoryObservable> {
public:
    // Starts watching the folder and reloads once.
    static std::shared_ptr<DirectoryObservable>
    make(foundation::URL url,
         std::shared_ptr<foundation::FileManager> fileManager = foundation::FileManager::defaultManager());
    ~DirectoryObservable() override;

    const std::vector<foundation::URL>& files() const;
    void setFiles(std::vector<foundation::URL> files);
    const reactive::AnyPublisher<std::vector<foundation::URL>>& filesPublisher() const {
        return files_.publisher();
    }

    const foundation::URL& url() const { return url_; }
    const std::shared_ptr<foundation::FileManager>& fileManager() const { return fileManager_; }
    // Made on first use; its callback reloads this observable while it lives.
    DirectoryMonitor& folderMonitor();

    // Lists the folder on the calling thread (any thread) and sets `files` to the listing on
    // the main queue: empty when the folder cannot be listed. A listing begun before the one
    // `files` shows is dropped, and nothing is set once the observable is gone.
    virtual void reload();

protected:
    DirectoryObservable(foundation::URL url, std::shared_ptr<foundation::FileManager> fileManager);

private:
    reactive::Published<std::vector<foundation::URL>> files_{this};
    foundation::URL url_;
    std::shared_ptr<foundation::FileManager> fileManager_;
    std::unique_ptr<DirectoryMonitor> folderMonitor_;
    std::atomic<std::uint64_t> listingsBegun_{0};
    std::uint64_t listingShown_ = 0; // main actor
};

} // namespace ViewKit
