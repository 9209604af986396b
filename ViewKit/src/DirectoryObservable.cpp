#include "ViewKit/DirectoryObservable.h"

#include "ViewKit/MainActor.h"

#include "foundation/DispatchQueue.h"
#include "foundation/FileError.h"

namespace ViewKit {

std::shared_ptr<DirectoryObservable>
DirectoryObservable::make(foundation::URL url, std::shared_ptr<foundation::FileManager> fileManager) {
    detail::requireMainActor("DirectoryObservable");
    std::shared_ptr<DirectoryObservable> observable(
        new DirectoryObservable(std::move(url), std::move(fileManager)));
    observable->folderMonitor().startMonitoring();
    observable->reload();
    return observable;
}

DirectoryObservable::DirectoryObservable(foundation::URL url,
                                         std::shared_ptr<foundation::FileManager> fileManager)
    : url_(std::move(url))
    , fileManager_(std::move(fileManager)) {}

// The monitor goes first: its destructor waits for a reload running on its queue.
DirectoryObservable::~DirectoryObservable() {
    folderMonitor_.reset();
}

const std::vector<foundation::URL>& DirectoryObservable::files() const {
    detail::requireMainActor("DirectoryObservable::files");
    return files_.get();
}

void DirectoryObservable::setFiles(std::vector<foundation::URL> files) {
    detail::requireMainActor("DirectoryObservable::setFiles");
    files_.set(std::move(files));
}

DirectoryMonitor& DirectoryObservable::folderMonitor() {
    detail::requireMainActor("DirectoryObservable::folderMonitor");
    if (!folderMonitor_) {
        folderMonitor_ = std::make_unique<DirectoryMonitor>(url_, [weak = weak_from_this()] {
            auto self = weak.lock();
            if (!self) return;
            self->reload();
            // The last reference may be this one: let the observable go on the main actor,
            // where its publishers live.
            foundation::DispatchQueue::main().async([self = std::move(self)] {});
        });
    }
    return *folderMonitor_;
}

void DirectoryObservable::reload() {
    const std::uint64_t listing = ++listingsBegun_;
    std::vector<foundation::URL> found;
    try {
        found = fileManager_->contentsOfDirectory(
            url_, foundation::DirectoryEnumerationOptions::producesRelativePathURLs);
    } catch (const foundation::FileError&) {
        found.clear();
    }
    foundation::DispatchQueue::main().async(
        [weak = weak_from_this(), listing, found = std::move(found)]() mutable {
            auto self = weak.lock();
            if (!self || listing <= self->listingShown_) return;
            self->listingShown_ = listing;
            self->setFiles(std::move(found));
        });
}

} // namespace ViewKit
